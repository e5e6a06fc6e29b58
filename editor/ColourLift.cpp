#include "editor/ColourLift.h"

#include <cmath>

namespace Quillmore
{
juce::Colour liftedTowardsWhite(juce::Colour colour, float divisor)
{
    if (!(divisor >= 1.0f) || !std::isfinite(divisor))
        return colour;
    const auto lift = [divisor](juce::uint8 channel) {
        return static_cast<juce::uint8>(255.0f - static_cast<float>(255 - channel) / divisor);
    };
    return juce::Colour(lift(colour.getRed()), lift(colour.getGreen()), lift(colour.getBlue()), colour.getAlpha());
}
} // namespace Quillmore

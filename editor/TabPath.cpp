#include "editor/TabPath.h"

#include <algorithm>
#include <cmath>

namespace Quillmore
{
namespace
{
float finiteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}
} // namespace

juce::Path makeTabPath(juce::Rectangle<float> area, float cornerRadius, float sideInset, float topFraction,
                       float radiusLimit)
{
    const auto x = area.getX(), y = area.getY(), w = area.getWidth(), h = area.getHeight();
    cornerRadius = std::max(finiteOr(cornerRadius, 0.0f), 0.0f);
    sideInset = finiteOr(sideInset, 0.0f);
    topFraction = finiteOr(topFraction, 0.0f);
    radiusLimit = std::max(finiteOr(radiusLimit, 0.0f), 0.0f);

    const auto height = std::max(h, 0.0f);
    const auto topOffset = h * topFraction;
    const auto top = y + (topOffset < 0.0f ? 0.0f : std::min(topOffset, std::max(h - 1.0f, 0.0f)));
    const auto left = x + sideInset;
    const auto right = left + std::max(w - 2.0f * sideInset, 0.0f);
    const auto radius = std::min(cornerRadius, radiusLimit * height);

    juce::Path path;
    path.startNewSubPath(left, top + height);
    path.lineTo(left, top + radius);
    path.quadraticTo(left, top, left + radius, top);
    path.lineTo(right - radius, top);
    path.quadraticTo(right, top, right, top + radius);
    path.lineTo(right, top + height);
    path.closeSubPath();
    return path;
}
} // namespace Quillmore

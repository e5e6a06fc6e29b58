// Spring model A's tail as a host hears it through the built bundle: at every rate a host may run at,
// and at a rate between those, a higher SpringDecay rings longer.
#include "tests/e2e/SeededRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
constexpr double renderSeconds = 12.0;
constexpr double windowSeconds = 0.02;
constexpr double dropDb = 30.0;

// Spring model A alone answering an impulse on both inputs (a new instance is silent without one, so
// the render is the response). Left channel.
std::vector<double> springAResponse(double rate, const std::string& decay)
{
    SeededRender render;
    render.settings = { { "SpringMix", "100" }, { "SpringAB", "0" }, { "SpringDecay", decay.c_str() } };
    render.sampleRate = rate;
    render.inputSeconds = renderSeconds;
    render.tailSeconds = 0.0;
    render.signal = Quillmore::Host::SignalKind::impulse;
    const auto answer = renderSeeded(render);

    std::vector<double> response(static_cast<size_t>(answer.getNumSamples()));
    for (size_t i = 0; i < response.size(); ++i)
        response[i] = answer.getSample(0, static_cast<int>(i));
    return response;
}

// How long a response rings: the time after which its level (RMS over 20 ms windows) stays more than
// 30 dB below its loudest window, and its level over the last second against that loudest window, which
// tells apart two responses that are still ringing when the render ends.
struct Ring
{
    double seconds = 0.0;
    bool endless = false; // still within 30 dB of its peak at the end of the render
    double endDb = 0.0;
    double peakDb = 0.0;  // the loudest window, dB full scale

    std::string describe() const
    {
        return (endless ? "beyond " + std::to_string(renderSeconds) : std::to_string(seconds)) + " s, last second at "
               + std::to_string(endDb) + " dB";
    }
};

Ring ringOf(const std::vector<double>& response, double rate)
{
    const auto window = static_cast<size_t>(windowSeconds * rate);
    std::vector<double> energies;
    for (size_t start = 0; start + window <= response.size(); start += window)
    {
        double energy = 0.0;
        for (size_t i = start; i < start + window; ++i)
            energy += response[i] * response[i];
        energies.push_back(energy / static_cast<double>(window));
    }
    const double peak = *std::max_element(energies.begin(), energies.end());
    const double threshold = peak * std::pow(10.0, -dropDb / 10.0);
    size_t ringing = 0; // windows up to the last one above the threshold
    for (size_t k = 0; k < energies.size(); ++k)
        if (energies[k] > threshold)
            ringing = k + 1;

    const auto lastSecond = static_cast<size_t>(1.0 / windowSeconds);
    double end = 0.0;
    for (size_t k = energies.size() - lastSecond; k < energies.size(); ++k)
        end += energies[k] / static_cast<double>(lastSecond);

    Ring ring;
    ring.seconds = static_cast<double>(ringing) * windowSeconds;
    ring.endless = ringing == energies.size();
    ring.endDb = 10.0 * std::log10(std::max(end, 1e-300) / peak);
    ring.peakDb = 10.0 * std::log10(std::max(peak, 1e-300));
    return ring;
}

bool ringsLonger(const Ring& longer, const Ring& shorter)
{
    if (longer.endless != shorter.endless)
        return longer.endless;
    return longer.endless ? longer.endDb > shorter.endDb : longer.seconds > shorter.seconds;
}
} // namespace

// Below 36 kHz the decay frequencies (up to 9 kHz) pass a quarter of the rate, where the tanks'
// low-pass coefficient would turn back down and a higher SpringDecay ring shorter.
TEST(SpringDecayThroughBundle, AHigherSpringDecayRingsLongerAtEveryRate)
{
    for (const double rate : { 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
    {
        Ring previous;
        std::string previousDecay;
        for (const std::string decay : { "0", "25", "50", "75", "100" })
        {
            const Ring ring = ringOf(springAResponse(rate, decay), rate);
            const std::string name = std::to_string(static_cast<int>(rate)) + " Hz, SpringDecay " + decay;
            RecordProperty(name, ring.describe());
            ASSERT_GT(ring.peakDb, -80.0) << name << ": the spring is not heard";
            if (!previousDecay.empty())
            {
                EXPECT_TRUE(ringsLonger(ring, previous))
                    << name << " rings " << ring.describe() << ", SpringDecay " << previousDecay << " "
                    << previous.describe();
            }
            previous = ring;
            previousDecay = decay;
        }
    }
}

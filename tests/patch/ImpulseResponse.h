#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace PRT::test
{

// Seconds until the energy still to come (the backward-integrated energy decay curve) has fallen
// dropDb below the total: 60 dB gives the reverberation time. Infinity when it never falls so far
// within the response.
inline double decaySeconds(const std::vector<float>& response, double sampleRate, double dropDb = 60.0)
{
    std::vector<double> remaining(response.size() + 1, 0.0);
    for (size_t i = response.size(); i-- > 0;)
        remaining[i] = remaining[i + 1] + static_cast<double>(response[i]) * response[i];
    const double threshold = remaining[0] * std::pow(10.0, -dropDb / 10.0);
    for (size_t i = 0; i < response.size(); ++i)
        if (remaining[i] <= threshold)
            return static_cast<double>(i) / sampleRate;
    return std::numeric_limits<double>::infinity();
}

// The energy of the response from `from` seconds on, in dB relative to its whole energy.
inline double energyAfterDb(const std::vector<float>& response, double sampleRate, double from)
{
    double total = 0.0, after = 0.0;
    const auto start = static_cast<size_t>(from * sampleRate);
    for (size_t i = 0; i < response.size(); ++i)
    {
        const double e = static_cast<double>(response[i]) * response[i];
        total += e;
        after += i >= start ? e : 0.0;
    }
    return 10.0 * std::log10(after / total);
}

// The first sample from `from` seconds on whose magnitude comes within dropDb of the response's
// peak, in seconds; negative when there is none.
inline double firstArrivalSeconds(const std::vector<float>& response, double sampleRate, double from, double dropDb = 30.0)
{
    double peak = 0.0;
    for (float x : response)
        peak = std::fabs(x) > peak ? std::fabs(x) : peak;
    const double threshold = peak * std::pow(10.0, -dropDb / 20.0);
    for (auto i = static_cast<size_t>(from * sampleRate); i < response.size(); ++i)
        if (std::fabs(response[i]) > threshold)
            return static_cast<double>(i) / sampleRate;
    return -1.0;
}

inline double peakMagnitude(const std::vector<float>& signal)
{
    double peak = 0.0;
    for (float x : signal)
        peak = std::fabs(x) > peak || std::isnan(x) ? std::fabs(x) : peak;
    return peak;
}

inline bool allFinite(const std::vector<float>& signal)
{
    for (float x : signal)
        if (!std::isfinite(x))
            return false;
    return true;
}

} // namespace PRT::test

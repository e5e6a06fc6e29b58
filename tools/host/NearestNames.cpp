#include "tools/host/NearestNames.h"

#include <algorithm>
#include <tuple>

namespace Quillmore::Host
{
namespace
{
// Letters inserted, removed or changed to turn a into b, ignoring case; with withinB, into the part
// of b that takes the fewest (a's best match anywhere in b).
size_t editDistance(const juce::String& a, const juce::String& b, bool withinB)
{
    const auto x = a.toLowerCase(), y = b.toLowerCase();
    const auto n = static_cast<size_t>(y.length());
    std::vector<size_t> previous(n + 1), current(n + 1);
    for (size_t j = 0; j <= n; ++j)
        previous[j] = withinB ? 0 : j;
    for (int i = 0; i < x.length(); ++i)
    {
        current[0] = static_cast<size_t>(i) + 1;
        for (size_t j = 1; j <= n; ++j)
            current[j] = std::min({ previous[j] + 1, current[j - 1] + 1,
                                    previous[j - 1] + (x[i] == y[static_cast<int>(j) - 1] ? 0 : 1) });
        std::swap(previous, current);
    }
    return withinB ? *std::min_element(previous.begin(), previous.end()) : previous[n];
}
} // namespace

std::vector<juce::String> nearestNames(const juce::String& wanted, const std::vector<juce::String>& names, size_t count)
{
    const auto key = wanted.trim();
    std::vector<std::tuple<size_t, size_t, size_t>> ranked; // distance to the best part, to the whole, index
    for (size_t i = 0; i < names.size(); ++i)
        ranked.emplace_back(editDistance(key, names[i], true), editDistance(key, names[i], false), i);
    std::sort(ranked.begin(), ranked.end());

    std::vector<juce::String> nearest;
    for (size_t i = 0; i < std::min(count, ranked.size()); ++i)
        nearest.push_back(names[std::get<2>(ranked[i])]);
    return nearest;
}
} // namespace Quillmore::Host

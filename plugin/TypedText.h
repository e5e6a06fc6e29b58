#pragma once

#include <juce_core/juce_core.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

// Reading what a person types for a parameter. Header-only: the host tool reads typed texts with the
// same rules as the plug-in.
namespace Quillmore
{
struct NumberAtStart
{
    double value;
    std::size_t end; // where the number's characters end in the text
};

// The number that text starts with: an optional sign, digits with an optional point, an optional
// exponent, read the same in every locale. "nan", "inf", hexadecimal and a number beyond a double's
// range are no numbers.
inline std::optional<NumberAtStart> numberAtStart(std::string_view text)
{
    std::size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
    {
        negative = text[0] == '-';
        start = 1;
    }
    const auto digitAt = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    if (!digitAt(start) && !(start < text.size() && text[start] == '.' && digitAt(start + 1)))
        return std::nullopt;

    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return NumberAtStart { negative ? -value : value, static_cast<std::size_t>(end - text.data()) };
}

// The words of a text, that is what stands between its blanks.
inline juce::StringArray wordsOf(const juce::String& text)
{
    auto words = juce::StringArray::fromTokens(text, false);
    words.removeEmptyStrings();
    return words;
}

// Lower case with the blanks between words made single ones: "1/16  Triplet " -> "1/16 triplet".
inline juce::String comparableText(const juce::String& text)
{
    return wordsOf(text).joinIntoString(" ").toLowerCase();
}

// On, true, yes and 1 read true; Off, false, no and 0 read false; in any letter case.
inline std::optional<bool> switchWordValue(const juce::String& text)
{
    const auto typed = comparableText(text);
    for (const char* on : { "on", "true", "yes", "1" })
        if (typed == on)
            return true;
    for (const char* off : { "off", "false", "no", "0" })
        if (typed == off)
            return false;
    return std::nullopt;
}
} // namespace Quillmore

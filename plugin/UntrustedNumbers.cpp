#include "plugin/UntrustedNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace Quillmore
{
namespace
{
bool isDigit(juce::juce_wchar c)
{
    return c >= '0' && c <= '9';
}

bool startsWithWord(juce::String::CharPointerType text, const char* word)
{
    for (; *word != 0; ++word, ++text)
        if (juce::CharacterFunctions::toLowerCase(*text) != static_cast<juce::juce_wchar>(*word))
            return false;
    return true;
}
} // namespace

double readUntrustedNumber(const juce::String& text)
{
    auto at = text.getCharPointer().findEndOfWhitespace();
    bool negative = false;
    if (*at == '-' || *at == '+')
    {
        negative = *at == '-';
        ++at;
    }
    const double sign = negative ? -1.0 : 1.0;
    if (startsWithWord(at, "nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (startsWithWord(at, "inf"))
        return sign * std::numeric_limits<double>::infinity();

    // The mantissa as it stands; the exponent saturated far beyond any double's.
    std::string number;
    bool anyDigit = false;
    while (isDigit(*at))
    {
        number += static_cast<char>(*at++);
        anyDigit = true;
    }
    if (*at == '.')
    {
        number += '.';
        ++at;
        while (isDigit(*at))
        {
            number += static_cast<char>(*at++);
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;

    long exponent = 0;
    if (*at == 'e' || *at == 'E')
    {
        auto exponentAt = at + 1;
        bool negativeExponent = false;
        if (*exponentAt == '-' || *exponentAt == '+')
        {
            negativeExponent = *exponentAt == '-';
            ++exponentAt;
        }
        constexpr long saturated = 1000000;
        while (isDigit(*exponentAt))
        {
            exponent = std::min(saturated, exponent * 10 + static_cast<long>(*exponentAt - '0'));
            ++exponentAt;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    number += 'e' + std::to_string(exponent);

    double magnitude = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range)
    {
        // Too large or too small for a double: which one, the mantissa's first significant digit tells.
        const auto firstSignificant = number.find_first_of("123456789");
        const auto point = number.find('.');
        const long integerDigits = point == std::string::npos ? static_cast<long>(number.find('e')) : static_cast<long>(point);
        const long position = static_cast<long>(firstSignificant) < integerDigits
                                  ? integerDigits - static_cast<long>(firstSignificant)
                                  : integerDigits - static_cast<long>(firstSignificant) + 1;
        magnitude = position + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return sign * magnitude;
}

double untrustedNumberOf(const juce::var& value)
{
    return value.isString() ? readUntrustedNumber(value.toString()) : static_cast<double>(value);
}

void replaceValueTextsWithNumbers(juce::ValueTree& tree)
{
    static const juce::Identifier valueKey("value");
    for (auto child : tree)
        if (child.hasProperty(valueKey) && child[valueKey].isString())
            child.setProperty(valueKey, readUntrustedNumber(child[valueKey].toString()), nullptr);
}
} // namespace Quillmore

#include "tools/host/TypedParameterText.h"

#include "plugin/TypedText.h"
#include "tools/host/HostError.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace Quillmore::Host
{
namespace
{
// A discrete parameter with more steps than this is read as a number.
constexpr int mostSteps = 64;
// The sweep that finds the texts of a parameter which does not tell the host its steps, and the
// most texts it may show to count as stepped.
constexpr int sweepPositions = 256;
constexpr int mostSweptTexts = 32;

juce::String textAt(const juce::AudioProcessorParameter& parameter, float normalised)
{
    return parameter.getText(normalised, 1024);
}

// A number in a text and the words after it up to the next number: "70 % A / 30 % B" holds 70 with
// "%", "A", "/" and 30 with "%", "B". A unit written onto the number ("500ms") is its first word.
struct Quantity
{
    double number = 0.0;
    int decimals = 0; // digits after the point, as shown
    juce::StringArray words;
};

std::optional<Quantity> quantityStarting(const juce::String& token)
{
    const auto text = token.toStdString();
    Quantity quantity;
    std::size_t end = 0;
    if (const auto number = numberAtStart(text))
    {
        quantity.number = number->value;
        end = number->end;
        const auto digits = text.substr(0, end);
        if (const auto point = digits.find('.'); point != std::string::npos)
            quantity.decimals = static_cast<int>(juce::jmin(digits.size(), digits.find_first_not_of("0123456789", point + 1))
                                                 - point - 1);
    }
    else
    {
        // The infinities that gain texts show ("-inf dB").
        const auto lower = token.toLowerCase();
        const int sign = lower.startsWithChar('-') || lower.startsWithChar('+') ? 1 : 0;
        if (!lower.substring(sign).startsWith("inf"))
            return std::nullopt;
        quantity.number = (lower.startsWithChar('-') ? -1.0 : 1.0) * std::numeric_limits<double>::infinity();
        end = static_cast<std::size_t>(sign + 3);
    }
    if (end < text.size())
        quantity.words.add(juce::String(text.substr(end)));
    return quantity;
}

std::vector<Quantity> quantitiesIn(const juce::String& text)
{
    std::vector<Quantity> quantities;
    for (const auto& token : wordsOf(text))
        if (auto quantity = quantityStarting(token))
            quantities.push_back(*quantity);
        else if (!quantities.empty())
            quantities.back().words.add(token);
    return quantities;
}

// A typed text that is one number with a unit or none: "500 ms", "1.5s", "-3".
std::optional<Quantity> typedQuantity(const juce::String& text)
{
    const auto tokens = wordsOf(text);
    const auto quantities = quantitiesIn(text);
    if (tokens.isEmpty() || !quantityStarting(tokens[0]) || quantities.size() != 1)
        return std::nullopt;
    return quantities.front();
}

// The ways to read a unit: as it stands, and as a prefix before a shorter unit ("ms": milli-"s").
std::vector<std::pair<double, juce::String>> readingsOf(const juce::String& unit)
{
    std::vector<std::pair<double, juce::String>> readings { { 1.0, unit } };
    if (unit.length() < 2)
        return readings;
    const auto rest = unit.substring(1);
    switch (unit[0])
    {
        case 'k': case 'K': readings.emplace_back(1e3, rest); break;
        case 'M': readings.emplace_back(1e6, rest); break;
        case 'm': readings.emplace_back(1e-3, rest); break;
        case 'u': readings.emplace_back(1e-6, rest); break;
        default: break;
    }
    return readings;
}

// The factors that turn a number in unit `from` into unit `to`, for every way of reading both that
// leaves the same unit (letter case aside); none when the units are of different kinds.
std::vector<double> unitFactors(const juce::String& from, const juce::String& to)
{
    std::vector<double> factors;
    for (const auto& [fromScale, fromBase] : readingsOf(from))
        for (const auto& [toScale, toBase] : readingsOf(to))
            if (fromBase.equalsIgnoreCase(toBase))
                factors.push_back(fromScale / toScale);
    return factors;
}

// The factors that turn the typed quantity's number into the shown one's units, when the typed words
// are the shown ones (the first a unit, which may differ by a prefix). A bare number is in the unit of
// the parameter's label, or, without a label, in the unit the text shows.
std::vector<double> factorsFor(const juce::StringArray& typedWords, const juce::StringArray& shownWords,
                               const juce::String& label)
{
    auto words = typedWords;
    if (words.isEmpty())
    {
        if (label.isEmpty())
            return { 1.0 };
        words = wordsOf(label);
    }
    if (words.size() > shownWords.size())
        return {};
    for (int i = 1; i < words.size(); ++i)
        if (!words[i].equalsIgnoreCase(shownWords[i]))
            return {};
    return unitFactors(words[0], shownWords[0]);
}

// Half the distance from the shown quantity to the nearest other value the parameter shows around
// `normalised` (its step, or the precision of its text where that is coarser), in the shown units.
double halfStepAround(const juce::AudioProcessorParameter& parameter, float normalised, size_t index, const Quantity& shown)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (const double side : { -1.0, 1.0 })
        for (double offset = 1.0 / 1048576.0; offset <= 1.0; offset *= 2.0)
        {
            const double position = normalised + side * offset;
            if (position < 0.0 || position > 1.0)
                break;
            const auto neighbours = quantitiesIn(textAt(parameter, static_cast<float>(position)));
            if (neighbours.size() <= index || neighbours[index].words.isEmpty() != shown.words.isEmpty())
                continue;
            const auto factors = shown.words.isEmpty() ? std::vector<double> { 1.0 }
                                                       : unitFactors(neighbours[index].words[0], shown.words[0]);
            if (factors.empty())
                continue;
            const double distance = std::abs(neighbours[index].number * factors.front() - shown.number);
            if (distance > 0.0)
            {
                nearest = std::min(nearest, distance);
                break;
            }
        }
    const double precision = 0.5 * std::pow(10.0, -shown.decimals);
    return std::isfinite(nearest) ? std::max(precision, 0.5 * nearest) : precision;
}

bool showsTypedQuantity(const juce::AudioProcessorParameter& parameter, float normalised, const juce::String& shownText,
                        const Quantity& typed)
{
    const auto shown = quantitiesIn(shownText);
    for (size_t index = 0; index < shown.size(); ++index)
    {
        const auto factors = factorsFor(typed.words, shown[index].words, parameter.getLabel().trim());
        if (factors.empty())
            continue;
        const double tolerance = halfStepAround(parameter, normalised, index, shown[index]) * (1.0 + 1e-9);
        for (const double factor : factors)
        {
            const double asked = typed.number * factor;
            if (asked == shown[index].number || std::abs(asked - shown[index].number) <= tolerance)
                return true;
        }
    }
    return false;
}

juce::String quoted(const juce::String& text)
{
    return "\"" + text + "\"";
}

[[noreturn]] void refuse(const juce::AudioProcessorParameter& parameter, const juce::String& text, const juce::String& takes)
{
    throw InputError((parameter.getName(1024) + " does not take " + quoted(text) + "; it takes " + takes).toStdString());
}
} // namespace

juce::StringArray stepTextsOf(const juce::AudioProcessorParameter& parameter)
{
    juce::StringArray texts;
    const int steps = parameter.getNumSteps();
    if ((parameter.isDiscrete() || parameter.isBoolean()) && steps >= 2 && steps <= mostSteps)
    {
        for (int step = 0; step < steps; ++step)
            texts.add(textAt(parameter, static_cast<float>(step) / static_cast<float>(steps - 1)));
        return texts;
    }

    for (int position = 0; position <= sweepPositions; ++position)
    {
        const auto text = textAt(parameter, static_cast<float>(position) / static_cast<float>(sweepPositions));
        if (texts.isEmpty() || texts[texts.size() - 1] != text)
            texts.add(text);
        if (texts.size() > mostSweptTexts)
            return {};
    }
    return texts;
}

float normalisedValueForText(const juce::AudioProcessorParameter& parameter, const juce::String& text)
{
    const float normalised = parameter.getValueForText(text);
    const bool inRange = normalised >= 0.0f && normalised <= 1.0f;
    const auto shown = inRange ? textAt(parameter, normalised) : juce::String();
    const bool showsTheText = inRange && comparableText(shown) == comparableText(text);

    const auto steps = stepTextsOf(parameter);
    if (!steps.isEmpty())
    {
        const bool twoSteps = steps.size() == 2;
        const auto word = twoSteps ? switchWordValue(text) : std::nullopt;
        if (showsTheText || (inRange && word && shown == steps[*word ? 1 : 0]))
            return normalised;

        juce::StringArray quotedSteps;
        for (const auto& step : steps)
            quotedSteps.add(quoted(step));
        refuse(parameter, text, twoSteps ? quotedSteps[0] + " or " + quotedSteps[1] + " (or On/Off, true/false, yes/no, 1/0)"
                                         : "one of " + quotedSteps.joinIntoString(", "));
    }

    if (showsTheText)
        return normalised;
    if (const auto typed = typedQuantity(text); typed && inRange && showsTypedQuantity(parameter, normalised, shown, *typed))
        return normalised;

    const auto label = parameter.getLabel().trim();
    refuse(parameter, text, textAt(parameter, 0.0f).trim() + " to " + textAt(parameter, 1.0f).trim()
                                + (label.isEmpty() ? juce::String(" (a number)")
                                                   : " (a number, with or without " + quoted(label) + ")"));
}
} // namespace Quillmore::Host

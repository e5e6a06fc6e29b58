#include "tools/host/HostCommandLine.h"

#include "tools/host/EditorSnapshot.h"
#include "tools/host/HostError.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/ParameterIds.h"
#include "tools/host/PluginLoading.h"
#include "tools/host/PluginState.h"
#include "tools/host/WavFiles.h"

#include <cmath>
#include <iomanip>
#include <limits>

namespace Quillmore::Host
{
namespace
{
constexpr double defaultSampleRate = 48000.0;

juce::File fileFromArgument(const juce::String& text)
{
    if (text.startsWithChar('~'))
        return juce::File(text);
    return juce::File::getCurrentWorkingDirectory().getChildFile(text);
}

double numberFromArgument(const juce::String& option, const juce::String& text)
{
    const auto trimmed = text.trim().toStdString();
    std::size_t used = 0;
    try
    {
        const double value = std::stod(trimmed, &used);
        if (used == trimmed.size() && std::isfinite(value))
            return value;
    }
    catch (const std::exception&)
    {
    }
    throw UsageError(option.toStdString() + " expects a number, not \"" + text.toStdString() + "\"");
}

int wholeNumberFromArgument(const juce::String& option, const juce::String& text)
{
    const double value = numberFromArgument(option, text);
    if (value != std::floor(value) || std::abs(value) > std::numeric_limits<int>::max())
        throw UsageError(option.toStdString() + " expects a whole number, not \"" + text.toStdString() + "\"");
    return static_cast<int>(value);
}

std::pair<juce::String, juce::String> assignmentFromArgument(const juce::String& option, const juce::String& text)
{
    const int equals = text.indexOfChar('=');
    if (equals <= 0)
        throw UsageError(option.toStdString() + " expects ID=VALUE, not \"" + text.toStdString() + "\"");
    return { text.substring(0, equals).trim(), text.substring(equals + 1).trim() };
}

void printIdentity(const HostedPlugin& plugin, std::ostream& out)
{
    const auto& d = plugin.description;
    out << "name:     " << d.name << "\n"
        << "vendor:   " << d.manufacturerName << "\n"
        << "version:  " << d.version << "\n"
        << "category: " << d.category << (d.isInstrument ? " (instrument)" : " (effect)") << "\n"
        << "format:   " << d.pluginFormatName << ", class hash " << juce::String::toHexString(d.uniqueId) << "\n"
        << "channels: " << plugin.instance->getTotalNumInputChannels() << " in, "
        << plugin.instance->getTotalNumOutputChannels() << " out\n"
        << "latency:  " << plugin.instance->getLatencySamples() << " samples\n";
}

void printParameters(juce::AudioPluginInstance& instance, const HostOptions& options, std::ostream& out)
{
    auto knownIds = parameterIdTextsInState(getPluginState(instance));
    for (const auto& setting : options.textSettings)
        knownIds.emplace(vst3ParameterIdFor(setting.first), setting.first);
    for (const auto& setting : options.normalisedSettings)
        knownIds.emplace(vst3ParameterIdFor(setting.first), setting.first);

    out << std::left << std::setw(6) << "index" << std::setw(16) << "id" << std::setw(24) << "name"
        << std::setw(12) << "normalised" << "text\n";
    for (const auto& row : describeParameters(instance, knownIds))
        out << std::left << std::setw(6) << row.index << std::setw(16) << row.id << std::setw(24) << row.name
            << std::setw(12) << juce::String(row.normalised, 4) << row.text << "\n";
}

void applySettings(juce::AudioPluginInstance& instance, const HostOptions& options, std::ostream& out)
{
    const auto report = [&](juce::AudioProcessorParameter& parameter) {
        out << "set " << parameter.getName(1024) << " = " << parameter.getText(parameter.getValue(), 1024)
            << " (normalised " << juce::String(parameter.getValue(), 4) << ")\n";
    };
    for (const auto& [id, text] : options.textSettings)
    {
        auto& parameter = findParameter(instance, id);
        setParameterFromText(parameter, text);
        report(parameter);
    }
    for (const auto& [id, value] : options.normalisedSettings)
    {
        auto& parameter = findParameter(instance, id);
        setParameterNormalised(parameter, value);
        report(parameter);
    }
    if (!options.textSettings.empty() || !options.normalisedSettings.empty())
        flushParameterChanges(instance);
}
} // namespace

const char* hostUsage()
{
    return "usage: quillmore-host PLUGIN.vst3 [options]\n"
           "  --info                     print the plug-in's name, vendor, version, category, channels, latency\n"
           "  --list                     list the parameters: index, ID, name, normalised value, value text\n"
           "  --set ID=TEXT              set a parameter from a text the plug-in parses (\"500 ms\", \"On\")\n"
           "  --set-normalised ID=VALUE  set a parameter's normalised value, 0 ... 1\n"
           "                             ID: the parameter's ID text, its VST3 number or its name\n"
           "  --load-state FILE          load the plug-in's state from a file before anything else\n"
           "  --save-state FILE          save the plug-in's state to a file at the end\n"
           "  --output FILE.wav          render the input through the plug-in into a 32-bit float WAV file\n"
           "  --input FILE.wav           the input to render (default: a generated signal)\n"
           "  --signal KIND              generated input: sine (default), impulse, noise or silence\n"
           "  --length SECONDS           length of the generated input (default 2)\n"
           "  --level DBFS               peak level of the generated input (default -12)\n"
           "  --frequency HZ             frequency of the sine (default 440)\n"
           "  --channels 1|2             channels of the generated input (default 2)\n"
           "  --tail SECONDS             silence appended to the input so that the effect can ring out\n"
           "  --rate HZ                  sample rate (default: the input file's, else 48000)\n"
           "  --block N                  fixed block size (default 512)\n"
           "  --varying-blocks MIN:MAX   random block sizes between MIN and MAX instead\n"
           "  --seed N                   seed for varying blocks and noise (default 1)\n"
           "  --snapshot FILE.png        open the editor and save a picture of it (needs an X display)\n";
}

std::optional<HostOptions> parseHostOptions(const juce::StringArray& arguments)
{
    HostOptions options;
    bool pluginGiven = false;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        const auto value = [&]() -> juce::String {
            if (i + 1 >= arguments.size())
                throw UsageError(argument.toStdString() + " needs a value");
            return arguments[++i];
        };

        if (argument == "--help" || argument == "-h")
            return std::nullopt;
        else if (argument == "--info")
            options.showInfo = true;
        else if (argument == "--list")
            options.listParameters = true;
        else if (argument == "--set")
            options.textSettings.push_back(assignmentFromArgument(argument, value()));
        else if (argument == "--set-normalised")
        {
            const auto [id, text] = assignmentFromArgument(argument, value());
            options.normalisedSettings.emplace_back(id, static_cast<float>(numberFromArgument(argument, text)));
        }
        else if (argument == "--load-state")
            options.loadState = fileFromArgument(value());
        else if (argument == "--save-state")
            options.saveState = fileFromArgument(value());
        else if (argument == "--output")
            options.output = fileFromArgument(value());
        else if (argument == "--input")
            options.input = fileFromArgument(value());
        else if (argument == "--signal")
        {
            const auto name = value();
            const auto kind = signalKindNamed(name);
            if (!kind)
                throw UsageError("unknown signal \"" + name.toStdString() + "\" (sine, impulse, noise, silence)");
            options.signal.kind = *kind;
        }
        else if (argument == "--length")
            options.signal.seconds = numberFromArgument(argument, value());
        else if (argument == "--level")
            options.signal.peakDecibels = numberFromArgument(argument, value());
        else if (argument == "--frequency")
            options.signal.frequency = numberFromArgument(argument, value());
        else if (argument == "--channels")
            options.signal.channels = wholeNumberFromArgument(argument, value());
        else if (argument == "--tail")
            options.tailSeconds = numberFromArgument(argument, value());
        else if (argument == "--rate")
            options.sampleRate = numberFromArgument(argument, value());
        else if (argument == "--block")
            options.blockSize = wholeNumberFromArgument(argument, value());
        else if (argument == "--varying-blocks")
        {
            const auto range = value();
            if (!range.containsChar(':'))
                throw UsageError("--varying-blocks expects MIN:MAX, not \"" + range.toStdString() + "\"");
            options.varyingBlocks = std::make_pair(wholeNumberFromArgument(argument, range.upToFirstOccurrenceOf(":", false, false)),
                                                   wholeNumberFromArgument(argument, range.fromFirstOccurrenceOf(":", false, false)));
        }
        else if (argument == "--seed")
        {
            const int seed = wholeNumberFromArgument(argument, value());
            options.seed = options.signal.seed = static_cast<juce::uint32>(seed);
        }
        else if (argument == "--snapshot")
            options.snapshot = fileFromArgument(value());
        else if (argument.startsWith("-") || pluginGiven)
            throw UsageError("unexpected argument \"" + argument.toStdString() + "\"");
        else
        {
            options.plugin = fileFromArgument(argument);
            pluginGiven = true;
        }
    }

    if (!pluginGiven)
        throw UsageError("no plug-in given");
    if (options.input && !options.output)
        throw UsageError("--input needs --output: the input is only used for rendering");
    if (options.signal.channels != 1 && options.signal.channels != 2)
        throw UsageError("--channels must be 1 or 2");
    if (options.sampleRate && *options.sampleRate <= 0.0)
        throw UsageError("--rate must be positive");
    return options;
}

void runHost(const HostOptions& options, std::ostream& out)
{
    const bool rendering = options.output.has_value();

    std::optional<AudioData> inputFile;
    if (rendering && options.input)
        inputFile = readWav(*options.input);
    const double sampleRate = options.sampleRate.value_or(inputFile ? inputFile->sampleRate : defaultSampleRate);
    if (inputFile && inputFile->sampleRate != sampleRate)
        out << "note: " << options.input->getFileName() << " is at " << inputFile->sampleRate << " Hz and is rendered as "
            << sampleRate << " Hz without resampling\n";

    juce::AudioBuffer<float> input;
    if (rendering)
        input = withSilenceAppended(inputFile ? inputFile->samples : generateSignal(options.signal, sampleRate),
                                    options.tailSeconds, sampleRate);

    auto blockSizes = options.varyingBlocks
                          ? BlockSizes::varying(options.varyingBlocks->first, options.varyingBlocks->second, options.seed)
                          : BlockSizes::fixed(options.blockSize);
    const int inputChannels = rendering ? input.getNumChannels() : options.signal.channels;
    auto plugin = loadPlugin(options.plugin, sampleRate, blockSizes.maximum(), inputChannels);
    auto& instance = *plugin.instance;

    if (options.loadState)
    {
        loadPluginState(instance, *options.loadState);
        out << "loaded the state from " << options.loadState->getFullPathName() << "\n";
    }
    applySettings(instance, options, out);

    const bool nothingElseAsked = !options.listParameters && !rendering && !options.snapshot && !options.saveState;
    if (options.showInfo || nothingElseAsked)
        printIdentity(plugin, out);
    if (options.listParameters)
        printParameters(instance, options, out);

    if (rendering)
    {
        const auto rendered = renderThrough(instance, input, blockSizes);
        writeFloatWav(*options.output, rendered, sampleRate);
        out << "rendered " << juce::String(rendered.getNumSamples() / sampleRate, 3) << " s (" << rendered.getNumChannels()
            << " channels, " << sampleRate << " Hz, latency " << instance.getLatencySamples() << " samples) to "
            << options.output->getFullPathName() << "\n";
    }
    if (options.snapshot)
    {
        writePng(snapshotEditor(instance), *options.snapshot);
        out << "wrote the editor snapshot to " << options.snapshot->getFullPathName() << "\n";
    }
    if (options.saveState)
    {
        savePluginState(instance, *options.saveState);
        out << "saved the state to " << options.saveState->getFullPathName() << "\n";
    }
}
} // namespace Quillmore::Host

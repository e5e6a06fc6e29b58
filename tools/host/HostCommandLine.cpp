#include "tools/host/HostCommandLine.h"

#include "plugin/RandomSeedFromEnvironment.h"
#include "tools/host/AlignedRender.h"
#include "tools/host/EditorSnapshot.h"
#include "tools/host/EscapedText.h"
#include "tools/host/HostError.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/ParameterIds.h"
#include "tools/host/PluginLoading.h"
#include "tools/host/PluginPresets.h"
#include "tools/host/PluginState.h"
#include "tools/host/SampleCount.h"
#include "tools/host/TextColumns.h"
#include "tools/host/WavFiles.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace Quillmore::Host
{
namespace
{
constexpr double defaultSampleRate = 48000.0;
constexpr double highestSampleRate = 768000.0;
// The longest input, pre-roll or tail an option may ask for.
constexpr double longestSeconds = 3600.0;
// The automatic tail: never longer than this, whatever tail the plug-in reports (VST3 has an
// "infinite" one), and over once the output has been silent for this long.
constexpr double longestAutomaticTailSeconds = 60.0;
constexpr double silenceEndingTheTailSeconds = 2.0;

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

double secondsFromArgument(const juce::String& option, const juce::String& text)
{
    const double seconds = numberFromArgument(option, text);
    if (seconds < 0.0 || seconds > longestSeconds)
        throw UsageError(option.toStdString() + " expects 0 to " + std::to_string(static_cast<int>(longestSeconds))
                         + " seconds, not \"" + text.toStdString() + "\"");
    return seconds;
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
        << "latency:  " << latencySamplesOf(*plugin.instance) << " samples\n";
}

void printParameters(juce::AudioPluginInstance& instance, const HostOptions& options, std::ostream& out)
{
    auto knownIds = parameterIdTextsInState(getPluginState(instance));
    for (const auto& setting : options.textSettings)
        knownIds.emplace(vst3ParameterIdFor(setting.first), setting.first);
    for (const auto& setting : options.normalisedSettings)
        knownIds.emplace(vst3ParameterIdFor(setting.first), setting.first);

    std::vector<std::vector<juce::String>> rows { { "index", "id", "name", "normalised", "text" } };
    for (const auto& row : describeParameters(instance, knownIds))
        rows.push_back({ juce::String(row.index), row.id, row.name, juce::String(row.normalised, 4), row.text });
    printColumns(rows, out);
}

void printPresets(const PluginPresets& presets, std::ostream& out)
{
    std::vector<std::vector<juce::String>> factory { { "category", "name" } };
    juce::StringArray user;
    for (const auto& preset : presets.entries())
        if (preset.isFactory)
            factory.push_back({ preset.category, preset.name });
        else
            user.add(preset.name);

    out << "factory presets:\n";
    printColumns(factory, out, "  ");
    out << "user presets, in " << escapedForOneLine(presets.userPresetFolder().getFullPathName()) << ":\n";
    for (const auto& name : user)
        out << "  " << escapedForOneLine(name) << "\n";
    if (user.isEmpty())
        out << "  (none)\n";
}

void applySettings(juce::AudioPluginInstance& instance, const HostOptions& options, std::ostream& out)
{
    const auto report = [&](juce::AudioProcessorParameter& parameter) {
        out << "set " << escapedForOneLine(parameter.getName(1024)) << " = "
            << escapedForOneLine(parameter.getText(parameter.getValue(), 1024))
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
           "  --list-presets             list the plug-in's factory presets (category, name) and user presets\n"
           "  --preset NAME              load a factory preset by its name, else a user preset by its name\n"
           "  --set ID=TEXT              set a parameter from a text the plug-in parses: one of its value texts, a number\n"
           "                             with or without its unit (\"500 ms\", \"1.5 s\"), On or Off for a switch; a text\n"
           "                             that the parameter does not show back as asked stops the run (exit status 2)\n"
           "  --set-normalised ID=VALUE  set a parameter's normalised value, 0 ... 1\n"
           "                             ID: the parameter's ID text, its VST3 number or its name\n"
           "  --load-state FILE          load the plug-in's state from a file before anything else\n"
           "  --save-state FILE          save the plug-in's state to a file at the end\n"
           "                             (a state, then a preset, then the settings are applied, in that order)\n"
           "  --output FILE.wav          render the input through the plug-in into a 32-bit float WAV file\n"
           "  --input FILE.wav           the input to render (default: a generated signal)\n"
           "  --signal KIND              generated input: sine (default), impulse, noise, phrase (plucked notes, one\n"
           "                             every 0.5 s) or silence\n"
           "  --length SECONDS           length of the generated input (default 2)\n"
           "  --level DBFS               peak level of the generated input (default -12)\n"
           "  --frequency HZ             frequency of the sine (default 440)\n"
           "  --channels 1|2             channels of the generated input (default 2)\n"
           "  --pre-roll SECONDS         lead-in: silence run through the plug-in before the input and left out of\n"
           "                             the output, so that its start-up is over when the input begins (Quillmore\n"
           "                             fades in over its first 0.5 s, its echoes over 6.5 s; default 7, 0 renders\n"
           "                             the start-up)\n"
           "  --keep-latency             leave the plug-in's delay in the output; by default the output is moved\n"
           "                             earlier by the latency the plug-in reports, so that it lines up with the input\n"
           "  --tail SECONDS             how long the output runs on after the input (default: until it has been\n"
           "                             silent, below -100 dBFS, for 2 s, at most the plug-in's tail length; 0 cuts\n"
           "                             the output at the input's end)\n"
           "  --rate HZ                  sample rate (default: the input file's, else 48000)\n"
           "  --block N                  fixed block size (default 512)\n"
           "  --varying-blocks MIN:MAX   random block sizes between MIN and MAX instead\n"
           "  --seed N                   seed for varying blocks, noise and the plug-in's random sources, so that\n"
           "                             renders repeat (default 1; handed to the plug-in as QUILLMORE_RANDOM_SEED)\n"
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
        else if (argument == "--list-presets")
            options.listPresets = true;
        else if (argument == "--preset")
        {
            options.preset = value().trim();
            if (options.preset->isEmpty())
                throw UsageError("--preset needs a preset's name");
        }
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
            options.signal.seconds = secondsFromArgument(argument, value());
        else if (argument == "--level")
            options.signal.peakDecibels = numberFromArgument(argument, value());
        else if (argument == "--frequency")
            options.signal.frequency = numberFromArgument(argument, value());
        else if (argument == "--channels")
            options.signal.channels = wholeNumberFromArgument(argument, value());
        else if (argument == "--pre-roll")
            options.preRollSeconds = secondsFromArgument(argument, value());
        else if (argument == "--keep-latency")
            options.compensateLatency = false;
        else if (argument == "--tail")
            options.tailSeconds = secondsFromArgument(argument, value());
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
    if (options.sampleRate && !(*options.sampleRate > 0.0 && *options.sampleRate <= highestSampleRate))
        throw UsageError("--rate must be above 0 and at most " + std::to_string(static_cast<int>(highestSampleRate)));
    return options;
}

namespace
{
AlignedRenderSettings renderSettingsFor(const HostOptions& options, juce::AudioPluginInstance& instance, int latencySamples,
                                        double sampleRate)
{
    AlignedRenderSettings settings;
    settings.preRollSamples = samplesIn(options.preRollSeconds, sampleRate);
    if (options.compensateLatency)
        settings.latencySamples = latencySamples;
    if (options.tailSeconds)
        settings.fixedTailSamples = samplesIn(*options.tailSeconds, sampleRate);
    else
    {
        const double pluginTail = instance.getTailLengthSeconds();
        settings.maximumTailSamples = samplesIn(pluginTail > 0.0 ? juce::jmin(pluginTail, longestAutomaticTailSeconds) : 0.0,
                                                sampleRate);
        settings.silenceSamples = samplesIn(silenceEndingTheTailSeconds, sampleRate);
    }
    return settings;
}

void reportRender(const AlignedRender& render, int inputSamples, const HostOptions& options, int latencySamples,
                  double sampleRate, std::ostream& out)
{
    const auto seconds = [&](int samples) { return juce::String(samples / sampleRate, 3) + " s"; };
    out << "rendered " << seconds(inputSamples) << " of input and " << seconds(render.tailSamples) << " of tail";
    if (!options.tailSeconds)
        out << (render.endedInSilence ? ", ended once silent," : ", the plug-in's tail length,");
    out << " to " << options.output->getFullPathName() << " (" << render.output.getNumChannels() << " channels, "
        << sampleRate << " Hz, latency " << latencySamples << " samples, "
        << (options.compensateLatency ? "taken out" : "kept in") << ")\n";
}
} // namespace

void runHost(const HostOptions& options, std::ostream& out)
{
    const bool rendering = options.output.has_value();

    std::optional<AudioData> inputFile;
    if (rendering && options.input)
        inputFile = readWav(*options.input);
    const double sampleRate = options.sampleRate.value_or(inputFile ? inputFile->sampleRate : defaultSampleRate);
    if (!(sampleRate > 0.0 && sampleRate <= highestSampleRate)) // only a file's own rate can be out of bounds here
        throw InputError(options.input->getFullPathName().toStdString() + " is at " + std::to_string(sampleRate)
                         + " Hz; the host renders at most " + std::to_string(static_cast<int>(highestSampleRate))
                         + " Hz (--rate renders it at another rate)");
    if (inputFile && inputFile->sampleRate != sampleRate)
        out << "note: " << options.input->getFileName() << " is at " << inputFile->sampleRate << " Hz and is rendered as "
            << sampleRate << " Hz without resampling\n";

    juce::AudioBuffer<float> input;
    if (rendering)
        input = inputFile ? std::move(inputFile->samples) : generateSignal(options.signal, sampleRate);

    auto blockSizes = options.varyingBlocks
                          ? BlockSizes::varying(options.varyingBlocks->first, options.varyingBlocks->second, options.seed)
                          : BlockSizes::fixed(options.blockSize);
    const int inputChannels = rendering ? input.getNumChannels() : options.signal.channels;
    // Before the instance exists: it seeds its random sources as it is made.
    setenv(randomSeedVariable, juce::String(options.seed).toRawUTF8(), 1);
    auto plugin = loadPlugin(options.plugin, sampleRate, blockSizes.maximum(), inputChannels);
    auto& instance = *plugin.instance;

    if (options.loadState)
    {
        loadPluginState(instance, *options.loadState);
        out << "loaded the state from " << options.loadState->getFullPathName() << "\n";
    }
    std::optional<PluginPresets> presets;
    if (options.preset || options.listPresets)
        presets.emplace(instance);
    if (options.preset)
    {
        const auto& loaded = presets->load(*options.preset);
        out << "loaded the " << (loaded.isFactory ? loaded.category + " factory" : juce::String("user")) << " preset \""
            << escapedForOneLine(loaded.name) << "\"\n";
    }
    applySettings(instance, options, out);

    const bool nothingElseAsked = !options.listParameters && !options.listPresets && !rendering && !options.snapshot
                               && !options.saveState && !options.preset;
    if (options.showInfo || nothingElseAsked)
        printIdentity(plugin, out);
    if (options.listParameters)
        printParameters(instance, options, out);
    if (options.listPresets)
        printPresets(*presets, out);

    if (rendering)
    {
        const int latency = latencySamplesOf(instance);
        const auto settings = renderSettingsFor(options, instance, latency, sampleRate);
        const auto render = renderAligned(instance, input, blockSizes, settings);
        writeFloatWav(*options.output, render.output, sampleRate);
        reportRender(render, input.getNumSamples(), options, latency, sampleRate, out);
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

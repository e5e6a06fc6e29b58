// What the plug-in's open window costs while nobody touches it: the built bundle in the host library,
// audio playing in real time on its own thread, the window open, and the message thread's processor
// time over a stretch of wall-clock time, as a share of one core. The editor's tick, its displays'
// animation and their painting all run on the message thread (the plug-in's timers run in the host's
// run loop). Run under an X server: xvfb-run -a -s "-screen 0 1920x1200x24" build/bench/editor_idle_cost
#include "tools/host/HostEnvironment.h"
#include "tools/host/HostedEditorWindow.h"
#include "tools/host/PluginLoading.h"
#include "tools/host/RealTimeAudio.h"
#include "tools/host/TestSignal.h"

#include <ctime>
#include <iomanip>
#include <iostream>

namespace
{
double threadCpuSeconds()
{
    timespec time {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

double wallSeconds()
{
    return juce::Time::getMillisecondCounterHiRes() * 0.001;
}
} // namespace

int main(int argc, char** argv)
{
    using namespace Quillmore::Host;
    const double seconds = argc > 1 ? juce::String(argv[1]).getDoubleValue() : 10.0;
    if (!(seconds > 0.0))
    {
        std::cerr << "usage: editor_idle_cost [seconds]   (10 by default)\n";
        return 2;
    }

    HostEnvironment environment;
    try
    {
        auto plugin = loadPlugin(juce::File(QUILLMORE_VST3_BUNDLE), 48000.0, 512);
        SignalSettings phrase;
        phrase.kind = SignalKind::phrase;
        phrase.seconds = 6.0;
        RealTimeAudio audio(*plugin.instance, generateSignal(phrase, 48000.0));

        std::cout << "The plug-in's window open and left alone, audio playing (48 kHz, blocks of 512), "
                  << seconds << " s per size:\n";
        HostedEditorWindow window(*plugin.instance);
        window.captureOncePainted();
        for (const auto* page : {"SIDE A", "SIDE B"})
        {
            for (const auto& [width, height] : {std::pair{750, 475}, std::pair{1800, 1140}})
            {
                window.requestSize(width, height);
                window.captureOncePainted();

                const double cpuBefore = threadCpuSeconds(), audioBefore = audio.threadCpuSeconds();
                const double wallBefore = wallSeconds();
                window.runMessages(static_cast<int>(seconds * 1000.0));
                const double wall = wallSeconds() - wallBefore;
                const double share = (threadCpuSeconds() - cpuBefore) / wall * 100.0;
                const double audioShare = (audio.threadCpuSeconds() - audioBefore) / wall * 100.0;
                std::cout << std::fixed << std::setprecision(1) << "  " << page << ", " << width << " x " << height
                          << ": message thread " << share << " % of one core (audio thread " << audioShare << " %)\n";
            }
            // The page tab, left of the preset header.
            const auto size = window.screenBounds();
            window.click({size.getWidth() * 8 / 100, size.getHeight() * 7 / 100});
        }
    }
    catch (const std::exception& error)
    {
        std::cerr << "editor_idle_cost: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

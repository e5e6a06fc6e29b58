#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace Quillmore::Host
{
// What a program that hosts plug-ins sets up first, for as long as it runs: Xlib prepared for editors
// under a bare X server, then JUCE's message manager and GUI. The creating thread becomes the message
// thread, on which plug-ins are loaded, driven and released.
class HostEnvironment
{
public:
    HostEnvironment();

private:
    struct XlibPrepared
    {
        XlibPrepared();
    };

    XlibPrepared xlib;
    juce::ScopedJuceInitialiser_GUI juce;
};
} // namespace Quillmore::Host

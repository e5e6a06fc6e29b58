#pragma once

// An interface that the plug-in's VST3 component offers besides VST3's own, for hosts that know it
// (the command-line host): the factory and user presets, listed and loaded through the processor's
// own preset loading, as the editor's preset browser loads them. A host asks for it with
// queryInterface on the component (IComponent) and presetAccessIid; others never see it. Call it on
// the thread that calls the component's other methods (the host's UI thread).
#include <pluginterfaces/base/funknown.h>

namespace Quillmore
{
class IPresetAccess : public Steinberg::FUnknown
{
public:
    enum PresetKind : Steinberg::int32
    {
        factoryPresets = 0, // in the order the previous/next buttons step through them
        userPresets = 1,    // in the user preset list's order
    };

    // The number of presets of a kind; 0 for an unknown kind.
    virtual Steinberg::int32 PLUGIN_API getPresetCount(Steinberg::int32 kind) = 0;

    // The preset's name, or its category ("Heads", ...; empty for a user preset), as zero-terminated
    // UTF-8 in a buffer of size bytes. kInvalidArgument for an unknown kind or index or no buffer;
    // kResultFalse when the text had to be cut to fit.
    virtual Steinberg::tresult PLUGIN_API getPresetName(Steinberg::int32 kind, Steinberg::int32 index,
                                                        Steinberg::char8* text, Steinberg::int32 size) = 0;
    virtual Steinberg::tresult PLUGIN_API getPresetCategory(Steinberg::int32 kind, Steinberg::int32 index,
                                                            Steinberg::char8* text, Steinberg::int32 size) = 0;

    // The folder that the user presets are read from, as getPresetName writes texts.
    virtual Steinberg::tresult PLUGIN_API getUserPresetFolder(Steinberg::char8* text, Steinberg::int32 size) = 0;

    // Loads the preset as the preset browser does: it becomes the current preset, under its name.
    // kInvalidArgument for an unknown kind or index, kResultFalse when it could not be loaded.
    virtual Steinberg::tresult PLUGIN_API loadPreset(Steinberg::int32 kind, Steinberg::int32 index) = 0;
};

inline constexpr Steinberg::TUID presetAccessIid = INLINE_UID(0xF8066931, 0xA828460B, 0x99404427, 0x55BFF745);
} // namespace Quillmore

#pragma once
// The real editor on the real processor in a home of the test's own, where the editor's preset files
// and settings go.
#include "tests/editor/ProcessorEditorFixture.h"
#include "tests/editor/SettingsHome.h"

#include <gtest/gtest.h>

#include <memory>

// The test's own home: the user presets it writes there are the only ones the processor finds.
class PresetHome : public SettingsHome
{
public:
    juce::File presetFolder() const
    {
        return configFolder().getChildFile("ZarnPeloq").getChildFile("Quillmore").getChildFile("User Presets");
    }

    // A user preset file as the plug-in writes them: a "Parameters" tree with one parameter set.
    juce::File writePreset(const juce::String& name, const char* parameterID = "EchoTime", float value = 300.0f) const
    {
        EXPECT_TRUE(presetFolder().createDirectory());
        juce::XmlElement root("Parameters");
        auto* parameter = root.createNewChildElement("PARAM");
        parameter->setAttribute("id", parameterID);
        parameter->setAttribute("value", value);
        const auto file = presetFolder().getChildFile(name + ".xml");
        EXPECT_TRUE(root.writeTo(file));
        return file;
    }
};

class PresetEditorFixture : public ProcessorEditorFixture
{
protected:
    ~PresetEditorFixture() override { closeEditor(); }

    // The processor scans the preset folder when it is made: write the test's presets first.
    QuillmoreAudioProcessor& processor()
    {
        if (processorPointer == nullptr)
            processorPointer = std::make_unique<QuillmoreAudioProcessor>();
        return *processorPointer;
    }
    QuillmoreAudioProcessor& editedProcessor() override { return processor(); }

    // The editor in its window, the messages it posted delivered.
    Editor& openEditor() override
    {
        ProcessorEditorFixture::openEditor();
        openWindow();
        EditorTestBed::deliverPostedMessages();
        return editor();
    }

    EditorTestBed::DesktopWindow& mouse() { return *window; }

    // A click in the middle of one of the header's areas.
    void clickHeader(int area)
    {
        mouse().click(editor().presetHeader.computeAreas()[static_cast<size_t>(area - 1)].getCentre());
    }

    PresetHome home;
    std::unique_ptr<QuillmoreAudioProcessor> processorPointer;
};

#pragma once
// The real editor, created by the real processor, in a window on the X display.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <memory>

class EditorWindowFixture : public ::testing::Test
{
protected:
    EditorWindowFixture()
    {
        created.reset(processor.createEditor());
        editorPointer = dynamic_cast<QuillmoreAudioProcessorEditor*>(created.get());
    }

    QuillmoreAudioProcessorEditor& editor() { return *editorPointer; }

    EditorTestBed::DesktopWindow& openWindow()
    {
        if (window == nullptr)
            window = std::make_unique<EditorTestBed::DesktopWindow>(editor());
        return *window;
    }

    // What a host does when the user flips a switch in its own parameter list.
    void setFromHost(const char* parameterID, float normalised)
    {
        auto* parameter = processor.apvts.getParameter(parameterID);
        ASSERT_NE(parameter, nullptr) << parameterID;
        parameter->setValueNotifyingHost(normalised);
    }

    QuillmoreAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> created;
    QuillmoreAudioProcessorEditor* editorPointer = nullptr;
    std::unique_ptr<EditorTestBed::DesktopWindow> window; // closed before the editor goes
};

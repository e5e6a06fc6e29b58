#pragma once
// The real editor as the real processor creates it, and the desktop window it may be shown in.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <memory>

class ProcessorEditorFixture : public ::testing::Test
{
protected:
    using Editor = QuillmoreAudioProcessorEditor;

    // The processor that creates the editor.
    virtual QuillmoreAudioProcessor& editedProcessor() = 0;

    // A fresh editor (an open one closed first).
    virtual Editor& openEditor()
    {
        closeEditor();
        created.reset(editedProcessor().createEditor());
        editorPointer = dynamic_cast<Editor*>(created.get());
        EXPECT_NE(editorPointer, nullptr);
        return *editorPointer;
    }

    // The window, then the editor. A fixture calls it in its own destructor: the editor must go before
    // the processor, a member of the fixture, which goes before this base.
    void closeEditor()
    {
        window.reset();
        created.reset();
        editorPointer = nullptr;
    }

    Editor& editor() { return *editorPointer; }

    EditorTestBed::DesktopWindow& openWindow()
    {
        if (window == nullptr)
            window = std::make_unique<EditorTestBed::DesktopWindow>(editor());
        return *window;
    }

    // What a host does when the user moves a parameter in its own list.
    void setFromHost(const char* parameterID, float normalised)
    {
        auto* parameter = editedProcessor().apvts.getParameter(parameterID);
        ASSERT_NE(parameter, nullptr) << parameterID;
        parameter->setValueNotifyingHost(normalised);
    }

    std::unique_ptr<juce::AudioProcessorEditor> created;
    Editor* editorPointer = nullptr;
    std::unique_ptr<EditorTestBed::DesktopWindow> window; // closed before the editor goes
};

#pragma once
// The real editor, created by the real processor, in a window on the X display.
#include "tests/editor/ProcessorEditorFixture.h"

class EditorWindowFixture : public ProcessorEditorFixture
{
protected:
    EditorWindowFixture() { openEditor(); }
    ~EditorWindowFixture() override { closeEditor(); }

    QuillmoreAudioProcessor& editedProcessor() override { return processor; }

    QuillmoreAudioProcessor processor;
};

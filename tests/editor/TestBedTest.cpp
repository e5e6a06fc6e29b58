// The test bed itself: events injected through a window's peer arrive as the system's would.
#include "editor/EditorClock.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

using namespace EditorTestBed;

TEST(TestBed, TypedKeysAndClicksReachComponentsThroughTheWindow)
{
    juce::TextEditor editor;
    editor.setSize(200, 30);
    DesktopWindow window(editor);
    window.click({100.0f, 15.0f});
    ASSERT_TRUE(editor.hasKeyboardFocus(true));
    for (const auto character : juce::String("Dub 2"))
        window.key(juce::KeyPress(0, juce::ModifierKeys(), character));
    window.key(juce::KeyPress(juce::KeyPress::backspaceKey));
    EXPECT_EQ(editor.getText(), "Dub ");
}

TEST(TestBed, TheEditorsClockReadsTheTestClockWhileItExists)
{
    {
        TestClock clock(5000);
        EXPECT_EQ(Quillmore::editorMilliseconds(), 5000u);
        juce::Thread::sleep(20);
        EXPECT_EQ(Quillmore::editorMilliseconds(), 5000u);
        clock.advance(66);
        EXPECT_EQ(Quillmore::editorMilliseconds(), 5066u);
    }
    const auto counter = static_cast<juce::int64>(juce::Time::getMillisecondCounter());
    EXPECT_NEAR(static_cast<double>(Quillmore::editorMilliseconds()), static_cast<double>(counter), 1000.0);
}

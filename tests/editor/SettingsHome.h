#pragma once
// A home folder and an XDG configuration folder of the test's own, so that the settings file starts as
// the test wants it and no other test sees it; and the real editor opened in that home.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ProcessorEditorFixture.h"
#include "tests/plugin/ScopedEnvironmentVariable.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class SettingsHome
{
public:
    SettingsHome()
        : homeVariable("HOME", home.path().getFullPathName().toStdString()),
          configVariable("XDG_CONFIG_HOME", config.path().getFullPathName().toStdString())
    {
    }

    const juce::File& homeFolder() const { return home.path(); }
    const juce::File& configFolder() const { return config.path(); }

    juce::File settingsFile() const
    {
        return config.path().getChildFile("ZarnPeloq").getChildFile("Quillmore").getChildFile("Quillmore.settings");
    }

    void writeSettings(const juce::String& text) const
    {
        ASSERT_TRUE(settingsFile().getParentDirectory().createDirectory());
        ASSERT_TRUE(settingsFile().replaceWithText(text));
    }

    void writeSettings(const juce::MemoryBlock& bytes) const
    {
        ASSERT_TRUE(settingsFile().getParentDirectory().createDirectory());
        // An empty block would delete the file instead.
        if (bytes.isEmpty())
            ASSERT_TRUE(settingsFile().create().wasOk());
        else
            ASSERT_TRUE(settingsFile().replaceWithData(bytes.getData(), bytes.getSize()));
    }

    // A file with these two keys as the framework's properties XML writes them; a null text leaves
    // the key out.
    void writeSettings(const char* skinId, const char* showHints) const
    {
        auto xml = juce::String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n");
        if (skinId != nullptr)
            xml << "  <VALUE name=\"skinId\" val=\"" << skinId << "\"/>\n";
        if (showHints != nullptr)
            xml << "  <VALUE name=\"showHints\" val=\"" << showHints << "\"/>\n";
        writeSettings(xml + "</PROPERTIES>\n");
    }

    // What the file on disk holds under a key, read as plain XML; nothing when the file, the key or a
    // well-formed document is missing.
    std::optional<juce::String> storedValue(const char* key) const
    {
        const auto document = juce::parseXMLIfTagMatches(settingsFile(), "PROPERTIES");
        if (document == nullptr)
            return std::nullopt;
        for (auto* value : document->getChildWithTagNameIterator("VALUE"))
            if (value->getStringAttribute("name") == key)
                return value->getStringAttribute("val");
        return std::nullopt;
    }

private:
    TemporaryFolder home, config;
    ScopedEnvironmentVariable homeVariable, configVariable;
};

// The real editor, created by the real processor in the test's own home; opened when the test has
// prepared the settings file.
class SettingsEditorFixture : public ProcessorEditorFixture
{
protected:
    ~SettingsEditorFixture() override { closeEditor(); }

    QuillmoreAudioProcessor& editedProcessor() override { return processor; }

    juce::Colour lookAndFeelColour(int colourId) { return editor().getLookAndFeel().findColour(colourId); }

    SettingsHome home;
    QuillmoreAudioProcessor processor;
};

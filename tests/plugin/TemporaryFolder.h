#pragma once

#include <juce_core/juce_core.h>

#include <sys/stat.h>

// A fresh folder under the system's temporary folder, removed with everything in it at the end. It is
// open to every user, so that a test can look at it under another file-system identity.
class TemporaryFolder
{
public:
    TemporaryFolder() : root(uniqueFolder())
    {
        root.createDirectory();
        ::chmod(root.getFullPathName().toRawUTF8(), 0755);
    }

    ~TemporaryFolder()
    {
        // Folders a test made read-only must be writable again before their files can go.
        for (const auto& entry : juce::RangedDirectoryIterator(root, true, "*", juce::File::findDirectories))
            ::chmod(entry.getFile().getFullPathName().toRawUTF8(), 0755);
        root.deleteRecursively();
    }

    const juce::File& path() const { return root; }

private:
    // Test processes run side by side: a random name keeps their folders apart.
    static juce::File uniqueFolder()
    {
        juce::File folder;
        do
            folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                         .getChildFile("quillmore-test-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()));
        while (folder.exists());
        return folder;
    }

    const juce::File root;
};

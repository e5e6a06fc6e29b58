#pragma once

#include <juce_core/juce_core.h>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a folder read-only for the current thread. Root ignores file modes, so a root process also
// looks at files as the user "nobody" meanwhile (the file-system identity is per thread on Linux).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const juce::File& folderToLock) : folder(folderToLock)
    {
        ::chmod(path(), 0555);
        if (::geteuid() == 0)
        {
            ::setfsgid(nobody);
            ::setfsuid(nobody);
            changedIdentity = ::setfsuid(static_cast<uid_t>(-1)) == nobody;
        }
    }

    ~ReadOnlyFolder()
    {
        if (changedIdentity)
        {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        ::chmod(path(), 0755);
    }

    // Whether writing into the folder really fails now.
    bool holds() const
    {
        const auto probe = folder.getChildFile("probe").getFullPathName();
        const int fd = ::open(probe.toRawUTF8(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            return true;
        ::close(fd);
        ::unlink(probe.toRawUTF8());
        return false;
    }

private:
    const char* path() const { return folder.getFullPathName().toRawUTF8(); }

    static constexpr uid_t nobody = 65534;
    const juce::File folder;
    bool changedIdentity = false;
};

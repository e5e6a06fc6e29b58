#include "plugin/BoundedFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Quillmore
{
std::optional<juce::MemoryBlock> readBoundedRegularFileBytes(const juce::File& file, size_t maximumBytes)
{
    const int descriptor = ::open(file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct Closer
    {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{ descriptor };

    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0
        || static_cast<unsigned long long>(status.st_size) > maximumBytes)
        return std::nullopt;

    // One byte more than allowed, to see a file that grew meanwhile.
    juce::MemoryBlock bytes(static_cast<size_t>(status.st_size) + 1);
    size_t filled = 0;
    while (filled < bytes.getSize())
    {
        const auto got = ::read(descriptor, static_cast<char*>(bytes.getData()) + filled, bytes.getSize() - filled);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
        if (filled > maximumBytes)
            return std::nullopt;
    }
    bytes.setSize(filled);
    return bytes;
}

std::optional<juce::String> readBoundedRegularFile(const juce::File& file, size_t maximumBytes)
{
    const auto bytes = readBoundedRegularFileBytes(file, maximumBytes);
    if (!bytes)
        return std::nullopt;
    return juce::String::createStringFromData(bytes->getData(), static_cast<int>(bytes->getSize()));
}
} // namespace Quillmore

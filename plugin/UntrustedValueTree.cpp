#include "plugin/UntrustedValueTree.h"

#include <cstdint>
#include <cstring>

namespace Quillmore
{
namespace
{
// The framework's markers for the kinds of value (juce_Variant.cpp); a value of length 0 is void.
enum ValueMarker : uint8_t
{
    intMarker = 1,
    boolTrueMarker = 2,
    boolFalseMarker = 3,
    doubleMarker = 4,
    stringMarker = 5,
    int64Marker = 6,
    arrayMarker = 7,
    binaryMarker = 8,
    undefinedMarker = 9
};

// Walks the binary form without building anything, failing at the first thing that the framework's
// reader would misread, read past the end for, or trust too far.
class TreeWalk
{
public:
    TreeWalk(const uint8_t* data, size_t size) : position(data), end(data + size) {}

    bool tree(int depth)
    {
        if (depth > maxNestingDepth || !identifier())
            return false;

        int numProperties = 0;
        if (!count(numProperties))
            return false;
        for (int i = 0; i < numProperties; ++i)
            if (!identifier() || !value(depth + 1))
                return false;

        int numChildren = 0;
        if (!count(numChildren))
            return false;
        for (int i = 0; i < numChildren; ++i)
            if (!tree(depth + 1))
                return false;
        return true;
    }

private:
    size_t remaining() const { return static_cast<size_t>(end - position); }

    bool skip(size_t numBytes)
    {
        if (numBytes > remaining())
            return false;
        position += numBytes;
        return true;
    }

    // A zero-terminated type or property name made only of the characters that the framework allows
    // in identifiers (Identifier::isValidIdentifier). Unlike a text value, a name has no length of its
    // own, so this is what stops a damaged byte before it from swallowing it into another name.
    bool identifier()
    {
        static constexpr char allowed[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-:#@$%";
        const auto* start = position;
        while (position != end && *position != 0)
        {
            if (std::memchr(allowed, *position, sizeof(allowed) - 1) == nullptr)
                return false;
            ++position;
        }
        if (position == end || position == start)
            return false;
        ++position;
        return true;
    }

    // OutputStream::writeCompressedInt: a byte with the length (1 ... 4) and a sign bit, then the
    // magnitude in that many little-endian bytes; a lone 0 byte is 0. Only counts 0 ... 2^31-1 pass.
    bool count(int& result)
    {
        if (remaining() < 1)
            return false;
        const uint8_t head = *position++;
        if (head == 0)
        {
            result = 0;
            return true;
        }
        const int numBytes = head & 0x7f;
        if ((head & 0x80) != 0 || numBytes > 4 || static_cast<size_t>(numBytes) > remaining())
            return false;
        uint32_t magnitude = 0;
        for (int i = 0; i < numBytes; ++i)
            magnitude |= static_cast<uint32_t>(position[i]) << (8 * i);
        position += numBytes;
        if (magnitude > 0x7fffffffu)
            return false;
        result = static_cast<int>(magnitude);
        return true;
    }

    bool value(int depth)
    {
        if (depth > maxNestingDepth)
            return false;
        int length = 0;
        if (!count(length))
            return false;
        if (length == 0)
            return true;
        if (remaining() < 1)
            return false;
        const uint8_t marker = *position++;
        const auto payload = static_cast<size_t>(length) - 1;
        if (payload > remaining())
            return false;

        switch (marker)
        {
            case intMarker: return payload == 4 && skip(4);
            case int64Marker:
            case doubleMarker: return payload == 8 && skip(8);
            case boolTrueMarker:
            case boolFalseMarker: return payload == 0;
            case binaryMarker:
            case undefinedMarker: return skip(payload);
            case stringMarker:
                // The text with its terminator: the reader keeps what comes before the first zero.
                return payload > 0 && position[payload - 1] == 0
                    && juce::CharPointer_UTF8::isValidString(reinterpret_cast<const char*>(position), static_cast<int>(payload))
                    && skip(payload);
            case arrayMarker: return array(payload, depth);
            default: return false;
        }
    }

    // The reader takes as many values as the array's count says, wherever they end: they must fill
    // exactly the length the array declares.
    bool array(size_t payload, int depth)
    {
        const auto* arrayEnd = position + payload;
        int numValues = 0;
        if (!count(numValues))
            return false;
        for (int i = 0; i < numValues; ++i)
            if (position > arrayEnd || !value(depth + 1))
                return false;
        return position == arrayEnd;
    }

    const uint8_t* position;
    const uint8_t* const end;
};
} // namespace

juce::ValueTree readUntrustedValueTree(const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return {};

    TreeWalk walk(static_cast<const uint8_t*>(data), size);
    if (!walk.tree(0))
        return {};
    return juce::ValueTree::readFromData(data, size);
}
} // namespace Quillmore

#pragma once

#include <cstddef>

namespace PRT
{

// The runtime's text type: log lines, state keys, data-reference names. Its buffer comes from the
// platform object; the buffer doubles from 16 bytes and always has room for the terminator.
class String
{
public:
    String() = default;
    explicit String(const char* text);
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String();

    void append(const char* text);
    void clear();

    // Never null: an empty text reads "".
    const char* c_str() const { return text != nullptr ? text : ""; }
    size_t length() const { return textLength; }
    size_t capacity() const { return bufferCapacity; }
    bool empty() const { return textLength == 0; }

    bool operator==(const String& other) const;
    bool operator==(const char* other) const;

private:
    void release();

    char* text = nullptr;
    size_t textLength = 0;
    size_t bufferCapacity = 0;
};

// Hashes a name with the tag hash, for maps keyed by runtime texts (state entries, data-ref names).
struct StringHash
{
    size_t operator()(const String& name) const;
};

} // namespace PRT

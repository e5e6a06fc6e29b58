#include "runtime/String.h"

#include "runtime/Platform.h"
#include "runtime/TagHash.h"

#include <utility>

namespace PRT
{

String::String(const char* initial)
{
    if (initial != nullptr)
        append(initial);
}

String::String(const String& other)
{
    if (!other.empty())
        append(other.c_str());
}

String::String(String&& other) noexcept
    : text(std::exchange(other.text, nullptr)),
      textLength(std::exchange(other.textLength, 0)),
      bufferCapacity(std::exchange(other.bufferCapacity, 0))
{
}

String& String::operator=(const String& other)
{
    if (this != &other)
    {
        clear();
        if (!other.empty())
            append(other.c_str());
    }
    return *this;
}

String& String::operator=(String&& other) noexcept
{
    if (this != &other)
    {
        release();
        text = std::exchange(other.text, nullptr);
        textLength = std::exchange(other.textLength, 0);
        bufferCapacity = std::exchange(other.bufferCapacity, 0);
    }
    return *this;
}

String::~String()
{
    release();
}

void String::append(const char* addition)
{
    PlatformInterface& platform = *getPlatform();
    const size_t added = platform.strlen(addition);
    const size_t needed = textLength + added;

    if (needed >= bufferCapacity)
    {
        size_t grown = bufferCapacity < 16 ? 16 : bufferCapacity;
        while (needed >= grown)
            grown *= 2;

        // The addition may lie in the old buffer (a text appended to itself): it is copied before
        // that buffer goes.
        auto* buffer = static_cast<char*>(platform.malloc(grown));
        if (text != nullptr)
            platform.memcpy(buffer, text, textLength);
        platform.memcpy(buffer + textLength, addition, added);
        if (text != nullptr)
            platform.free(text);
        text = buffer;
        bufferCapacity = grown;
    }
    else
    {
        platform.memcpy(text + textLength, addition, added);
    }

    text[needed] = '\0';
    textLength = needed;
}

void String::clear()
{
    textLength = 0;
    if (text != nullptr)
        text[0] = '\0';
}

bool String::operator==(const String& other) const
{
    return *this == other.c_str();
}

bool String::operator==(const char* other) const
{
    return getPlatform()->strcmp(c_str(), other != nullptr ? other : "") == 0;
}

void String::release()
{
    if (text != nullptr)
        getPlatform()->free(text);
    text = nullptr;
    textLength = 0;
    bufferCapacity = 0;
}

size_t StringHash::operator()(const String& name) const
{
    return hashString(name.c_str());
}

} // namespace PRT

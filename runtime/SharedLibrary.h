#pragma once

namespace PRT
{

// A shared library opened by path (dlopen), closed again with the object.
class SharedLibrary
{
public:
    SharedLibrary() = default;
    ~SharedLibrary();

    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Closes what was open, then opens path; false when it cannot be loaded.
    bool open(const char* path);
    void close();
    bool isOpen() const { return handle != nullptr; }

    // Address of an exported symbol, or null when the library is not open or lacks it.
    void* findSymbol(const char* name) const;

private:
    void* handle = nullptr;
};

} // namespace PRT

#include "runtime/SharedLibrary.h"

#include <dlfcn.h>

namespace PRT
{

SharedLibrary::~SharedLibrary()
{
    close();
}

bool SharedLibrary::open(const char* path)
{
    close();
    if (path == nullptr)
        return false; // dlopen would hand back the program itself
    // Local binding: an external's symbols must not take the place of the host's, nor of another
    // external's of the same name.
    handle = ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
    return handle != nullptr;
}

void SharedLibrary::close()
{
    if (handle != nullptr)
        ::dlclose(handle);
    handle = nullptr;
}

void* SharedLibrary::findSymbol(const char* name) const
{
    if (handle == nullptr || name == nullptr)
        return nullptr;
    return ::dlsym(handle, name);
}

} // namespace PRT

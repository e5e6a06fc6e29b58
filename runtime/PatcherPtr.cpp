#include "runtime/PatcherPtr.h"

#include "runtime/PatcherInterface.h"

namespace PRT
{

void PatcherDestroyer::operator()(PatcherInterface* patcher) const
{
    if (patcher != nullptr)
        patcher->destroy();
}

} // namespace PRT

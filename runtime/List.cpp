#include "runtime/List.h"

namespace PRT
{

void reportListError(const char* message)
{
    PlatformInterface& platform = *getPlatform();
    if (platform.claimErrorReport())
        platform.printErrorMessage(message);
}

} // namespace PRT

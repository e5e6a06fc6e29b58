#include "plugin/EngineBlockSize.h"

namespace Quillmore
{
int chooseEngineBlockSize(int hostMaximumBlockSize)
{
    if (hostMaximumBlockSize <= 96)
        return 64;
    if (hostMaximumBlockSize <= 192)
        return 128;
    return 256;
}
} // namespace Quillmore

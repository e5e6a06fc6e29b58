#pragma once

namespace Quillmore
{
// The engine's fixed block for a host's maximum block: 64 up to 96 samples, 128 up to 192, 256 above.
// Small host blocks get small engine blocks, which keeps the bridge's latency low.
int chooseEngineBlockSize(int hostMaximumBlockSize);
} // namespace Quillmore

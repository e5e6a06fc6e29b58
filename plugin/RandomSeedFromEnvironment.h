#pragma once

namespace Quillmore
{
// The environment variable that fixes the patch's random seed, for renders that repeat.
inline constexpr const char* randomSeedVariable = "QUILLMORE_RANDOM_SEED";

// When the environment gives a finite number in QUILLMORE_RANDOM_SEED, the process's random
// generator restarts from it, so that an instance created next seeds its hiss, drift, blips and
// dropouts the same way every time and its renders repeat exactly (the golden renders, the host
// tool's --seed). Without it the sources stay seeded from the process clock, as tape noise should be.
// Call before the patch of a new instance is made.
void applyRandomSeedFromEnvironment();
} // namespace Quillmore

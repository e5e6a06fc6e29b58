#pragma once

#include "patch/core/RandomState.h"

#include <cstdint>

namespace PRT
{

// Moves a xoshiro128+ state on by any number of steps, to exactly where as many nextRandomBits calls
// would leave it. The step is linear over GF(2), so a power of two of it is a fixed 128 × 128 bit
// matrix, applied here by table: for sources whose draws are read only at rare instants (a
// sample-and-hold of noise), a block of steps costs a few table look-ups in place of one step per
// sample. No allocation and no locks: the tables are built when the library loads.
void advanceRandomState(RandomState& state, std::uint64_t steps);

} // namespace PRT

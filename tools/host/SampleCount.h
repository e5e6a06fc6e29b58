#pragma once

namespace Quillmore::Host
{
// Whole samples in the given seconds at the rate; throws HostError for a duration that is negative,
// not finite or too long to hold.
int samplesIn(double seconds, double sampleRate);
} // namespace Quillmore::Host

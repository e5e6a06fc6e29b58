#pragma once

#include "patch/core/FilterCoefficientUpdater.h"

#include <cstdint>

namespace PRT::dsp
{

// A left and a right filter section of one kind on the designs of one updater, as every module that
// filters both channels alike holds them.
template <typename Section>
class StereoSections
{
public:
    // Prepares the updater for the mode and clears both channels, the first time and whenever the
    // sample rate or block size changed; otherwise does nothing and returns false.
    bool prepare(float sampleRate, std::uint32_t blockSize, std::int64_t mode, bool changed)
    {
        if (prepared_ && !changed)
            return false;
        prepared_ = true;
        updater_.prepare(sampleRate, blockSize, mode);
        left_.reset();
        right_.reset();
        return true;
    }

protected:
    FilterCoefficientUpdater updater_;
    Section left_;
    Section right_;

private:
    bool prepared_ = false;
};

} // namespace PRT::dsp

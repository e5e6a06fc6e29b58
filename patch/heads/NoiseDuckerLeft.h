#pragma once

#include "patch/heads/NoiseDucker.h"

namespace PRT
{

// "NoiseDucker[1]": the left channel's noise ducker.
class Quillmore::PRTSubpatcher_41 : public NoiseDucker
{
public:
    class PRTSubpatcher_30; // "NoiseDucker[1]/compressor"

    PRTSubpatcher_41() : NoiseDucker("NoiseDucker[1]") {}

protected:
    void createChildren() override;
};

class Quillmore::PRTSubpatcher_41::PRTSubpatcher_30 : public NoiseDuckerCompressor
{
public:
    PRTSubpatcher_30()
        : NoiseDuckerCompressor({HashedText("NoiseDucker[1]/compressor/flonum"), HashedText("NoiseDucker[1]/compressor/flonum[1]"),
                                 HashedText("NoiseDucker[1]/compressor/flonum[2]"),
                                 HashedText("NoiseDucker[1]/compressor/number_obj-47"),
                                 HashedText("NoiseDucker[1]/compressor/message_obj-45"),
                                 HashedText("NoiseDucker[1]/compressor/loadbang_obj-46"), "average_rms_tilde_01_av_bufferobj"})
    {
    }
};

inline void Quillmore::PRTSubpatcher_41::createChildren()
{
    compressor = createChild<PRTSubpatcher_30>();
}

} // namespace PRT

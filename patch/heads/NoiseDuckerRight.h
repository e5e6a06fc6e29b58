#pragma once

#include "patch/heads/NoiseDucker.h"

namespace PRT
{

// "NoiseDucker": the right channel's noise ducker.
class Quillmore::PRTSubpatcher_44 : public NoiseDucker
{
public:
    class PRTSubpatcher_31; // "NoiseDucker/compressor"

    PRTSubpatcher_44() : NoiseDucker("NoiseDucker") {}

protected:
    void createChildren() override;
};

class Quillmore::PRTSubpatcher_44::PRTSubpatcher_31 : public NoiseDuckerCompressor
{
public:
    PRTSubpatcher_31()
        : NoiseDuckerCompressor({HashedText("NoiseDucker/compressor/flonum"), HashedText("NoiseDucker/compressor/flonum[1]"),
                                 HashedText("NoiseDucker/compressor/flonum[2]"),
                                 HashedText("NoiseDucker/compressor/number_obj-47"),
                                 HashedText("NoiseDucker/compressor/message_obj-45"),
                                 HashedText("NoiseDucker/compressor/loadbang_obj-46"), "average_rms_tilde_02_av_bufferobj"})
    {
    }
};

inline void Quillmore::PRTSubpatcher_44::createChildren()
{
    compressor = createChild<PRTSubpatcher_31>();
}

} // namespace PRT

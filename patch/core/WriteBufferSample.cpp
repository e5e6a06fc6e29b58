#include "patch/core/WriteBufferSample.h"

namespace PRT
{

void writeBufferSample(Float64Buffer& buffer, float value, float index, int64_t channel, float overdub)
{
    const size_t frames = buffer.getSize();
    const size_t channels = buffer.getChannels();
    if (frames == 0 || !(index >= 0.0f && index < static_cast<float>(frames)) || channel < 0 ||
        static_cast<size_t>(channel) >= channels)
        return;
    const size_t frame = static_cast<size_t>(index);
    if (frame >= frames)
        return;

    const size_t element = frame * channels + static_cast<size_t>(channel);
    double* samples = buffer.getData();
    double sample = value;
    if (overdub != 0.0f)
        sample += (samples != nullptr ? samples[element] : 0.0) * overdub;
    if (samples != nullptr)
        samples[element] = sample;
    buffer.getDataRef()->setTouched(true);
}

} // namespace PRT

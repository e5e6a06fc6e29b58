#pragma once

#include "patch/core/Button.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/HeldSignal.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/MessageTags.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalScope.h"
#include "patch/space/EchoBandLayout.h"
#include "patch/space/FramePowerSpectrum.h"

#include <array>

namespace PRT
{

// "Echo": the echo spectrum analyser. It windows the weighted echo with a periodic Blackman window,
// transforms every 4096 samples and keeps the power of each bin of the last frame in the top level's
// "binA". Twice per frame it raises a clock for itself: at position 2049 the band sweep condenses
// the bins between 20 and 9000 Hz into 256 band values (the mean power of each band's bins, the band
// sizes in "listSizes") and sends them as one "EchoSpec" list; at position 4095 the frame end sends
// the marker [-2048], after which a receiver collects the next 256 values as one frame.
//
// The sweep carries its unfinished band and its unsent band values from one frame to the next, so
// the first frame after start-up is made of a partial list and the start of the next one; after
// that every marker is followed by exactly one band list.
class Quillmore::PRTSubpatcher_55 : public GeneratedPatcher
{
public:
    static constexpr Index frameSize = 4096;
    static constexpr float frameMarker = -2048.0f;
    static constexpr Index bandTableEntries = 2048; // "listSizes" and "logLists"
    static constexpr Index binFrames = 2 * frameSize; // "binA"
    static constexpr ClockId sweepClock = 0xb1b14f18;    // frame position 2049: the band sweep
    static constexpr ClockId sweepEndClock = 0x44a6cbd6; // position 0 after a sweep: no handler
    static constexpr ClockId frameEndClock = 0xdb866097; // frame position 4095: the marker
    static constexpr ClockId frameRestartClock = 0xa1951a17; // position 0 after a frame end: no handler

    PRTSubpatcher_55();

    void setupObjects() override;
    void allocateDataRefs() override;

    int64_t getFramePosition() const { return framePosition; }
    float getGroupSize() const { return groupSize; }
    const dsp::EchoBandLayout& getLayout() const { return layout; }
    size_t getPendingBins() const { return binAccumulator.size(); }
    size_t getPendingBands() const { return bandAccumulator.size(); }

    TopLevelDataView<Float32Buffer> binA{*this, 15};
    TopLevelDataView<Float64Buffer> listSizes{*this, 17};
    TopLevelDataView<Float64Buffer> logLists{*this, 18};

    MessageBox message_obj_64{*this, HashedText("Echo/message_obj-64")};   // start of the bin counter
    MessageBox message_obj_63{*this, HashedText("Echo/message_obj-63")};   // start of the band counter
    MessageBox message_obj_81{*this, HashedText("Echo/message_obj-81")};   // start of table builder A
    MessageBox message_obj_58{*this, HashedText("Echo/message_obj-58")};   // the band count
    MessageBox message_obj_141{*this, HashedText("Echo/message_obj-141")}; // the frame marker
    MessageBox message_obj_36{*this, HashedText("Echo/message_obj-36")};   // start of table builder B
    MessageBox message_obj_82{*this, HashedText("Echo/message_obj-82")};   // the highest bin
    MessageBox message_obj_31{*this, HashedText("Echo/message_obj-31")};   // the bins the sweep reads
    MessageBox message_obj_23{*this, HashedText("Echo/message_obj-23")};   // the lowest bin
    NumberBox number_obj_91{*this, HashedText("Echo/number_obj-91")};      // the band size in force
    NumberBox number_obj_11{*this, HashedText("Echo/number_obj-11")};      // the band completed
    NumberBox number_obj_92{*this, HashedText("Echo/number_obj-92")};      // builder A: size
    NumberBox number_obj_71{*this, HashedText("Echo/number_obj-71")};      // builder A: first bin
    NumberBox number_obj_33{*this, HashedText("Echo/number_obj-33")};      // builder B: band
    NumberBox number_obj_52{*this, HashedText("Echo/number_obj-52")};      // builder B: last bin
    NumberBox number_obj_85{*this, HashedText("Echo/number_obj-85")};      // builder A: band
    NumberBox number_obj_69{*this, HashedText("Echo/number_obj-69")};      // builder A: last bin
    NumberBox number_obj_27{*this, HashedText("Echo/number_obj-27")};      // builder B: size
    NumberBox number_obj_45{*this, HashedText("Echo/number_obj-45")};      // builder B: first bin
    Button button_obj_21{*this, HashedText("Echo/button_obj-21")};         // sweep start
    Button button_obj_107{*this, HashedText("Echo/button_obj-107")};       // frame end
    Button button_obj_14{*this, HashedText("Echo/button_obj-14")};         // band completion
    Button button_obj_8{*this, HashedText("Echo/button_obj-8")};           // runs table builder A
    Button button_obj_10{*this, HashedText("Echo/button_obj-10")};         // runs table builder B
    Button button_obj_84{*this, HashedText("Echo/button_obj-84")};
    LoadBang loadbang_obj_4{*this, HashedText("Echo/loadbang_obj-4")};    // the band layout
    SignalScope scope_obj_65{*this, HashedText("Echo/scope~_obj-65")};     // shows the band size
    HeldSignal groupSizeSignal{*this};

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    // A new rate or block size starts the frame afresh; a new rate also a new band layout.
    void prepareSignalObjects(bool changed) override;
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;
    const char* resolveOwnTag(MessageTag tag) override
    {
        return tag == tags::echoSpec.hash ? tags::echoSpec.text : nullptr;
    }

private:
    // Writes the band table, one band per step of its counter: the size of band x into "listSizes"[x],
    // its number boxes showing x, its last bin, its first bin and its size.
    struct TableBuilder
    {
        NumberBox& band;
        NumberBox& lastBin;
        NumberBox& firstBin;
        NumberBox& size;
        float lowBin = 0.0f;
        float binCount = 0.0f;
        float bandCount = 0.0f;
        float loopLength = 128.0f;
        float start = 0.0f;
    };

    void connectObjects();
    void computeBandLayout();
    void runTableBuilder(TableBuilder& builder);
    void sweepBands();
    // The first g gathered bins make a band value; a full band list goes out.
    void completeBand(size_t g);
    void sendEchoSpec(const list& values);
    // The windowed input into the frame, the previous frame's powers into "binA", the transform at
    // the frame's end and the marker clocks, for n samples that stay inside the frame.
    void analyseSpan(const SampleValue* input, Index offset, Index n);
    void scheduleAtSample(ClockId clockId, Index sample);

    // Signal side.
    int64_t framePosition = 0;
    bool pastHalf = false;     // frame position above 2048
    bool atFrameEnd = false;   // frame position above 4094
    alignas(32) std::array<float, frameSize> window{};
    alignas(32) std::array<float, frameSize> analysisFrame{};
    alignas(32) std::array<float, frameSize> spectrumPower{};
    dsp::FramePowerSpectrum transform;
    SignalBuffer groupSizeValues{*this};

    // Band layout and sweep.
    dsp::EchoBandLayout layout;
    float layoutRate = 0.0f;
    float sweepLowBin = 0.0f;  // the lowest bin, as message_obj-23 hands it on
    float lowBinOperand = 0.0f;
    float binIndex = 0.0f;
    float bandIndex = 0.0f;
    float groupSize = 256.0f;
    float chunkLength = 128.0f;
    list binAccumulator;
    list bandAccumulator;
    list bandList;
    TableBuilder builderA{number_obj_85, number_obj_69, number_obj_71, number_obj_92};
    TableBuilder builderB{number_obj_33, number_obj_52, number_obj_45, number_obj_27};
};

} // namespace PRT

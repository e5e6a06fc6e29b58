#pragma once

#include "patch/core/Button.h"
#include "patch/core/ClockIds.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slider.h"
#include "patch/core/Toggle.h"

#include <vector>

// A small two-level patch built the way the generated classes are: a root owning a "Branch" module
// (which owns a nested "Leaf") and a "Quiet" module without objects.
namespace PRT::test
{

inline constexpr HashedText leafGainPath{"Branch/Leaf/number_obj-1"};
inline constexpr HashedText leafContentPath{"Branch/Leaf/message_obj-2"};
inline constexpr HashedText leafLevelPath{"Branch/Leaf/number~_obj-3"};
inline constexpr HashedText leafLoadPath{"Branch/Leaf/loadbang_obj-4"};
inline constexpr HashedText branchPowerPath{"Branch/toggle_obj-5"};
inline constexpr HashedText branchResetPath{"Branch/button_obj-6"};
inline constexpr HashedText branchMixPath{"Branch/slider_obj-7"};
inline constexpr HashedText branchScopePath{"Branch/scope~_obj-8"};

// One input through a gain number box; a monitor watches the input.
class TestLeaf final : public GeneratedPatcher
{
public:
    TestLeaf() : GeneratedPatcher({"Leaf", 1, 1})
    {
        gain.onValue = [this](float value) { gainValue = value; };
        content.onOutput = [this](const list& values) { outputs.emplace_back(values.data(), values.data() + values.size()); };
        load.onFire = [this] { ++loadFires; };
    }

    void setupObjects() override
    {
        gain.setUp(NumberBox::floatFormat);
        content.setUp({2, 3});
        level.setUp(SignalMonitor::FollowInput);
        memory.requestFrames(64);
    }

    NumberBox gain{*this, leafGainPath};
    MessageBox content{*this, leafContentPath};
    SignalMonitor level{*this, leafLevelPath, clocks::monitorA};
    LoadBang load{*this, leafLoadPath};
    OwnedDataRef memory{*this, "leaf_bufferobj"};
    SignalBuffer levelSignal{*this};

    float gainValue = 1.0f;
    int loadFires = 0;
    std::vector<std::vector<float>> outputs;

private:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        for (Index i = 0; i < n; ++i)
            outputs[0][i] = inputs[0][i] * gainValue;
        level.process(inputs[0], levelSignal.get(), n);
    }
};

// Left through its Leaf, right passed on; a scope on the left input.
class TestBranch final : public GeneratedPatcher
{
public:
    TestBranch() : GeneratedPatcher({"Branch", 2, 2})
    {
        power.onValue = [this](float value) { powerValue = value; };
        reset.onBang = [this] { ++resets; };
        mix.onValue = [this](float value) { mixValue = value; };
    }

    void setupObjects() override
    {
        delayA.requestFrames(128);
        delayB.requestFrames(32, 2);
        leaf->setupObjects();
    }

    TestLeaf* leaf = nullptr;
    Toggle power{*this, branchPowerPath};
    Button reset{*this, branchResetPath};
    Slider mix{*this, branchMixPath};
    SignalScope scope{*this, branchScopePath};
    OwnedDataRef delayA{*this, "branch_a_bufferobj"};
    OwnedDataRef delayB{*this, "branch_b_bufferobj"};
    TopLevelDataView<Float64Buffer> table{*this, 0};

    float powerValue = -1.0f;
    float mixValue = -1.0f;
    int resets = 0;

private:
    void createChildren() override { leaf = createChild<TestLeaf>(); }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        leaf->process(inputs, 1, outputs, 1, n);
        for (Index i = 0; i < n; ++i)
            outputs[1][i] = inputs[1][i];
        scope.process(inputs[0], n);
    }
};

// Neither objects nor children nor ports.
class QuietModule final : public GeneratedPatcher
{
public:
    QuietModule() : GeneratedPatcher({"Quiet", 0, 0}) {}

private:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// The top level: owns data ref 0 and starts its modules the way the generated top level does.
class TestRoot final : public GeneratedPatcher
{
public:
    TestRoot() : GeneratedPatcher({"TestRoot", 2, 2}, 0) {}

    void initialize() override
    {
        GeneratedPatcher::initialize();
        for (GeneratedPatcher* module : getChildren())
            module->setupObjects();
        table.requestFrames(16);
        allocateDataRefs();
        scheduleLoadClocks();
    }

    void sendParameter(ParameterIndex index, bool) override { sentParameters.push_back(index); }

    TestBranch* branch = nullptr;
    QuietModule* quiet = nullptr;
    OwnedDataRef table{*this, "root_table"};
    std::vector<ParameterIndex> sentParameters;

private:
    void createChildren() override
    {
        branch = createChild<TestBranch>();
        quiet = createChild<QuietModule>();
    }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        branch->process(inputs, 2, outputs, 2, n);
        quiet->process(nullptr, 0, nullptr, 0, n);
    }
};

} // namespace PRT::test

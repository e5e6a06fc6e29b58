#include "patch/core/MessageTags.h"
#include "patch/core/QuillmoreModules.h"
#include "runtime/PatcherFactory.h"
#include "runtime/PatcherState.h"

#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace PRT;
using namespace PRT::test;

namespace
{
class QuillmoreStateTest : public testing::Test
{
protected:
    void SetUp() override
    {
        top = &patch.install(new Quillmore());
        patch.prepare(48000.0f, 64);
        patch.processBlocks(1);
        patch.takeSent();
    }

    MillisecondTime now() { return patch.engine.getCurrentTime(); }

    PatchEngine patch;
    Quillmore* top = nullptr;
};

std::vector<std::string> moduleKeys()
{
    return {"OutputAmp",       "NoiseGen",      "NoiseDucker[1]", "NoiseGate",    "SpringUtilities", "NoiseDucker",
            "SpringsHighPass", "DryWetSprings", "DryWetDelay",    "TapeDelayOG",  "SpringsB",        "Dropouts",
            "InputFilter",     "DelToSprings",  "TapeStopper",    "Warbler",      "Echo",            "FixStartupBurp"};
}
} // namespace

TEST_F(QuillmoreStateTest, GetPresetWritesTheParametersAndTheModulesSubStates)
{
    std::shared_ptr<PatcherState> state = patch.engine.getPreset();
    EXPECT_STREQ(state->getString("__presetid"), "prt");
    EXPECT_EQ(state->getNumEntries(), 48u + 2u);
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        const PatcherStateInterface* entry = state->findSubState(quillmoreParameters[index].id);
        ASSERT_NE(entry, nullptr) << quillmoreParameters[index].id;
        EXPECT_EQ(entry->findFloat("value"), top->getParameterValue(index)) << quillmoreParameters[index].id;
    }
    EXPECT_EQ(state->findSubState("EchoTime")->findFloat("value"), 1.0f) << "as applied at start-up";

    const auto* modules = static_cast<const PatcherState*>(state->findSubState("__sps"));
    ASSERT_NE(modules, nullptr);
    EXPECT_EQ(modules->getNumEntries(), moduleKeys().size());
    for (const std::string& key : moduleKeys())
        EXPECT_NE(modules->findSubState(key.c_str()), nullptr) << key;

    auto nested = [&](const char* module) {
        return static_cast<const PatcherState*>(modules->findSubState(module)->findSubState("__sps"));
    };
    EXPECT_NE(nested("NoiseGen")->findSubState("Biquad"), nullptr);
    EXPECT_NE(nested("NoiseDucker[1]")->findSubState("compressor"), nullptr);
    EXPECT_NE(nested("NoiseDucker")->findSubState("compressor"), nullptr);
    EXPECT_EQ(nested("TapeDelayOG")->getNumEntries(), 2u);
    EXPECT_NE(nested("TapeDelayOG")->findSubState("FeedbackAmp"), nullptr);
    EXPECT_NE(nested("Dropouts")->findSubState("FreqDropoutsR"), nullptr);
    const auto* drift = static_cast<const PatcherState*>(nested("Warbler")->findSubState("StDrift"));
    ASSERT_NE(drift, nullptr);
    EXPECT_NE(drift->findSubState("__sps")->findSubState("Instability"), nullptr);
    EXPECT_NE(nested("Warbler")->findSubState("DamageCrinkleL"), nullptr);
    EXPECT_TRUE(modules->findSubState("NoiseGate")->isEmpty());
}

TEST_F(QuillmoreStateTest, SetPresetWithOnlySpringMixChangesOnlyThat)
{
    std::vector<float> before;
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
        before.push_back(top->getParameterValue(index));

    auto state = std::make_unique<PatcherState>();
    state->getSubState("SpringMix").add("value", 42.0f);
    // The modules' entries and malformed parameter entries are not read.
    state->getSubState("__sps").getSubState("SpringsB").add("value", 3.0f);
    state->getSubState("EchoTime").add("value", 7); // an integer, not a float
    state->getSubState("Wow");                        // empty
    state->add("Flutter", 9.0f);                      // not a sub-state
    patch.engine.setPreset(std::move(state));

    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        if (index == params::SpringMix)
            continue;
        EXPECT_EQ(top->getParameterValue(index), before[index]) << quillmoreParameters[index].id;
    }
    EXPECT_EQ(top->getParameterValue(params::SpringMix), 42.0f);
    EXPECT_EQ(top->springUtilities->number_obj_92.getValue(), 42.0f) << "applied through its routing";
    EXPECT_FLOAT_EQ(top->dryWetSprings->mixTarget, 0.42f) << "the mixer takes SpringMix × 0.01";
}

TEST_F(QuillmoreStateTest, MessagesReachTheTopLevelsObjectsAndGoOnToTheModules)
{
    struct Case
    {
        float format;
        int64_t expected;
    };
    for (const Case& c : {Case{-4, 0}, Case{9.7f, 6}, Case{5.9f, 5}})
    {
        patch.sendNumber(tags::format.hash, top->number_obj_22.getId(), c.format, now());
        patch.processBlocks(1);
        EXPECT_EQ(top->number_obj_22.getFormat(), c.expected) << c.format;
    }

    patch.sendNumber(tags::mode.hash, top->numberTilde_obj_170.getId(), 3.0f, now());
    patch.processBlocks(1);
    EXPECT_EQ(top->numberTilde_obj_170.getOutputMode(), SignalMonitor::FollowInput) << "3 changes nothing";
    patch.sendNumber(tags::mode.hash, top->numberTilde_obj_170.getId(), 1.0f, now());
    patch.sendList(tags::sig.hash, top->numberTilde_obj_24.getId(), {0.75f}, now());
    patch.processBlocks(1);
    EXPECT_EQ(top->numberTilde_obj_170.getOutputMode(), SignalMonitor::RampToSetValue);
    EXPECT_EQ(top->numberTilde_obj_24.getSetValue(), 0.75f);

    // "valin" changes the object and its target, not the parameter.
    patch.sendNumber(tags::valin.hash, top->toggle_obj_158.getId(), 0.0f, now());
    patch.sendNumber(tags::valin.hash, hashString("TapeStopper/toggle_obj-136"), 1.0f, now());
    patch.processBlocks(1);
    EXPECT_EQ(top->getBlockTargets().spaceOnTarget, 0.0f);
    EXPECT_EQ(top->getParameterValue(params::SpaceOn), 1.0f);
    EXPECT_EQ(top->tapeStopper->toggle_obj_136.getValue(), 1.0f) << "passed on to the module";

    patch.sendBang(tags::bangin.hash, top->button_obj_208.getId(), now());
    patch.processBlocks(1);
    bool banged = false;
    for (const SentMessage& m : patch.takeSent())
        banged = banged || (m.tag == tags::bangout.hash && m.objectId == top->button_obj_208.getId());
    EXPECT_TRUE(banged);
}

TEST_F(QuillmoreStateTest, TagsResolveAtTheTopLevelThenInTheModules)
{
    EXPECT_STREQ(top->resolveTag(0x6a9c42bd), "bangin");
    EXPECT_STREQ(top->resolveTag(hashString("toggle_obj-53")), "toggle_obj-53");
    EXPECT_STREQ(top->resolveTag(hashString("number~_obj-24")), "number~_obj-24");
    EXPECT_STREQ(top->resolveTag(hashString("Warbler/StDrift/Instability/number_obj-28")),
                 "Warbler/StDrift/Instability/number_obj-28");
    EXPECT_STREQ(top->resolveTag(hashString("EchoSpec")), "EchoSpec");
    EXPECT_STREQ(top->resolveTag(hashString("nobody's")), "");
    EXPECT_EQ(top->getNumMessages(), 1u);
    EXPECT_STREQ(top->getMessageInfo(0).tag, "EchoSpec");
    EXPECT_EQ(top->getMessageInfo(0).kind, 1);
    EXPECT_STREQ(top->getMessageInfo(1).tag, "");
    EXPECT_EQ(top->getMessageInfo(1).kind, 2);
}

TEST_F(QuillmoreStateTest, MusicalTimeFollowsTempoTransportAndSignature)
{
    // The tempo already in force: no anchor, no module, no hostTempo.
    top->processTempoEvent(now(), 120.0f);
    EXPECT_EQ(top->getBeatAnchors().size(), 2u);
    EXPECT_EQ(top->getParameterValue(params::hostTempo), 0.0f);

    top->processTempoEvent(now(), 90.0f);
    EXPECT_EQ(top->getParameterValue(params::hostTempo), 90.0f);
    EXPECT_EQ(top->tapeDelay->hostTempo, 90.0f);
    EXPECT_EQ(top->getBeatAnchors().size(), 4u);

    // Stopped: the beat time stands at the last anchor.
    const MillisecondTime t0 = now();
    top->processBeatTimeEvent(t0, 2.0f);
    EXPECT_FLOAT_EQ(top->beatTimeAtTime(t0 + 10000.0), 2.0f);
    // Running at 120: 500 ms after an anchor of 2 beats is 3 beats.
    top->processTempoEvent(t0, 120.0f);
    top->processTransportEvent(t0, 1);
    patch.processBlocks(1); // the block end keeps the last anchor and refills the signals
    EXPECT_EQ(top->getBeatAnchors().size(), 2u);
    EXPECT_FLOAT_EQ(top->beatTimeAtTime(t0 + 500.0), 3.0f);

    // A signature repeating the one in force changes nothing.
    top->processTimeSignatureEvent(now(), 4, 4);
    EXPECT_EQ(top->getSignatureChanges().size(), 3u);
    top->processTimeSignatureEvent(now(), 3, 4);
    EXPECT_EQ(top->getSignatureChanges().size(), 6u);
    int32_t numerator = 0, denominator = 0;
    top->timeSignatureAtTime(now(), numerator, denominator);
    EXPECT_EQ(numerator, 3);
    EXPECT_EQ(denominator, 4);

    // Bar 2, beat 1 at the beat time now lines up with an offset of n × 1 − beat time.
    const float beats = top->beatTimeAtTime(now());
    top->processBBUEvent(now(), 2.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(top->getBarBeatOffset(), 3.0f - beats);
}

TEST(QuillmoreFactory, TwoPatchersLiveAndDieIndependently)
{
    PatcherPtr first(createPatcher());
    PatcherPtr second(createPatcher());
    ASSERT_NE(first.get(), nullptr);
    ASSERT_NE(first.get(), second.get());
    EXPECT_NE(dynamic_cast<Quillmore*>(first.get()), nullptr);
    EXPECT_EQ(getPatcherFactory(getPlatform()), &createPatcher);

    PatchEngine a;
    PatchEngine b;
    auto& one = a.install(static_cast<Quillmore*>(first.release()));
    auto& two = b.install(static_cast<Quillmore*>(second.release()));
    a.prepare(44100.0f, 64);
    b.prepare(44100.0f, 64);
    a.processBlocks(1, 0.25f);
    b.processBlocks(1, 0.25f);
    a.interface.setParameterValue(params::EchoTime, 300.0f, a.engine.getCurrentTime());
    a.processBlocks(1, 0.25f);
    EXPECT_EQ(one.getParameterValue(params::EchoTime), 300.0f);
    EXPECT_EQ(two.getParameterValue(params::EchoTime), 1.0f) << "its own state";

    const float before = a.outLeft[10];
    b.engine.setPatcher(PatcherPtr()); // the second one dies
    a.processBlocks(2, 0.25f);
    // TrueBypass is on at the patch's own initial value: the input fades in through the bypass.
    EXPECT_GT(a.outLeft[10], before) << "the first one keeps running";
    EXPECT_LT(a.outLeft[10], 0.25f);
    EXPECT_EQ(one.tapeDelay->echoTimeMs, 300.0f);
}

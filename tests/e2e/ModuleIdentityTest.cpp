#include "tests/e2e/BuiltBundle.h"

#include <gtest/gtest.h>

namespace
{
juce::uint32 fourCharCode(const char (&code)[5])
{
    return (juce::uint32(juce::uint8(code[0])) << 24) | (juce::uint32(juce::uint8(code[1])) << 16)
         | (juce::uint32(juce::uint8(code[2])) << 8) | juce::uint32(juce::uint8(code[3]));
}

// JUCE's VST3 client builds the effect's class ID from two fixed words, the manufacturer code and the
// plug-in code; JUCE's host reports the class by a hash of those four words (value * 31 + word).
int classHashFor(const char (&manufacturer)[5], const char (&plugin)[5])
{
    juce::uint32 hash = 0;
    for (const juce::uint32 word : { 0xABCDEF01u, 0x9182FAEBu, fourCharCode(manufacturer), fourCharCode(plugin) })
        hash = hash * 31 + word;
    return static_cast<int>(hash);
}
} // namespace

TEST(ModuleIdentity, BundleOffersOneStereoEffectClassWithTheProductIdentity)
{
    const auto types = Quillmore::Host::findPluginTypes(builtBundle());
    ASSERT_EQ(types.size(), 1);
    const auto& type = *types.getFirst();

    EXPECT_EQ(type.pluginFormatName, "VST3");
    EXPECT_EQ(type.name, "Quillmore");
    EXPECT_EQ(type.manufacturerName, "Zarn Peloq");
    EXPECT_EQ(type.version, "1.0.4");
    EXPECT_EQ(type.category, "Fx");
    EXPECT_FALSE(type.isInstrument);
    EXPECT_EQ(type.uniqueId, classHashFor("Zarn", "Qlmr"));
    EXPECT_EQ(type.numInputChannels, 2);
    EXPECT_EQ(type.numOutputChannels, 2);
}

TEST(ModuleIdentity, InstanceAcceptsTheProductBusLayoutsOnly)
{
    EXPECT_NO_THROW(loadBuiltBundle(48000.0, 256, 2));
    EXPECT_NO_THROW(loadBuiltBundle(48000.0, 256, 1));

    auto plugin = loadBuiltBundle();
    auto layout = plugin.instance->getBusesLayout();
    plugin.instance->releaseResources();
    layout.outputBuses.getReference(0) = juce::AudioChannelSet::mono();
    EXPECT_FALSE(plugin.instance->checkBusesLayoutSupported(layout)) << "stereo in, mono out must be refused";
}

#include "plugin/StripUnknownParameters.h"

#include <gtest/gtest.h>

namespace
{
juce::ValueTree treeFrom(const char* xml)
{
    const auto element = juce::parseXML(xml);
    return element != nullptr ? juce::ValueTree::fromXml(*element) : juce::ValueTree();
}

juce::String singleLine(const juce::ValueTree& tree)
{
    return tree.toXmlString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
}
} // namespace

TEST(StripUnknownParameters, KeepsOnlyPresetParameters)
{
    auto tree = treeFrom(R"(<Parameters EchoTime="1" version="3" echotime="2">
        <PARAM id="EchoTime" value="300" extra="kept"/>
        <PARAM id="TrueBypass" value="1"/>
        <PARAM id="TapeStop" value="1"/>
        <PARAM id="hostTempo" value="99"/>
        <PARAM id="WarbleL" value="0.2"/>
        <PARAM id="WarbleR" value="0.3"/>
        <PARAM id="EchoFiltMeter" value="400"/>
        <PARAM id="echotime" value="5"/>
        <PARAM id="HeadsOn"/>
        <Group name="g">
          <PARAM id="SpaceOn" value="0"/>
          <PARAM id="Unknown" value="0"/>
          <Inner><PARAM id="Nope"/></Inner>
        </Group>
        <Wrapper id="Order"><PARAM id="Gone"/></Wrapper>
      </Parameters>)");
    ASSERT_TRUE(tree.isValid());

    Quillmore::stripUnknownParameters(tree);

    EXPECT_EQ(singleLine(tree),
              singleLine(treeFrom(R"(<Parameters EchoTime="1">
                  <PARAM id="EchoTime" value="300" extra="kept"/>
                  <PARAM id="HeadsOn"/>
                  <Group><PARAM id="SpaceOn" value="0"/><Inner/></Group>
                  <Wrapper id="Order"><PARAM id="Gone"/></Wrapper>
                </Parameters>)")));
}

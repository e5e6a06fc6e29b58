#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/FactoryPresetData.h"
#include "plugin/PresetCategory.h"
#include "plugin/PresetParameterIds.h"
#include "tests/plugin/ParameterLayoutHost.h"

#include <QuillmoreBinaryData.h>
#include <gtest/gtest.h>
#include <juce_data_structures/juce_data_structures.h>

#include <algorithm>
#include <map>
#include <set>

// Invariants of every embedded factory preset document: the writer's exact layout, the preset IDs,
// the children without a value, host ranges, and the legacy "Clean Default".

namespace
{
struct Document
{
    juce::String resourceName;
    juce::String text;
    std::unique_ptr<juce::XmlElement> xml;
};

// Every preset document in the binary data, fetched through the preset lookup.
const std::vector<Document>& embeddedDocuments()
{
    static const auto documents = [] {
        std::vector<Document> found;
        for (int i = 0; i < QuillmoreBinaryData::namedResourceListSize; ++i)
        {
            const juce::String name = QuillmoreBinaryData::namedResourceList[i];
            if (!name.endsWith("_xml"))
                continue;
            int size = 0;
            const char* data = Quillmore::findFactoryPresetData(name.toRawUTF8(), size);
            Document document { name, data == nullptr ? juce::String() : juce::String(data, static_cast<size_t>(size)), {} };
            document.xml = juce::parseXML(document.text);
            found.push_back(std::move(document));
        }
        return found;
    }();
    return documents;
}

const Document* findDocument(const juce::String& resourceName)
{
    for (const auto& document : embeddedDocuments())
        if (document.resourceName == resourceName)
            return &document;
    return nullptr;
}

// The regular documents with their catalogue category, in catalogue order.
std::vector<std::pair<const Document*, int>> regularDocuments()
{
    std::vector<std::pair<const Document*, int>> regular;
    for (const auto& row : Quillmore::kFactoryPresetCatalogue)
        if (juce::String(row.resourceName) != Quillmore::kPinnedPresetResourceName)
            regular.emplace_back(findDocument(row.resourceName), Quillmore::presetCategoryFromName(row.category));
    return regular;
}

// id -> value text; children without a value map to the empty text.
std::map<juce::String, juce::String> childValues(const juce::XmlElement& root)
{
    std::map<juce::String, juce::String> values;
    for (const auto* child : root.getChildIterator())
        values[child->getStringAttribute("id")] = child->getStringAttribute("value");
    return values;
}

// What a parameter ends up at after a load: the value, or the default where the child has none.
std::map<juce::String, float> effectiveValues(const juce::XmlElement& root, ParameterLayoutHost& host)
{
    std::map<juce::String, float> values;
    for (const auto& [id, text] : childValues(root))
    {
        auto& parameter = host.parameter(id);
        values[id] = text.isEmpty() ? parameter.convertFrom0to1(parameter.getDefaultValue()) : text.getFloatValue();
    }
    return values;
}
} // namespace

TEST(FactoryPresetDocuments, SeventyNineDocumentsOneForEachCatalogueRow)
{
    ASSERT_EQ(embeddedDocuments().size(), Quillmore::kFactoryPresetCatalogue.size());
    for (const auto& row : Quillmore::kFactoryPresetCatalogue)
        EXPECT_NE(findDocument(row.resourceName), nullptr) << row.resourceName;
}

TEST(FactoryPresetDocuments, AreLaidOutAsTheFrameworkWritesAParameterTree)
{
    const juce::String header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Parameters>\r\n";
    for (const auto& document : embeddedDocuments())
    {
        SCOPED_TRACE(document.resourceName);
        const auto& text = document.text;
        EXPECT_TRUE(text.startsWith(header));
        EXPECT_TRUE(text.endsWith("\r\n</Parameters>\r\n"));
        for (int i = 0; i < text.length(); ++i)
        {
            const auto c = text[i];
            ASSERT_TRUE((c >= 0x20 && c < 0x7f) || c == '\r' || c == '\n') << "byte " << i;
            if (c == '\n')
            {
                ASSERT_EQ(text[i - 1], '\r') << "line end at byte " << i;
            }
            if (c == '\r')
            {
                ASSERT_EQ(text[i + 1], '\n') << "line end at byte " << i;
            }
        }

        ASSERT_NE(document.xml, nullptr);
        const auto tree = juce::ValueTree::fromXml(*document.xml);
        ASSERT_TRUE(tree.isValid());
        EXPECT_EQ(tree.createXml()->toString(), text);

        EXPECT_EQ(document.xml->getTagName(), "Parameters");
        EXPECT_EQ(document.xml->getNumAttributes(), 0);
        for (const auto* child : document.xml->getChildIterator())
        {
            EXPECT_EQ(child->getTagName(), "PARAM");
            ASSERT_GE(child->getNumAttributes(), 1);
            ASSERT_LE(child->getNumAttributes(), 2);
            EXPECT_EQ(child->getAttributeName(0), "id");
            EXPECT_EQ(child->getNumChildElements(), 0);
            if (child->getNumAttributes() == 2)
            {
                EXPECT_EQ(child->getAttributeName(1), "value");
                // The text of a double stored from a float, as the framework writes it.
                const auto value = child->getAttributeValue(1);
                EXPECT_EQ(juce::var(static_cast<double>(value.getFloatValue())).toString(), value)
                    << child->getStringAttribute("id");
            }
        }
    }
}

TEST(FactoryPresetDocuments, RegularDocumentsCarryEachPresetIdOnceWithValuesInsideTheHostRanges)
{
    ParameterLayoutHost host;
    const auto regular = regularDocuments();
    ASSERT_EQ(regular.size(), 78u);
    for (const auto& [document, category] : regular)
    {
        ASSERT_NE(document, nullptr);
        ASSERT_NE(document->xml, nullptr);
        SCOPED_TRACE(document->resourceName);

        std::multiset<juce::String> ids;
        for (const auto* child : document->xml->getChildIterator())
            ids.insert(child->getStringAttribute("id"));
        EXPECT_EQ(ids, std::multiset<juce::String>(Quillmore::kPresetParameterIds.begin(),
                                                   Quillmore::kPresetParameterIds.end()));

        for (const auto* child : document->xml->getChildIterator())
        {
            if (!child->hasAttribute("value"))
                continue;
            const auto id = child->getStringAttribute("id");
            const auto value = static_cast<float>(child->getDoubleAttribute("value"));
            const auto& range = host.parameter(id).getNormalisableRange();
            EXPECT_GE(value, range.start) << id;
            EXPECT_LE(value, range.end) << id;
            // A value the host would snap elsewhere could never have been saved from the plug-in.
            const auto tolerance = std::max(range.interval, 1.0f) * 1.0e-3f;
            EXPECT_NEAR(range.snapToLegalValue(value), value, tolerance) << id << " off the interval grid";
        }
    }
}

TEST(FactoryPresetDocuments, ChildrenWithoutValueAreTheDocumentedOnes)
{
    std::map<juce::String, int> missingCounts;
    int documentsWithMissing = 0;
    std::set<juce::String> masterTapeMissing;
    for (const auto& [document, category] : regularDocuments())
    {
        ASSERT_NE(document, nullptr);
        bool anyMissing = false;
        for (const auto& [id, value] : childValues(*document->xml))
        {
            if (value.isNotEmpty())
                continue;
            anyMissing = true;
            ++missingCounts[id];
            if (document->resourceName == "Master_Tape_xml")
                masterTapeMissing.insert(id);
        }
        documentsWithMissing += anyMissing ? 1 : 0;
    }

    EXPECT_EQ(documentsWithMissing, 46);
    const std::set<juce::String> masterTapeOnly { "EchoFdbck",   "EchoFilterFreq", "EchoFilterLFOAmount",
                                                  "EchoFilterQ", "EchoMix",        "EchoSend",
                                                  "EchoStOffset", "EchoSyncDiv",   "EchoTime",
                                                  "EchoToSpring", "SpringHighPass" };
    std::map<juce::String, int> expectedCounts { { "HeadsOn", 39 }, { "SpaceOn", 16 }, { "TapeStopInertia", 11 },
                                                 { "EchoSyncOn", 7 }, { "Order", 5 } };
    for (const auto& id : masterTapeOnly)
        expectedCounts[id] = 1;
    EXPECT_EQ(missingCounts, expectedCounts);

    auto expectedMasterTape = masterTapeOnly;
    expectedMasterTape.insert({ "EchoSyncOn", "HeadsOn", "Order" });
    EXPECT_EQ(masterTapeMissing, expectedMasterTape);
    EXPECT_EQ(masterTapeMissing.size(), 14u);
}

TEST(FactoryPresetDocuments, EveryRegularPresetSoundsDifferentAndFitsItsCategory)
{
    ParameterLayoutHost host;
    const auto regular = regularDocuments();
    std::set<std::map<juce::String, float>> distinct;
    for (const auto& [document, category] : regular)
    {
        ASSERT_NE(document, nullptr);
        SCOPED_TRACE(document->resourceName);
        const auto values = effectiveValues(*document->xml, host);
        distinct.insert(values);

        const bool headsOn = values.at("HeadsOn") > 0.5f;
        const bool spaceOn = values.at("SpaceOn") > 0.5f;
        const bool wet = values.at("EchoMix") > 0 || values.at("SpringMix") > 0;
        switch (category)
        {
            case Quillmore::headsCategory: EXPECT_TRUE(headsOn && !spaceOn); break;
            case Quillmore::spacesCategory: EXPECT_TRUE(spaceOn && wet); break;
            case Quillmore::quillmoresCategory: EXPECT_TRUE(headsOn && spaceOn && wet); break;
            case Quillmore::miscFxCategory: EXPECT_TRUE(headsOn || (spaceOn && wet)); break;
            default: ADD_FAILURE() << "category " << category;
        }
    }
    EXPECT_EQ(distinct.size(), regular.size());
}

TEST(FactoryPresetDocuments, CleanDefaultKeepsItsOlderIdsAndNineteenCurrentValues)
{
    const auto* document = findDocument(Quillmore::kPinnedPresetResourceName);
    ASSERT_NE(document, nullptr);
    ASSERT_NE(document->xml, nullptr);
    EXPECT_EQ(document->xml->getNumChildElements(), 42);

    const std::map<juce::String, juce::String> current {
        { "Flutter", "0.0" },          { "HighRolloff", "18000.0" },
        { "Input", "100.0" },          { "MstrWarble", "0.0" },
        { "NoiseAmnt", "0.0" },        { "NoiseDuckThresh", "-4.999998569488525" },
        { "NoiseDuckTime", "100.0" },  { "NoiseFreq", "15000.0" },
        { "NoiseGateTime", "1000.0" }, { "Output", "100.0" },
        { "SendRetMode", "0.0" },      { "SpringAB", "50.0" },
        { "SpringDecay", "70.0" },     { "SpringMix", "0.0" },
        { "SpringSend", "0.0" },       { "SpringSize", "8.0" },
        { "StDrift", "0.0" },          { "Wow", "0.0" },
        { "WowRate", "1.199999809265137" },
    };
    const std::set<juce::String> older { "Age",         "Bypass",        "Crinkle",        "DelFdbck",
                                         "DelFiltMeter", "DelFilterLFOAmount", "DelFilterLFOSpeed",
                                         "DelFreq",     "DelQ",          "DelSpringSend",  "DelStOffset",
                                         "DelSyncEnum", "DelSyncOn",     "DelTime",        "DelayMix",
                                         "DelaySend",   "FlutterRate",   "HP_Q",           "OUT_HP_FREQ",
                                         "SPRING_HP_FREQ", "Slam",       "WarbleL",        "WarbleR" };

    std::map<juce::String, juce::String> currentFound;
    std::set<juce::String> olderFound;
    for (const auto& [id, value] : childValues(*document->xml))
    {
        EXPECT_TRUE(value.isNotEmpty()) << id;
        if (Quillmore::isPresetParameterId(id.toRawUTF8()))
            currentFound[id] = value;
        else
            olderFound.insert(id);
    }
    EXPECT_EQ(currentFound, current);
    EXPECT_EQ(olderFound, older);
}

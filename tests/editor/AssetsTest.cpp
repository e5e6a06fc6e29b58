// The embedded artwork: every skin image, icon and face decodes as the editor will use it.
#include "editor/SvgIcon.h"
#include "tests/editor/EditorTestBed.h"

#include <QuillmoreBinaryData.h>

#include <gtest/gtest.h>

using namespace EditorTestBed;

namespace
{
struct Resource
{
    const char* data;
    int size;
};

Resource named(const char* resourceName)
{
    int size = 0;
    const char* data = QuillmoreBinaryData::getNamedResource(resourceName, size);
    return {data, size};
}

constexpr const char* skinImages[] = {
    "WavySpaceA_png", "WavySpaceB_png", "RetroCassetteA_png", "RetroCassetteB_png", "BlankTapeA_png",
    "BlankTapeB_png", "BlankTape2A_png", "BlankTape2B_png", "DemoTapeA_png", "DemoTapeB_png",
    "DemoTape2A_png", "DemoTape2B_png", "VaporTapeA_png", "VaporTapeB_png",
};

struct Icon
{
    const char* resourceName;
    float viewWidth, viewHeight;
};

constexpr Icon icons[] = {
    {"previous_svg", 21.0f, 44.0f}, {"next_svg", 21.0f, 44.0f}, {"save_svg", 51.0f, 44.0f},
    {"options_svg", 1500.0f, 1500.0f}, {"ZPlogo_svg", 68.0f, 56.0f},
};
} // namespace

TEST(Assets, EverySkinImageDecodesAt1800By1140)
{
    for (const auto* name : skinImages)
    {
        SCOPED_TRACE(name);
        const auto resource = named(name);
        ASSERT_NE(resource.data, nullptr);
        EXPECT_LT(resource.size, 600 * 1024) << "keep the images small";
        const auto image = juce::ImageFileFormat::loadFrom(resource.data, static_cast<size_t>(resource.size));
        ASSERT_TRUE(image.isValid());
        EXPECT_EQ(image.getWidth(), 1800);
        EXPECT_EQ(image.getHeight(), 1140);
        // A painted picture, not a flat or empty one: its corners and middle differ.
        EXPECT_NE(image.getPixelAt(10, 10), image.getPixelAt(900, 700));
    }
}

TEST(Assets, EveryIconParsesToAWhiteDrawableOfItsViewBox)
{
    juce::Image sheet(juce::Image::ARGB, 5 * 80, 80, true);
    juce::Graphics g(sheet);
    g.fillAll(juce::Colour(0xff141928));
    int slot = 0;
    for (const auto& icon : icons)
    {
        SCOPED_TRACE(icon.resourceName);
        const auto resource = named(icon.resourceName);
        ASSERT_NE(resource.data, nullptr);
        const auto drawable = Quillmore::loadSvgIcon(resource.data, resource.size);
        ASSERT_NE(drawable, nullptr);
        const auto* composite = dynamic_cast<const juce::DrawableComposite*>(drawable.get());
        ASSERT_NE(composite, nullptr);
        EXPECT_EQ(composite->getContentArea(), juce::Rectangle<float>(0.0f, 0.0f, icon.viewWidth, icon.viewHeight));

        // Drawn into its box as the header draws it, it leaves white ink inside the box only.
        const juce::Rectangle<float> box(static_cast<float>(slot * 80 + 10), 10.0f, 60.0f, 60.0f);
        drawable->drawWithin(g, box, juce::RectanglePlacement::centred, 1.0f);
        int white = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = slot * 80; x < slot * 80 + 80; ++x)
            {
                const auto c = sheet.getPixelAt(x, y);
                if (c.getRed() > 0xf0 && c.getGreen() > 0xf0 && c.getBlue() > 0xf0)
                {
                    ++white;
                    EXPECT_TRUE(box.expanded(1.0f).contains(static_cast<float>(x), static_cast<float>(y)));
                }
            }
        EXPECT_GT(white, 40);
        ++slot;
    }
    writeSnapshot(sheet, "icons");
}

TEST(Assets, IconLoaderGivesNothingForEmptyOrBrokenDocuments)
{
    EXPECT_EQ(Quillmore::loadSvgIcon(nullptr, 0), nullptr);
    const char broken[] = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\"><path d=\"M0 0 L";
    EXPECT_EQ(Quillmore::loadSvgIcon(broken, static_cast<int>(sizeof(broken)) - 1), nullptr);
    const char notSvg[] = "not a document";
    EXPECT_EQ(Quillmore::loadSvgIcon(notSvg, static_cast<int>(sizeof(notSvg)) - 1), nullptr);
    EXPECT_EQ(Quillmore::loadSvgIcon(notSvg, -4), nullptr);
}

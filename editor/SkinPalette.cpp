#include "editor/SkinPalette.h"

#include <QuillmoreBinaryData.h>

namespace
{
constexpr int skinCount = 7;

// Per slot, the colour of each skin (1 to 7).
constexpr juce::uint32 skinColours[SkinPalette::slotCount][skinCount] = {
    {0xf0030405, 0xff191919, 0x4c232a3c, 0x8053525c, 0x8053525c, 0x8053525c, 0xff141928},
    {0xffff327a, 0xffde7437, 0xff3291b0, 0xff3291b0, 0xffe03c80, 0xff5399aa, 0xffff3888},
    {0xff3291b0, 0xff1f7cd3, 0xff2c9e6d, 0xff15b06f, 0xff257eae, 0xff2f9a63, 0xffda4a48},
    {0xffff9650, 0xffff4100, 0xffea724d, 0xffdc6666, 0xffff4100, 0xffe34457, 0xfff02929},
    {0xff19bd99, 0xffdb3f76, 0xff3291b0, 0xff257eae, 0xff22c184, 0xff2cb0b7, 0xffff38a9},
    {0xff960aaa, 0xff960aaa, 0xff960aaa, 0xff960aaa, 0xff960aaa, 0xff960aaa, 0xff960aaa},
    {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0x5ac86edc},
    {0x5affffff, 0x5affffff, 0x5affffff, 0x5affffff, 0x5affffff, 0x5affffff, 0x5affffff},
    {0xf0030405, 0xff191919, 0xf0030405, 0xb2232a3c, 0xb2232a3c, 0xb2232a3c, 0xff141928},
    {0xffff32b4, 0xffde7437, 0xff257eae, 0xff3291b0, 0xffe03c80, 0xff5399aa, 0xffff3888},
    {0xff78788c, 0xff78788c, 0xffffffff, 0xffffffff, 0xff141928, 0xffc8d2dc, 0xffffffff},
    {0x5ac86edc, 0x66808287, 0xff808287, 0xff808287, 0xff808287, 0xff808287, 0x66808287},
    {0x5ac86edc, 0xccff32b4, 0x5ac86edc, 0x5ac86edc, 0x5ac86edc, 0x5ac86edc, 0xff5998a6},
    {0x001500dc, 0x001500dc, 0x00ea724d, 0x00ea724d, 0x00ea724d, 0x00e34457, 0x00960aaa},
    {0xffff327a, 0xff5c1980, 0xffea00a1, 0xff5c1980, 0xffea00a1, 0xffea00a1, 0xffff38a9},
    {0xffff8451, 0xffff8451, 0xffea724d, 0xffff8451, 0xffdc6666, 0xffe65225, 0xffff9650},
    {0x03ea00a1, 0x03ea00a1, 0x03e03c80, 0x03e03c80, 0x03e03c80, 0x03e34457, 0x03ff32b4},
    {0xff1500dc, 0xb21500dc, 0xff3291b0, 0xff1500dc, 0xff1500dc, 0x991500dc, 0xff960aaa},
    {0xffea00a1, 0xffea00a1, 0xffea00a1, 0xffea00a1, 0xffea00a1, 0xebe65225, 0xffea724d},
    {0xff3291b0, 0xffdb3f76, 0xff2c9e6d, 0xff15b06f, 0xffe03c80, 0xff2f9a63, 0xffff3888},
    {0x333291b0, 0x33db3f76, 0x332c9e6d, 0x3315b06f, 0x33e03c80, 0x335399aa, 0x33ff38a9},
    {0x73ffffff, 0x73ffffff, 0x73ffffff, 0x73ffffff, 0x73ffffff, 0x73ffffff, 0xffffd7b4},
};

struct SkinImages
{
    const char* a;
    int aSize;
    const char* b;
    int bSize;
};

const SkinImages skinImages[skinCount] = {
    {QuillmoreBinaryData::WavySpaceA_png, QuillmoreBinaryData::WavySpaceA_pngSize, QuillmoreBinaryData::WavySpaceB_png,
     QuillmoreBinaryData::WavySpaceB_pngSize},
    {QuillmoreBinaryData::RetroCassetteA_png, QuillmoreBinaryData::RetroCassetteA_pngSize,
     QuillmoreBinaryData::RetroCassetteB_png, QuillmoreBinaryData::RetroCassetteB_pngSize},
    {QuillmoreBinaryData::BlankTapeA_png, QuillmoreBinaryData::BlankTapeA_pngSize, QuillmoreBinaryData::BlankTapeB_png,
     QuillmoreBinaryData::BlankTapeB_pngSize},
    {QuillmoreBinaryData::BlankTape2A_png, QuillmoreBinaryData::BlankTape2A_pngSize, QuillmoreBinaryData::BlankTape2B_png,
     QuillmoreBinaryData::BlankTape2B_pngSize},
    {QuillmoreBinaryData::DemoTapeA_png, QuillmoreBinaryData::DemoTapeA_pngSize, QuillmoreBinaryData::DemoTapeB_png,
     QuillmoreBinaryData::DemoTapeB_pngSize},
    {QuillmoreBinaryData::DemoTape2A_png, QuillmoreBinaryData::DemoTape2A_pngSize, QuillmoreBinaryData::DemoTape2B_png,
     QuillmoreBinaryData::DemoTape2B_pngSize},
    {QuillmoreBinaryData::VaporTapeA_png, QuillmoreBinaryData::VaporTapeA_pngSize, QuillmoreBinaryData::VaporTapeB_png,
     QuillmoreBinaryData::VaporTapeB_pngSize},
};
} // namespace

SkinPalette makeSkinPalette(int skinNumber)
{
    SkinPalette palette;
    if (skinNumber < 1 || skinNumber > skinCount)
        return palette;

    const auto index = static_cast<size_t>(skinNumber - 1);
    const auto& images = skinImages[index];
    palette.imageAData = images.a;
    palette.imageASize = static_cast<juce::uint32>(images.aSize);
    palette.imageBData = images.b;
    palette.imageBSize = static_cast<juce::uint32>(images.bSize);
    for (size_t slot = 0; slot < SkinPalette::slotCount; ++slot)
        palette.colours[slot] = skinColours[slot][index];
    return palette;
}

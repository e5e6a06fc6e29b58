#include "editor/PanelToggleShapedHitTest.h"

#include "editor/TabPath.h"

#include <algorithm>

namespace
{
// The click shape's corner radius may exceed the tab's height.
constexpr float hitRadiusLimit = 20.5f;
} // namespace

void PanelToggleShapedHitTest::resized()
{
    const auto w = static_cast<float>(getWidth());
    hitPath = Quillmore::makeTabPath({0.0f, 0.0f, w, static_cast<float>(getHeight())}, cornerRadius,
                                     std::max(1.0f, sideInsetFraction * w), topFraction, hitRadiusLimit);
}

bool PanelToggleShapedHitTest::hitTest(int x, int y)
{
    return hitPath.contains(static_cast<float>(x), static_cast<float>(y), 1.0f);
}

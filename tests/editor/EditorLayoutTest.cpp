#include "editor/EditorLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
    bool overlaps (EditorLayout::Bounds a, EditorLayout::Bounds b)
    {
        return a.x < b.getRight() && b.x < a.getRight() && a.y < b.getBottom() && b.y < a.getBottom();
    }

    bool insidePanel (EditorLayout::Bounds b)
    {
        return b.x >= 0 && b.y >= 0 && b.getRight() <= EditorLayout::referenceWidth && b.getBottom() <= EditorLayout::referenceHeight;
    }
} // namespace

TEST (EditorLayout, SwitchesAndLedsAreInsideThePanelAndNeverOverlap)
{
    std::vector<EditorLayout::Switch> all (EditorLayout::switches.begin(), EditorLayout::switches.end());
    all.insert (all.end(), EditorLayout::overloadLeds.begin(), EditorLayout::overloadLeds.end());

    for (size_t i = 0; i < all.size(); ++i)
    {
        EXPECT_TRUE (insidePanel (all[i].getBounds())) << all[i].name;

        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE (overlaps (all[i].getBounds(), all[j].getBounds())) << all[i].name << " / " << all[j].name;
    }
}

TEST (EditorLayout, EveryKnobIsInsideThePanelWithItsValueLabelDirectlyUnderIt)
{
    for (std::size_t i = 0; i < EditorLayout::numKnobs; ++i)
    {
        const auto& k = EditorLayout::continuousControls[i];
        EXPECT_TRUE (insidePanel (k.control)) << k.parameterId;
        EXPECT_EQ (k.control.width, EditorLayout::knobSize) << k.parameterId;
        EXPECT_EQ (k.control.height, EditorLayout::knobSize) << k.parameterId;
        EXPECT_EQ (k.label.x, k.control.x) << k.parameterId;
        EXPECT_EQ (k.label.y, k.control.getBottom()) << k.parameterId;
        EXPECT_NE (k.colour, nullptr) << k.parameterId;
    }

    EXPECT_EQ (EditorLayout::continuousControls[EditorLayout::outputFaderIndex].colour, nullptr);
}

TEST (EditorLayout, HalfWidthHalvesEveryCoordinateWithTruncation)
{
    const auto s = EditorLayout::scaleForWidth (179);
    EXPECT_EQ (s, 0.5f);

    const auto highGain = EditorLayout::scaled (EditorLayout::continuousControls[2].control, s);
    EXPECT_EQ (highGain.x, 6);
    EXPECT_EQ (highGain.y, 69);
    EXPECT_EQ (highGain.width, 30);
    EXPECT_EQ (highGain.height, 30);

    const auto fader = EditorLayout::scaled (EditorLayout::continuousControls[EditorLayout::outputFaderIndex].control, s);
    EXPECT_EQ (fader.x, 166);
    EXPECT_EQ (fader.y, 260);
    EXPECT_EQ (fader.width, 9);
    EXPECT_EQ (fader.height, 69);

    // The reference width maps every coordinate onto itself.
    const auto same = EditorLayout::scaled (EditorLayout::vuMeter.bounds, EditorLayout::scaleForWidth (358));
    EXPECT_EQ (same.x, 188);
    EXPECT_EQ (same.width, 162);
}

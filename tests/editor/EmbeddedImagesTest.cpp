#include "EditorImages.h"

#include <gtest/gtest.h>

namespace
{
    class EmbeddedImages : public ::testing::TestWithParam<EditorImage>
    {
    };

    std::string imageName (const ::testing::TestParamInfo<EditorImage>& info) { return info.param.name; }
} // namespace

TEST_P (EmbeddedImages, DecodesAtItsExactSize)
{
    const auto& e = GetParam();
    const auto image = e.load();

    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), e.width);
    EXPECT_EQ (image.getHeight(), e.height);
}

INSTANTIATE_TEST_SUITE_P (Editor, EmbeddedImages,
                          ::testing::Values (panelImage, vuNeedleFrames, knobBlackFrames, knobTealFrames, knobRedFrames,
                                             knobGreyFrames, ledOffImage, ledRedImage, ledGreenImage, meterColumnFrames,
                                             displayGridImage, faderCapImage),
                          imageName);

TEST (EmbeddedImages, PanelIsOpaqueAndTheControlImagesHaveAlpha)
{
    // The panel is painted first and must cover the window; knobs, LEDs and the fader cap
    // are drawn over it and must let it show round their edges.
    const auto panel = panelImage.load();
    EXPECT_EQ (panel.getPixelAt (0, 0).getAlpha(), 255);
    EXPECT_EQ (panel.getPixelAt (357, 691).getAlpha(), 255);

    for (const auto& e : { knobBlackFrames, knobTealFrames, knobRedFrames, knobGreyFrames, ledOffImage, ledRedImage, ledGreenImage, faderCapImage })
        EXPECT_TRUE (e.load().hasAlphaChannel()) << e.name;
}

#include "EditorImages.h"

#include <gtest/gtest.h>

TEST (LedImages, LitLedsAreClearlyBrighterThanTheDarkOne)
{
    const auto off = ledOffImage.load().getPixelAt (9, 9);
    const auto red = ledRedImage.load().getPixelAt (9, 9);
    const auto green = ledGreenImage.load().getPixelAt (9, 9);

    EXPECT_GT (red.getPerceivedBrightness(), off.getPerceivedBrightness() + 0.4f) << red.toString() << " " << off.toString();
    EXPECT_GT (green.getPerceivedBrightness(), off.getPerceivedBrightness() + 0.4f) << green.toString() << " " << off.toString();
}

TEST (LedImages, LitColoursReadAsRedAndYellowGreen)
{
    // Sampled off the hot centre, where the lens shows its colour rather than white.
    const auto red = ledRedImage.load().getPixelAt (12, 12);
    const auto green = ledGreenImage.load().getPixelAt (12, 12);

    EXPECT_GT (red.getFloatRed(), 1.8f * red.getFloatGreen()) << red.toString();
    EXPECT_GT (green.getFloatGreen(), green.getFloatBlue() * 2.0f) << green.toString();
    EXPECT_GT (green.getFloatRed(), green.getFloatBlue()) << green.toString();
    EXPECT_GE (green.getFloatGreen(), green.getFloatRed()) << green.toString();
}

TEST (LedImages, AreRoundWithTransparentCorners)
{
    for (const auto& e : { ledOffImage, ledRedImage, ledGreenImage })
    {
        const auto image = e.load();
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0) << e.name;
        EXPECT_EQ (image.getPixelAt (17, 17).getAlpha(), 0) << e.name;
        EXPECT_EQ (image.getPixelAt (9, 9).getAlpha(), 255) << e.name;
    }
}

TEST (FaderCap, HasTransparentCornersAnOpaqueBodyAndABrightCentreLine)
{
    const auto cap = faderCapImage.load();

    for (const auto& corner : { juce::Point<int> (0, 0), { 17, 0 }, { 0, 34 }, { 17, 34 } })
        EXPECT_LT (cap.getPixelAt (corner.x, corner.y).getAlpha(), 128) << corner.toString();

    for (int y = 2; y < 33; ++y)
        EXPECT_EQ (cap.getPixelAt (9, y).getAlpha(), 255) << y;

    // The cap's reading line sits at its middle row, lighter than the cap either side of it.
    const auto line = cap.getPixelAt (9, 17).getPerceivedBrightness();
    EXPECT_GT (line, cap.getPixelAt (9, 12).getPerceivedBrightness() + 0.2f);
    EXPECT_GT (line, cap.getPixelAt (9, 22).getPerceivedBrightness() + 0.2f);
}

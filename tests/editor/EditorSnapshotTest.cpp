#include "EditorImages.h"
#include "EditorTestSupport.h"

using namespace testing_support;

namespace
{
    /** Writes the whole editor as a PNG under the build folder's test output and returns
        the picture. */
    juce::Image writeSnapshot (VeloraAudioProcessorEditor& editor, const char* fileName)
    {
        const auto image = editor.createComponentSnapshot (editor.getLocalBounds(), false, 1.0f);
        const auto folder = juce::File (VELORA_TEST_OUTPUT_DIR);
        folder.createDirectory();

        const auto file = folder.getChildFile (fileName);
        file.deleteFile();

        if (auto stream = file.createOutputStream())
        {
            juce::PNGImageFormat png;
            EXPECT_TRUE (png.writeImageToStream (image, *stream)) << file.getFullPathName();
        }
        else
        {
            ADD_FAILURE() << "cannot write " << file.getFullPathName();
        }

        return image;
    }

    bool sameColour (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;

        return true;
    }

    /** Fraction of pixels in the area whose colour differs between the two pictures. */
    double changed (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
    {
        int count = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    ++count;

        return count / (double) (area.getWidth() * area.getHeight());
    }
} // namespace

using EditorSnapshot = EditorFixture;

TEST_F (EditorSnapshot, AtDefaultsAndWithTheMetersDriven)
{
    const auto defaults = writeSnapshot (*editor, "editor-defaults.png");
    ASSERT_EQ (defaults.getWidth(), 358);
    ASSERT_EQ (defaults.getHeight(), 692);

    // The panel shows where no control sits, and the knobs are drawn over it.
    const auto panel = panelImage.load();
    EXPECT_TRUE (sameColour (defaults, panel, { 0, 0, 40, 4 }));
    EXPECT_GT (changed (defaults, panel, { 12, 138, 60, 60 }), 0.3);

    // Loud audio through the compressor, then a quiet passage that the gate pulls down,
    // ending on a single overloading sample: every meter has something to show.
    setHostValue (*processor, "eqOn", 0.0f);
    setHostValue (*processor, "gateOn", 1.0f);
    setHostValue (*processor, "gateThreshold", 0.8f);
    setHostValue (*processor, "compOn", 1.0f);
    setHostValue (*processor, "compThreshold", 0.0f);
    setHostValue (*processor, "inputGain", 0.5f + 3.0f / 48.0f);

    juce::AudioBuffer<float> buffer (2, 512);
    int block = 0;

    const auto play = [&] (int count, float level)
    {
        for (int i = 0; i < count; ++i, ++block)
        {
            fillSine (buffer, 220.0, 44100.0, level, block * 512);
            buffer.applyGain (1, 0, 512, 0.3f);
            process (*processor, buffer);
        }
    };

    play (40, 0.9f);
    play (100, 0.01f);

    fillSine (buffer, 220.0, 44100.0, 0.01f, block * 512);
    buffer.setSample (0, 511, 1.5f);
    process (*processor, buffer);

    for (int tick = 0; tick < 20; ++tick)
        editor->timerCallback();

    const auto meters = writeSnapshot (*editor, "editor-meters.png");

    // The output columns, the gate column and the input LED changed from the resting picture.
    EXPECT_TRUE (editor->getOverloadLed (0).getToggleState());
    EXPECT_GT (editor->getMeter (1).getValue(), 0.2);
    EXPECT_GT (changed (defaults, meters, { 267, 79, 14, 104 }), 0.05);
    EXPECT_GT (changed (defaults, meters, { 279, 524, 15, 125 }), 0.05);
    EXPECT_GT (changed (defaults, meters, { 307, 524, 15, 125 }), 0.02);
    EXPECT_GT (changed (defaults, meters, { 197, 494, 18, 18 }), 0.1);
}

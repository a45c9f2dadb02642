#include "PanelTexture.h"

#include <vector>

namespace PanelTexture
{
    juce::Image renderBrushedPlate (int width, int height)
    {
        juce::Image image (juce::Image::RGB, width, height, true);
        juce::Random random (0x5e1f0a11);

        const auto noise = [&random] { return random.nextFloat() * 2.0f - 1.0f; };
        std::vector<float> grain ((size_t) width);

        {
            juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

            for (int y = 0; y < height; ++y)
            {
                // A brush stroke: each row has its own level, and along the row a grain that
                // is smoothed over a few dozen pixels, so it reads as streaks, not as sand.
                const auto rowLevel = noise() * 1.6f;
                auto smooth = noise();

                for (int x = 0; x < width; ++x)
                {
                    smooth += (noise() - smooth) * 0.06f;
                    grain[(size_t) x] = smooth;
                }

                // Anodised sheen: a touch lighter towards the top.
                const auto sheen = 4.0f * (1.0f - (float) y / (float) height);

                for (int x = 0; x < width; ++x)
                {
                    const auto v = 40.0f + sheen + rowLevel + grain[(size_t) x] * 5.0f + noise() * 1.2f;
                    const auto level = (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (v));
                    pixels.setPixelColour (x, y, juce::Colour (level, level, (juce::uint8) juce::jmin (255, level + 3)));
                }
            }
        }

        return image;
    }
} // namespace PanelTexture

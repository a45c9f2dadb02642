#include "FrameStrip.h"

#include <VeloraImages.h>

#include <cmath>

namespace FrameStrip
{
    namespace
    {
        constexpr int vuFrames = 100;
        constexpr int vuFrameHeight = 85;
        constexpr int gridFrames = 13;
        constexpr int columnFrames = 7;

        bool isKnob (Kind kind) noexcept
        {
            return kind == Kind::knobGrey || kind == Kind::knobRed || kind == Kind::knobBlack || kind == Kind::knobTeal;
        }

        /** The top end of the travel would index one past the last frame. */
        float belowTopEnd (float p) noexcept
        {
            return p == 1.0f ? 0.999f : p;
        }

        int frameAt (int frames, float p) noexcept
        {
            return (int) ((float) frames * p);
        }
    } // namespace

    Kind kindFor (const juce::NamedValueSet& properties)
    {
        const auto* type = properties.getVarPointer ("type");

        if (type != nullptr)
        {
            const auto t = type->toString();

            if (t == "vumeter")
                return Kind::vuNeedle;

            if (t == "vumeterout")
                return Kind::displayGrid;

            if (t == "gatevumeter")
                return Kind::meterColumn;
        }

        // A slider without a type is a knob: grey unless its colour names another cap.
        const auto colour = properties["colour"].toString();
        auto kind = (colour == "white" || type == nullptr) ? Kind::knobGrey : Kind::none;

        if (colour == "red")
            kind = Kind::knobRed;
        else if (colour == "blue")
            kind = Kind::knobBlack;
        else if (colour == "gray")
            kind = Kind::knobTeal;

        return kind;
    }

    juce::Image load (Kind kind)
    {
        switch (kind)
        {
            case Kind::vuNeedle:    return juce::ImageCache::getFromMemory (VeloraImages::vu_needle_frames_png, VeloraImages::vu_needle_frames_pngSize);
            case Kind::displayGrid: return juce::ImageCache::getFromMemory (VeloraImages::display_grid_frames_png, VeloraImages::display_grid_frames_pngSize);
            case Kind::meterColumn: return juce::ImageCache::getFromMemory (VeloraImages::meter_column_frames_png, VeloraImages::meter_column_frames_pngSize);
            case Kind::knobGrey:    return juce::ImageCache::getFromMemory (VeloraImages::knob_grey_frames_png, VeloraImages::knob_grey_frames_pngSize);
            case Kind::knobRed:     return juce::ImageCache::getFromMemory (VeloraImages::knob_red_frames_png, VeloraImages::knob_red_frames_pngSize);
            case Kind::knobBlack:   return juce::ImageCache::getFromMemory (VeloraImages::knob_black_frames_png, VeloraImages::knob_black_frames_pngSize);
            case Kind::knobTeal:    return juce::ImageCache::getFromMemory (VeloraImages::knob_teal_frames_png, VeloraImages::knob_teal_frames_pngSize);
            case Kind::none:        break;
        }

        return {};
    }

    int frameIndex (Kind kind, int imageWidth, int imageHeight, float proportion) noexcept
    {
        // A slider passes a NaN value on (a host can set a parameter to one), and the
        // conversion to int below is defined only within range: a NaN rests at the start of
        // the travel, anything beyond an end stays at that end.
        const auto p = belowTopEnd (std::isnan (proportion) ? 0.0f : juce::jlimit (0.0f, 1.0f, proportion));

        switch (kind)
        {
            case Kind::vuNeedle:    return frameAt (vuFrames, p);
            case Kind::displayGrid: return frameAt (gridFrames, p);
            case Kind::meterColumn: return frameAt (columnFrames, belowTopEnd (1.0f - p));
            case Kind::knobGrey:
            case Kind::knobRed:
            case Kind::knobBlack:
            case Kind::knobTeal:    return imageWidth > 0 ? frameAt (imageHeight / imageWidth, p) : 0;
            case Kind::none:        break;
        }

        return 0;
    }

    juce::Rectangle<int> sourceArea (Kind kind, int imageWidth, int imageHeight, float proportion,
                                     juce::Rectangle<int> sliderArea) noexcept
    {
        const auto frame = frameIndex (kind, imageWidth, imageHeight, proportion);
        const auto x = sliderArea.getX();

        if (kind == Kind::displayGrid)
        {
            const auto frameWidth = imageWidth / gridFrames;
            return { frame * frameWidth, sliderArea.getY(), frameWidth, imageHeight };
        }

        if (kind == Kind::vuNeedle)
            return { x, frame * vuFrameHeight, imageWidth, vuFrameHeight };

        if (kind == Kind::meterColumn)
        {
            const auto frameHeight = imageHeight / columnFrames;
            return { x, frame * frameHeight, imageWidth, frameHeight };
        }

        if (isKnob (kind))
            return { x, frame * imageWidth, sliderArea.getWidth(), sliderArea.getHeight() };

        return {};
    }
} // namespace FrameStrip

#pragma once

#include <juce_graphics/juce_graphics.h>

/** The two typefaces every legend is set in, loaded from the DejaVu files themselves so the
    artwork does not depend on which fonts the machine would pick by default. */
class ArtworkFonts final
{
public:
    /** Loads DejaVuSans.ttf and DejaVuSans-Bold.ttf from the folder; check isValid(). */
    explicit ArtworkFonts (const juce::File& folder);

    bool isValid() const noexcept { return regularFace != nullptr && boldFace != nullptr; }
    const juce::String& getError() const noexcept { return error; }

    juce::Font regular (float height) const { return juce::Font (regularFace).withHeight (height); }
    juce::Font bold (float height) const { return juce::Font (boldFace).withHeight (height); }

    static juce::File defaultFolder() { return juce::File ("/usr/share/fonts/truetype/dejavu"); }

private:
    juce::Typeface::Ptr load (const juce::File& file);

    juce::Typeface::Ptr regularFace, boldFace;
    juce::String error;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ArtworkFonts)
};

/** Text placed by its cap height and snapped to whole pixels, so small legends stay crisp
    and line up with the marks they belong to. */
namespace Legend
{
    enum class Align
    {
        left,
        centre,
        right
    };

    /** Draws text whose capitals are vertically centred on y, anchored at x. */
    void draw (juce::Graphics& g, const juce::String& text, const juce::Font& font, float x, float y, Align align);

    float width (const juce::String& text, const juce::Font& font);

    /** The height of the font's capitals, measured from its outlines. */
    float capHeight (const juce::Font& font);

    /** The whole-pixel baseline draw() uses for capitals centred on y. */
    float baseline (const juce::Font& font, float y);

    /** The horizontal extent of the letters' ink, without side bearings or letter spacing. */
    juce::Range<float> inkExtent (const juce::String& text, const juce::Font& font);
} // namespace Legend

#include "ArtworkFonts.h"

ArtworkFonts::ArtworkFonts (const juce::File& folder)
{
    regularFace = load (folder.getChildFile ("DejaVuSans.ttf"));
    boldFace = load (folder.getChildFile ("DejaVuSans-Bold.ttf"));
}

juce::Typeface::Ptr ArtworkFonts::load (const juce::File& file)
{
    juce::MemoryBlock data;

    if (! file.loadFileAsData (data) || data.getSize() == 0)
    {
        error << "cannot read " << file.getFullPathName() << " (install the package fonts-dejavu-core)\n";
        return nullptr;
    }

    auto face = juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());

    if (face == nullptr)
        error << "cannot load the typeface in " << file.getFullPathName() << "\n";

    return face;
}

namespace Legend
{
    float capHeight (const juce::Font& font)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, "H", 0.0f, 0.0f);
        return glyphs.getBoundingBox (0, -1, true).getHeight();
    }

    float width (const juce::String& text, const juce::Font& font)
    {
        return font.getStringWidthFloat (text);
    }

    juce::Range<float> inkExtent (const juce::String& text, const juce::Font& font)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, text, 0.0f, 0.0f);
        const auto box = glyphs.getBoundingBox (0, -1, true);
        return { box.getX(), box.getRight() };
    }

    float baseline (const juce::Font& font, float y)
    {
        return std::round (y + capHeight (font) * 0.5f);
    }

    void draw (juce::Graphics& g, const juce::String& text, const juce::Font& font, float x, float y, Align align)
    {
        const auto w = width (text, font);
        auto left = x;

        if (align == Align::centre)
            left = x - w * 0.5f;
        else if (align == Align::right)
            left = x - w;

        g.setFont (font);
        g.drawSingleLineText (text, (int) std::round (left), (int) baseline (font, y));
    }
} // namespace Legend

// velora-artwork: draws the editor's images and writes them as PNG files.
//
//     velora-artwork OUTPUT-FOLDER [--preview PREVIEW-FOLDER]
//
// Every image is drawn with JUCE's software renderer from fixed data (the layout, fixed
// seeds, the DejaVu typefaces loaded from their files), so two runs give identical files.

#include "ArtworkFonts.h"
#include "ArtworkPreview.h"
#include "FaderCapArtwork.h"
#include "KnobArtwork.h"
#include "LedArtwork.h"
#include "PanelArtwork.h"
#include "VuMeterArtwork.h"

#include <iostream>
#include <map>

namespace
{
    bool writePng (const juce::Image& image, const juce::File& file)
    {
        file.deleteFile();
        juce::FileOutputStream out (file);

        if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
        {
            std::cerr << "velora-artwork: cannot write " << file.getFullPathName() << "\n";
            return false;
        }

        return true;
    }

    std::map<juce::String, juce::Image> renderAll (const ArtworkFonts& fonts)
    {
        return {
            { "panel.png", PanelArtwork::render (fonts) },
            { "vu_needle_frames.png", VuMeterArtwork::renderNeedleFrames (fonts) },
            { "knob_black_frames.png", KnobArtwork::renderFrames (KnobArtwork::black()) },
            { "knob_teal_frames.png", KnobArtwork::renderFrames (KnobArtwork::teal()) },
            { "knob_red_frames.png", KnobArtwork::renderFrames (KnobArtwork::red()) },
            { "knob_grey_frames.png", KnobArtwork::renderFrames (KnobArtwork::lightGrey()) },
            { "led_off.png", LedArtwork::renderLed (LedArtwork::Lamp::off) },
            { "led_red.png", LedArtwork::renderLed (LedArtwork::Lamp::red) },
            { "led_green.png", LedArtwork::renderLed (LedArtwork::Lamp::green) },
            { "meter_column_frames.png", LedArtwork::renderMeterColumnFrames() },
            { "display_grid_frames.png", LedArtwork::renderDisplayGridFrames() },
            { "fader_cap.png", FaderCapArtwork::render() },
        };
    }

    int usage()
    {
        std::cerr << "usage: velora-artwork OUTPUT-FOLDER [--preview PREVIEW-FOLDER]\n";
        return 2;
    }
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2 && ! (argc == 4 && juce::String (argv[2]) == "--preview"))
        return usage();

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto outputFolder = cwd.getChildFile (argv[1]);

    const ArtworkFonts fonts (ArtworkFonts::defaultFolder());

    if (! fonts.isValid())
    {
        std::cerr << "velora-artwork: " << fonts.getError();
        return 1;
    }

    const auto images = renderAll (fonts);

    for (const auto& [name, image] : images)
    {
        if (! image.isValid())
        {
            std::cerr << "velora-artwork: could not draw " << name << "\n";
            return 1;
        }
    }

    if (! outputFolder.createDirectory())
    {
        std::cerr << "velora-artwork: cannot create " << outputFolder.getFullPathName() << "\n";
        return 1;
    }

    for (const auto& [name, image] : images)
        if (! writePng (image, outputFolder.getChildFile (name)))
            return 1;

    if (argc == 4)
    {
        const auto previewFolder = cwd.getChildFile (argv[3]);
        const auto preview = ArtworkPreview::render (images, fonts);

        if (! previewFolder.createDirectory() || ! writePng (preview, previewFolder.getChildFile ("preview.png"))
            || ! writePng (ArtworkPreview::enlarge (ArtworkPreview::renderSheet (images), 3), previewFolder.getChildFile ("sheet-x3.png")))
            return 1;

        // Enlarged tiles, two across and three down, for a close look at the small print.
        const auto tileWidth = preview.getWidth() / 2;
        const auto tileHeight = (preview.getHeight() + 2) / 3;

        for (int row = 0; row < 3; ++row)
        {
            for (int column = 0; column < 2; ++column)
            {
                const auto tile = preview.getClippedImage ({ column * tileWidth, row * tileHeight, tileWidth, tileHeight });
                const auto name = "preview-x3-" + juce::String (row) + juce::String (column) + ".png";

                if (! writePng (ArtworkPreview::enlarge (tile, 3), previewFolder.getChildFile (name)))
                    return 1;
            }
        }
    }

    return 0;
}

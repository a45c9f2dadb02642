#pragma once

#include <VeloraImages.h>

#include <juce_gui_basics/juce_gui_basics.h>

/** The editor's embedded images as the look-and-feel loads them, for the image tests. */
struct EditorImage
{
    const char* name;
    const char* data;
    int size;
    int width;
    int height;

    juce::Image load() const { return juce::ImageCache::getFromMemory (data, size); }
};

inline const EditorImage panelImage { "panel", VeloraImages::panel_png, VeloraImages::panel_pngSize, 358, 692 };
inline const EditorImage vuNeedleFrames { "vuNeedle", VeloraImages::vu_needle_frames_png, VeloraImages::vu_needle_frames_pngSize, 162, 8500 };
inline const EditorImage knobBlackFrames { "knobBlack", VeloraImages::knob_black_frames_png, VeloraImages::knob_black_frames_pngSize, 60, 6060 };
inline const EditorImage knobTealFrames { "knobTeal", VeloraImages::knob_teal_frames_png, VeloraImages::knob_teal_frames_pngSize, 60, 6060 };
inline const EditorImage knobRedFrames { "knobRed", VeloraImages::knob_red_frames_png, VeloraImages::knob_red_frames_pngSize, 60, 6060 };
inline const EditorImage knobGreyFrames { "knobGrey", VeloraImages::knob_grey_frames_png, VeloraImages::knob_grey_frames_pngSize, 60, 6060 };
inline const EditorImage ledOffImage { "ledOff", VeloraImages::led_off_png, VeloraImages::led_off_pngSize, 18, 18 };
inline const EditorImage ledRedImage { "ledRed", VeloraImages::led_red_png, VeloraImages::led_red_pngSize, 18, 18 };
inline const EditorImage ledGreenImage { "ledGreen", VeloraImages::led_green_png, VeloraImages::led_green_pngSize, 18, 18 };
inline const EditorImage meterColumnFrames { "meterColumn", VeloraImages::meter_column_frames_png, VeloraImages::meter_column_frames_pngSize, 14, 728 };
inline const EditorImage displayGridImage { "displayGrid", VeloraImages::display_grid_frames_png, VeloraImages::display_grid_frames_pngSize, 195, 120 };
inline const EditorImage faderCapImage { "faderCap", VeloraImages::fader_cap_png, VeloraImages::fader_cap_pngSize, 18, 35 };

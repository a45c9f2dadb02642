#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The small value readout under a knob or the fader. It keeps the look-and-feel's default
    label appearance; the editor writes its text whenever the control moves. */
class MySliderLabel final : public juce::Label
{
public:
    MySliderLabel() = default;
    ~MySliderLabel() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MySliderLabel)
};

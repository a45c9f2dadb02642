// One JUCE initialiser for the whole run: the parameter tree, the editor and the change
// broadcasters need a message manager.

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include "common/HeadlessDisplay.h"

int main (int argc, char** argv)
{
    testing_support::prepareHeadlessDisplay();
    juce::ScopedJuceInitialiser_GUI juce;
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}

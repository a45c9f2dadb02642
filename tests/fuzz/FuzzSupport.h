#pragma once

// Shared by the fuzz targets: each one reads outside data the way a host, a user or a
// file would hand it over, and checks what must hold afterwards.

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzing
{
    /** Stops the run with a finding when something that must hold does not. */
    inline void require (bool condition, const char* what)
    {
        if (! condition)
        {
            std::fprintf (stderr, "fuzz check failed: %s\n", what);
            std::abort();
        }
    }

    /** The parameter trees and change broadcasters need a message manager; one for the
        whole run, made before the first processor. Like the targets' processors it is
        never destroyed: at exit, JUCE's own statics may already be gone. */
    inline void initialiseJuce()
    {
        [[maybe_unused]] static const auto* juce = new juce::ScopedJuceInitialiser_GUI();
    }

    /** Bytes in the layout hosts store a plug-in's XML in (copyXmlToBinary's marker and
        length, then the text), so that mutations of the text reach the XML readers
        without the fuzzer first having to find the header. */
    inline juce::MemoryBlock asStoredText (const std::uint8_t* text, std::size_t size)
    {
        juce::MemoryBlock block;
        const juce::uint32 marker = juce::ByteOrder::swapIfBigEndian ((juce::uint32) 0x21324356);
        const juce::uint32 length = juce::ByteOrder::swapIfBigEndian ((juce::uint32) size);
        block.append (&marker, 4);
        block.append (&length, 4);
        block.append (text, size);
        block.append ("", 1);
        return block;
    }

    /** The input as given, or (when its first byte is odd) its remaining bytes as stored
        text. */
    inline juce::MemoryBlock stateBlock (const std::uint8_t* data, std::size_t size)
    {
        if (size > 0 && (data[0] & 1) != 0)
            return asStoredText (data + 1, size - 1);

        return juce::MemoryBlock (data, size);
    }

    inline bool isFinite (const juce::AudioBuffer<float>& buffer)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return false;

        return true;
    }

    inline void fillTestSignal (juce::AudioBuffer<float>& buffer)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, 0.5f * std::sin (0.05f * (float) (i + 7 * ch)));
    }

    /** One rig for the whole run, made after the message manager and, like it, never
        destroyed. Every target keeps its engines in one. */
    template <typename Rig>
    Rig& sharedRig()
    {
        initialiseJuce();
        static auto* instance = new Rig();
        return *instance;
    }

    template <typename Engine>
    auto seedColouring (Engine& engine, int) -> decltype (engine.setRandomSeed (1), void())   { engine.setRandomSeed (1); }

    template <typename Engine>
    void seedColouring (Engine&, long) {}

    /** An engine prepared for 48 kHz stereo in 64-sample blocks (its colouring seeded, so
        a finding replays alike), the state it started with, and a block to play. */
    template <typename Engine>
    struct PlayingRig
    {
        PlayingRig()
        {
            seedColouring (engine, 0);
            engine.setPlayConfigDetails (2, 2, 48000.0, 64);
            engine.prepareToPlay (48000.0, 64);
            engine.getStateInformation (initialState);
        }

        /** Plays the test signal; true when every sample came out finite. */
        bool playsFinite()
        {
            fillTestSignal (buffer);
            engine.processBlock (buffer, midi);
            return isFinite (buffer);
        }

        Engine engine;
        juce::MemoryBlock initialState;
        juce::AudioBuffer<float> buffer { 2, 64 };
        juce::MidiBuffer midi;
    };
}

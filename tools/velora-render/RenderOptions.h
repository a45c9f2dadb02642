#pragma once

#include "ParameterCatalogue.h"
#include "ParameterValue.h"

#include <optional>
#include <vector>

/** What one velora-render call asks for, as parsed from its command line. Nothing here
    touches a file: the parser only checks the form of every argument. */
struct RenderOptions
{
    enum class SampleFormat { int16, int24, float32 };

    struct Setting
    {
        juce::String id;
        ParameterValue value;
    };

    static constexpr int defaultBlockSize = 512;
    static constexpr int maximumBlockSize = 8192;

    juce::String inputPath;             ///< empty: the generated demo signal
    juce::String outputPath;            ///< empty: the default name
    SampleFormat sampleFormat = SampleFormat::int24;
    std::vector<Setting> settings;      ///< in command-line order
    juce::String stateInPath, stateOutPath, plotPath;
    std::optional<int> program;
    int blockSize = defaultBlockSize;
    std::optional<bool> oversampling;
    std::optional<juce::int64> seed;
    bool showHelp = false;
    bool listParameters = false;

    /** Audio is rendered for an input or an explicit output, or when nothing else
        (a plot, a saved state) was asked for. */
    bool rendersAudio() const;

    /** The output file: -o, else INPUT-velora.wav beside the input, else velora-demo.wav. */
    juce::File outputFile (const juce::File& workingDirectory) const;

    int bitsPerSample() const noexcept  { return sampleFormat == SampleFormat::int16 ? 16 : sampleFormat == SampleFormat::int24 ? 24 : 32; }
};

struct RenderOptionsParse
{
    RenderOptions options;
    juce::String error;     ///< empty when the arguments were understood

    bool ok() const noexcept    { return error.isEmpty(); }
};

/** Parses the arguments after the program name. */
RenderOptionsParse parseRenderOptions (const juce::StringArray& arguments, const ParameterCatalogue& catalogue);

/** The --help text. */
juce::String renderHelpText();

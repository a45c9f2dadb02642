#include "RenderOptions.h"

#include <cerrno>
#include <set>

namespace
{
    bool parseInteger (const juce::String& text, juce::int64& value)
    {
        const auto* s = text.toRawUTF8();

        if (*s == 0 || juce::CharacterFunctions::isWhitespace (*s))
            return false;

        char* end = nullptr;
        errno = 0;
        const long long parsed = std::strtoll (s, &end, 10);

        if (errno != 0 || end == s || *end != 0)
            return false;

        value = (juce::int64) parsed;
        return true;
    }

    class Parser
    {
    public:
        Parser (const juce::StringArray& a, const ParameterCatalogue& c) : args (a), catalogue (c) {}

        RenderOptionsParse run()
        {
            RenderOptionsParse result;

            // Help wins over anything else on the line.
            if (args.contains ("-h") || args.contains ("--help"))
            {
                result.options.showHelp = true;
                return result;
            }

            for (index = 0; index < args.size() && result.error.isEmpty(); ++index)
                result.error = parseArgument (result.options);

            return result;
        }

    private:
        juce::String parseArgument (RenderOptions& o)
        {
            auto arg = args[index];
            juce::String inlineValue;
            bool hasInlineValue = false;

            if (arg.startsWith ("--") && arg.containsChar ('='))
            {
                inlineValue = arg.fromFirstOccurrenceOf ("=", false, false);
                arg = arg.upToFirstOccurrenceOf ("=", false, false);
                hasInlineValue = true;
            }

            auto takeValue = [&] (juce::String& value) -> juce::String
            {
                if (hasInlineValue)
                {
                    value = inlineValue;
                }
                else
                {
                    if (index + 1 >= args.size())
                        return "option " + arg + " needs a value";

                    value = args[++index];
                }

                const auto key = arg == "-o" ? juce::String ("--output") : arg;

                if (key != "--set" && ! seen.insert (key).second)
                    return "option " + arg + " given twice";

                return {};
            };

            if (arg == "-h" || arg == "--help")         { o.showHelp = true; return {}; }
            if (arg == "--list-parameters")             { o.listParameters = true; return {}; }

            if (arg == "-o" || arg == "--output")
            {
                if (auto e = takeValue (o.outputPath); e.isNotEmpty()) return e;
                if (! o.outputPath.endsWithIgnoreCase (".wav"))
                    return "the output '" + o.outputPath + "' must be a .wav file";
                return {};
            }

            if (arg == "--bits")
            {
                juce::String v;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                if (v == "16")          o.sampleFormat = RenderOptions::SampleFormat::int16;
                else if (v == "24")     o.sampleFormat = RenderOptions::SampleFormat::int24;
                else if (v == "32f")    o.sampleFormat = RenderOptions::SampleFormat::float32;
                else                    return "--bits takes 16, 24 or 32f, not '" + v + "'";
                return {};
            }

            if (arg == "--set")
            {
                juce::String v;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                return parseSetting (v, o);
            }

            if (arg == "--state-in")    return takePath (takeValue, o.stateInPath);
            if (arg == "--state-out")   return takePath (takeValue, o.stateOutPath);

            if (arg == "--plot-eq")
            {
                if (auto e = takePath (takeValue, o.plotPath); e.isNotEmpty()) return e;
                if (! o.plotPath.endsWithIgnoreCase (".png"))
                    return "the plot '" + o.plotPath + "' must be a .png file";
                return {};
            }

            if (arg == "--program")
            {
                juce::String v;
                juce::int64 n = 0;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                if (! parseInteger (v, n) || n < 0 || n > 19)
                    return "--program takes a program number 0..19, not '" + v + "'";
                o.program = (int) n;
                return {};
            }

            if (arg == "--block")
            {
                juce::String v;
                juce::int64 n = 0;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                if (! parseInteger (v, n) || n < 1 || n > RenderOptions::maximumBlockSize)
                    return "--block takes a block size 1.." + juce::String (RenderOptions::maximumBlockSize) + ", not '" + v + "'";
                o.blockSize = (int) n;
                return {};
            }

            if (arg == "--oversampling")
            {
                juce::String v;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                if (v == "on")          o.oversampling = true;
                else if (v == "off")    o.oversampling = false;
                else                    return "--oversampling takes on or off, not '" + v + "'";
                return {};
            }

            if (arg == "--seed")
            {
                juce::String v;
                juce::int64 n = 0;
                if (auto e = takeValue (v); e.isNotEmpty()) return e;
                if (! parseInteger (v, n))
                    return "--seed takes a whole number, not '" + v + "'";
                o.seed = n;
                return {};
            }

            if (arg.startsWith ("-") && arg.length() > 1)
                return "unknown option '" + arg + "' (see --help)";

            if (o.inputPath.isNotEmpty())
                return "more than one input file ('" + o.inputPath + "' and '" + arg + "')";

            if (arg.isEmpty())
                return "an empty input file name";

            o.inputPath = arg;
            return {};
        }

        template <typename TakeValue>
        juce::String takePath (TakeValue& takeValue, juce::String& path)
        {
            if (auto e = takeValue (path); e.isNotEmpty())
                return e;

            return path.isEmpty() ? "option " + args[index].upToFirstOccurrenceOf ("=", false, false) + " needs a file name"
                                  : juce::String();
        }

        juce::String parseSetting (const juce::String& text, RenderOptions& o)
        {
            if (! text.containsChar ('='))
                return "--set takes ID=VALUE, not '" + text + "'";

            const auto id = text.upToFirstOccurrenceOf ("=", false, false).trim();
            const auto valueText = text.fromFirstOccurrenceOf ("=", false, false);
            const auto* parameter = catalogue.find (id);

            if (parameter == nullptr)
                return "unknown parameter '" + id + "' in --set " + text + " (see --list-parameters)";

            RenderOptions::Setting setting { id, {} };

            if (auto parsed = ParameterValue::parse (valueText, setting.value); parsed.failed())
                return id + ": " + parsed.getErrorMessage();

            if (auto checked = checkParameterValue (*parameter, setting.value); checked.failed())
                return checked.getErrorMessage();

            o.settings.push_back (setting);
            return {};
        }

        const juce::StringArray& args;
        const ParameterCatalogue& catalogue;
        int index = 0;
        std::set<juce::String> seen;
    };
}

bool RenderOptions::rendersAudio() const
{
    return inputPath.isNotEmpty() || outputPath.isNotEmpty() || (plotPath.isEmpty() && stateOutPath.isEmpty());
}

juce::File RenderOptions::outputFile (const juce::File& workingDirectory) const
{
    if (outputPath.isNotEmpty())
        return workingDirectory.getChildFile (outputPath);

    if (inputPath.isNotEmpty())
    {
        const auto input = workingDirectory.getChildFile (inputPath);
        return input.getSiblingFile (input.getFileNameWithoutExtension() + "-velora.wav");
    }

    return workingDirectory.getChildFile ("velora-demo.wav");
}

RenderOptionsParse parseRenderOptions (const juce::StringArray& arguments, const ParameterCatalogue& catalogue)
{
    return Parser (arguments, catalogue).run();
}

juce::String renderHelpText()
{
    return
R"(usage: velora-render [INPUT] [options]

Runs an audio file (WAV, AIFF, FLAC or Ogg Vorbis; mono or stereo; 8 to 192 kHz)
through the Velora channel and writes a WAV file. Without INPUT it renders a
generated three-second stereo demo signal at 48000 Hz.

  -o, --output FILE.wav   where to write the result (default: INPUT-velora.wav
                          beside the input, or velora-demo.wav for the demo)
  --bits 16|24|32f        output samples: 16- or 24-bit integer, or 32-bit float
                          (default 24)
  --set ID=VALUE          set a parameter; repeatable, applied in the order given.
                          VALUE is a normalised number 0..1 (LowGain=0.75) or a
                          number with a unit, in the units of the value labels:
                          LowGain=+6dB, compRatio=4:1, LowFreq=80Hz,
                          HighFreq=12.5kHz, compAttack=10ms, gateRelease=0.5s,
                          MidQ=2.0Q, outputGain=-3dB. Switches take on/off,
                          true/false or 0/1. A physical value outside the
                          control's range is an error, never clamped.
                          HighpassFreq and LowpassFreq follow their labels' own
                          scales, 30..300 Hz and 2.5..25 kHz, which are not the
                          filters' corner frequencies (10..200 Hz, 5..22 kHz).
                          compAttack and compRelease in ms depend on the sample
                          rate. Outgain has no label; it takes dB as 24*v - 12.
  --list-parameters       list the identifiers with their defaults and ranges
  --state-in FILE.xml     load a stored plug-in document (PLUGINSETTINGS)
  --state-out FILE.xml    save the document after the settings are applied
  --program N             select program N (0..19): programs 0..2 hold the
                          defaults, 3..19 set every parameter to 0
  --block N               block size, 1..8192 (default 512)
  --oversampling on|off   the same as --set oversampling=on|off, applied last
  --seed N                seed the equaliser's colouring, so that runs with the
                          same seed and settings give identical files (default:
                          random, as in the plug-in)
  --plot-eq FILE.png      draw the equaliser's magnitude response for these
                          settings at the input's sample rate (48000 Hz without
                          an input)
  -h, --help              show this text

Settings apply in this order: --state-in, then --program, then every --set in
the order given, then --oversampling.

Audio is rendered when INPUT or -o is given, or when neither --plot-eq nor
--state-out is: "velora-render --plot-eq eq.png --set LowGain=+6dB" only draws.

A report of levels, overloads and gain reduction goes to stdout, a progress bar
to stderr when it is a terminal. On any error nothing is written, one line
starting with "velora-render: " goes to stderr, and the exit status is 2 for a
bad option or value, 1 for a file that cannot be read or written.
)";
}

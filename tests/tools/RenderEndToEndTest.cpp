// The built velora-render binary, run as a user's script would run it.

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#ifndef VELORA_RENDER_BINARY
 #error "VELORA_RENDER_BINARY must name the velora-render binary"
#endif

namespace
{
    struct RunResult
    {
        int status = -1;
        juce::String out, err;
    };

    juce::String shellQuote (const juce::String& s)
    {
        return "'" + s.replace ("'", "'\\''") + "'";
    }

    /** A fresh folder per test; the renderer runs inside it. */
    class RenderEndToEnd : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            dir = juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("velora-render-test-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()));
            ASSERT_TRUE (dir.createDirectory().wasOk());
            work = dir.getChildFile ("work");
            ASSERT_TRUE (work.createDirectory().wasOk());
        }

        void TearDown() override
        {
            dir.deleteRecursively();
        }

        RunResult runRenderer (const juce::StringArray& args) const
        {
            // Without a seed in the environment, so that unseeded runs are random as in the plug-in.
            juce::String command = "cd " + shellQuote (work.getFullPathName()) + " && env -u VELORA_RANDOM_SEED "
                                 + shellQuote (VELORA_RENDER_BINARY);

            for (const auto& a : args)
                command << " " << shellQuote (a);

            const auto outFile = dir.getChildFile ("stdout.txt"), errFile = dir.getChildFile ("stderr.txt");
            command << " >" << shellQuote (outFile.getFullPathName()) << " 2>" << shellQuote (errFile.getFullPathName())
                    << " </dev/null";

            RunResult r;
            const int raw = std::system (command.toRawUTF8());
            r.status = WIFEXITED (raw) ? WEXITSTATUS (raw) : -1;
            r.out = outFile.loadFileAsString();
            r.err = errFile.loadFileAsString();
            return r;
        }

        juce::StringArray filesInWork() const
        {
            juce::StringArray names;

            for (const auto& f : work.findChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false))
                names.add (f.getFileName());

            // Left-over temporaries would be hidden files.
            for (const auto& f : work.findChildFiles (juce::File::findFilesAndDirectories, false))
                if (f.isHidden())
                    names.add (f.getFileName());

            names.sort (false);
            return names;
        }

        /** A sine of this amplitude on every channel, written with the format's own writer. */
        juce::File writeSine (const juce::String& name, juce::AudioFormat& format, int numChannels, double sampleRate,
                              int bits, float amplitude = 0.5f, int numSamples = 24000) const
        {
            juce::AudioBuffer<float> buffer (numChannels, numSamples);

            for (int ch = 0; ch < numChannels; ++ch)
                for (int i = 0; i < numSamples; ++i)
                    buffer.setSample (ch, i, amplitude * (float) std::sin (2.0 * 3.141592653589793 * 997.0 * i / sampleRate));

            const auto file = work.getChildFile (name);
            auto stream = std::make_unique<juce::FileOutputStream> (file);
            std::unique_ptr<juce::AudioFormatWriter> writer (format.createWriterFor (stream.get(), sampleRate, (unsigned int) numChannels,
                                                                                     bits, {}, 0));
            EXPECT_NE (writer, nullptr);

            if (writer != nullptr)
            {
                stream.release();
                writer->writeFromAudioSampleBuffer (buffer, 0, numSamples);
            }

            return file;
        }

        juce::File writeWav (const juce::String& name, int numChannels = 2, double sampleRate = 48000.0) const
        {
            juce::WavAudioFormat wav;
            return writeSine (name, wav, numChannels, sampleRate, 24);
        }

        std::unique_ptr<juce::AudioFormatReader> openWav (const juce::String& name) const
        {
            juce::WavAudioFormat wav;
            return std::unique_ptr<juce::AudioFormatReader> (wav.createReaderFor (work.getChildFile (name).createInputStream().release(), true));
        }

        static double rmsDb (juce::AudioFormatReader& reader)
        {
            juce::AudioBuffer<float> b ((int) reader.numChannels, (int) reader.lengthInSamples);
            reader.read (&b, 0, b.getNumSamples(), 0, true, true);
            // Skip the first block: the filters settle there.
            return juce::Decibels::gainToDecibels ((double) b.getRMSLevel (0, 4800, b.getNumSamples() - 4800), -200.0);
        }

        juce::File dir, work;
    };
}

//==============================================================================
struct ErrorCase
{
    const char* name;
    std::vector<const char*> args;
    int status;
    const char* messagePart;
};

void PrintTo (const ErrorCase& c, std::ostream* os)   { *os << c.name; }

class RenderEndToEndErrors : public RenderEndToEnd, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P (RenderEndToEndErrors, OneLineNonZeroExitAndNothingWritten)
{
    writeWav ("in.wav");
    work.getChildFile ("notaudio.wav").replaceWithText ("plain text, not audio");
    work.getChildFile ("notxml.xml").replaceWithText ("<PLUGINSETTINGS currentProgram=\"0\"><PARAMETERS>");
    work.getChildFile ("wrongroot.xml").replaceWithText ("<MYPLUGINSETTINGS/>");
    work.getChildFile ("badvalue.xml").replaceWithText ("<PLUGINSETTINGS><PARAMETERS><PARAM id=\"LowGain\" value=\"2\"/></PARAMETERS></PLUGINSETTINGS>");
    work.getChildFile ("unknownid.xml").replaceWithText ("<PLUGINSETTINGS><PARAMETERS><PARAM id=\"Volume\" value=\"0.5\"/></PARAMETERS></PLUGINSETTINGS>");
    work.getChildFile ("noparams.xml").replaceWithText ("<PLUGINSETTINGS currentProgram=\"0\"/>");
    work.getChildFile ("notutf8.xml").replaceWithText (juce::String::fromUTF8 ("<PLUGINSETTINGS><PARAMETERS/></PLUGINSETTINGS>"));
    work.getChildFile ("notutf8.xml").appendData ("\xff\xfe<", 3);
    work.getChildFile ("instruction.xml").replaceWithText ("<PLUGINSETTINGS><PARAMETERS><?p?>x</PARAMETERS></PLUGINSETTINGS>");
    work.getChildFile ("badprogram.xml").replaceWithText ("<PLUGINSETTINGS currentProgram=\"20\"><PARAMETERS/></PLUGINSETTINGS>");
    {
        juce::WavAudioFormat wav;
        writeSine ("three.wav", wav, 3, 48000.0, 16);
    }

    const auto before = filesInWork();

    juce::StringArray args;
    for (auto* a : GetParam().args)
        args.add (a);
    args.addArray ({ "-o", "out.wav", "--state-out", "s.xml", "--plot-eq", "p.png" });

    const auto r = runRenderer (args);

    EXPECT_EQ (r.status, GetParam().status);
    EXPECT_TRUE (r.err.startsWith ("velora-render: ")) << r.err;
    EXPECT_TRUE (r.err.contains (GetParam().messagePart)) << r.err;
    EXPECT_EQ (r.err.trimEnd().indexOfChar ('\n'), -1) << "one line: " << r.err;
    EXPECT_TRUE (r.out.isEmpty()) << r.out;
    EXPECT_EQ (filesInWork(), before) << "nothing may be written";
}

INSTANTIATE_TEST_SUITE_P (Table, RenderEndToEndErrors, ::testing::Values (
    ErrorCase { "MissingInput",     { "missing.wav" },                      1, "no such file" },
    ErrorCase { "NotAudio",         { "notaudio.wav" },                     1, "not a readable" },
    ErrorCase { "ThreeChannels",    { "three.wav" },                        1, "3 channels" },
    ErrorCase { "UnknownId",        { "in.wav", "--set", "LowGian=+6dB" },  2, "unknown parameter 'LowGian'" },
    ErrorCase { "Malformed",        { "in.wav", "--set", "LowGain=6 dbb" }, 2, "unknown unit" },
    ErrorCase { "OutOfRange",       { "in.wav", "--set", "LowGain=+13dB" }, 2, "out of range" },
    ErrorCase { "TimeOutOfRange",   { "in.wav", "--set", "compRelease=2s" }, 2, "at 48000 Hz" },
    ErrorCase { "MissingState",     { "in.wav", "--state-in", "none.xml" }, 1, "no such file" },
    ErrorCase { "StateNotXml",      { "in.wav", "--state-in", "notxml.xml" }, 1, "is not XML" },
    ErrorCase { "StateWrongRoot",   { "in.wav", "--state-in", "wrongroot.xml" }, 1, "not a Velora state" },
    ErrorCase { "StateBadValue",    { "in.wav", "--state-in", "badvalue.xml" }, 1, "not a number within 0..1" },
    ErrorCase { "BadOption",        { "in.wav", "--frobnicate" },           2, "unknown option" },
    ErrorCase { "BadBlock",         { "in.wav", "--block", "9000" },        2, "1..8192" },
    ErrorCase { "StateUnknownId",   { "in.wav", "--state-in", "unknownid.xml" }, 1, "unknown parameter 'Volume'" },
    ErrorCase { "StateNoParameters", { "in.wav", "--state-in", "noparams.xml" }, 1, "has no PARAMETERS" },
    ErrorCase { "StateNotUtf8",     { "in.wav", "--state-in", "notutf8.xml" }, 1, "is not UTF-8 text" },
    ErrorCase { "StateInstruction", { "in.wav", "--state-in", "instruction.xml" }, 1, "processing instruction" },
    ErrorCase { "StateBadProgram",  { "in.wav", "--state-in", "badprogram.xml" }, 1, "currentProgram '20'" },
    ErrorCase { "OptionTwice",      { "in.wav", "--state-out=other.xml" },  2, "given twice" }),
    [] (const ::testing::TestParamInfo<ErrorCase>& c) { return std::string (c.param.name); });

TEST_F (RenderEndToEnd, MissingOutputFolderWritesNothing)
{
    writeWav ("in.wav");
    const auto before = filesInWork();
    const auto r = runRenderer ({ "in.wav", "-o", "nowhere/out.wav", "--plot-eq", "p.png" });

    EXPECT_EQ (r.status, 1);
    EXPECT_TRUE (r.err.contains ("the folder does not exist")) << r.err;
    EXPECT_EQ (filesInWork(), before);
}

TEST_F (RenderEndToEnd, ErrorsLeaveExistingOutputsAlone)
{
    writeWav ("in.wav");
    work.getChildFile ("out.wav").replaceWithText ("an older render");

    EXPECT_EQ (runRenderer ({ "in.wav", "-o", "out.wav", "--set", "compRatio=20:1" }).status, 2);
    EXPECT_EQ (runRenderer ({ "in.wav", "-o", "out.wav", "--state-out", "out.wav" }).status, 1);
    EXPECT_EQ (work.getChildFile ("out.wav").loadFileAsString(), "an older render");
    EXPECT_EQ (filesInWork(), juce::StringArray ({ "in.wav", "out.wav" }));
}

//==============================================================================
TEST_F (RenderEndToEnd, SeededRendersRepeatBitForBit)
{
    writeWav ("in.wav");
    const juce::StringArray settings { "in.wav", "--bits", "32f", "--set", "LowGain=+6dB", "--set", "compOn=on", "--block", "100" };

    for (auto* out : { "a.wav", "b.wav" })
    {
        auto args = settings;
        args.addArray ({ "-o", out, "--seed", "7" });
        ASSERT_EQ (runRenderer (args).status, 0);
    }

    juce::MemoryBlock a, b;
    ASSERT_TRUE (work.getChildFile ("a.wav").loadFileAsData (a));
    ASSERT_TRUE (work.getChildFile ("b.wav").loadFileAsData (b));
    EXPECT_GT (a.getSize(), 24000u * 2u * 4u);
    EXPECT_TRUE (a == b) << "the same seed and settings must give the same file";
}

TEST_F (RenderEndToEnd, UnseededRendersAreRandom)
{
    writeWav ("in.wav");

    auto render = [&] (const char* out, const char* seed)
    {
        juce::StringArray args { "in.wav", "--bits", "32f", "-o", out };

        if (seed != nullptr)
            args.addArray ({ "--seed", seed });

        EXPECT_EQ (runRenderer (args).status, 0);
        juce::MemoryBlock data;
        work.getChildFile (out).loadFileAsData (data);
        return data;
    };

    // The randomness can only be seen once the colouring is in the audio path, that is
    // once two seeds give different files.
    if (render ("seed1.wav", "1") == render ("seed2.wav", "2"))
        GTEST_SKIP() << "the equaliser adds no colouring yet";

    EXPECT_FALSE (render ("a.wav", nullptr) == render ("b.wav", nullptr)) << "without --seed the colouring must be random";
}

TEST_F (RenderEndToEnd, StateOutThenStateInGivesTheSameDocument)
{
    const auto first = runRenderer ({ "--set", "LowGain=+6dB", "--set", "compRatio=4:1", "--set", "HF_In=off", "--program", "1",
                              "--oversampling", "off", "--state-out", "a.xml" });
    ASSERT_EQ (first.status, 0) << first.err;
    EXPECT_EQ (filesInWork(), juce::StringArray ({ "a.xml" })) << "a state alone renders no audio";

    const auto second = runRenderer ({ "--state-in", "a.xml", "--state-out", "b.xml" });
    ASSERT_EQ (second.status, 0) << second.err;

    const auto a = work.getChildFile ("a.xml").loadFileAsString();
    EXPECT_EQ (work.getChildFile ("b.xml").loadFileAsString(), a);

    const auto xml = juce::parseXML (a);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getIntAttribute ("currentProgram"), 1);

    auto valueOf = [&] (const char* id)
    {
        for (auto* p : xml->getChildByName ("PARAMETERS")->getChildWithTagNameIterator ("PARAM"))
            if (p->getStringAttribute ("id") == id)
                return p->getDoubleAttribute ("value");

        return -1.0;
    };

    EXPECT_DOUBLE_EQ (valueOf ("LowGain"), 0.75);
    EXPECT_NEAR (valueOf ("compRatio"), 0.75 / 0.9, 1e-6);
    EXPECT_EQ (valueOf ("HF_In"), 0.0);
    EXPECT_EQ (valueOf ("oversampling"), 0.0);
}

TEST_F (RenderEndToEnd, StateWithStrayTextBetweenElementsLoads)
{
    // Hand-edited files pick up stray words; they carry no setting and must not stop a load.
    work.getChildFile ("edited.xml").replaceWithText (
        "<PLUGINSETTINGS currentProgram=\"1\">note<PARAMETERS>old:<PARAM id=\"LowGain\" value=\"0.25\"/>x</PARAMETERS></PLUGINSETTINGS>");

    ASSERT_EQ (runRenderer ({ "--state-in", "edited.xml", "--state-out", "out.xml" }).status, 0);

    const auto xml = juce::parseXML (work.getChildFile ("out.xml"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getIntAttribute ("currentProgram"), 1);

    const auto* lowGain = xml->getChildByName ("PARAMETERS")->getChildByAttribute ("id", "LowGain");
    ASSERT_NE (lowGain, nullptr);
    EXPECT_DOUBLE_EQ (lowGain->getDoubleAttribute ("value"), 0.25);
}

TEST_F (RenderEndToEnd, StateThenProgramThenSet)
{
    ASSERT_EQ (runRenderer ({ "--set", "LowGain=1", "--set", "MidGain=0.25", "--state-out", "a.xml" }).status, 0);

    // The program resets what the state set; the --set after it wins over the program.
    ASSERT_EQ (runRenderer ({ "--state-in", "a.xml", "--program", "2", "--set", "MidGain=+6dB", "--state-out", "b.xml" }).status, 0);

    const auto xml = juce::parseXML (work.getChildFile ("b.xml"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getIntAttribute ("currentProgram"), 2);

    for (auto* p : xml->getChildByName ("PARAMETERS")->getChildWithTagNameIterator ("PARAM"))
    {
        const auto id = p->getStringAttribute ("id");
        const auto value = p->getDoubleAttribute ("value");

        if (id == "LowGain")
        {
            EXPECT_DOUBLE_EQ (value, 0.5);
        }
        else if (id == "MidGain")
        {
            EXPECT_DOUBLE_EQ (value, 0.75);
        }
    }
}

//==============================================================================
// Each input format is read, and a physical --set reaches the audio: +6 dB of input gain
// through an otherwise bare chain comes out as +6 dB.
struct FormatCase
{
    const char* name;
    const char* fileName;
    int numChannels;
    double sampleRate;
    int bits;
};

void PrintTo (const FormatCase& c, std::ostream* os)  { *os << c.name; }

class RenderEndToEndFormats : public RenderEndToEnd, public ::testing::WithParamInterface<FormatCase> {};

TEST_P (RenderEndToEndFormats, ReadsTheFileAndAppliesTheSettings)
{
    const auto& c = GetParam();
    std::unique_ptr<juce::AudioFormat> format;

    if (juce::String (c.fileName).endsWith (".flac"))       format = std::make_unique<juce::FlacAudioFormat>();
    else if (juce::String (c.fileName).endsWith (".aiff"))  format = std::make_unique<juce::AiffAudioFormat>();
    else                                                    format = std::make_unique<juce::WavAudioFormat>();

    writeSine (c.fileName, *format, c.numChannels, c.sampleRate, c.bits, 0.25f);

    const auto r = runRenderer ({ c.fileName, "-o", "out.wav", "--bits", "32f", "--set", "inputGain=+6dB", "--set", "eqOn=off",
                          "--oversampling", "off" });
    ASSERT_EQ (r.status, 0) << r.err;
    EXPECT_TRUE (r.err.isEmpty()) << "no progress bar when stderr is not a terminal: " << r.err;

    auto reader = openWav ("out.wav");
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ ((int) reader->numChannels, c.numChannels);
    EXPECT_EQ (reader->sampleRate, c.sampleRate);
    EXPECT_EQ (reader->lengthInSamples, 24000);

    const double sineRmsDb = juce::Decibels::gainToDecibels (0.25 / std::sqrt (2.0));
    EXPECT_NEAR (rmsDb (*reader), sineRmsDb + 6.0, 0.02);

    // The report reads the input and output levels of channel 1.
    EXPECT_TRUE (r.out.contains ("input  channel 1  peak  -12.04 dBFS")) << r.out;
    EXPECT_TRUE (r.out.contains ("output channel 1  peak   -6.04 dBFS")) << r.out;  // 10^0.3 is a little below 2
    EXPECT_TRUE (r.out.contains ("output: " + work.getChildFile ("out.wav").getFullPathName())) << r.out;
}

INSTANTIATE_TEST_SUITE_P (Inputs, RenderEndToEndFormats, ::testing::Values (
    FormatCase { "WavMono",      "in.wav",  1, 44100.0, 16 },
    FormatCase { "FlacStereo",   "in.flac", 2, 48000.0, 24 },
    FormatCase { "FlacMono",     "in.flac", 1, 96000.0, 16 },
    FormatCase { "AiffStereo",   "in.aiff", 2, 44100.0, 24 },
    FormatCase { "Wav8k",        "in.wav",  2, 8000.0,  24 }),
    [] (const ::testing::TestParamInfo<FormatCase>& c) { return std::string (c.param.name); });

struct BitsCase
{
    const char* bits;
    int bitsPerSample;
    bool isFloat;
};

void PrintTo (const BitsCase& c, std::ostream* os)    { *os << c.bits; }

class RenderEndToEndBits : public RenderEndToEnd, public ::testing::WithParamInterface<BitsCase> {};

TEST_P (RenderEndToEndBits, WritesTheAskedSampleFormat)
{
    writeWav ("in.wav");
    ASSERT_EQ (runRenderer ({ "in.wav", "-o", "out.wav", "--bits", GetParam().bits }).status, 0);

    auto reader = openWav ("out.wav");
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ ((int) reader->bitsPerSample, GetParam().bitsPerSample);
    EXPECT_EQ (reader->usesFloatingPointData, GetParam().isFloat);
}

INSTANTIATE_TEST_SUITE_P (Formats, RenderEndToEndBits, ::testing::Values (
    BitsCase { "16", 16, false }, BitsCase { "24", 24, false }, BitsCase { "32f", 32, true }));

//==============================================================================
TEST_F (RenderEndToEnd, ReportCountsOverloadedBlocks)
{
    writeWav ("in.wav");    // 24000 samples at -6 dBFS

    // +12 dB in, -12 dB out: every block overloads at the input, none at the output.
    const auto r = runRenderer ({ "in.wav", "-o", "out.wav", "--block", "1000", "--set", "inputGain=+12dB",
                          "--set", "outputGain=-12dB", "--set", "eqOn=off", "--oversampling", "off" });
    ASSERT_EQ (r.status, 0) << r.err;
    EXPECT_TRUE (r.out.contains ("in 24 blocks")) << r.out;
    EXPECT_TRUE (r.out.contains ("blocks with input overload:  24\n")) << r.out;
    EXPECT_TRUE (r.out.contains ("blocks with output overload: 0\n")) << r.out;
    EXPECT_TRUE (r.out.contains ("largest compressor gain reduction: 0.00 dB")) << r.out;
}

TEST_F (RenderEndToEnd, PlotWithoutInputRendersNoAudio)
{
    const auto r = runRenderer ({ "--plot-eq", "eq.png", "--set", "LowGain=+6dB", "--set", "LPHP_In=off" });
    ASSERT_EQ (r.status, 0) << r.err;
    EXPECT_EQ (filesInWork(), juce::StringArray ({ "eq.png" }));
    EXPECT_TRUE (r.out.contains ("plot: ")) << r.out;

    const auto image = juce::ImageFileFormat::loadFrom (work.getChildFile ("eq.png"));
    EXPECT_EQ (image.getWidth(), 900);
    EXPECT_EQ (image.getHeight(), 450);
}

TEST_F (RenderEndToEnd, DemoAndHelp)
{
    const auto demo = runRenderer ({});
    ASSERT_EQ (demo.status, 0) << demo.err;
    EXPECT_EQ (filesInWork(), juce::StringArray ({ "velora-demo.wav" }));
    EXPECT_EQ (openWav ("velora-demo.wav")->lengthInSamples, 144000);

    const auto help = runRenderer ({ "--help" });
    EXPECT_EQ (help.status, 0);
    EXPECT_TRUE (help.out.startsWith ("usage: velora-render"));
    EXPECT_TRUE (help.out.contains ("30..300 Hz and 2.5..25 kHz"));
}

#include "PeerChain.h"

#include <cmath>

namespace
{
    constexpr const char* uriPrefix = "http://lsp-plug.in/plugins/lv2/";
    constexpr const char* pluginNames[PeerChain::numStages] = { "gate_stereo", "compressor_stereo", "para_equalizer_x16_stereo" };

    /** One hosted parameter, found by its name: the value is the text the parameter
        parses, a number in the port's own unit or the label of an enumeration. */
    struct PeerSetting
    {
        PeerChain::Stage stage;
        const char* name;
        const char* value;
        const char* meaning;
    };

    // Settings close to the channel's own: gate open on the programme, compressor working
    // on every block, and eight of the sixteen equaliser bands active (the rest stay off,
    // as they are by default).
    const PeerSetting peerSettings[] = {
        { PeerChain::gate, "Curve threshold", "0.01", "-40 dB, below the programme" },
        { PeerChain::gate, "Reduction", "0.0631", "-24 dB when closed" },
        { PeerChain::gate, "Attack", "5", "ms" },
        { PeerChain::gate, "Release", "150", "ms" },

        { PeerChain::compressor, "Attack threshold", "0.0398", "-28 dB" },
        { PeerChain::compressor, "Ratio", "4", "4:1" },
        { PeerChain::compressor, "Attack time", "10", "ms" },
        { PeerChain::compressor, "Release time", "100", "ms" },

        { PeerChain::equaliser, "Filter type 0", "Hi-pass", "" },
        { PeerChain::equaliser, "Frequency 0", "80", "Hz" },
        { PeerChain::equaliser, "Quality factor 0", "0.707", "" },
        { PeerChain::equaliser, "Filter type 1", "Lo-shelf", "" },
        { PeerChain::equaliser, "Frequency 1", "100", "Hz" },
        { PeerChain::equaliser, "Gain 1", "1.4125", "+3 dB" },
        { PeerChain::equaliser, "Quality factor 1", "0.707", "" },
        { PeerChain::equaliser, "Filter type 2", "Bell", "" },
        { PeerChain::equaliser, "Frequency 2", "250", "Hz" },
        { PeerChain::equaliser, "Gain 2", "0.7943", "-2 dB" },
        { PeerChain::equaliser, "Quality factor 2", "1.5", "" },
        { PeerChain::equaliser, "Filter type 3", "Bell", "" },
        { PeerChain::equaliser, "Frequency 3", "1000", "Hz" },
        { PeerChain::equaliser, "Gain 3", "1.2589", "+2 dB" },
        { PeerChain::equaliser, "Quality factor 3", "1", "" },
        { PeerChain::equaliser, "Filter type 4", "Bell", "" },
        { PeerChain::equaliser, "Frequency 4", "3500", "Hz" },
        { PeerChain::equaliser, "Gain 4", "0.7079", "-3 dB" },
        { PeerChain::equaliser, "Quality factor 4", "2", "" },
        { PeerChain::equaliser, "Filter type 5", "Bell", "" },
        { PeerChain::equaliser, "Frequency 5", "8000", "Hz" },
        { PeerChain::equaliser, "Gain 5", "1.2589", "+2 dB" },
        { PeerChain::equaliser, "Quality factor 5", "1.5", "" },
        { PeerChain::equaliser, "Filter type 6", "Hi-shelf", "" },
        { PeerChain::equaliser, "Frequency 6", "10000", "Hz" },
        { PeerChain::equaliser, "Gain 6", "1.2589", "+2 dB" },
        { PeerChain::equaliser, "Quality factor 6", "0.707", "" },
        { PeerChain::equaliser, "Filter type 7", "Lo-pass", "" },
        { PeerChain::equaliser, "Frequency 7", "18000", "Hz" },
        { PeerChain::equaliser, "Quality factor 7", "0.707", "" },
    };

    // Settings left at their defaults that the comparison depends on: printed so a reader
    // can see the equaliser runs its IIR filters and nothing is bypassed.
    const std::pair<PeerChain::Stage, const char*> reportedDefaults[] = {
        { PeerChain::equaliser, "Equalizer mode" },
        { PeerChain::equaliser, "Filter mode 0" },
        { PeerChain::equaliser, "Filter slope 0" },
        { PeerChain::equaliser, "Filter type 8" },
        { PeerChain::compressor, "Compression mode" },
        { PeerChain::compressor, "Makeup gain" },
    };

    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* p : instance.getParameters())
            if (p->getName (100) == name)
                return p;

        return nullptr;
    }

    float decibels (float ratio) { return juce::Decibels::gainToDecibels (ratio, -200.0f); }

    juce::String dB (float value) { return juce::String (value, 1) + " dB"; }

    /** Plays a buffer through a process function in host-sized blocks, in place. */
    template <typename ProcessFunction>
    void playThrough (juce::AudioBuffer<float>& audio, ProcessFunction&& process)
    {
        juce::MidiBuffer midi;

        for (int start = 0; start < audio.getNumSamples(); start += PeerChain::blockSize)
        {
            const int length = juce::jmin (PeerChain::blockSize, audio.getNumSamples() - start);
            juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, length);
            process (block, midi);
            midi.clear();
        }
    }

    juce::AudioBuffer<float> programmeSeconds (ProgrammeMaterial& programme, double seconds)
    {
        juce::AudioBuffer<float> audio (2, (int) (seconds * PeerChain::sampleRate));
        programme.copyNextBlock (audio);
        return audio;
    }

    juce::AudioBuffer<float> sine (double frequency, float level, double seconds)
    {
        juce::AudioBuffer<float> audio (2, (int) (seconds * PeerChain::sampleRate));

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                audio.setSample (ch, i, level * (float) std::sin (6.283185307179586 * frequency * i / PeerChain::sampleRate));

        return audio;
    }

    /** Output over input level on the second half, where the stage has settled. */
    float settledGain (const juce::AudioBuffer<float>& in, const juce::AudioBuffer<float>& out)
    {
        const int half = in.getNumSamples() / 2;
        return ProgrammeMaterial::rms (out, 0, half, half) / ProgrammeMaterial::rms (in, 0, half, half);
    }

    bool allFinite (const juce::AudioBuffer<float>& audio)
    {
        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                if (! std::isfinite (audio.getSample (ch, i)))
                    return false;

        return true;
    }

    std::unique_ptr<PeerChain> sharedChain;
    juce::String sharedError;
    bool sharedTried = false;
    bool sharedFailedChecks = false;
}

PeerChain* PeerChain::getShared (juce::String& error)
{
    if (! sharedTried)
    {
        sharedTried = true;
        std::unique_ptr<PeerChain> chain (new PeerChain());

        sharedError = chain->load();

        if (sharedError.isEmpty())
        {
            sharedError = chain->configure();

            if (sharedError.isEmpty())
                sharedError = chain->check();

            sharedFailedChecks = sharedError.isNotEmpty();
        }

        if (sharedError.isEmpty())
            sharedChain = std::move (chain);
    }

    error = sharedError;
    return sharedChain.get();
}

bool PeerChain::failedChecks() noexcept
{
    return sharedFailedChecks;
}

void PeerChain::releaseShared()
{
    sharedChain.reset();
}

PeerChain::~PeerChain()
{
    // The instances before the format that owns their LV2 world.
    for (auto& stage : stages)
        stage.reset();
}

void PeerChain::process (juce::AudioBuffer<float>& block, juce::MidiBuffer& midi)
{
    for (auto& stage : stages)
        stage->processBlock (block, midi);
}

void PeerChain::process (Stage stage, juce::AudioBuffer<float>& block, juce::MidiBuffer& midi)
{
    stages[(size_t) stage]->processBlock (block, midi);
}

juce::String PeerChain::load()
{
    for (int s = 0; s < numStages; ++s)
    {
        const juce::String uri = juce::String (uriPrefix) + pluginNames[s];
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, uri);

        // JUCE's LV2 host knows plug-ins only by URI, from the folders it has been shown;
        // it reads the standard ones when created, so a second scan is only a fallback.
        if (types.isEmpty())
        {
            format.searchPathsForPlugins (format.getDefaultLocationsToSearch(), true, false);
            format.findAllTypesForFile (types, uri);
        }

        if (types.isEmpty())
            return "peer plug-in " + uri + " not found in " + format.getDefaultLocationsToSearch().toString()
                   + " (install the Debian package lsp-plugins-lv2)";

        juce::String error;
        auto instance = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);

        if (instance == nullptr)
            return "peer plug-in " + uri + " could not be instantiated: " + error;

        if (instance->getTotalNumInputChannels() != 2 || instance->getTotalNumOutputChannels() != 2)
            return "peer plug-in " + uri + " is not stereo in and out";

        // Prepared before any setting: JUCE's LV2 host re-creates the plug-in here and
        // restores the plug-in's own saved state, which knows nothing of values set since
        // its last run.
        instance->setPlayConfigDetails (2, 2, sampleRate, blockSize);
        instance->prepareToPlay (sampleRate, blockSize);

        stages[(size_t) s] = std::move (instance);
    }

    return {};
}

juce::String PeerChain::configure()
{
    for (const auto& setting : peerSettings)
    {
        auto& instance = *stages[(size_t) setting.stage];
        auto* parameter = findParameter (instance, setting.name);

        if (parameter == nullptr)
            return juce::String ("peer ") + pluginNames[setting.stage] + " has no parameter named \"" + setting.name + "\"";

        parameter->setValueNotifyingHost (parameter->getValueForText (setting.value));
    }

    if (auto problem = checkSettingsHold(); problem.isNotEmpty())
        return problem;

    for (const auto& setting : peerSettings)
        report.add (juce::String ("  ") + pluginNames[setting.stage] + ": " + setting.name + " = "
                    + findParameter (*stages[(size_t) setting.stage], setting.name)->getCurrentValueAsText()
                    + (juce::String (setting.meaning).isNotEmpty() ? juce::String (" (") + setting.meaning + ")" : juce::String()));

    for (const auto& [stage, name] : reportedDefaults)
        if (auto* parameter = findParameter (*stages[(size_t) stage], name))
            report.add (juce::String ("  ") + pluginNames[stage] + ": " + name + " = " + parameter->getCurrentValueAsText() + " (default)");

    return {};
}

juce::String PeerChain::checkSettingsHold()
{
    // A number must read back as the value asked for (within the float normalisation),
    // an enumeration as its label.
    for (const auto& setting : peerSettings)
    {
        const auto shown = findParameter (*stages[(size_t) setting.stage], setting.name)->getCurrentValueAsText();
        const auto wanted = juce::String (setting.value);
        const bool isNumber = wanted.containsOnly ("0123456789.-");
        const bool holds = isNumber ? std::abs (shown.getDoubleValue() - wanted.getDoubleValue()) <= 1.0e-3 * juce::jmax (1.0, std::abs (wanted.getDoubleValue()))
                                    : shown == wanted;

        if (! holds)
            return juce::String ("peer ") + pluginNames[setting.stage] + ": \"" + setting.name + "\" was set to " + wanted
                   + " but reads " + shown;
    }

    for (int s = 0; s < numStages; ++s)
        if (auto* bypass = stages[(size_t) s]->getBypassParameter(); bypass != nullptr && bypass->getValue() >= 0.5f)
            return juce::String ("peer ") + pluginNames[s] + " is bypassed";

    return {};
}

juce::String PeerChain::check()
{
    ProgrammeMaterial programme (sampleRate, 2.0);

    for (auto problem : { checkGate (programme), checkCompressor (programme), checkEqualiser (programme) })
        if (problem.isNotEmpty())
            return "peer check failed: " + problem;

    auto audio = programmeSeconds (programme, 1.0);
    playThrough (audio, [this] (auto& block, auto& midi) { process (block, midi); });

    if (! allFinite (audio))
        return "peer check failed: the chain's output is not finite";

    // Nothing along the way (activation, the first runs) may have put a port back.
    if (auto problem = checkSettingsHold(); problem.isNotEmpty())
        return "peer check failed: " + problem;

    return {};
}

juce::String PeerChain::checkGate (ProgrammeMaterial& programme)
{
    auto quiet = sine (1000.0, juce::Decibels::decibelsToGain (-60.0f), 1.0);
    const auto quietIn = quiet;
    playThrough (quiet, [this] (auto& block, auto& midi) { process (gate, block, midi); });
    const float closed = decibels (settledGain (quietIn, quiet));

    auto audio = programmeSeconds (programme, 1.0);
    const auto in = audio;
    playThrough (audio, [this] (auto& block, auto& midi) { process (gate, block, midi); });
    const float open = decibels (settledGain (in, audio));

    report.add ("  check: gate alone, -60 dBFS sine " + dB (closed) + ", programme " + dB (open));

    if (closed > -10.0f)
        return "gate_stereo does not close on a -60 dBFS sine (gain " + dB (closed) + ")";

    if (std::abs (open) > 1.0f)
        return "gate_stereo does not pass the programme (gain " + dB (open) + ")";

    return {};
}

juce::String PeerChain::checkCompressor (ProgrammeMaterial& programme)
{
    auto audio = programmeSeconds (programme, 2.0);
    const auto in = audio;
    playThrough (audio, [this] (auto& block, auto& midi) { process (compressor, block, midi); });
    const float gain = decibels (settledGain (in, audio));

    report.add ("  check: compressor alone, programme " + dB (gain));

    if (gain > -3.0f)
        return "compressor_stereo reduces the -12 dBFS programme by less than 3 dB (gain " + dB (gain) + ")";

    return {};
}

juce::String PeerChain::checkEqualiser (ProgrammeMaterial& programme)
{
    auto equaliserGainAt = [this] (double frequency)
    {
        auto audio = sine (frequency, juce::Decibels::decibelsToGain (-12.0f), 0.5);
        const auto in = audio;
        playThrough (audio, [this] (auto& block, auto& midi) { process (equaliser, block, midi); });
        return decibels (settledGain (in, audio));
    };

    const float at40 = equaliserGainAt (40.0), at1k = equaliserGainAt (1000.0), at20k = equaliserGainAt (20000.0);

    auto audio = programmeSeconds (programme, 1.0);
    auto difference = audio;
    playThrough (audio, [this] (auto& block, auto& midi) { process (equaliser, block, midi); });

    for (int ch = 0; ch < 2; ++ch)
        difference.addFrom (ch, 0, audio, ch, 0, audio.getNumSamples(), -1.0f);

    const float changed = decibels (settledGain (audio, difference));

    report.add ("  check: equaliser alone, sine at 40 Hz " + dB (at40) + ", 1 kHz " + dB (at1k) + ", 20 kHz " + dB (at20k)
                + "; programme changed by " + dB (changed) + " relative");

    if (! (at40 < -3.0f && at1k > 0.5f && at20k < -3.0f))
        return "para_equalizer_x16_stereo does not shape the response as set (40 Hz " + dB (at40) + ", 1 kHz " + dB (at1k)
               + ", 20 kHz " + dB (at20k) + ")";

    if (changed < -30.0f)
        return "para_equalizer_x16_stereo leaves the programme unchanged";

    return {};
}

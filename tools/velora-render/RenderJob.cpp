#include "RenderJob.h"

#include "AudioFileIO.h"
#include "DemoSignal.h"
#include "EqPlot.h"
#include "OutputFiles.h"
#include "ParameterCatalogue.h"
#include "ProgressBar.h"
#include "RenderOptions.h"
#include "RenderReport.h"
#include "StateDocument.h"

#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"
#include "processor/HostParameters.h"
#include "processor/VeloraAudioProcessor.h"

namespace RenderJob
{

namespace
{
    int fail (std::ostream& err, const juce::String& message, int status)
    {
        err << "velora-render: " << message.replaceCharacters ("\r\n", "  ") << "\n";
        return status;
    }

    juce::String formatRate (double sampleRate)
    {
        return sampleRate == std::floor (sampleRate) ? juce::String ((juce::int64) sampleRate) : juce::String (sampleRate, 3);
    }

    void setParameter (VeloraAudioProcessor& processor, const juce::String& id, float value)
    {
        if (auto* parameter = processor.getParameterTree().getParameter (id))
            parameter->setValueNotifyingHost (value);
    }

    juce::String plotCaption (VeloraAudioProcessor& processor, double designRate, double hostRate)
    {
        juce::String caption = "EQ magnitude response, designed at " + formatRate (designRate) + " Hz";

        if (designRate != hostRate)
            caption << " (2x oversampling of " << formatRate (hostRate) << " Hz)";

        const auto& design = processor.getEqEngine().getCurrentDesign();

        if (design.bypassed)
            caption << ", bypassed";

        if (auto* eqOn = processor.getParameterTree().getRawParameterValue (HostParameters::eqOn); eqOn != nullptr && eqOn->load() == 0.0f)
            caption << ", EQ stage switched off";

        return caption;
    }

    void render (VeloraAudioProcessor& processor, juce::AudioBuffer<float>& signal, int blockSize,
                 RenderReport& report, ProgressBar& progress)
    {
        const int numChannels = signal.getNumChannels();
        const int numSamples = signal.getNumSamples();
        juce::MidiBuffer midi;

        report.input.reset (numChannels);
        report.output.reset (numChannels);
        report.numSamples = numSamples;

        for (int start = 0; start < numSamples; start += blockSize)
        {
            const int length = juce::jmin (blockSize, numSamples - start);
            juce::AudioBuffer<float> block (signal.getArrayOfWritePointers(), numChannels, start, length);

            report.input.add (block);
            processor.processBlock (block, midi);
            report.output.add (block);

            ++report.numBlocks;
            report.inputOverloadBlocks += processor.isInputOverloaded() ? 1 : 0;
            report.outputOverloadBlocks += processor.isOutputOverloaded() ? 1 : 0;

            if (processor.isCompEnabled())
            {
                const auto& compressor = processor.getCompressorEngine();
                report.largestGainReductionDb = juce::jmax (report.largestGainReductionDb,
                                                            RenderReport::gainReductionDb (compressor.getCurrentGain(),
                                                                                           compressor.getWetGain()));
            }

            progress.update (start + length, numSamples);
        }

        progress.finish();
    }
}

int run (const juce::StringArray& arguments, std::ostream& out, std::ostream& err, bool showProgress)
{
    VeloraAudioProcessor processor;
    const ParameterCatalogue catalogue (processor);
    const auto parsed = parseRenderOptions (arguments, catalogue);

    if (! parsed.ok())
        return fail (err, parsed.error, usageError);

    const auto& options = parsed.options;

    if (options.showHelp)
    {
        out << renderHelpText();
        return success;
    }

    if (options.listParameters)
    {
        out << catalogue.describe (DemoSignal::demoSampleRate);
        return success;
    }

    const auto workingDirectory = juce::File::getCurrentWorkingDirectory();

    // Everything is read and checked before the processor sees a value.
    AudioFileIO::Audio audio;
    audio.sampleRate = DemoSignal::demoSampleRate;

    if (options.inputPath.isNotEmpty())
    {
        if (const auto read = AudioFileIO::read (workingDirectory.getChildFile (options.inputPath), audio); read.failed())
            return fail (err, read.getErrorMessage(), fileError);
    }
    else if (options.rendersAudio())
    {
        audio.signal = DemoSignal::make();
    }

    std::unique_ptr<juce::XmlElement> state;

    if (options.stateInPath.isNotEmpty())
        if (const auto loaded = StateDocument::load (workingDirectory.getChildFile (options.stateInPath), catalogue, state); loaded.failed())
            return fail (err, loaded.getErrorMessage(), fileError);

    std::vector<std::pair<juce::String, float>> values;

    for (const auto& setting : options.settings)
    {
        float value = 0.0f;

        if (const auto resolved = resolveParameterValue (*catalogue.find (setting.id), setting.value, audio.sampleRate, value); resolved.failed())
            return fail (err, resolved.getErrorMessage(), usageError);

        values.emplace_back (setting.id, value);
    }

    RenderReport report;
    report.sampleRate = audio.sampleRate;
    OutputFiles outputs;
    juce::String stateText;
    juce::Image plot;

    if (options.rendersAudio())
    {
        report.outputFile = options.outputFile (workingDirectory);
        outputs.add (report.outputFile, [&] (const juce::File& f)
        {
            return AudioFileIO::writeWav (f, audio.signal, audio.sampleRate, options.bitsPerSample());
        });
    }

    if (options.stateOutPath.isNotEmpty())
    {
        report.stateFile = workingDirectory.getChildFile (options.stateOutPath);
        outputs.add (report.stateFile, [&] (const juce::File& f)
        {
            return f.replaceWithText (stateText) ? juce::Result::ok()
                                                 : juce::Result::fail ("cannot write '" + f.getFullPathName() + "'");
        });
    }

    if (options.plotPath.isNotEmpty())
    {
        report.plotFile = workingDirectory.getChildFile (options.plotPath);
        outputs.add (report.plotFile, [&] (const juce::File& f)
        {
            juce::FileOutputStream stream (f);
            juce::PNGImageFormat png;

            if (stream.openedOk() && stream.truncate().wasOk() && png.writeImageToStream (plot, stream))
            {
                stream.flush();
                if (stream.getStatus().wasOk())
                    return juce::Result::ok();
            }

            return juce::Result::fail ("cannot write '" + f.getFullPathName() + "'");
        });
    }

    if (const auto checked = outputs.checkTargets(); checked.failed())
        return fail (err, checked.getErrorMessage(), fileError);

    // The settings, in the documented order: state, program, --set, --oversampling.
    const int numChannels = audio.signal.getNumChannels() > 0 ? audio.signal.getNumChannels() : 2;
    processor.setPlayConfigDetails (numChannels, numChannels, audio.sampleRate, options.blockSize);

    if (state != nullptr)
        StateDocument::apply (*state, processor);

    if (options.program.has_value())
        processor.setCurrentProgram (*options.program);

    for (const auto& [id, value] : values)
        setParameter (processor, id, value);

    if (options.oversampling.has_value())
        setParameter (processor, HostParameters::oversampling, *options.oversampling ? 1.0f : 0.0f);

    if (options.seed.has_value())
        processor.setRandomSeed (*options.seed);

    processor.prepareToPlay (audio.sampleRate, options.blockSize);

    if (options.stateOutPath.isNotEmpty())
        stateText = StateDocument::save (processor);

    if (options.plotPath.isNotEmpty())
    {
        const auto& eq = processor.getEqEngine();
        const double designRate = (double) eq.getDesignSampleRate();
        plot = EqPlot().draw (eq.getCurrentDesign(), designRate, plotCaption (processor, designRate, audio.sampleRate));
    }

    if (options.rendersAudio())
    {
        ProgressBar progress (err, showProgress);
        render (processor, audio.signal, options.blockSize, report, progress);
    }

    processor.releaseResources();

    if (const auto written = outputs.commit(); written.failed())
        return fail (err, written.getErrorMessage(), fileError);

    out << report.format();
    return success;
}

} // namespace RenderJob

#include "AudioFileIO.h"

namespace AudioFileIO
{

juce::Result read (const juce::File& file, Audio& audio)
{
    const auto name = "'" + file.getFullPathName() + "'";

    if (file.isDirectory())
        return juce::Result::fail ("cannot read " + name + ": it is a directory");

    if (! file.existsAsFile())
        return juce::Result::fail ("cannot read " + name + ": no such file");

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
        return juce::Result::fail ("cannot read " + name + ": not a readable WAV, AIFF, FLAC or Ogg Vorbis file");

    if (reader->numChannels < 1 || reader->numChannels > 2)
        return juce::Result::fail (name + " has " + juce::String (reader->numChannels)
                                   + " channels; only mono and stereo files are supported");

    if (! (reader->sampleRate >= minimumSampleRate && reader->sampleRate <= maximumSampleRate))
        return juce::Result::fail (name + " has a sample rate of " + juce::String (reader->sampleRate)
                                   + " Hz; supported are 8000 to 192000 Hz");

    if (reader->lengthInSamples < 0 || reader->lengthInSamples > std::numeric_limits<int>::max())
        return juce::Result::fail (name + " is too long to render in one piece");

    const int numChannels = (int) reader->numChannels;
    const int numSamples = (int) reader->lengthInSamples;

    audio.signal.setSize (numChannels, numSamples);
    audio.sampleRate = reader->sampleRate;

    if (numSamples > 0 && ! reader->read (&audio.signal, 0, numSamples, 0, true, numChannels > 1))
        return juce::Result::fail ("cannot read " + name + ": the audio data is damaged");

    return juce::Result::ok();
}

juce::Result writeWav (const juce::File& file, const juce::AudioBuffer<float>& signal, double sampleRate, int bitsPerSample)
{
    const auto name = "'" + file.getFullPathName() + "'";
    auto stream = std::make_unique<juce::FileOutputStream> (file);

    if (! stream->openedOk() || ! stream->setPosition (0) || ! stream->truncate().wasOk())
        return juce::Result::fail ("cannot write " + name);

    // The WAV writer stores 32-bit samples as IEEE floats, 16 and 24 as integers.
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate,
                                                                          (unsigned int) signal.getNumChannels(),
                                                                          bitsPerSample, {}, 0));
    if (writer == nullptr)
        return juce::Result::fail ("cannot write " + name + " as a " + juce::String (bitsPerSample) + "-bit WAV file");

    stream.release(); // the writer owns it now

    if (! writer->writeFromAudioSampleBuffer (signal, 0, signal.getNumSamples()))
        return juce::Result::fail ("cannot write " + name + ": writing the samples failed");

    writer.reset();
    return juce::Result::ok();
}

} // namespace AudioFileIO

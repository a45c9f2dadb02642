// The standalone application: JUCE's plug-in window, plus a clear word when no audio
// device can be opened and a clean exit on SIGINT/SIGTERM (service managers, scripts
// and terminals stop it that way).

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <memory>

#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

#include <csignal>
#include <iostream>

namespace
{
    std::atomic<bool> quitRequested { false };

    extern "C" void requestQuit (int)
    {
        quitRequested = true;
    }
}

class VeloraStandaloneApp final : public juce::JUCEApplication,
                                  private juce::Timer
{
public:
    VeloraStandaloneApp()
    {
        juce::PropertiesFile::Options options;
        options.applicationName = getApplicationName();
        options.filenameSuffix = ".settings";
        options.osxLibrarySubFolder = "Application Support";
        options.folderName = "~/.config";
        appProperties.setStorageParameters (options);
    }

    const juce::String getApplicationName() override            { return JucePlugin_Name; }
    const juce::String getApplicationVersion() override         { return JucePlugin_VersionString; }
    bool moreThanOneInstanceAllowed() override                  { return true; }
    void anotherInstanceStarted (const juce::String&) override  {}

    void initialise (const juce::String&) override
    {
        std::signal (SIGINT, requestQuit);
        std::signal (SIGTERM, requestQuit);

        mainWindow = std::make_unique<juce::StandaloneFilterWindow> (getApplicationName(),
                                                                     juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
                                                                     appProperties.getUserSettings(), false);
        mainWindow->setVisible (true);

        if (mainWindow->getDeviceManager().getCurrentAudioDevice() == nullptr)
            std::cerr << "Velora: no audio device could be opened; running without audio. "
                         "Choose a device under Options > Audio/MIDI Settings.\n";

        startTimer (100);
    }

    void shutdown() override
    {
        stopTimer();
        mainWindow = nullptr;
        appProperties.saveIfNeeded();
    }

    void systemRequestedQuit() override
    {
        if (mainWindow != nullptr)
            mainWindow->pluginHolder->savePluginState();

        quit();
    }

private:
    void timerCallback() override
    {
        if (quitRequested.exchange (false))
            systemRequestedQuit();
    }

    juce::ApplicationProperties appProperties;
    std::unique_ptr<juce::StandaloneFilterWindow> mainWindow;
};

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication() { return new VeloraStandaloneApp(); }

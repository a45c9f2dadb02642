# JUCE's modules, compiled once into one static library that everything else links.
#
# The plug-in wrappers, the tests, the tools and the benchmarks all see the same module
# configuration. Plug-in hosting (VST3 and LV2) is compiled in because the host tests and
# the benchmark load built plug-ins in the same process as the library; modal loops are
# permitted so that tests can pump the message loop (the plug-in itself runs none).

add_library (VeloraJuce STATIC)

target_link_libraries (VeloraJuce
    PRIVATE
        juce::juce_audio_basics
        juce::juce_audio_devices
        juce::juce_audio_formats
        juce::juce_audio_processors
        juce::juce_audio_utils
        juce::juce_core
        juce::juce_data_structures
        juce::juce_events
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
    PUBLIC
        juce::juce_recommended_config_flags
        PkgConfig::VELORA_CODECS)

target_compile_definitions (VeloraJuce
    PUBLIC
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_VST3_CAN_REPLACE_VST2=0
        JUCE_PLUGINHOST_VST3=1
        JUCE_PLUGINHOST_LV2=1
        JUCE_JACK=1
        JUCE_ALSA=1
        JUCE_USE_FLAC=1
        JUCE_USE_OGGVORBIS=1
        JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
        JUCE_MODAL_LOOPS_PERMITTED=1
    INTERFACE
        $<TARGET_PROPERTY:VeloraJuce,COMPILE_DEFINITIONS>)

target_include_directories (VeloraJuce
    INTERFACE
        $<TARGET_PROPERTY:VeloraJuce,INCLUDE_DIRECTORIES>)

set_target_properties (VeloraJuce PROPERTIES
    POSITION_INDEPENDENT_CODE TRUE
    VISIBILITY_INLINES_HIDDEN TRUE
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden)

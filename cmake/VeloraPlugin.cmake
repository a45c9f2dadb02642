# The plug-in itself: a thin shell around VeloraCore.
#
# The manufacturer code, plug-in code, bundle id and LV2 URI identify saved projects in
# every host. They must never change.

set (VELORA_LV2_URI "https://velora-audio.org/plugins/velora")

set (VELORA_FORMATS VST3 LV2 Standalone)
if (APPLE)
    list (APPEND VELORA_FORMATS AU)
endif()

juce_add_plugin (Velora
    PRODUCT_NAME "Velora"
    VERSION "${PROJECT_VERSION}"
    COMPANY_NAME "Velora Audio"
    COMPANY_WEBSITE "https://velora-audio.org"
    BUNDLE_ID "org.velora-audio.velora"
    DESCRIPTION "Console channel strip: gate, compressor and equaliser"
    PLUGIN_MANUFACTURER_CODE Vlra
    PLUGIN_CODE Vlch
    FORMATS ${VELORA_FORMATS}
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS FALSE
    COPY_PLUGIN_AFTER_BUILD FALSE
    VST3_CATEGORIES Fx EQ Dynamics
    AU_MAIN_TYPE kAudioUnitType_Effect
    AU_EXPORT_PREFIX VeloraAU
    LV2URI "${VELORA_LV2_URI}")

# Debian's JUCE does not carry the LV2URI argument through to the wrapper.
target_compile_definitions (Velora PUBLIC JucePlugin_LV2URI="${VELORA_LV2_URI}")

target_link_libraries (Velora PRIVATE VeloraCore)

set_target_properties (Velora PROPERTIES
    POSITION_INDEPENDENT_CODE TRUE
    VISIBILITY_INLINES_HIDDEN TRUE
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden)

# The standalone application is ours (it reports a missing audio device and exits
# cleanly on a signal); JUCE's wrapper provides the window and the main function.
# A sanitizer's runtime lives in the executable that loads the plug-in, so an instrumented
# module must be allowed to leave its symbols to be found at load time.
if (VELORA_SANITIZE AND NOT APPLE)
    foreach (module IN ITEMS Velora_VST3 Velora_LV2)
        target_link_options (${module} PRIVATE -Wl,-z,undefs)
    endforeach()
endif()

target_sources (Velora_Standalone PRIVATE "${CMAKE_SOURCE_DIR}/source/standalone/VeloraStandaloneApp.cpp")
target_compile_definitions (Velora_Standalone PRIVATE JUCE_USE_CUSTOM_PLUGIN_STANDALONE_APP=1)

# cmake --install: the bundles where Linux hosts look for them, the programs in bin.
set (VELORA_BUILT_ARTEFACTS "${CMAKE_BINARY_DIR}/Velora_artefacts/${CMAKE_BUILD_TYPE}")
install (DIRECTORY "${VELORA_BUILT_ARTEFACTS}/VST3/Velora.vst3" DESTINATION lib/vst3 USE_SOURCE_PERMISSIONS)
install (DIRECTORY "${VELORA_BUILT_ARTEFACTS}/LV2/Velora.lv2" DESTINATION lib/lv2 USE_SOURCE_PERMISSIONS)
install (PROGRAMS "${VELORA_BUILT_ARTEFACTS}/Standalone/Velora" DESTINATION bin RENAME velora)

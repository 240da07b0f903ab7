# One static library holds the JUCE modules the program uses, compiled once
# with one set of settings, and shared by the app, the tests and the benchmarks.
add_library (tintwright_juce STATIC)

target_link_libraries (tintwright_juce
    PRIVATE
        juce::juce_core
        juce::juce_data_structures
        juce::juce_events
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
    PUBLIC
        juce::juce_recommended_config_flags
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

target_compile_definitions (tintwright_juce
    PUBLIC
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISABLE_NATIVE_FILECHOOSERS=1
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_USE_XSHM=1
        JUCE_CHECK_MEMORY_LEAKS=1
        JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
        JUCE_STANDALONE_APPLICATION=1
    INTERFACE
        $<TARGET_PROPERTY:tintwright_juce,COMPILE_DEFINITIONS>)

target_include_directories (tintwright_juce
    INTERFACE $<TARGET_PROPERTY:tintwright_juce,INCLUDE_DIRECTORIES>)

set_target_properties (tintwright_juce PROPERTIES
    POSITION_INDEPENDENT_CODE TRUE
    VISIBILITY_INLINES_HIDDEN TRUE
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden)

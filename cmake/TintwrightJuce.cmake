# The JUCE modules the program uses, each compiled once with one set of
# settings, in two static libraries: the model's modules (no window, no
# display) and the GUI modules on top of them. The app, the tests and the
# benchmarks share both.
include (${CMAKE_CURRENT_LIST_DIR}/TintwrightJuceSettings.cmake)

function (tintwright_juce_library target)
    target_compile_definitions (${target} PUBLIC ${TINTWRIGHT_JUCE_SETTINGS}
        INTERFACE $<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>)
    target_include_directories (${target} INTERFACE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)
    set_target_properties (${target} PROPERTIES
        POSITION_INDEPENDENT_CODE TRUE
        VISIBILITY_INLINES_HIDDEN TRUE
        C_VISIBILITY_PRESET hidden
        CXX_VISIBILITY_PRESET hidden)
endfunction()

# Debian's JUCE uses the system's libpng and libjpeg instead of its own
# copies: found through pkg-config on Linux, from the Windows builds of their
# Debian sources (scripts/windows.sh) when building for Windows.
if (TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
    set (TINTWRIGHT_IMAGE_LIBRARIES juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
else()
    find_package (PNG REQUIRED)
    find_package (JPEG REQUIRED)
    set (TINTWRIGHT_IMAGE_LIBRARIES PNG::PNG JPEG::JPEG)
endif()

# The model's modules: text, files, XML, value trees, messages and colours.
add_library (tintwright_juce_model STATIC)
target_link_libraries (tintwright_juce_model
    PRIVATE
        juce::juce_core
        juce::juce_data_structures
        juce::juce_events
        juce::juce_graphics
    PUBLIC
        juce::juce_recommended_config_flags
        ${TINTWRIGHT_IMAGE_LIBRARIES})
tintwright_juce_library (tintwright_juce_model)

# The GUI modules. Linking juce::juce_gui_basics would bring the sources of
# the modules below it a second time, so only their own sources and
# definitions are taken here.
add_library (tintwright_juce_gui STATIC)
foreach (module juce_gui_basics juce_gui_extra)
    get_target_property (sources juce::${module} INTERFACE_SOURCES)
    target_sources (tintwright_juce_gui PRIVATE ${sources})
    target_compile_definitions (tintwright_juce_gui PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()
target_link_libraries (tintwright_juce_gui PUBLIC tintwright_juce_model)
tintwright_juce_library (tintwright_juce_gui)

# JUCE 7.0.5's Windows windowing asks DXGI for the displays' vertical blanks,
# but its module lists no DXGI library for MinGW.
if (WIN32)
    target_link_libraries (tintwright_juce_gui PUBLIC dxgi)
endif()

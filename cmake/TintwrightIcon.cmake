# Windows shows the program's icon on Tintwright.exe, in the Start menu and
# in the installer. JUCE's juceaide turns a PNG into the .ico it links in;
# the PNG is drawn at configure time from the project's SVG, so no picture
# made from another is kept in the repository.
set (TINTWRIGHT_ICON_ARGUMENTS)
if (WIN32)
    find_program (TINTWRIGHT_RSVG_CONVERT rsvg-convert REQUIRED)
    set (TINTWRIGHT_ICON_PNG "${CMAKE_CURRENT_BINARY_DIR}/packaging/tintwright-256.png")
    set (TINTWRIGHT_ICON_SVG "${CMAKE_CURRENT_SOURCE_DIR}/packaging/tintwright.svg")
    set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${TINTWRIGHT_ICON_SVG}")
    file (MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/packaging")
    execute_process (COMMAND "${TINTWRIGHT_RSVG_CONVERT}" -w 256 -h 256 -o "${TINTWRIGHT_ICON_PNG}" "${TINTWRIGHT_ICON_SVG}"
                     RESULT_VARIABLE failed)
    if (failed)
        message (FATAL_ERROR "rsvg-convert could not draw ${TINTWRIGHT_ICON_SVG}")
    endif()
    set (TINTWRIGHT_ICON_ARGUMENTS ICON_BIG "${TINTWRIGHT_ICON_PNG}")
endif()

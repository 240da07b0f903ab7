# The Windows program as it is shipped: the programs and a read-me in one
# folder, packed by CPack as an installer (NSIS) and as a zip that runs from
# any folder. scripts/windows.sh makes both.

if (TINTWRIGHT_PROGRAMS)
    install (TARGETS ${TINTWRIGHT_PROGRAMS} RUNTIME DESTINATION .)
endif()
install (FILES packaging/README-windows.txt DESTINATION . RENAME README.txt)

set (CPACK_GENERATOR NSIS ZIP)
set (CPACK_PACKAGE_NAME Tintwright)
set (CPACK_PACKAGE_VENDOR Tintwright)
set (CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour scheme editor for Calvastra scheme files")
set (CPACK_PACKAGE_FILE_NAME "Tintwright-${PROJECT_VERSION}-win64")
set (CPACK_PACKAGE_INSTALL_DIRECTORY Tintwright)
set (CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tintwright)
set (CPACK_STRIP_FILES ON)

# The Start-menu entry opens the window program.
set (CPACK_PACKAGE_EXECUTABLES Tintwright Tintwright)

# A 64-bit installer into the 64-bit Program Files. NSIS's default 32-bit
# stub, run where only 64-bit Windows programs can run (64-bit Wine), exits
# at once without installing; Debian's nsis ships the 64-bit stubs too.
set (CPACK_NSIS_DEFINES "Target amd64-unicode")
set (CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set (CPACK_NSIS_DISPLAY_NAME Tintwright)
set (CPACK_NSIS_PACKAGE_NAME Tintwright)
set (CPACK_NSIS_INSTALLED_ICON_NAME Tintwright.exe)
set (CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set (CPACK_NSIS_MODIFY_PATH OFF)

# The installer and the uninstaller show the program's icon: an .ico drawn
# from the same PNG that JUCE puts into the program (cmake/TintwrightIcon.cmake).
if (TINTWRIGHT_ICON_PNG)
    find_program (TINTWRIGHT_ICOTOOL icotool REQUIRED)
    set (TINTWRIGHT_ICON_ICO "${CMAKE_CURRENT_BINARY_DIR}/packaging/tintwright.ico")
    set (sizes)
    foreach (size 16 32 48)
        set (png "${CMAKE_CURRENT_BINARY_DIR}/packaging/tintwright-${size}.png")
        execute_process (COMMAND "${TINTWRIGHT_RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}" "${TINTWRIGHT_ICON_SVG}")
        list (APPEND sizes "${png}")
    endforeach()
    execute_process (COMMAND "${TINTWRIGHT_ICOTOOL}" -c -o "${TINTWRIGHT_ICON_ICO}" ${sizes} "${TINTWRIGHT_ICON_PNG}"
                     RESULT_VARIABLE failed)
    if (failed)
        message (FATAL_ERROR "icotool could not make ${TINTWRIGHT_ICON_ICO}")
    endif()
    set (CPACK_NSIS_MUI_ICON "${TINTWRIGHT_ICON_ICO}")
    set (CPACK_NSIS_MUI_UNIICON "${TINTWRIGHT_ICON_ICO}")
endif()

include (CPack)

# What the installed program needs beside itself, and the Debian package that
# scripts/package.sh makes of it with CPack.

# Only with a web address for the repository's files can the AppStream
# metadata point at docs/screenshot.png: software centres fetch screenshots,
# and the metadata format accepts nothing but http(s) addresses there.
set (TINTWRIGHT_SOURCE_URL "" CACHE STRING
     "Web address under which the repository's files can be fetched (for the AppStream screenshot); empty for none")
set (TINTWRIGHT_RELEASE_DATE "2026-12-07")

if (TINTWRIGHT_SOURCE_URL)
    set (TINTWRIGHT_METAINFO_SCREENSHOTS
         "  <screenshots>\n    <screenshot type=\"default\">\n      <caption>A scheme open, with a group of its colours beside the tweak sliders</caption>\n      <image>${TINTWRIGHT_SOURCE_URL}/docs/screenshot.png</image>\n    </screenshot>\n  </screenshots>\n")
else()
    set (TINTWRIGHT_METAINFO_SCREENSHOTS "")
endif()

set (TINTWRIGHT_PACKAGING_OUT "${CMAKE_CURRENT_BINARY_DIR}/packaging")
configure_file (packaging/tintwright.metainfo.xml.in "${TINTWRIGHT_PACKAGING_OUT}/tintwright.metainfo.xml" @ONLY)

# Manual pages and Debian's changelog go in compressed, without a time stamp
# in the gzip header, so that two builds of one source give the same files.
function (tintwright_gzip source target)
    execute_process (COMMAND gzip -9 -n -c "${source}"
                     OUTPUT_FILE "${target}" RESULT_VARIABLE failed)
    if (failed)
        message (FATAL_ERROR "gzip could not compress ${source}")
    endif()
endfunction()

configure_file (packaging/Tintwright.1 "${TINTWRIGHT_PACKAGING_OUT}/Tintwright.1" @ONLY)
tintwright_gzip ("${TINTWRIGHT_PACKAGING_OUT}/Tintwright.1" "${TINTWRIGHT_PACKAGING_OUT}/Tintwright.1.gz")

if (TARGET Tintwright)
    install (FILES "${TINTWRIGHT_PACKAGING_OUT}/tintwright.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
    install (FILES "${TINTWRIGHT_PACKAGING_OUT}/Tintwright.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

# The command-line program's manual page and bash completion (loaded on demand
# by bash-completion from this folder, by the command's name).
configure_file (packaging/tintwright-cli.1 "${TINTWRIGHT_PACKAGING_OUT}/tintwright-cli.1" @ONLY)
tintwright_gzip ("${TINTWRIGHT_PACKAGING_OUT}/tintwright-cli.1" "${TINTWRIGHT_PACKAGING_OUT}/tintwright-cli.1.gz")
install (FILES "${TINTWRIGHT_PACKAGING_OUT}/tintwright-cli.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install (FILES packaging/tintwright-cli.bash-completion
         DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" RENAME tintwright-cli)

# The package ------------------------------------------------------------------

set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME tintwright)
set (CPACK_PACKAGE_CONTACT "Seed 8d8c172d maintainers <maintainers@users.noreply.c-seed-8d8c172d.example>")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour scheme editor for Calvastra scheme files")
set (CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tintwright edits the colour-scheme files (.calvastrascheme) of the Calvastra
music application. A scheme author gathers colours into named groups and
changes a whole group at once: red, green and blue offsets, hue shift,
saturation and brightness, contrast, inversion or one forced hue, with a
preview beside every stored colour. Save writes the colours and the groups
back into the file.")
set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION graphics)
set (CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set (CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set (CPACK_STRIP_FILES ON)

# Depends: dpkg-shlibdeps finds the libraries the program links. JUCE opens
# the X11 ones with dlopen at run time, and finds its fonts by reading
# /etc/fonts/fonts.conf itself; without these the program has no window, or
# a window without a single letter. Found by tracing the program's opens
# (libXss too is in JUCE, but only for holding off the screen saver, which
# this program never asks for; gsettings, which JUCE runs when it is there,
# is optional).
set (TINTWRIGHT_RUNTIME_PACKAGES
     libx11-6 libxext6 libxrandr2 libxinerama1 libxcursor1 libxrender1
     fontconfig-config fonts-dejavu-core)
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list (JOIN TINTWRIGHT_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

# Debian's own files for the package: its copyright statement and changelog.
set (TINTWRIGHT_DEBIAN_DOC "${CMAKE_CURRENT_BINARY_DIR}/debian-doc")
set (TINTWRIGHT_DEBIAN_DOC_DIR "${TINTWRIGHT_DEBIAN_DOC}/usr/share/doc/${CPACK_PACKAGE_NAME}")
file (REMOVE_RECURSE "${TINTWRIGHT_DEBIAN_DOC}") # CPack takes the whole folder: nothing stale in it
execute_process (COMMAND date -u -R -d "${TINTWRIGHT_RELEASE_DATE} 12:00"
                 OUTPUT_VARIABLE TINTWRIGHT_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file (packaging/copyright "${TINTWRIGHT_DEBIAN_DOC_DIR}/copyright" COPYONLY)
configure_file (packaging/changelog.in "${TINTWRIGHT_PACKAGING_OUT}/changelog" @ONLY)
tintwright_gzip ("${TINTWRIGHT_PACKAGING_OUT}/changelog" "${TINTWRIGHT_DEBIAN_DOC_DIR}/changelog.gz")
set (CPACK_INSTALLED_DIRECTORIES "${TINTWRIGHT_DEBIAN_DOC};.")

include (CPack)

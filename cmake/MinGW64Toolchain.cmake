# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread and std::mutex need).
set (CMAKE_SYSTEM_NAME Windows)
set (CMAKE_SYSTEM_PROCESSOR x86_64)

set (TINTWRIGHT_MINGW x86_64-w64-mingw32)
set (CMAKE_C_COMPILER ${TINTWRIGHT_MINGW}-gcc-posix)
set (CMAKE_CXX_COMPILER ${TINTWRIGHT_MINGW}-g++-posix)
set (CMAKE_RC_COMPILER ${TINTWRIGHT_MINGW}-windres)
set (CMAKE_AR ${TINTWRIGHT_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set (CMAKE_RANLIB ${TINTWRIGHT_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")
set (CMAKE_STRIP ${TINTWRIGHT_MINGW}-strip CACHE FILEPATH "")

# Libraries and headers from the MinGW sysroot and the prefix the Windows
# build of the dependencies went into; programs (juceaide) from the host.
set (TINTWRIGHT_WINDOWS_DEPS "" CACHE PATH "Prefix holding the Windows builds of pugixml, libpng, libjpeg and GoogleTest")
set (CMAKE_FIND_ROOT_PATH /usr/${TINTWRIGHT_MINGW} ${TINTWRIGHT_WINDOWS_DEPS})
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's JUCE package keeps its CMake files in the host's multiarch folder.
set (CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# One static program: no MinGW runtime DLL beside it.
set (CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests run the test programs through Wine.
find_program (TINTWRIGHT_WINE_LOADER NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if (TINTWRIGHT_WINE_LOADER)
    set (CMAKE_CROSSCOMPILING_EMULATOR ${TINTWRIGHT_WINE_LOADER})
endif()
# Under Wine the build machine's root is drive Z:, so a path of the source
# tree compiled into a test program is this prefix and the Linux path.
set (TINTWRIGHT_HOST_ROOT "Z:")

# Every library is linked statically: MinGW-w64's zlib comes as libz.a and as
# an import library for a DLL, and a search would find the import library.
set (ZLIB_LIBRARY /usr/${TINTWRIGHT_MINGW}/lib/libz.a CACHE FILEPATH "")

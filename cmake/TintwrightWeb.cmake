# The model for web pages: the model's own sources compiled to WebAssembly
# with emscripten, bound to JavaScript (src/web) in one file that a page loads
# with a classic <script>, from file:// too: build-web/model/tintwright-model.js.
# It holds only what compiles for the web: juce_core, JUCE's colour type
# (juce_graphics' colour file alone; the module as a whole needs fonts and
# images) and pugixml, from the sources of the Debian packages the desktop
# build uses (scripts/web.sh fetches pugixml's).

find_path (TINTWRIGHT_JUCE_MODULES juce_core/juce_core.h
    PATHS /usr/share/juce/modules NO_CMAKE_FIND_ROOT_PATH
    DOC "JUCE's module sources (Debian's juce-modules-source)")
find_path (TINTWRIGHT_PUGIXML_SOURCE src/pugixml.cpp NO_CMAKE_FIND_ROOT_PATH
    DOC "pugixml's Debian source package, unpacked")
if (NOT TINTWRIGHT_JUCE_MODULES OR NOT TINTWRIGHT_PUGIXML_SOURCE)
    message (FATAL_ERROR "The web build needs JUCE's module sources and pugixml's source package: run scripts/web.sh deps")
endif()

include (${CMAKE_CURRENT_LIST_DIR}/TintwrightJuceSettings.cmake)

# Every file is compiled with WebAssembly exceptions, so that running out of
# the module's memory anywhere ends in a refusal, not in an abort of the
# module, and with WebAssembly SIMD, which emscripten's SSE2 headers map the
# tweak maths' four-lane batch onto (below). The C++ library's string code is
# compiled into each file that uses it, where it can be inlined, instead of
# being called in the prebuilt library (saving a scheme calls it for every
# piece of every line).
add_compile_options (-fwasm-exceptions -msimd128 -D_LIBCPP_DISABLE_EXTERN_TEMPLATE=1)
add_link_options (-fwasm-exceptions)

# JUCE 7.0.5's own wasm branch does not compile (its thread-priority table has
# no entry for it); as for Linux it does, with two gaps of emscripten's C
# library filled for juce_core's sources: <execinfo.h> (no backtraces here) and
# glibc's locale identification items (they only name the locale). Debian's
# juce_core includes the system's zlib header; nothing here uses JUCE's GZIP
# streams, so nothing links zlib.
set (shims "${CMAKE_BINARY_DIR}/juce-shims")
file (CONFIGURE OUTPUT "${shims}/execinfo.h" CONTENT [[#pragma once
static inline int backtrace (void**, int) { return 0; }
static inline char** backtrace_symbols (void* const*, int) { return 0; }
]])
file (COPY /usr/include/zlib.h /usr/include/zconf.h DESTINATION "${shims}")

add_library (tintwright_web_juce STATIC
    "${TINTWRIGHT_JUCE_MODULES}/juce_core/juce_core.cpp"
    "${TINTWRIGHT_JUCE_MODULES}/juce_graphics/colour/juce_Colour.cpp")
target_include_directories (tintwright_web_juce PUBLIC "${TINTWRIGHT_JUCE_MODULES}")
target_include_directories (tintwright_web_juce PRIVATE "${shims}")
target_compile_definitions (tintwright_web_juce
    PUBLIC
        ${TINTWRIGHT_JUCE_SETTINGS}
        LINUX=1
        JUCE_MODULE_AVAILABLE_juce_core=1
        JUCE_MODULE_AVAILABLE_juce_events=1
        JUCE_MODULE_AVAILABLE_juce_graphics=1
        JUCE_NO_INLINE_ASM=1 # the SSE2 headers make JUCE take the files for x86
    PRIVATE
        _NL_IDENTIFICATION_LANGUAGE=CODESET
        _NL_IDENTIFICATION_TERRITORY=CODESET)
# The colour file is one file of a module, which JUCE compiles as a whole
# after the module's header.
set_source_files_properties ("${TINTWRIGHT_JUCE_MODULES}/juce_graphics/colour/juce_Colour.cpp" PROPERTIES
    COMPILE_OPTIONS "-include;juce_graphics/juce_graphics.h")

add_library (tintwright_web_pugixml STATIC "${TINTWRIGHT_PUGIXML_SOURCE}/src/pugixml.cpp")
target_include_directories (tintwright_web_pugixml PUBLIC "${TINTWRIGHT_PUGIXML_SOURCE}/src")

# The model: the same folders as the desktop's, without their desktop files.
tintwright_sources (TINTWRIGHT_WEB_MODEL_SOURCES ${TINTWRIGHT_MODEL_FOLDERS})
add_library (tintwright_web_model STATIC ${TINTWRIGHT_WEB_MODEL_SOURCES})
target_include_directories (tintwright_web_model PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}/src")
target_link_libraries (tintwright_web_model PUBLIC tintwright_web_juce PRIVATE tintwright_web_pugixml)
# The tweak's batch is written in SSE2's intrinsics, which emscripten's
# headers give as WebAssembly SIMD: for the maths' files only, as JUCE's
# headers take a build with SSE2 for x86.
set (maths_sources ${TINTWRIGHT_WEB_MODEL_SOURCES})
list (FILTER maths_sources INCLUDE REGEX "/src/maths/[^/]*\\.cpp$")
set_source_files_properties (${maths_sources} PROPERTIES COMPILE_OPTIONS -msse2)
if (NOT TINTWRIGHT_TWEAK_SIMD)
    target_compile_definitions (tintwright_web_model PRIVATE TINTWRIGHT_TWEAK_SSE2=0)
endif()

# The module: one file, the WebAssembly inside it, a factory function
# createTintwrightModel (a global for a page's classic script, the export
# for Node's require). Its memory grows as schemes need it, up to the 2 GB a
# page can count on; a page may hand it a memory of its own.
tintwright_sources (TINTWRIGHT_WEB_SOURCES ${TINTWRIGHT_WEB_FOLDERS})
add_executable (tintwright-model ${TINTWRIGHT_WEB_SOURCES})
target_link_libraries (tintwright-model PRIVATE tintwright_web_model)
target_compile_options (tintwright-model PRIVATE -Wall -Wextra)
target_link_options (tintwright-model PRIVATE
    -O3 -lembind
    -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createTintwrightModel
    -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB -sIMPORTED_MEMORY=1
    -sFILESYSTEM=0 -sENVIRONMENT=web,worker,node
    # Every call's arguments checked, and its failure thrown, outside the module.
    "--post-js=${CMAKE_CURRENT_SOURCE_DIR}/src/web/WebCalls.js")
set_target_properties (tintwright-model PROPERTIES
    LINK_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/src/web/WebCalls.js"
    SUFFIX ".js"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/model")

# The tweak maths' own tests (tests/model/TweakMathsTests.cpp), compiled for
# WebAssembly the same way, so that the batch in WebAssembly's vectors is held
# to the portable code's bits as the x86 batch is, hostile values included;
# scripts/web.sh test runs them in Node. GoogleTest from Debian's sources.
find_path (TINTWRIGHT_GOOGLETEST_SOURCE src/gtest-all.cc
    PATHS /usr/src/googletest/googletest NO_CMAKE_FIND_ROOT_PATH
    DOC "GoogleTest's sources (Debian's googletest)")
if (TINTWRIGHT_GOOGLETEST_SOURCE)
    add_executable (tintwright_web_tweak_tests
        tests/model/TweakMathsTests.cpp
        "${TINTWRIGHT_GOOGLETEST_SOURCE}/src/gtest-all.cc"
        "${TINTWRIGHT_GOOGLETEST_SOURCE}/src/gtest_main.cc")
    target_include_directories (tintwright_web_tweak_tests PRIVATE
        "${TINTWRIGHT_GOOGLETEST_SOURCE}/include" "${TINTWRIGHT_GOOGLETEST_SOURCE}")
    target_link_libraries (tintwright_web_tweak_tests PRIVATE tintwright_web_model)
    set_source_files_properties (tests/model/TweakMathsTests.cpp PROPERTIES COMPILE_OPTIONS -msse2)
    target_link_options (tintwright_web_tweak_tests PRIVATE -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node -sSINGLE_FILE=1)
    set_target_properties (tintwright_web_tweak_tests PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
endif()

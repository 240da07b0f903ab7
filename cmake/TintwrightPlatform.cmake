# Platform code lives in files of its own, named for the platform they serve:
# FooPosix.cpp (Linux and macOS), FooLinux.cpp (Linux only), FooWindows.cpp,
# FooDesktop.cpp (every desktop system: files on disk, which a web page has
# not). The build keeps the files of the platform it builds for and drops the
# rest; the model for web pages (emscripten) keeps only the shared files.
function (tintwright_keep_platform_files variable)
    set (files ${${variable}})

    if (EMSCRIPTEN)
        list (FILTER files EXCLUDE REGEX "(Posix|Linux|Windows|Desktop)(Tests)?\\.(cpp|h)$")
    elseif (WIN32)
        list (FILTER files EXCLUDE REGEX "(Posix|Linux)(Tests)?\\.(cpp|h)$")
    elseif (APPLE)
        list (FILTER files EXCLUDE REGEX "(Linux|Windows)(Tests)?\\.(cpp|h)$")
    else()
        list (FILTER files EXCLUDE REGEX "Windows(Tests)?\\.(cpp|h)$")
    endif()

    set (${variable} ${files} PARENT_SCOPE)
endfunction()

# Platform code lives in files of its own, named for the platform they serve:
# FooPosix.cpp (Linux and macOS), FooLinux.cpp (Linux only), FooWindows.cpp.
# The build keeps the files of the platform it builds for and drops the rest.
function (tintwright_keep_platform_files variable)
    set (files ${${variable}})

    if (WIN32)
        list (FILTER files EXCLUDE REGEX "(Posix|Linux)(Tests)?\\.(cpp|h)$")
    elseif (APPLE)
        list (FILTER files EXCLUDE REGEX "(Linux|Windows)(Tests)?\\.(cpp|h)$")
    else()
        list (FILTER files EXCLUDE REGEX "Windows(Tests)?\\.(cpp|h)$")
    endif()

    set (${variable} ${files} PARENT_SCOPE)
endfunction()

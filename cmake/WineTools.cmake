# The mingw-w64 cross compiler and Wine, which the Windows run of the platform suite needs.
# Missing either stops the configure step: a full build that silently leaves the Windows
# backend untested would pass without testing it.
function(qvkiosk_require_wine_tools)
    find_program(QVKIOSK_MINGW_CXX x86_64-w64-mingw32-g++-posix)
    find_program(QVKIOSK_WINE wine)
    set(missing "")
    if(NOT QVKIOSK_MINGW_CXX)
        list(APPEND missing "the mingw-w64 cross compiler (x86_64-w64-mingw32-g++-posix)")
    endif()
    if(NOT QVKIOSK_WINE)
        list(APPEND missing "Wine (wine)")
    endif()
    if(missing)
        list(JOIN missing " and " what)
        message(FATAL_ERROR
            "The Windows run of the platform tests needs ${what}, not found. "
            "Install them with scripts/install-deps, or configure with "
            "-DQVKIOSK_WINE_TESTS=OFF to build and test without the Windows backend.")
    endif()
endfunction()

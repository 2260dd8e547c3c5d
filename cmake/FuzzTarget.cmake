# Included by the libFuzzer targets' own CMakeLists, each of which can also be configured alone.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "the fuzz target needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

# A libFuzzer executable from the given sources, with the sanitizers it runs under.
function(qvkiosk_fuzz_target name)
    add_executable(${name} ${ARGN})
    # -U: a hardened tree build fortifies libc calls, which AddressSanitizer does not work with.
    target_compile_options(${name} PRIVATE -g -O1 -fsanitize=fuzzer,address,undefined
                                           -U_FORTIFY_SOURCE)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()

# A fuzz target fuzz/<name>.cpp of the calling folder: its seed corpus fuzz/corpus is replayed
# through it in every build as the test `test`, and with clang the libFuzzer build of
# fuzz/CMakeLists.txt is added too.
function(qvkiosk_add_fuzz_replay name test library)
    add_executable(${name}_replay
        fuzz/${name}.cpp ${PROJECT_SOURCE_DIR}/tests/support/fuzzreplay.cpp)
    target_link_libraries(${name}_replay PRIVATE ${library})
    qvkiosk_add_test(${test} LABELS unit
        COMMAND ${name}_replay ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        add_subdirectory(fuzz)
    endif()
endfunction()

# Fails unless LIBRARY exports exactly the seven functions of the core library, and no others.
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${LIBRARY}
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "(^|\n)[^ \n]+ [A-Za-z]" entries "${symbols}")
set(exported)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\n?([^ ]+) ([A-Za-z])$" "\\1;\\2" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 type)
    # Linker-made absolute symbols (version nodes) are not code.
    if(NOT type STREQUAL "A")
        list(APPEND exported ${name})
    endif()
endforeach()
list(SORT exported)
set(expected
    QVCoreCheckBqvcFilePassCodeAndFileOperation
    QVCoreCreateInstance
    QVCoreGetBqvcFileOperation
    QVCoreGetBqvcFileVersion
    QVCoreGetConstantskQVCKioskFileVersion
    QVCoreIsQVKIOSKControllerFile
    QVCoreReleaseInstance)
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "exported: ${exported}\nexpected: ${expected}")
endif()
message(STATUS "exports: ${exported}")

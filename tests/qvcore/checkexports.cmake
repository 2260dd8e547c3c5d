# Fails unless LIBRARY exports exactly the seven functions of the core library, and no others.
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${LIBRARY}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# Lines "name type ...": linker-made absolute symbols (type A, version nodes) are not code.
string(REGEX MATCHALL "(^|\n)[^ \n]+ [B-Za-z]" exported "${symbols}")
list(TRANSFORM exported REPLACE "^\n?([^ ]+) .$" "\\1")
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

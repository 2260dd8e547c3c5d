# The two guards of the Windows run, checked with cmake -P: the tool check stops with its advice
# on a PATH that holds the cross compiler but no Wine, and the Windows run's ctest (the words of
# WIN32_CTEST, joined by "|") fails when it finds no test.
if(TOOLS_ONLY)
    include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/WineTools.cmake)
    qvkiosk_require_wine_tools()
    return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${ONLY_MINGW}
                        ${CMAKE_COMMAND} -DTOOLS_ONLY=ON -P ${CMAKE_CURRENT_LIST_FILE}
    RESULT_VARIABLE result ERROR_VARIABLE said)
if(result EQUAL 0 OR NOT said MATCHES "CMake Error.*needs Wine.*scripts/install-deps.*QVKIOSK_WINE_TESTS=OFF")
    message(FATAL_ERROR "the tool check did not stop with its advice: ${said}")
endif()
string(REPLACE "|" ";" ctest "${WIN32_CTEST}")
execute_process(COMMAND ${ctest} --test-dir ${NO_TESTS} RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(result EQUAL 0)
    message(FATAL_ERROR "a Windows run that found no test passed")
endif()

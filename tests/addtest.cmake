# The one registration of a test, for the native build and the cross-built platform suite.
include_guard(GLOBAL)
include(${PROJECT_SOURCE_DIR}/cmake/GoogleTestFromSource.cmake)

# The executable <name> from SOURCES (QT: QtTest with the front-end; GTEST: one entry a case),
# or COMMAND; offscreen, with a HOME, XDG folders and TMPDIR of its own under the build tree;
# PROPERTIES are more test properties, TIMEOUT replaces ctest's 1500 s. Cross-built tests run
# through the build's emulator.
function(qvkiosk_add_test name)
    cmake_parse_arguments(arg "QT;GTEST" "OUTPUT_DIRECTORY;TIMEOUT"
        "SOURCES;LIBRARIES;DEFINITIONS;COMMAND;LABELS;ENVIRONMENT;DEPENDS;PROPERTIES"
        TIMEOUT 1500 ${ARGN})
    if(arg_SOURCES)
        add_executable(${name} ${arg_SOURCES})
        if(arg_QT)
            target_link_libraries(${name} PRIVATE frontend testsupport Qt6::Test)
        elseif(arg_GTEST)
            target_link_libraries(${name} PRIVATE GTest::gtest_main)
        endif()
        target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
        target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
        if(arg_OUTPUT_DIRECTORY)
            set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${arg_OUTPUT_DIRECTORY})
        endif()
    endif()
    if(arg_DEPENDS)
        add_dependencies(${name} ${arg_DEPENDS})
    endif()
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/cache ${home}/runtime ${home}/tmp)
    file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    # A later entry of the same variable wins: ENVIRONMENT may set another platform.
    set(env HOME=${home} XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data
        XDG_CACHE_HOME=${home}/cache XDG_RUNTIME_DIR=${home}/runtime TMPDIR=${home}/tmp
        QT_QPA_PLATFORM=offscreen ${arg_ENVIRONMENT})
    if(arg_GTEST)
        # Discovered tests' properties would split the environment's list: the emulator sets it.
        set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${env}
            ${CMAKE_CROSSCOMPILING_EMULATOR})
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS "${arg_LABELS}" TIMEOUT ${arg_TIMEOUT} ${arg_PROPERTIES})
    else()
        if(NOT arg_COMMAND)
            set(arg_COMMAND ${name})
        endif()
        add_test(NAME ${name} COMMAND ${arg_COMMAND})
        set_tests_properties(${name} PROPERTIES
            LABELS "${arg_LABELS}" ENVIRONMENT "${env}" TIMEOUT ${arg_TIMEOUT} ${arg_PROPERTIES})
    endif()
endfunction()

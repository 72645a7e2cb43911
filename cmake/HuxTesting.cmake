# hux_add_test_suite(NAME SOURCES... [LIBRARIES libs...])
# Builds one GoogleTest executable from the given test sources and registers its tests with CTest:
# each test on its own where the build machine runs the program natively, the whole program as one
# test where it runs under an emulator (Wine), whose start-up would otherwise be paid per test.
function(hux_add_test_suite name)
    if(NOT HUX_BUILD_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main hux_options)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        add_test(NAME ${name} COMMAND ${name})
        hux_emulated_test(${name})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
    endif()
endfunction()

# hux_emulated_test(TEST): a test that runs under the emulator waits for its prefix to be made.
function(hux_emulated_test test)
    set_tests_properties(${test} PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED hux_emulator)
endfunction()

# Under Wine, the first test makes the Wine prefix of the build folder (a minute, once).
if(HUX_BUILD_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME EmulatorPrefix COMMAND wineboot -u)
    set_tests_properties(EmulatorPrefix PROPERTIES FIXTURES_SETUP hux_emulator TIMEOUT 600)
endif()

# Test support: GoogleTest for every build, tarnix_add_test for GoogleTest programs (run natively
# or under Wine), tarnix_add_whole_test for whole-program tests written with tests/harness.
#
# Labels: "native" (native GoogleTest programs), "wine" (Windows programs run under Wine), "whole"
# (whole-program tests under Wine and a private X display). Pick a tier with `ctest -L <label>`.

set(TARNIX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows builds")
set(TARNIX_TEST_TIMEOUT 300 CACHE STRING "CTest time limit of one test, in seconds")
# wine-run's status for a 32-bit program on a host that cannot execute one: the test is reported
# as skipped, with wine-run's reason in its output.
set(TARNIX_SKIP_RETURN_CODE 77)

if(WIN32)
    # Debian ships no mingw-w64 GoogleTest: build it from its sources, static, only when a test
    # links it. Its targets GTest::gtest and GTest::gtest_main match the native package's.
    if(NOT EXISTS ${TARNIX_GTEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${TARNIX_GTEST_SOURCE_DIR} "
                            "(Debian package googletest)")
    endif()
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TARNIX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

    # Runs one Windows console program under Wine in a private prefix (see scripts/wine-run).
    set(TARNIX_WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
    set(TARNIX_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run --state ${TARNIX_WINE_STATE_DIR}
        CACHE INTERNAL "Command that runs a Windows program under Wine")
    # The words before the command of a test that runs the build's programs through a script of
    # its own: in the 32-bit build they ask wine-run whether the host can execute them, and end
    # with the skip status where it cannot.
    set(TARNIX_WINE_GUARD)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(TARNIX_WINE_GUARD sh -c "'${PROJECT_SOURCE_DIR}/scripts/wine-run' --state '${TARNIX_WINE_STATE_DIR}' --probe-32bit && exec \"$@\"" wine-guard)
    endif()
else()
    find_package(GTest REQUIRED)
endif()

# Whole-program tests need only the standard library of the system python3.
if(NOT Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 COMPONENTS Interpreter)

# tarnix_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [ARGS ...]): one GoogleTest program as
# one CTest test. Native builds run it directly; Windows builds run it under Wine.
function(tarnix_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${TARNIX_WINE_RUN} $<TARGET_FILE:${name}> ${T_ARGS})
        set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE ${TARNIX_SKIP_RETURN_CODE})
        set(labels wine ${T_LABELS})
    else()
        add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
        set(labels native ${T_LABELS})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${TARNIX_TEST_TIMEOUT})
endfunction()

# tarnix_add_whole_test(NAME SCRIPT file.py [DEPENDS targets...] [LABELS ...] [TIMEOUT s]
#                       [ENVIRONMENT VAR=value ...] [NO_INSTALL] [BOTH_BUILDS]): a python unittest
# script using tests/harness/winebench.py, run as one CTest test in the Windows x86-64 build (and
# with BOTH_BUILDS in the i686 build too, its programs in "Program Files (x86)"). The script
# finds the build through TARNIX_BUILD_DIR, the staged installation through TARNIX_INSTALL_ROOT
# (the `tarnix_stage_install` target's output), the programs of DEPENDS through
# TARNIX_TARGET_<target>, and writes artefacts (screenshots, logs) under TARNIX_ARTEFACT_DIR.
function(tarnix_add_whole_test name)
    cmake_parse_arguments(W "NO_INSTALL;BOTH_BUILDS" "SCRIPT;TIMEOUT" "DEPENDS;LABELS;ENVIRONMENT"
                          ${ARGN})
    if(NOT WIN32 OR (NOT CMAKE_SIZEOF_VOID_P EQUAL 8 AND NOT W_BOTH_BUILDS))
        return()
    endif()
    if(NOT Python3_Interpreter_FOUND)
        message(WARNING "python3 not found: whole-program test ${name} is not registered")
        return()
    endif()
    if(NOT W_TIMEOUT)
        set(W_TIMEOUT ${TARNIX_TEST_TIMEOUT})
    endif()
    get_filename_component(script ${W_SCRIPT} ABSOLUTE)
    set(env
        TARNIX_SOURCE_DIR=${PROJECT_SOURCE_DIR}
        TARNIX_BUILD_DIR=${CMAKE_BINARY_DIR}
        TARNIX_INSTALL_ROOT=${TARNIX_STAGE_DIR}
        TARNIX_WINE_STATE_DIR=${TARNIX_WINE_STATE_DIR}
        TARNIX_ARTEFACT_DIR=${CMAKE_BINARY_DIR}/artefacts/${name}
        TARNIX_TEST_TIMEOUT=${W_TIMEOUT}
        TARNIX_PROGRAM_FILES=${TARNIX_PROGRAM_FILES}
        PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/harness
        PYTHONDONTWRITEBYTECODE=1
        ${W_ENVIRONMENT})
    foreach(target ${W_DEPENDS})
        list(APPEND env TARNIX_TARGET_${target}=$<TARGET_FILE:${target}>)
    endforeach()
    add_test(NAME ${name} COMMAND ${TARNIX_WINE_GUARD} ${Python3_EXECUTABLE} ${script} -v)
    set_tests_properties(${name} PROPERTIES
        SKIP_RETURN_CODE ${TARNIX_SKIP_RETURN_CODE}
        LABELS "whole;${W_LABELS}"
        TIMEOUT ${W_TIMEOUT}
        ENVIRONMENT "${env}"
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(NOT W_NO_INSTALL)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED tarnix_staged_install)
    endif()
endfunction()

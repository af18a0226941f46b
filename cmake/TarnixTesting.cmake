# tarnix_add_test(NAME SOURCES ... LIBS ... LABELS ...): one GoogleTest program as one CTest test.
# Native builds run it directly; Windows builds run it under Wine through scripts/wine-run.
find_package(GTest QUIET)

function(tarnix_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${TARNIX_WINE_RUN} $<TARGET_FILE:${name}>)
        set(labels wine ${T_LABELS})
    else()
        add_test(NAME ${name} COMMAND ${name})
        set(labels native ${T_LABELS})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 300)
endfunction()

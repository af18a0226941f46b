# Whole-program tests of the main job and of the hosts the tests run on (included from
# tests/whole/CMakeLists.txt).
if(WIN32 AND TARGET Tarnix)
    tarnix_add_whole_test(calibrate SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_calibrate.py
                          DEPENDS Tarnix simcontroller_dll QuvaDkMon simcontroller-check
                          LABELS calibrate NO_INSTALL TIMEOUT 1800)
    # It builds the whole installation in a folder of its own: started first, it overlaps the rest.
    if(TEST calibrate)  # registered in the x86-64 build only
        set_tests_properties(calibrate PROPERTIES COST 10000)
    endif()
    # Run as a native program in both builds: it forces the host without 32-bit programs itself.
    add_test(NAME host_without_32bit
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/test_host_without_32bit.py -v)
    math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
    set_tests_properties(host_without_32bit PROPERTIES
        LABELS "whole;host" TIMEOUT 400
        ENVIRONMENT "TARNIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TARNIX_BUILD_DIR=${CMAKE_BINARY_DIR};TARNIX_BUILD_BITS=${bits}")
endif()

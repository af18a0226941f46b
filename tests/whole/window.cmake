# Whole-program tests of the calibration window (included from tests/whole/CMakeLists.txt).
if(WIN32 AND TARGET Tarnix)
    set(window_programs Tarnix simcontroller_dll simcontroller_dll_old QuvaDkMon)
    foreach(suffix ENG FRE GER ITA SPA JAP CHI MDN)
        list(APPEND window_programs QuvaStrings_${suffix})
    endforeach()
    tarnix_add_whole_test(window_start SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_start.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 300)
    tarnix_add_whole_test(window_areas SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_areas.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 200)
    tarnix_add_whole_test(hostile_start SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_hostile_start.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 200)
    tarnix_add_whole_test(window_drawing SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_drawing.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 200)
endif()

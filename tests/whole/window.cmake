# Whole-program tests of the calibration window (included from tests/whole/CMakeLists.txt).
if(WIN32 AND TARGET Tarnix)
    set(window_programs Tarnix simcontroller_dll simcontroller_dll_old QuvaDkMon)
    foreach(suffix ENG FRE GER ITA SPA JAP CHI MDN)
        list(APPEND window_programs QuvaStrings_${suffix})
    endforeach()
    # A QuvaStrings_ENG.dll with the English texts and code, planted by the language tests.
    add_library(planted_language_library SHARED ${CMAKE_CURRENT_LIST_DIR}/planted_library.cpp
                ${PROJECT_SOURCE_DIR}/resources/languages/QuvaStrings_ENG.rc)
    target_include_directories(planted_language_library PRIVATE ${PROJECT_SOURCE_DIR})
    set_target_properties(planted_language_library PROPERTIES
        PREFIX "" OUTPUT_NAME QuvaStrings_ENG
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)
    list(APPEND window_programs planted_language_library)
    tarnix_add_whole_test(window_start SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_start.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 300)
    tarnix_add_whole_test(window_areas SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_areas.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 200)
    tarnix_add_whole_test(hostile_start SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_hostile_start.py
                          DEPENDS ${window_programs} LABELS window NO_INSTALL TIMEOUT 200)
    add_executable(dpi_change_tool ${CMAKE_CURRENT_LIST_DIR}/dpi_change_tool_win32.cpp)
    target_link_options(dpi_change_tool PRIVATE -municode)
    tarnix_add_whole_test(window_scale SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_scale.py
                          DEPENDS Tarnix simcontroller_dll QuvaDkMon QuvaStrings_ENG
                                  dpi_change_tool
                          LABELS window NO_INSTALL TIMEOUT 200)
    tarnix_add_whole_test(window_drawing SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_window_drawing.py
                          DEPENDS ${window_programs} other_program_tool LABELS window NO_INSTALL
                          TIMEOUT 200)
endif()

# Whole-program tests of the calibration passes (included from tests/whole/CMakeLists.txt).
if(WIN32 AND TARGET Tarnix)
    # Tarnix.exe with the test-only settings (a short countdown through TARNIX_TEST_COUNTDOWN):
    # its own countdown object takes the place of the library's, nothing else differs.
    add_executable(TarnixTestSettings WIN32 ${PROJECT_SOURCE_DIR}/app/tarnix_main_win32.cpp
                                            ${PROJECT_SOURCE_DIR}/app/pass_countdown.cpp
                                            ${PROJECT_SOURCE_DIR}/resources/tarnix.rc)
    target_compile_definitions(TarnixTestSettings PRIVATE TARNIX_TEST_SETTINGS)
    target_link_libraries(TarnixTestSettings PRIVATE tarnix_app)

    set(pass_programs Tarnix simcontroller_dll QuvaDkMon QuvaStrings_ENG)
    add_executable(other_program_tool ${CMAKE_CURRENT_LIST_DIR}/other_program_tool_win32.cpp)
    target_link_options(other_program_tool PRIVATE -municode)
    tarnix_add_whole_test(pass_full SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_pass_full.py
                          DEPENDS ${pass_programs} tarnix-fit simcontroller-check
                                  other_program_tool
                          LABELS passes NO_INSTALL BOTH_BUILDS TIMEOUT 240)
    tarnix_add_whole_test(pass_checks SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_pass_checks.py
                          DEPENDS ${pass_programs} tarnix-fit simcontroller-check
                          LABELS passes NO_INSTALL TIMEOUT 400)
    tarnix_add_whole_test(check_touches SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_check_touches.py
                          DEPENDS ${pass_programs} LABELS passes NO_INSTALL TIMEOUT 600)
    tarnix_add_whole_test(fit_keys SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_fit_keys.py
                          DEPENDS ${pass_programs} simcontroller-check
                          LABELS passes NO_INSTALL TIMEOUT 300)
    tarnix_add_whole_test(pass_sequence SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_pass_sequence.py
                          DEPENDS ${pass_programs} TarnixTestSettings tarnix-fit
                          LABELS passes NO_INSTALL TIMEOUT 400)
    tarnix_add_whole_test(pass_cursor_run SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_cursor_run.py
                          DEPENDS ${pass_programs} LABELS passes NO_INSTALL TIMEOUT 200)
    tarnix_add_whole_test(pass_handover SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_pass_handover.py
                          DEPENDS ${pass_programs} other_program_tool LABELS passes NO_INSTALL
                          TIMEOUT 240)
    tarnix_add_whole_test(glass_size SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_glass_size.py
                          DEPENDS ${pass_programs} LABELS passes NO_INSTALL TIMEOUT 300)
    tarnix_add_whole_test(pass_storm SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_storm_commands.py
                          DEPENDS ${pass_programs} tarnix-fit LABELS passes NO_INSTALL
                          TIMEOUT 300)
endif()

# The calibration history: kept on Accept, listed, refitted and restored by tarnix-history.
if(WIN32 AND TARGET Tarnix AND TARGET tarnix-history)
    tarnix_add_whole_test(history SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_history.py
                          DEPENDS Tarnix simcontroller_dll QuvaDkMon QuvaStrings_ENG tarnix-fit
                                  tarnix-history
                          LABELS passes NO_INSTALL TIMEOUT 300)
    # A calibration nobody accepted: each way out of the Finished screen, with RevertUnaccepted
    # and without.
    tarnix_add_whole_test(unaccepted SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_unaccepted.py
                          DEPENDS Tarnix TarnixTestSettings simcontroller_dll QuvaDkMon
                                  QuvaStrings_ENG tarnix-history other_program_tool
                          LABELS passes NO_INSTALL TIMEOUT 400)
endif()

# Verifying the calibration the driver holds (Tarnix.exe -V): within, after the sensor moved,
# and with no calibration known, also in French at 150 %.
if(WIN32 AND TARGET Tarnix AND TARGET tarnix-history)
    tarnix_add_whole_test(verify SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_verify.py
                          DEPENDS Tarnix simcontroller_dll QuvaDkMon QuvaStrings_ENG
                                  QuvaStrings_FRE tarnix-history
                          LABELS passes NO_INSTALL TIMEOUT 500)
endif()

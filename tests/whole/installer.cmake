# Whole-program test of the installer package (included from tests/whole/CMakeLists.txt): install,
# the stand-in's feature, reinstall, a run as a standard user, uninstall, and a kiosk seeded from
# its siblings' typical record; each Windows build with its own package.
if(WIN32 AND TARGET installer)
    add_executable(standard_user_tool ${CMAKE_CURRENT_LIST_DIR}/standard_user_tool_win32.cpp)
    target_link_libraries(standard_user_tool PRIVATE advapi32)
    target_link_options(standard_user_tool PRIVATE -municode)
    tarnix_add_whole_test(installer_msi SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_installer.py
                          DEPENDS standard_user_tool tarnix-history tarnix-fleet simcontroller_dll
                          LABELS installer NO_INSTALL BOTH_BUILDS
                          TIMEOUT 420 ENVIRONMENT TARNIX_MSI=${TARNIX_MSI})
endif()

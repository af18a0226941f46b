# The installed layout: `cmake --install <build> --prefix DIR` puts the program, the driver library,
# the language libraries and the default data files into DIR/Program Files/Zeph/Touch (the 32-bit
# build: DIR/Program Files (x86)/Zeph/Touch, the folder a 32-bit program sees), as the program
# expects them. Other folders call tarnix_install(TARGETS ...) for their own targets.

if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TARNIX_PROGRAM_FILES "Program Files (x86)")
else()
    set(TARNIX_PROGRAM_FILES "Program Files")
endif()
set(TARNIX_INSTALL_DIR "${TARNIX_PROGRAM_FILES}/Zeph/Touch" CACHE STRING
    "Installation folder of the program, below the installation prefix")
set(TARNIX_DATA_INSTALL_DIR "ProgramData" CACHE STRING
    "Common application-data folder, below the installation prefix")
# Whole-program tests run against this staged installation (see tarnix_add_whole_test).
set(TARNIX_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)

# `cmake --build <build> --target installables` builds every target the installation holds, and
# nothing else: what `cmake --install` needs (scripts/calibrate builds it).
add_custom_target(installables)

# tarnix_install(TARGETS t... | FILES f... [RENAME name]): into the program folder. Executables and
# DLLs go there; import libraries and archives are not installed.
function(tarnix_install)
    cmake_parse_arguments(I "" "RENAME" "TARGETS;FILES" ${ARGN})
    if(I_TARGETS)
        add_dependencies(installables ${I_TARGETS})
        install(TARGETS ${I_TARGETS}
                RUNTIME DESTINATION ${TARNIX_INSTALL_DIR}
                LIBRARY DESTINATION ${TARNIX_INSTALL_DIR})
    endif()
    if(I_FILES AND I_RENAME)
        install(FILES ${I_FILES} DESTINATION ${TARNIX_INSTALL_DIR} RENAME ${I_RENAME})
    elseif(I_FILES)
        install(FILES ${I_FILES} DESTINATION ${TARNIX_INSTALL_DIR})
    endif()
endfunction()

# The default data files ship beside the program.
tarnix_install(FILES
    ${PROJECT_SOURCE_DIR}/resources/defaults/Tarnix.cfg
    ${PROJECT_SOURCE_DIR}/resources/defaults/QuvaOptions.ini
    ${PROJECT_SOURCE_DIR}/resources/defaults/QuvaVideo.txt)

# `cmake --build <build> --target stage` (and the CTest fixture below) installs into <build>/stage.
add_custom_target(stage
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSTAGE_DIR=${TARNIX_STAGE_DIR}
            -P ${PROJECT_SOURCE_DIR}/cmake/TarnixStage.cmake
    COMMENT "Staging the installation in ${TARNIX_STAGE_DIR}"
    VERBATIM)

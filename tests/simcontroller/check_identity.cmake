# Runs simcontroller-check on a hand-made identity record (against a linear unit-gain sensor) and
# on a record fitted to the default sensor, and checks the printed figures and the SVG.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/SimController.ini
     "[Sensor]\nOffsetX=0\nOffsetY=0\nGainX=1\nGainY=1\nRotationDegrees=0\nBowQuadratic=0\nBowCubic=0\n")

function(run_check record settings svg out_var)
    execute_process(COMMAND ${CHECK} ${record} ${settings} --svg ${svg}
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 30)
    message(STATUS "simcontroller-check ${record}:\n${output}${errors}")
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "simcontroller-check failed with ${status}")
    endif()
    if(NOT EXISTS ${svg})
        message(FATAL_ERROR "no SVG ${svg}")
    endif()
    file(READ ${svg} picture)
    if(NOT picture MATCHES "</svg>")
        message(FATAL_ERROR "the SVG is not complete")
    endif()
    set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

function(rms_of output part out_var)
    if(NOT output MATCHES "${part}: points [0-9]+, RMS ([0-9.]+) px, 95th percentile ([0-9.]+) px, maximum ([0-9.]+) px")
        message(FATAL_ERROR "no figures for ${part}")
    endif()
    set(${out_var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${MAKE_RECORD} identity ${WORK}/identity.bin RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not make the identity record")
endif()
run_check(${WORK}/identity.bin "--settings;${WORK}/SimController.ini" ${WORK}/identity.svg output)
rms_of("${output}" "whole area" rms)
if(rms GREATER 0.36)
    message(FATAL_ERROR "identity record on a unit sensor: RMS ${rms} px, expected below 0.36")
endif()

execute_process(COMMAND ${MAKE_RECORD} fit ${WORK}/fit3.bin 3 RESULT_VARIABLE status)
run_check(${WORK}/fit3.bin "" ${WORK}/fit3.svg output)
rms_of("${output}" "inside hull" rms)
if(rms GREATER 1.0)
    message(FATAL_ERROR "record fitted to the default sensor: RMS ${rms} px inside the hull")
endif()

# A file that is not a record is refused.
file(WRITE ${WORK}/short.bin "abc")
execute_process(COMMAND ${CHECK} ${WORK}/short.bin RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
    message(FATAL_ERROR "a 3-byte file was taken for a record")
endif()

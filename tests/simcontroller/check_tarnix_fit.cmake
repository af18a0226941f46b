# Closes the loop with the real fit: touches of the default sensor on a 5 x 5 grid go into a
# simulated configuration, tarnix-fit fits it and writes the record, and simcontroller-check
# measures the record's real error over the screen.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/reports)
execute_process(COMMAND ${MAKE_RECORD} config ${WORK}/Tarnix.cfg RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not write the simulated configuration")
endif()
execute_process(COMMAND ${FIT} --config ${WORK}/Tarnix.cfg --reports ${WORK}/reports
                        --monitor 1920x1080 --record ${WORK}/record.bin
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
message(STATUS "tarnix-fit:\n${output}${errors}")
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/record.bin)
    message(FATAL_ERROR "tarnix-fit failed with ${status}")
endif()
execute_process(COMMAND ${CHECK} ${WORK}/record.bin --svg ${WORK}/record.svg
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
message(STATUS "simcontroller-check:\n${output}${errors}")
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/record.svg)
    message(FATAL_ERROR "simcontroller-check failed with ${status}")
endif()
if(NOT output MATCHES "inside hull: points [0-9]+, RMS ([0-9.]+) px")
    message(FATAL_ERROR "no figures inside the hull")
endif()
if(CMAKE_MATCH_1 GREATER 1.5)
    message(FATAL_ERROR "the order-3 fit of the default sensor misses by ${CMAKE_MATCH_1} px RMS")
endif()

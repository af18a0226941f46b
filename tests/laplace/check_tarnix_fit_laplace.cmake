# tarnix-fit on the shipped kind-4 example: the summary and every report of the Laplace path.
# -DTARNIX_FIT=<program> [-DRUNNER=<command prefix, |-separated>] [-DPREFIX=<drive the program
# sees the file system under, Z: under Wine>] -DCONFIG=<cfg> -DWORK=<folder> [-DGOLDEN=<folder of
# the reports every build must write byte for byte>]
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
string(REPLACE "|" ";" runner "${RUNNER}")
execute_process(COMMAND ${runner} ${TARNIX_FIT} --config ${PREFIX}${CONFIG}
                        --reports ${PREFIX}${WORK}/reports
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "tarnix-fit failed (${status}):\n${out}\n${err}")
endif()
foreach(expected "Model: kind 4 (symmetric Laplace), order 3, 10 terms" "Points: 25 grid points"
                 " RMS " " Max " "Rotation: " "Offset: ")
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the summary lacks \"${expected}\":\n${out}")
    endif()
endforeach()
set(markers
    "symmetrized.txt=ADC High Reference"
    "SvdFitInputs.txt=Scale Factor      = "
    "LcoeffsP1.txt=Computed Laplace Y coefficients"
    "SvdFitLaplaceOutputs.txt=Chi-Square for X"
    "LSSmin.txt========= ======== ======== ================"
    "LcoeffsP2.txt=New Symmetric Laplace Targets and Touchpoints"
    "Coefficients.txt=Computed X coefficients"
    "SvdFitOutputsFinal.txt=Chi-Square for X")
foreach(entry ${markers})
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 name)
    string(LENGTH "${name}=" skip)
    string(SUBSTRING "${entry}" ${skip} -1 marker)
    if(NOT EXISTS ${WORK}/reports/${name})
        message(FATAL_ERROR "tarnix-fit wrote no ${name}")
    endif()
    file(READ ${WORK}/reports/${name} text)
    string(FIND "${text}" "${marker}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${name} lacks \"${marker}\"")
    endif()
    file(READ ${WORK}/reports/${name} bytes HEX)
    string(REPLACE "0d0a" "" stripped "${bytes}")
    string(FIND "${stripped}" "0a" lonely)
    if(NOT lonely EQUAL -1)
        message(FATAL_ERROR "${name} has a line end that is not CR LF")
    endif()
endforeach()
if(GOLDEN)
    file(GLOB golden_reports RELATIVE ${GOLDEN} ${GOLDEN}/*.txt)
    foreach(name ${golden_reports})
        file(SHA256 ${GOLDEN}/${name} expected)
        file(SHA256 ${WORK}/reports/${name} written)
        if(NOT expected STREQUAL written)
            message(FATAL_ERROR "${name} differs from ${GOLDEN}/${name}")
        endif()
    endforeach()
endif()
message(STATUS "tarnix-fit wrote every report of the Laplace path")

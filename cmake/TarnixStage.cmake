# cmake -DBUILD_DIR=... -DSTAGE_DIR=... -P TarnixStage.cmake: a fresh staged installation (no files
# left over from an earlier build), for the whole-program tests.
file(REMOVE_RECURSE ${STAGE_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE_DIR}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "installing into ${STAGE_DIR} failed")
endif()

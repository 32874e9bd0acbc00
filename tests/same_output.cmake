# Runs two programs and fails unless both succeed with the same output:
#   cmake "-DFIRST=exe;args..." "-DSECOND=exe;args..." "-DCOMPARE=exe" -DOUT=folder
#         -P same_output.cmake
# Each may begin with an emulator (Wine for a cross build). The outputs go to
# files in OUT, never into the log, and COMPARE (talvoro_compare) tells the
# first difference in a few lines; a program that runs past TIMEOUT seconds
# (60 unless given) fails the test.
if(NOT DEFINED TIMEOUT)
  set(TIMEOUT 60)
endif()
foreach(which FIRST SECOND)
  execute_process(COMMAND ${${which}} OUTPUT_FILE "${OUT}/${which}.out" ERROR_VARIABLE err
                  RESULT_VARIABLE status TIMEOUT ${TIMEOUT})
  if(NOT status EQUAL 0)
    string(SUBSTRING "${err}" 0 2000 err)
    message(FATAL_ERROR "${which}: ${status}\n${err}")
  endif()
endforeach()
execute_process(COMMAND ${COMPARE} "${OUT}/FIRST.out" "${OUT}/SECOND.out"
                RESULT_VARIABLE status OUTPUT_VARIABLE told)
file(REMOVE "${OUT}/FIRST.out" "${OUT}/SECOND.out")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the outputs differ: ${told}")
endif()
message(STATUS "${told}")

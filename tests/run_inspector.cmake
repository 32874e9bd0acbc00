# Runs the inspector and checks its exit status and output, for ctest:
#   cmake -DCOMMAND=exe;args... -DEXIT=3 "-DEXPECT=regex;regex..." "-DREJECT=regex;..."
#         "-DENVIRONMENT=NAME=VALUE;..." -P run_inspector.cmake
# The output must match every EXPECT and none of the REJECT. COMMAND may
# begin with an emulator (Wine for a cross build).
foreach(variable IN LISTS ENVIRONMENT)  # NAME=VALUE
  string(REGEX MATCH "^([^=]*)=(.*)$" pair "${variable}")
  set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
endforeach()
execute_process(COMMAND ${COMMAND}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status STREQUAL "${EXIT}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\n${out}${err}")
endif()
foreach(expected IN LISTS EXPECT)
  if(NOT "${out}${err}" MATCHES "${expected}")
    message(FATAL_ERROR "output does not match '${expected}':\n${out}${err}")
  endif()
endforeach()
foreach(rejected IN LISTS REJECT)
  if("${out}${err}" MATCHES "${rejected}")
    message(FATAL_ERROR "output matches '${rejected}':\n${out}${err}")
  endif()
endforeach()

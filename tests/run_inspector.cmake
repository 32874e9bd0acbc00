# Runs the inspector and checks its exit status and output, for ctest:
#   cmake -DCOMMAND=exe;args... -DEXIT=3 "-DEXPECT=regex;regex..." "-DREJECT=regex;..."
#         "-DENVIRONMENT=NAME=VALUE;..." -P run_inspector.cmake
# The output must match every EXPECT and none of the REJECT. COMMAND may
# begin with an emulator (Wine for a cross build).
foreach(variable IN LISTS ENVIRONMENT)  # NAME=VALUE
  string(REGEX MATCH "^([^=]*)=(.*)$" pair "${variable}")
  set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
endforeach()
execute_process(COMMAND ${COMMAND} TIMEOUT 60
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
# What a failure shows of the output: a screenful at most.
string(SUBSTRING "${out}${err}" 0 2000 shown)
string(LENGTH "${out}${err}" length)
if(length GREATER 2000)
  string(APPEND shown "\n... (${length} bytes in all)")
endif()
if(NOT status STREQUAL "${EXIT}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\n${shown}")
endif()
foreach(expected IN LISTS EXPECT)
  if(NOT "${out}${err}" MATCHES "${expected}")
    message(FATAL_ERROR "output does not match '${expected}':\n${shown}")
  endif()
endforeach()
foreach(rejected IN LISTS REJECT)
  if("${out}${err}" MATCHES "${rejected}")
    message(FATAL_ERROR "output matches '${rejected}':\n${shown}")
  endif()
endforeach()

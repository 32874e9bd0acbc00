# Writes each ```c and ```cpp block of README.md as a source file of its own,
# so that the README's code compiles as it is shown:
#   cmake -DREADME=README.md -DOUT=folder -P readme_snippets.cmake
# writes OUT/readme-1.c, OUT/readme-2.cpp, ... and, included with README and
# OUT set, leaves their paths in README_SNIPPETS.
file(STRINGS "${README}" lines)
set(README_SNIPPETS "")
set(language "")
set(count 0)
foreach(line IN LISTS lines)
  if(language STREQUAL "" AND line MATCHES "^```(c|cpp)$")
    set(language "${CMAKE_MATCH_1}")
    set(text "")
  elseif(NOT language STREQUAL "" AND line STREQUAL "```")
    math(EXPR count "${count} + 1")
    set(file "${OUT}/readme-${count}.${language}")
    file(CONFIGURE OUTPUT "${file}" CONTENT "${text}" @ONLY)
    list(APPEND README_SNIPPETS "${file}")
    set(language "")
  elseif(NOT language STREQUAL "")
    string(APPEND text "${line}\n")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no ```c or ```cpp block in ${README}")
endif()

# Checks that the man page documents everything the inspector's help lists:
# every command and every kind of `show` as a section (.SH, .SS) or a .B entry,
# and every long option somewhere in the text. Walks `--help` of the inspector,
# then of each command, then of each command's commands.
#   cmake -DINSPECTOR=path/to/talvoro -DMAN_PAGE=docs/talvoro.1 -P man_page.cmake
# INSPECTOR may begin with an emulator (Wine for a cross build).

file(READ "${MAN_PAGE}" page)
string(REPLACE "\\-" "-" page "\n${page}")  # roff's minus signs as typed

set(missing "")
set(commands 0)

# The first words of the lines of the help's section NAME ("options", "subcommands";
# any case), into OUT.
function(help_section help name out)
  string(REPLACE ";" "," help "${help}")
  string(REPLACE "\r" "" help "${help}")
  string(REPLACE "\n" ";" lines "${help}")
  set(inside FALSE)
  set(words "")
  foreach(line IN LISTS lines)
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "^${name}:")
      set(inside TRUE)
    elseif(inside AND line MATCHES "^  ([^ ]+)")  # a continuation is indented further
      list(APPEND words "${CMAKE_MATCH_1}")
    elseif(NOT line MATCHES "^ ")
      set(inside FALSE)
    endif()
  endforeach()
  set(${out} "${words}" PARENT_SCOPE)
endfunction()

function(check_command)  # ARGN: the command path below the inspector
  set(path talvoro ${ARGN})
  list(JOIN path " " path)
  execute_process(COMMAND ${INSPECTOR} ${ARGN} --help
                  OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${path} --help exited with ${status}")
  endif()
  help_section("${help}" options options)
  foreach(option IN LISTS options)
    string(REGEX MATCHALL "--[A-Za-z0-9-]+" longs "${option}")
    foreach(long IN LISTS longs)
      string(FIND "${page}" "${long}" at)
      if(at EQUAL -1)
        list(APPEND missing "option ${long} of '${path}'")
      endif()
    endforeach()
  endforeach()
  help_section("${help}" subcommands subcommands)
  foreach(name IN LISTS subcommands)
    math(EXPR commands "${commands} + 1")
    string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" pattern "${name}")
    set(command ${ARGN} ${name})
    list(JOIN command " " command)
    if(NOT page MATCHES "\n\\.(SH|SS|B) +\"?(talvoro +)?${pattern}\"?[ \n]")
      list(APPEND missing "'talvoro ${command}' (no .SH, .SS or .B entry)")
    endif()
    check_command(${ARGN} ${name})
  endforeach()
  set(missing "${missing}" PARENT_SCOPE)
  set(commands "${commands}" PARENT_SCOPE)
endfunction()

check_command()
if(commands EQUAL 0)
  message(FATAL_ERROR "found no command in `talvoro --help`: has its layout changed?")
endif()
if(missing)
  list(JOIN missing "\n  " missing)
  message(FATAL_ERROR "${MAN_PAGE} does not document:\n  ${missing}")
endif()
message(STATUS "${MAN_PAGE} documents all ${commands} commands and kinds")

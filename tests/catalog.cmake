# The inspector's catalogs hold every message it speaks, each translation with
# the places {N} of its message: xgettext makes the template of the messages
# of the inspector's sources and of the registry's words (the documents'
# names, the reasons', the findings'), msgcmp holds every catalog to it.
#   cmake "-DSOURCES=a.cpp;..." "-DMESSAGES=word;..." "-DCATALOGS=zh_CN.po;..." -DOUT=folder
#         -P catalog.cmake
set(registry "${OUT}/registry_messages.cpp")
set(text "// The registry's words, for xgettext.\n")
foreach(message IN LISTS MESSAGES)
  string(REPLACE "\"" "\\\"" message "${message}")
  string(APPEND text "N_(\"${message}\");\n")
endforeach()
file(WRITE "${registry}" "${text}")
execute_process(COMMAND xgettext --from-code=UTF-8 --language=C++ --keyword=_ --keyword=N_
                        --omit-header -o "${OUT}/talvoro.pot" ${SOURCES} "${registry}"
                RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xgettext: ${error}")
endif()
foreach(catalog IN LISTS CATALOGS)
  execute_process(COMMAND msgcmp "${catalog}" "${OUT}/talvoro.pot"
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${catalog} lacks messages:\n${error}")
  endif()
  # Each translation keeps the places of its message.
  file(STRINGS "${catalog}" lines ENCODING UTF-8)
  set(id "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^msgid \"(.*)\"$")
      set(id "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^msgstr \"(.*)\"$")
      set(translation "${CMAKE_MATCH_1}")
      string(REGEX MATCHALL "{[0-9]}" wanted "${id}")
      string(REGEX MATCHALL "{[0-9]}" given "${translation}")
      list(SORT wanted)
      list(SORT given)
      if(NOT wanted STREQUAL given)
        message(FATAL_ERROR "${catalog}: \"${translation}\" does not keep the places of \"${id}\"")
      endif()
    endif()
  endforeach()
endforeach()
message(STATUS "every message has its translation in ${CATALOGS}")

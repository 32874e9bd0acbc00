# The document kinds, as the build's lists need them, read from the one table
# of documents (src/frame/document_table.cpp), whose rows each stand on one
# line: {{Kind::kX, "word", "name", "Reader", "Writer ...", "example.xml"}, ...}.
#   TALVORO_DOCUMENT_WORDS      the kinds' words, in order ("services" ...)
#   TALVORO_DOCUMENT_READERS    their readers ("GetServiceData" ...)
#   TALVORO_DOCUMENT_WRITERS    the other document functions ("SetSoftVersion" ...)
#   TALVORO_DOCUMENT_EXAMPLE_<word>  the example's file name under examples/
#   TALVORO_FUZZ_TARGETS        the fuzz targets: "nesting" (the nesting guard
#                               against TinyXML), "Diagnose" (the diagnosis
#                               beside each reader) and one per document function
# Run as a script (cmake -P cmake/documents.cmake), it prints the fuzz targets.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
  get_filename_component(PROJECT_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
set(table "${PROJECT_SOURCE_DIR}/src/frame/document_table.cpp")
if(NOT CMAKE_SCRIPT_MODE_FILE)
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${table}")
endif()
file(STRINGS "${table}" rows REGEX "^ *\\{\\{Kind::k")
set(TALVORO_DOCUMENT_WORDS)
set(TALVORO_DOCUMENT_READERS)
set(TALVORO_DOCUMENT_WRITERS)
foreach(row IN LISTS rows)
  string(REGEX MATCHALL "\"[^\"]*\"" fields "${row}")
  string(REPLACE "\"" "" fields "${fields}")
  list(LENGTH fields count)
  if(NOT count EQUAL 5)
    message(FATAL_ERROR "cannot read this row of ${table}: ${row}")
  endif()
  list(GET fields 0 word)
  list(GET fields 2 reader)
  list(GET fields 3 writers)
  list(GET fields 4 example)
  list(APPEND TALVORO_DOCUMENT_WORDS "${word}")
  list(APPEND TALVORO_DOCUMENT_READERS "${reader}")
  if(writers)
    string(REPLACE " " ";" writers "${writers}")
    list(APPEND TALVORO_DOCUMENT_WRITERS ${writers})
  endif()
  set(TALVORO_DOCUMENT_EXAMPLE_${word} "${example}")
endforeach()
set(TALVORO_FUZZ_TARGETS nesting Diagnose ${TALVORO_DOCUMENT_READERS} ${TALVORO_DOCUMENT_WRITERS})

if(CMAKE_SCRIPT_MODE_FILE)
  foreach(target IN LISTS TALVORO_FUZZ_TARGETS)
    message(NOTICE "${target}")
  endforeach()
endif()

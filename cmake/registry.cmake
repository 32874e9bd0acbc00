# The registry (src/registry.txt) as the build needs it.
#
# Included by the project, it reads the registry, refuses a row it cannot read, checks that
# include/talvoro/lists.h is what the registry makes (and stops the build when it is not), and
# sets:
#   TALVORO_DOCUMENT_WORDS          the kinds' words, in the order of their values
#   TALVORO_DOCUMENT_READERS        the CTinyXmlHelper members that read them
#   TALVORO_DOCUMENT_WRITERS        the members that write them
#   TALVORO_DOCUMENT_EXAMPLE_<word> the example's file name under examples/
#   TALVORO_C_DOCUMENT_FUNCTIONS    the C interface's readers and writers
#   TALVORO_REGISTRY_MESSAGES       the documents' names and the words of the reasons and
#                                   findings, which the inspector's catalogs translate
#   TALVORO_FUZZ_TARGETS            "nesting" (the guard against TinyXML), "Diagnose" (the
#                                   diagnosis beside each reader), "CInterface" (the C readers
#                                   beside the class) and one per document function
#
# Run as a script, it writes include/talvoro/lists.h anew:
#   cmake -P cmake/registry.cmake              writes the header
#   cmake -DPRINT=FUZZ_TARGETS -P cmake/registry.cmake   prints a list, one item a line
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
  get_filename_component(PROJECT_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
set(registry "${PROJECT_SOURCE_DIR}/src/registry.txt")
set(lists_header "${PROJECT_SOURCE_DIR}/include/talvoro/lists.h")

# The fields of every row of `table`, as variables <prefix>_<value>_<column>, and the
# number of rows, <prefix>_COUNT. Values must run from 0 without a gap; a table without
# values ("writers") keeps its rows in the order they stand.
function(talvoro_registry_table table prefix columns)
  list(LENGTH columns width)
  set(count 0)
  set(in_table FALSE)
  foreach(line IN LISTS registry_lines)
    string(STRIP "${line}" line)
    if(line MATCHES "^@LB@([a-z]+)@RB@$")
      if(CMAKE_MATCH_1 STREQUAL table)
        set(in_table TRUE)
      else()
        set(in_table FALSE)
      endif()
      continue()
    endif()
    if(NOT in_table OR line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REPLACE "|" ";" fields "${line}")
    list(LENGTH fields found)
    if(NOT found EQUAL width)
      message(FATAL_ERROR "${registry}: [${table}] needs ${width} fields (${columns}), "
                          "this row has ${found}: ${line}")
    endif()
    list(GET columns 0 first)
    set(index 0)
    foreach(field IN LISTS fields)
      string(STRIP "${field}" field)
      list(GET columns ${index} column)
      set(row_${column} "${field}")
      math(EXPR index "${index} + 1")
    endforeach()
    if(first STREQUAL "value")
      set(value "${row_value}")
      if(NOT value MATCHES "^[0-9]+$")
        message(FATAL_ERROR "${registry}: [${table}] value '${value}' is not a number: ${line}")
      endif()
      if(DEFINED seen_${value})
        message(FATAL_ERROR "${registry}: [${table}] value ${value} is given twice")
      endif()
      set(seen_${value} TRUE)
    else()
      set(value ${count})
    endif()
    foreach(column IN LISTS columns)
      set(${prefix}_${value}_${column} "${row_${column}}" PARENT_SCOPE)
    endforeach()
    math(EXPR count "${count} + 1")
  endforeach()
  if(first STREQUAL "value")
    math(EXPR last "${count} - 1")
    foreach(value RANGE ${last})
      if(NOT DEFINED seen_${value})
        message(FATAL_ERROR "${registry}: [${table}] has no row of value ${value}")
      endif()
    endforeach()
  endif()
  set(${prefix}_COUNT ${count} PARENT_SCOPE)
endfunction()

# The registry's lines, with what CMake's lists would take apart kept whole.
file(READ "${registry}" registry_text)
string(REPLACE ";" "@SEMI@" registry_text "${registry_text}")
string(REPLACE "[" "@LB@" registry_text "${registry_text}")
string(REPLACE "]" "@RB@" registry_text "${registry_text}")
string(REPLACE "\\" "@BS@" registry_text "${registry_text}")
string(REPLACE "\n" ";" registry_lines "${registry_text}")

talvoro_registry_table(documents DOC "value;kind;cname;word;name;member;creader;example")
talvoro_registry_table(writers WRITER "member;document;cfunction;function")
talvoro_registry_table(arrays ARRAY "value;cname;shape;record;document;member;label")
talvoro_registry_table(reasons REASON "value;name;cname;family;words;note")
talvoro_registry_table(findings FINDING "value;name;cname;words;note")

# A text of the registry as it stands in C: what CMake's lists would take apart put back,
# quotes and backslashes escaped where it becomes a string.
function(talvoro_registry_c out text)
  string(REPLACE "@SEMI@" ";" text "${text}")
  string(REPLACE "@LB@" "[" text "${text}")
  string(REPLACE "@RB@" "]" text "${text}")
  string(REPLACE "@BS@" "\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
function(talvoro_registry_string out text)
  talvoro_registry_c(text "${text}")
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# The build's lists.
set(TALVORO_DOCUMENT_WORDS)
set(TALVORO_DOCUMENT_READERS)
set(TALVORO_DOCUMENT_WRITERS)
set(TALVORO_C_DOCUMENT_FUNCTIONS)
math(EXPR last_document "${DOC_COUNT} - 1")
math(EXPR last_writer "${WRITER_COUNT} - 1")
foreach(d RANGE ${last_document})
  list(APPEND TALVORO_DOCUMENT_WORDS "${DOC_${d}_word}")
  list(APPEND TALVORO_DOCUMENT_READERS "${DOC_${d}_member}")
  list(APPEND TALVORO_C_DOCUMENT_FUNCTIONS "${DOC_${d}_creader}")
  set(TALVORO_DOCUMENT_EXAMPLE_${DOC_${d}_word} "${DOC_${d}_example}")
  set(DOC_${d}_writers "")
  foreach(w RANGE ${last_writer})
    if(WRITER_${w}_document STREQUAL DOC_${d}_cname)
      list(APPEND TALVORO_DOCUMENT_WRITERS "${WRITER_${w}_member}")
      list(APPEND DOC_${d}_writers "${WRITER_${w}_member}")
    endif()
  endforeach()
  set(document_${DOC_${d}_cname} TRUE)
endforeach()
foreach(w RANGE ${last_writer})
  list(APPEND TALVORO_C_DOCUMENT_FUNCTIONS "${WRITER_${w}_cfunction}")
  if(NOT document_${WRITER_${w}_document})
    message(FATAL_ERROR "${registry}: the writer ${WRITER_${w}_member} names no document "
                        "'${WRITER_${w}_document}'")
  endif()
endforeach()
set(TALVORO_REGISTRY_MESSAGES)
foreach(d RANGE ${last_document})
  list(APPEND TALVORO_REGISTRY_MESSAGES "${DOC_${d}_name}")
endforeach()
math(EXPR last_reason "${REASON_COUNT} - 1")
foreach(r RANGE ${last_reason})
  list(APPEND TALVORO_REGISTRY_MESSAGES "${REASON_${r}_words}")
endforeach()
math(EXPR last_finding "${FINDING_COUNT} - 1")
foreach(f RANGE ${last_finding})
  list(APPEND TALVORO_REGISTRY_MESSAGES "${FINDING_${f}_words}")
endforeach()
set(TALVORO_FUZZ_TARGETS nesting Diagnose CInterface ${TALVORO_DOCUMENT_READERS}
                         ${TALVORO_DOCUMENT_WRITERS})

# include/talvoro/lists.h, as the registry makes it.
set(h "/* The lists that the library's C++ and C interfaces make their enumerations,
   tables and texts of: the documents, the arrays their readers fill, the reasons
   of a call and the findings of the diagnosis, each value with its C++ name,
   its C name and its words. The values are part of the ABI: new ones go at the
   end. C99 as well as C++.

   Made from src/registry.txt by cmake/registry.cmake: change the registry, then
   run `cmake -P cmake/registry.cmake`; the build refuses a copy out of step. */
#ifndef TALVORO_LISTS_H_
#define TALVORO_LISTS_H_
/* clang-format off */

/* The documents, by their kinds: X(kind, C name). */
#define TALVORO_DOCUMENT_KINDS(X) \\\n")
foreach(d RANGE ${last_document})
  string(APPEND h "  X(${DOC_${d}_kind}, ${DOC_${d}_cname}) \\\n")
endforeach()
string(APPEND h "
/* Each document: X(kind, C name, word, name, the member of CTinyXmlHelper
   that reads it, its C reader, the members that write it (by a blank), its
   example under examples/). */
#define TALVORO_DOCUMENTS(X) \\\n")
foreach(d RANGE ${last_document})
  talvoro_registry_string(word "${DOC_${d}_word}")
  talvoro_registry_string(name "${DOC_${d}_name}")
  list(JOIN DOC_${d}_writers " " writers)
  talvoro_registry_string(writers "${writers}")
  talvoro_registry_string(example "${DOC_${d}_example}")
  string(APPEND h "  X(${DOC_${d}_kind}, ${DOC_${d}_cname}, ${word}, ${name}, ${DOC_${d}_member}, "
                  "${DOC_${d}_creader}, ${writers}, ${example}) \\\n")
endforeach()
string(APPEND h "
/* The arrays that readers fill: X(C name, shape, element record, the
   document's C name, label). The shape is the exported class's: ARRAY (a
   CArrayTemplate, grown once before its records come), LIST (a CList),
   RECORD (one record, replaced whole) or TEXT (a CString; its record is char). */
#define TALVORO_ARRAYS(X) \\\n")
math(EXPR last_array "${ARRAY_COUNT} - 1")
set(members "")
foreach(a RANGE ${last_array})
  string(TOUPPER "${ARRAY_${a}_shape}" shape)
  if(NOT shape MATCHES "^(ARRAY|LIST|RECORD|TEXT)$")
    message(FATAL_ERROR "${registry}: the array ${ARRAY_${a}_cname} has no shape "
                        "'${ARRAY_${a}_shape}'")
  endif()
  if(NOT document_${ARRAY_${a}_document})
    message(FATAL_ERROR "${registry}: the array ${ARRAY_${a}_cname} names no document "
                        "'${ARRAY_${a}_document}'")
  endif()
  talvoro_registry_string(label "${ARRAY_${a}_label}")
  string(APPEND h "  X(${ARRAY_${a}_cname}, ${shape}, ${ARRAY_${a}_record}, "
                  "${ARRAY_${a}_document}, ${label}) \\\n")
  if(ARRAY_${a}_member MATCHES "^([A-Za-z_][A-Za-z0-9_]*)::([A-Za-z_][A-Za-z0-9_]*)$")
    string(APPEND members "  X(${ARRAY_${a}_cname}, ${ARRAY_${a}_record}, ${CMAKE_MATCH_1}, "
                          "${CMAKE_MATCH_2}) \\\n")
  elseif(NOT ARRAY_${a}_member STREQUAL "")
    message(FATAL_ERROR "${registry}: the array ${ARRAY_${a}_cname}'s member "
                        "'${ARRAY_${a}_member}' is not RECORD::member")
  endif()
endforeach()
string(APPEND h "
/* The arrays that a record of several holds: X(C name, element record, that
   record, its member). */
#define TALVORO_RECORD_MEMBERS(X) \\\n${members}")
string(APPEND h "
/* Why a call failed; kOk when it did not: X(C++ name, C name, words). */
#define TALVORO_REASONS(X) \\\n")
foreach(r RANGE ${last_reason})
  talvoro_registry_string(words "${REASON_${r}_words}")
  set(note "")
  if(NOT REASON_${r}_note STREQUAL "")
    talvoro_registry_c(note " /* ${REASON_${r}_note} */")
  endif()
  string(APPEND h "  X(${REASON_${r}_name}, ${REASON_${r}_cname}, ${words})${note} \\\n")
endforeach()
string(APPEND h "
/* What each reason is about: X(C++ name, C name, C++ family, C family); the
   families are none (kOk), argument (what the caller passed), reading (the
   document), saving and host (the host's own callback). */
#define TALVORO_REASON_FAMILIES(X) \\\n")
foreach(r RANGE ${last_reason})
  set(family "${REASON_${r}_family}")
  if(NOT family MATCHES "^(none|argument|reading|saving|host)$")
    message(FATAL_ERROR "registry: reason ${REASON_${r}_name} has the family '${family}', "
                        "not none, argument, reading, saving or host")
  endif()
  string(SUBSTRING "${family}" 0 1 first)
  string(SUBSTRING "${family}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  string(TOUPPER "${family}" upper)
  string(APPEND h "  X(${REASON_${r}_name}, ${REASON_${r}_cname}, k${first}${rest}, ${upper}) \\\n")
endforeach()
string(APPEND h "
/* What a reader changes silently: X(C++ name, C name, words). */
#define TALVORO_FINDINGS(X) \\\n")
foreach(f RANGE ${last_finding})
  talvoro_registry_string(words "${FINDING_${f}_words}")
  set(note "")
  if(NOT FINDING_${f}_note STREQUAL "")
    talvoro_registry_c(note " /* ${FINDING_${f}_note} */")
  endif()
  string(APPEND h "  X(${FINDING_${f}_name}, ${FINDING_${f}_cname}, ${words})${note} \\\n")
endforeach()
string(APPEND h "
/* clang-format on */
#endif /* TALVORO_LISTS_H_ */
")
# Every macro's last row ends its continuation on the blank line after it.

if(CMAKE_SCRIPT_MODE_FILE)
  if(DEFINED PRINT)
    foreach(item IN LISTS TALVORO_${PRINT})
      message(NOTICE "${item}")
    endforeach()
  else()
    file(WRITE "${lists_header}" "${h}")
    message(NOTICE "wrote ${lists_header}")
  endif()
else()
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               "${registry}" "${lists_header}")
  file(READ "${lists_header}" checked_in)
  if(NOT checked_in STREQUAL h)
    message(FATAL_ERROR "include/talvoro/lists.h is out of step with src/registry.txt: "
                        "run `cmake -P cmake/registry.cmake` and commit both")
  endif()
endif()

# The Debian packages, built by CPack from the install components (bash scripts/package):
#   libtalvoro1     the shared library                                   ("runtime")
#   libtalvoro-dev  headers, the .so link, the CMake package, talvoro.pc  ("dev")
#   talvoro         the inspector and its man page                       ("inspector")
# Each one gets /usr/share/doc/PACKAGE/ with the copyright file, the Debian
# changelog and the upstream one. Only with TALVORO_DEBIAN_PACKAGES=ON.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  message(FATAL_ERROR "TALVORO_DEBIAN_PACKAGES builds Debian packages: Linux only")
endif()
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR NOT TALVORO_BUILD_TOOLS)
  message(FATAL_ERROR "The Debian packages need CMAKE_INSTALL_PREFIX=/usr and TALVORO_BUILD_TOOLS=ON")
endif()
find_program(TALVORO_GZIP gzip REQUIRED)

set(TALVORO_DEBIAN_RELEASE 1 CACHE STRING "The Debian revision of the packages (the N of VERSION-N)")
set(TALVORO_DEBIAN_MAINTAINER
  "Talvoro maintainers <maintainers@users.noreply.c-seed-dcf26fcc.example>"
  CACHE STRING "The Maintainer field of the Debian packages")
set(debian_version "${PROJECT_VERSION}-${TALVORO_DEBIAN_RELEASE}")
set(debian_source "${PROJECT_SOURCE_DIR}/packaging/debian")

# A version without its entry in the Debian changelog is a packaging mistake.
file(STRINGS "${debian_source}/changelog" newest LIMIT_COUNT 1)
string(REPLACE "." "\\." version_pattern "${debian_version}")
if(NOT newest MATCHES "^talvoro \\(${version_pattern}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog has no entry for ${debian_version} on top")
endif()

# Compressed as Debian wants: gzip -9 without name and time stamp.
set(debian_build "${PROJECT_BINARY_DIR}/debian")
file(MAKE_DIRECTORY "${debian_build}")
set(compressed "")
foreach(pair IN ITEMS "docs/talvoro.1=talvoro.1.gz" "packaging/debian/changelog=changelog.Debian.gz"
                      "CHANGELOG.md=changelog.gz")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 output)
  add_custom_command(OUTPUT "${debian_build}/${output}"
    COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" "${TALVORO_GZIP}"
            "${PROJECT_SOURCE_DIR}/${source}" "${debian_build}/${output}"
    DEPENDS "${PROJECT_SOURCE_DIR}/${source}" VERBATIM)
  list(APPEND compressed "${debian_build}/${output}")
endforeach()
add_custom_target(talvoro_debian_files ALL DEPENDS ${compressed})

install(FILES "${debian_build}/talvoro.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
  COMPONENT inspector)
set(components runtime dev inspector)
set(packages libtalvoro1 libtalvoro-dev talvoro)
foreach(component package IN ZIP_LISTS components packages)
  install(FILES "${debian_source}/copyright" "${debian_build}/changelog.Debian.gz"
                "${debian_build}/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}" COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvoro)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${TALVORO_DEBIAN_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev inspector)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${TALVORO_DEBIAN_RELEASE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALVORO_DEBIAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SOURCE talvoro)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Dependencies from the binaries (dpkg-shlibdeps). It finds libtalvoro.so.1,
# which no installed package holds yet, in the build tree; the inspector's
# dependency on it is the explicit one below, on exactly this version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
get_target_property(library_dir talvoro BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${library_dir}")
# Hosts packaged against this version need it or a later 1.x.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# Each package's description begins with its own summary line; with a
# project-wide summary CPack would put that line before it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")

# A summary line, then paragraphs; CPack indents them as Debian wants.
set(about "\
Talvoro reads the XML configuration documents of a desktop trading client
(service, part, server and zone lists, weather, version stamps, software
components, update and shortcut lists) into fixed-width records that the
host copies byte for byte, and writes such documents back safely.")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libtalvoro1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# The loader's cache is refreshed by dpkg's ldconfig trigger. (CPack also
# writes a postinst and postrm that call ldconfig, which lintian warns about.)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA "${debian_source}/triggers")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "library for the trading client's XML configuration documents
${about}

This package holds the shared library.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libtalvoro-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libtalvoro1 (= ${debian_version})")
set(CPACK_DEBIAN_DEV_DESCRIPTION "development files for the Talvoro configuration library
${about}

This package holds the headers, the link to the shared library, the CMake
package (find_package(Talvoro)) and the pkg-config file (talvoro.pc).")

set(CPACK_DEBIAN_INSPECTOR_PACKAGE_NAME talvoro)
set(CPACK_DEBIAN_INSPECTOR_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_INSPECTOR_PACKAGE_DEPENDS "libtalvoro1 (= ${debian_version})")
set(CPACK_DEBIAN_INSPECTOR_DESCRIPTION "inspect and edit the trading client's XML configuration documents
${about}

This package holds the talvoro command, which shows what the library reads
from a document, as tables or JSON, and drives its writers.")

include(CPack)

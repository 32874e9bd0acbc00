# Installs the library, its headers, a CMake package (find_package(Talvoro)),
# a pkg-config file (talvoro.pc), and the inspector's man page, in three
# components: "runtime" (the shared library), "dev" (what a host builds with)
# and "inspector" (the talvoro command, installed by tools/, and its page).
include(CMakePackageConfigHelpers)

set(TALVORO_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Talvoro")

install(TARGETS talvoro EXPORT TalvoroTargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT dev
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime)
install(DIRECTORY include/talvoro DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT dev
  FILES_MATCHING PATTERN "*.h")
install(FILES "${PROJECT_BINARY_DIR}/include/talvoro/version.h"
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/talvoro" COMPONENT dev)

install(EXPORT TalvoroTargets NAMESPACE Talvoro:: DESTINATION "${TALVORO_CMAKE_DIR}"
  COMPONENT dev)
configure_package_config_file(cmake/TalvoroConfig.cmake.in
  "${PROJECT_BINARY_DIR}/TalvoroConfig.cmake"
  INSTALL_DESTINATION "${TALVORO_CMAKE_DIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/TalvoroConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/TalvoroConfig.cmake"
  "${PROJECT_BINARY_DIR}/TalvoroConfigVersion.cmake"
  DESTINATION "${TALVORO_CMAKE_DIR}" COMPONENT dev)

# pkg-config wants absolute directories; GNUInstallDirs may give either kind.
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(TALVORO_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(TALVORO_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(cmake/talvoro.pc.in "${PROJECT_BINARY_DIR}/talvoro.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/talvoro.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
  COMPONENT dev)

# The man page as it is; the Debian packages install it compressed instead
# (cmake/debian.cmake).
if(TALVORO_BUILD_TOOLS AND NOT TALVORO_DEBIAN_PACKAGES)
  install(FILES docs/talvoro.1 DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT inspector)
endif()

# Install rules shared by every library and program the project installs.
#
# Installed programs and libraries find the project's libraries through a
# RUNPATH relative to their own folder ($ORIGIN), so a tree installed under
# any prefix runs without LD_LIBRARY_PATH.  Under /usr (the Debian package)
# the libraries are in the linker's default path and the RUNPATH is removed.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZELVO_INSTALL_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/templates)
file(RELATIVE_PATH ZELVO_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})

# Removes the RUNPATH of an installed file when the install prefix is /usr.
# CPack installs its package tree under a staging folder, so its run is told
# apart by the packaging prefix it sets.
function(zelvo_drop_runpath_under_usr target destination)
  install(CODE "
    set(zelvo_prefix \"\${CMAKE_INSTALL_PREFIX}\")
    if(DEFINED CPACK_PACKAGING_INSTALL_PREFIX)
      set(zelvo_prefix \"\${CPACK_PACKAGING_INSTALL_PREFIX}\")
    endif()
    if(zelvo_prefix STREQUAL \"/usr\")
      file(RPATH_REMOVE FILE
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\")
    endif()")
endfunction()

# zelvo_install_program(TARGET)
# Installs a program into bin/ with a RUNPATH that finds the project's libraries.
function(zelvo_install_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${ZELVO_BIN_TO_LIB}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  zelvo_drop_runpath_under_usr(${target} ${CMAKE_INSTALL_BINDIR})
endfunction()

# zelvo_install_library(TARGET NAMESPACE ns DESCRIPTION text
#                       HEADER_DIR dir HEADERS files...)
# Installs a shared library for other programs: the library with its versioned
# SONAME (the target's VERSION and SOVERSION), its headers under
# include/HEADER_DIR, a pkg-config file TARGET.pc and a CMake package
# (find_package(TARGET) gives the imported target NS::TARGET).
function(zelvo_install_library target)
  cmake_parse_arguments(ARG "" "NAMESPACE;DESCRIPTION;HEADER_DIR" "HEADERS" ${ARGN})
  if(NOT ARG_NAMESPACE OR NOT ARG_DESCRIPTION OR NOT ARG_HEADER_DIR OR NOT ARG_HEADERS)
    message(FATAL_ERROR "zelvo_install_library(${target}): NAMESPACE, DESCRIPTION, HEADER_DIR "
                        "and HEADERS are all needed")
  endif()
  get_target_property(version ${target} VERSION)
  get_target_property(soversion ${target} SOVERSION)
  if(NOT version OR NOT soversion)
    message(FATAL_ERROR "zelvo_install_library(${target}): set VERSION and SOVERSION first")
  endif()

  set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${target})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/install-${target})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  # Libraries installed together find each other beside themselves.
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT ${target}Targets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  zelvo_drop_runpath_under_usr(${target} ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${ARG_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${ARG_HEADER_DIR})
  install(EXPORT ${target}Targets NAMESPACE ${ARG_NAMESPACE}:: DESTINATION ${package_dir})

  # The names the templates use.
  set(ZELVO_PACKAGE ${target})
  set(ZELVO_NAMESPACE ${ARG_NAMESPACE})
  set(ZELVO_DESCRIPTION ${ARG_DESCRIPTION})
  set(ZELVO_PACKAGE_VERSION ${version})
  get_target_property(ZELVO_LIBRARY_NAME ${target} OUTPUT_NAME)
  if(NOT ZELVO_LIBRARY_NAME)
    set(ZELVO_LIBRARY_NAME ${target})
  endif()
  configure_package_config_file(${ZELVO_INSTALL_TEMPLATES}/PackageConfig.cmake.in
    ${out}/${target}Config.cmake INSTALL_DESTINATION ${package_dir})
  write_basic_package_version_file(${out}/${target}ConfigVersion.cmake
    VERSION ${version} COMPATIBILITY SameMajorVersion)
  install(FILES ${out}/${target}Config.cmake ${out}/${target}ConfigVersion.cmake
    DESTINATION ${package_dir})
  configure_file(${ZELVO_INSTALL_TEMPLATES}/Package.pc.in ${out}/${target}.pc @ONLY)
  install(FILES ${out}/${target}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

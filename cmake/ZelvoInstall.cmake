# Install rules shared by every library and program the project installs.
#
# Installed programs and libraries find the project's libraries through a
# RUNPATH relative to their own folder ($ORIGIN), so a tree installed under
# any prefix runs without LD_LIBRARY_PATH.  Under /usr (the Debian packages)
# the libraries are in the linker's default path and the RUNPATH is removed.
#
# Every install rule names its install component, which is the Debian package
# it goes into: one runtime package per library (named after its SONAME),
# libzelvo-dev, oscilane and python3-zelvo.
include_guard(GLOBAL)
# Debian keeps libraries in the multiarch folder under any prefix (its loader
# searches /usr/local/lib/<triplet> too), so a cross-compiler finds the
# libraries and pkg-config files of the right architecture.
if(NOT DEFINED CMAKE_INSTALL_LIBDIR AND CMAKE_LIBRARY_ARCHITECTURE AND EXISTS /etc/debian_version)
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries")
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZELVO_APP_COMPONENT oscilane)
set(ZELVO_DEV_COMPONENT libzelvo-dev)
set(ZELVO_PYTHON_COMPONENT python3-zelvo)
# Shared libraries are not programs: they install without execute bits.
set(ZELVO_LIBRARY_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

set(ZELVO_INSTALL_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/templates)
file(RELATIVE_PATH ZELVO_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})

# Removes the RUNPATH of an installed file when the install prefix is /usr.
# CPack installs its package tree under a staging folder, so its run is told
# apart by the packaging prefix it sets.
function(zelvo_drop_runpath_under_usr target destination component)
  install(CODE "
    set(zelvo_prefix \"\${CMAKE_INSTALL_PREFIX}\")
    if(DEFINED CPACK_PACKAGING_INSTALL_PREFIX)
      set(zelvo_prefix \"\${CPACK_PACKAGING_INSTALL_PREFIX}\")
    endif()
    if(zelvo_prefix STREQUAL \"/usr\")
      file(RPATH_REMOVE FILE
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\")
    endif()" COMPONENT ${component})
endfunction()

# zelvo_install_program(TARGET)
# Installs a program into bin/ with a RUNPATH that finds the project's libraries.
function(zelvo_install_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${ZELVO_BIN_TO_LIB}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ZELVO_APP_COMPONENT})
  zelvo_drop_runpath_under_usr(${target} ${CMAKE_INSTALL_BINDIR} ${ZELVO_APP_COMPONENT})
endfunction()

# zelvo_install_library(TARGET NAMESPACE ns DESCRIPTION text
#                       HEADER_DIR dir HEADERS files...)
# Installs a shared library for other programs: the library with its versioned
# SONAME (the target's VERSION and SOVERSION), its headers under
# include/HEADER_DIR, a pkg-config file TARGET.pc and a CMake package
# (find_package(TARGET) gives the imported target NS::TARGET).  The library
# goes into its runtime component, named after the SONAME as Debian names
# library packages (libZelvoDLL.so.1: libzelvodll1), with the Debian symbols
# file made from its export list; the rest goes into the development component.
# The global property ZELVO_LIBRARY_COMPONENTS lists the runtime components;
# ZELVO_<component>_TARGET, _SONAME, _SUMMARY (DESCRIPTION) and _CONTROL
# (its Debian symbols and shlibs files) describe each.
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

  get_target_property(ZELVO_LIBRARY_NAME ${target} OUTPUT_NAME)
  if(NOT ZELVO_LIBRARY_NAME)
    set(ZELVO_LIBRARY_NAME ${target})
  endif()
  set(soname lib${ZELVO_LIBRARY_NAME}.so.${soversion})
  string(TOLOWER lib${ZELVO_LIBRARY_NAME}${soversion} runtime)

  set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${target})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/install-${target})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  # Libraries installed together find each other beside themselves.
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT ${target}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} PERMISSIONS ${ZELVO_LIBRARY_PERMISSIONS}
    COMPONENT ${runtime} NAMELINK_COMPONENT ${ZELVO_DEV_COMPONENT})
  zelvo_drop_runpath_under_usr(${target} ${CMAKE_INSTALL_LIBDIR} ${runtime})
  install(FILES ${ARG_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${ARG_HEADER_DIR}
    COMPONENT ${ZELVO_DEV_COMPONENT})
  install(EXPORT ${target}Targets NAMESPACE ${ARG_NAMESPACE}:: DESTINATION ${package_dir}
    COMPONENT ${ZELVO_DEV_COMPONENT})

  # The Debian symbols file: every exported name, first in this version.
  # Unversioned exports (the export list's version script names no version
  # node) are "@Base".
  get_target_property(exports ${target} ZELVO_EXPORT_NAMES)
  if(NOT exports)
    message(FATAL_ERROR "zelvo_install_library(${target}): call zelvo_export_list first")
  endif()
  set(symbols "${soname} ${runtime} #MINVER#\n* Build-Depends-Package: ${ZELVO_DEV_COMPONENT}\n")
  foreach(name IN LISTS exports)
    string(APPEND symbols " ${name}@Base ${PROJECT_VERSION}\n")
  endforeach()
  file(WRITE ${out}/debian/symbols "${symbols}")
  # shlibs, for the tools that do not read symbols files: this release or a later one.
  file(WRITE ${out}/debian/shlibs "lib${ZELVO_LIBRARY_NAME} ${soversion} ${runtime} (>= ${PROJECT_VERSION})\n")
  set_property(GLOBAL APPEND PROPERTY ZELVO_LIBRARY_COMPONENTS ${runtime})
  set_target_properties(${target} PROPERTIES ZELVO_RUNTIME_COMPONENT ${runtime})
  set_property(GLOBAL PROPERTY ZELVO_${runtime}_TARGET ${target})
  set_property(GLOBAL PROPERTY ZELVO_${runtime}_SONAME ${soname})
  set_property(GLOBAL PROPERTY ZELVO_${runtime}_SUMMARY ${ARG_DESCRIPTION})
  set_property(GLOBAL PROPERTY ZELVO_${runtime}_CONTROL ${out}/debian/symbols ${out}/debian/shlibs)

  # The names the templates use.
  set(ZELVO_PACKAGE ${target})
  set(ZELVO_NAMESPACE ${ARG_NAMESPACE})
  set(ZELVO_DESCRIPTION ${ARG_DESCRIPTION})
  set(ZELVO_PACKAGE_VERSION ${version})
  file(RELATIVE_PATH ZELVO_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  configure_package_config_file(${ZELVO_INSTALL_TEMPLATES}/PackageConfig.cmake.in
    ${out}/${target}Config.cmake INSTALL_DESTINATION ${package_dir})
  write_basic_package_version_file(${out}/${target}ConfigVersion.cmake
    VERSION ${version} COMPATIBILITY SameMajorVersion)
  install(FILES ${out}/${target}Config.cmake ${out}/${target}ConfigVersion.cmake
    DESTINATION ${package_dir} COMPONENT ${ZELVO_DEV_COMPONENT})
  configure_file(${ZELVO_INSTALL_TEMPLATES}/Package.pc.in ${out}/${target}.pc @ONLY)
  install(FILES ${out}/${target}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT ${ZELVO_DEV_COMPONENT})
endfunction()

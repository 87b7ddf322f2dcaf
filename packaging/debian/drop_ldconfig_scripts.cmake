# Run by cpack after it has built the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack's DEB generator gives every package with a library under /usr/lib a
# postinst and a postrm that run ldconfig.  Debian runs ldconfig through the
# ldconfig trigger instead, which the library packages declare in their
# triggers file, so those two scripts are taken out of the packages again.
# A script that does anything besides running ldconfig is left alone.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(changed FALSE)
  foreach(script postinst postrm)
    set(file ${tree}/DEBIAN/${script})
    if(EXISTS ${file})
      file(READ ${file} text)
      # What is left once the shell's boilerplate and ldconfig are gone.
      string(REGEX REPLACE "#![^\n]*|set -e|if \\[[^\n]*\\]; then|ldconfig|fi|[ \t\n]" "" rest "${text}")
      if(rest STREQUAL "")
        file(REMOVE ${file})
        set(changed TRUE)
      endif()
    endif()
  endforeach()
  if(changed)
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()

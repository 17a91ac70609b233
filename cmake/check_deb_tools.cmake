# Run by cpack before it builds a package: the Debian package's dependencies on the Qt libraries
# are computed by dpkg-shlibdeps, which needs file to recognise the programs.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(RUNEPLOT_FILE file)
  find_program(RUNEPLOT_SHLIBDEPS dpkg-shlibdeps)
  if(NOT RUNEPLOT_FILE OR NOT RUNEPLOT_SHLIBDEPS)
    message(FATAL_ERROR "runeplot: the package's dependencies cannot be computed without 'file' and "
                        "'dpkg-shlibdeps' (Debian: apt-get install file dpkg-dev), or use bash scripts/package.sh")
  endif()
endif()

# What `cmake --install` puts under the prefix:
#
#   lib/libtavrin.so.1.0.0, libtavrin.so.1, libtavrin.so
#   include/tavrin.h, include/tavrin_app.h
#   bin/tavrin_layout and the programs
#   share/man/man1/tavrin_layout.1
#   share/tavrin/<program>/       the files a program opens from its working
#                                 directory (packed layouts, sample text);
#                                 the font is the user's to add
#   lib/pkgconfig/tavrin.pc       for `pkg-config --cflags --libs tavrin`
#   lib/cmake/tavrin/             for `find_package(tavrin)`: the targets
#                                 tavrin::tavrin and tavrin::tavrin_layout and
#                                 the function tavrin_pack_layout()
#   share/doc/tavrin/             the guides of docs/ with their pictures
#   share/doc/tavrin/examples/hello/
#
# Every file belongs to one of two components, which are the two Debian
# packages (cmake/TavrinPackage.cmake): runtime (the library, the programs
# and their files) and dev (everything a program is built with).
#
# Included before the targets are made, so that they take the install rpath;
# the subfolders add their own targets to the export set tavrinTargets.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVRIN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/tavrin)
set(TAVRIN_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(TAVRIN_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tavrin)

# Sets `var` to the path from the install folder `from` to `to` (both as
# GNUInstallDirs gives them), or to the absolute `to` when either folder was
# configured as an absolute path and so does not move with the prefix.
function(_tavrin_install_path var from to)
  if(IS_ABSOLUTE "${from}" OR IS_ABSOLUTE "${to}")
    cmake_path(ABSOLUTE_PATH to BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} NORMALIZE OUTPUT_VARIABLE path)
  else()
    file(RELATIVE_PATH path /prefix/${from} /prefix/${to})
  endif()
  string(REGEX REPLACE "(.)/+$" "\\1" path "${path}")
  if(path STREQUAL "")
    set(path .)
  endif()
  set(${var} "${path}" PARENT_SCOPE)
endfunction()

# The installed programs find the library beside them wherever the prefix
# lies, without LD_LIBRARY_PATH.
if(NOT DEFINED CMAKE_INSTALL_RPATH)
  _tavrin_install_path(_tavrin_bin_to_lib ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
  if(IS_ABSOLUTE "${_tavrin_bin_to_lib}")
    set(CMAKE_INSTALL_RPATH "${_tavrin_bin_to_lib}")
  else()
    set(CMAKE_INSTALL_RPATH "$ORIGIN/${_tavrin_bin_to_lib}")
  endif()
endif()

# tavrin_install_program(TARGET FOLDER RUN_FILE...)
#
# Installs the program TARGET into bin/ and the files that it opens from its
# working directory into share/tavrin/FOLDER/. The programs look for
# "DroidSans.ttf" there too; no font is installed (see README.md).
function(tavrin_install_program target folder)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  install(FILES ${ARGN} DESTINATION ${TAVRIN_INSTALL_DATADIR}/${folder} COMPONENT runtime)
endfunction()

install(EXPORT tavrinTargets
  NAMESPACE tavrin::
  DESTINATION ${TAVRIN_INSTALL_CMAKEDIR}
  COMPONENT dev)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/tavrinConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/tavrinConfig.cmake
  INSTALL_DESTINATION ${TAVRIN_INSTALL_CMAKEDIR})
# The major version is the soname's: a program built against 1.x runs with
# any later 1.y.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/package/tavrinConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/package/tavrinConfig.cmake
  ${PROJECT_BINARY_DIR}/package/tavrinConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/TavrinLayout.cmake
  DESTINATION ${TAVRIN_INSTALL_CMAKEDIR}
  COMPONENT dev)

# The .pc file names its prefix relative to its own folder, so that an
# install placed with `cmake --install --prefix` or moved by hand stays
# usable. Folders configured as absolute paths are written as they are.
_tavrin_install_path(TAVRIN_PC_PREFIX ${TAVRIN_INSTALL_PKGCONFIGDIR} .)
if(NOT IS_ABSOLUTE "${TAVRIN_PC_PREFIX}")
  set(TAVRIN_PC_PREFIX "\${pcfiledir}/${TAVRIN_PC_PREFIX}")
endif()
foreach(dir LIBDIR INCLUDEDIR BINDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(TAVRIN_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(TAVRIN_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/tavrin.pc.in ${PROJECT_BINARY_DIR}/package/tavrin.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/tavrin.pc DESTINATION ${TAVRIN_INSTALL_PKGCONFIGDIR} COMPONENT dev)

# The guides, the pictures they show and the example program.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT dev)
if(EXISTS ${PROJECT_SOURCE_DIR}/examples/hello)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/hello
    DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
    COMPONENT dev)
endif()

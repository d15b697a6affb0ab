# Debian packages of the install (`make deb`, or `cpack -G DEB` in the
# build folder), one per install component:
#
#   libtavrin1      component runtime: the library with its soname link, the
#                   programs and the files they open (share/tavrin/)
#   libtavrin-dev   component dev: the unversioned link, the headers, the
#                   pkg-config file, the CMake package, tavrin_layout with its
#                   manual page, the guides and the example
#
# The run-time package's dependencies are read from its binaries by
# dpkg-shlibdeps, which names Debian's SDL2 libraries. The development
# package depends on the exact libtavrin1, which brings what tavrin_layout
# links, and on the SDL2 development packages that tavrin.h, tavrin.pc and
# the CMake package need.
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "Tavrin")
set(CPACK_PACKAGE_CONTACT "Tavrin developers <tavrin@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libtavrin${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig trigger, so that programs built against the
# package depend on it by dpkg-shlibdeps too.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The first line of a description is the package's synopsis.
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
  "small GUI toolkit for SDL2 programs - library and programs
Tavrin draws windows of numbered objects, loaded from a .tav/.taw layout
pair, into a software surface and handles mouse and keyboard for them.
This package holds the shared library, the layout editor tavrin_creator
and the demonstration program tavrin_demo with the files they open.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libtavrin-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "libtavrin${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}), libsdl2-dev, libsdl2-ttf-dev, libsdl2-image-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "pkg-config, cmake")
set(CPACK_DEBIAN_DEV_DESCRIPTION
  "small GUI toolkit for SDL2 programs - development files
The headers tavrin.h and tavrin_app.h, the pkg-config file and the CMake
package of libtavrin, the layout tool tavrin_layout with its manual page,
the guides and an example program.")

include(CPack)

#!/bin/bash
# Installs the build into a temporary prefix, builds examples/hello against
# that prefix alone, once through find_package(tavrin) and once through
# pkg-config, and runs each build headless: queue_click.so types a name into
# the entry field and clicks the OK button, and the program has to greet the
# name and end with status 0.
#
# usage: install_test.sh BUILD_DIR SOURCE_DIR LIBDIR C_COMPILER [C_FLAGS]
#   LIBDIR   the library folder below the prefix (CMAKE_INSTALL_LIBDIR)
#   C_FLAGS  extra flags for compiling and linking the example; a build with
#            sanitizers passes them, since its library needs their runtime
set -u

build=$1 source=$2 libdir=$3 cc=$4 flags=${5:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-install.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
font=${TAVRIN_TEST_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}
run_timeout=${TAVRIN_INSTALL_RUN_TIMEOUT:-30}

fail() {
  echo "FAIL: $*"
  exit 1
}

# Runs a command quietly; on failure shows its output and fails the test.
quietly() {
  local what=$1
  shift
  "$@" >"$work/log" 2>&1 || { cat "$work/log"; fail "$what"; }
}

install_prefix() {
  quietly "cmake --install" cmake --install "$build" --prefix "$prefix"
  local file
  for file in "$libdir/libtavrin.so" "$libdir/libtavrin.so.1" include/tavrin.h bin/tavrin_layout \
    "$libdir/pkgconfig/tavrin.pc" "$libdir/cmake/tavrin/tavrinConfig.cmake" \
    share/tavrin/demo/29.tav share/tavrin/demo/input.txt; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
  done
  [ -e "$prefix/share/tavrin/demo/DroidSans.ttf" ] && fail "a font was installed"
  readelf -d "$prefix/$libdir/libtavrin.so" | grep -q 'SONAME.*\[libtavrin\.so\.1\]' ||
    fail "libtavrin.so has no soname libtavrin.so.1"
}

# The example is built from a copy, so that nothing can reach back into
# the source tree or the build.
copy_example() {
  mkdir -p "$work/src" && cp -r "$source/examples/hello" "$work/src/" || fail "copying the example"
}

build_with_cmake() {
  local out=$work/with-cmake
  quietly "configuring hello with find_package(tavrin)" \
    cmake -S "$work/src/hello" -B "$out" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_C_FLAGS="-Wall -Wextra -Werror $flags" -DCMAKE_EXE_LINKER_FLAGS="$flags"
  quietly "building hello with find_package(tavrin)" cmake --build "$out"
}

build_with_pkg_config() {
  local out=$work/with-pkg-config
  mkdir -p "$out"
  quietly "building hello with pkg-config" \
    env PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" \
    make -C "$out" -f "$work/src/hello/Makefile" CC="$cc" CFLAGS="-O2 -g -Wall -Wextra -Werror $flags" \
    LDFLAGS="$flags"
}

# The centre of the OK button, read from the layout as the installed tool
# unpacks it: object 11 of hello.json.
button_centre() {
  local line x y w h
  line=$("$prefix/bin/tavrin_layout" unpack "$1/hello.tav" "$1/hello.taw" | grep '^ *"11": ')
  read -r x y w h < <(sed -E 's/.*"x": (-?[0-9]+), "y": (-?[0-9]+), "w": ([0-9]+), "h": ([0-9]+).*/\1 \2 \3 \4/' <<<"$line")
  [ -n "$h" ] || fail "no OK button in the packed layout: $line"
  echo "$((x + w / 2)),$((y + h / 2))"
}

# A program built with a dynamic sanitizer runtime must have that runtime
# loaded before anything that LD_PRELOAD brings.
preload_for() {
  local runtime
  runtime=$(ldd "$1" | awk '/libasan\.so/ { print $3 }')
  echo "${runtime:+$runtime:}$work/queue_click.so"
}

run_hello() {
  local dir=$1 how=$2
  ldd "$dir/hello" | grep -q "libtavrin\.so\.1 => $prefix/" ||
    fail "hello built with $how does not use the installed library: $(ldd "$dir/hello" | grep tavrin)"
  cp "$font" "$dir/DroidSans.ttf" || fail "no font at $font"
  # The preload is for the program alone, not for timeout. SDL turns
  # SIGTERM into a quit event, which hello obeys: a hung run is killed.
  (cd "$dir" && timeout -s KILL "$run_timeout" env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy TAVRIN_TYPE=ada \
    TAVRIN_CLICK="$(button_centre "$dir")" LD_PRELOAD="$(preload_for "$dir/hello")" \
    ./hello >"$work/out" 2>"$work/err")
  local status=$?
  cat "$work/err"
  [ $status -eq 137 ] && fail "hello built with $how did not end within $run_timeout s"
  [ $status -eq 0 ] || fail "hello built with $how ended with status $status: $(cat "$work/out")"
  grep -q '^queue_click: clicked' "$work/err" || fail "hello built with $how ended before the click"
  [ "$(cat "$work/out")" = "Hello, ada!" ] || fail "hello built with $how printed: $(cat "$work/out")"
  echo "hello built with $how: $(cat "$work/out")"
}

install_prefix
copy_example
quietly "building queue_click.so" \
  "$cc" -shared -fPIC -O2 -Wall -Wextra -o "$work/queue_click.so" "$source/tests/install/queue_click.c" \
  $(pkg-config --cflags --libs sdl2) -ldl
build_with_cmake
build_with_pkg_config
run_hello "$work/with-cmake" "find_package(tavrin)"
run_hello "$work/with-pkg-config" "pkg-config"
echo "PASS"

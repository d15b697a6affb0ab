#!/bin/bash
# Installs the build, builds examples/hello (hello on tavrin_app.h and
# hello_long on tavrin.h alone) against that install alone, once through
# find_package(tavrin) and once through pkg-config, and runs each program
# headless: queue_click.so types a name into the entry field and clicks the
# OK button, and the program has to greet the name and end with status 0.
# hello run without its font has to end with status 1 and name the font.
#
# usage: install_test.sh MODE BUILD_DIR SOURCE_DIR LIBDIR C_COMPILER [C_FLAGS]
#   MODE     install: `cmake --install` into a temporary prefix;
#            deb: build the Debian packages with cpack, check their files
#            and dependencies with dpkg-deb and unpack them into a
#            temporary root, whose usr/ is then the prefix
#   LIBDIR   the library folder below the prefix (CMAKE_INSTALL_LIBDIR)
#   C_FLAGS  extra flags for compiling and linking the example; a build with
#            sanitizers passes them, since its library needs their runtime
set -u

mode=$1 build=$2 source=$3 libdir=$4 cc=$5 flags=${6:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-$mode.XXXXXX") || exit 1
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

# What each package holds; an install holds both.
runtime_files=("$libdir/libtavrin.so.1" "$libdir/libtavrin.so.1.0.0" bin/tavrin_demo bin/tavrin_creator
  share/tavrin/demo/29.tav share/tavrin/demo/input.txt share/tavrin/creator/6495.tav)
dev_files=("$libdir/libtavrin.so" include/tavrin.h include/tavrin_app.h bin/tavrin_layout
  "$libdir/pkgconfig/tavrin.pc" "$libdir/cmake/tavrin/tavrinConfig.cmake" share/man/man1/tavrin_layout.1
  share/doc/tavrin/getting-started.md share/doc/tavrin/layout-format.md share/doc/tavrin/examples/hello/hello.c)

check_prefix() {
  local file
  for file in "${runtime_files[@]}" "${dev_files[@]}"; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
  done
  [ -e "$prefix/share/tavrin/demo/DroidSans.ttf" ] && fail "a font was installed"
  readelf -d "$prefix/$libdir/libtavrin.so" | grep -q 'SONAME.*\[libtavrin\.so\.1\]' ||
    fail "libtavrin.so has no soname libtavrin.so.1"
  "$prefix/bin/tavrin_layout" --version | grep -q '^tavrin_layout [0-9]' || fail "tavrin_layout --version"
  # The manual page describes every command and option that --help lists.
  local page word
  page=$(groff -man -Tutf8 -P-cbou "$prefix/share/man/man1/tavrin_layout.1" 2>&1) || fail "groff: $page"
  for word in pack unpack check render --force --size --font --open --help --version "EXIT STATUS"; do
    grep -q -- "$word" <<<"$page" || fail "the manual page does not mention $word"
  done
}

install_prefix() {
  quietly "cmake --install" cmake --install "$build" --prefix "$prefix"
}

# Checks one package: `dpkg-deb -c` lists the files of its component and
# none of the other's; `dpkg-deb -I` names the dependencies, every one of
# them a Debian package known here, except libtavrin1 itself.
check_package() {
  local deb=$1 depends=$2
  shift 2
  local listing info file name
  listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c $deb"
  info=$(dpkg-deb -I "$deb") || fail "dpkg-deb -I $deb"
  for file in "$@"; do
    grep -q " \./usr/$file\( ->.*\)\?\$" <<<"$listing" || fail "$(basename "$deb") lacks usr/$file"
  done
  for name in $depends; do
    grep -q "^ Depends:.*\b$name\b" <<<"$info" || fail "$(basename "$deb") does not depend on $name: $(grep Depends <<<"$info")"
  done
  for name in $(sed -n 's/^ Depends: //p' <<<"$info" | tr ',|' '\n\n' | sed 's/(.*//; s/ //g'); do
    [ "$name" = libtavrin1 ] || dpkg-query -W "$name" >/dev/null 2>&1 || fail "$(basename "$deb") depends on $name, which Debian does not know here"
  done
}

deb_prefix() {
  quietly "cpack -G DEB" cpack -G DEB -B "$work/packages" --config "$build/CPackConfig.cmake"
  local runtime dev
  runtime=$(ls "$work"/packages/libtavrin1_*.deb 2>/dev/null) || fail "no libtavrin1 package"
  dev=$(ls "$work"/packages/libtavrin-dev_*.deb 2>/dev/null) || fail "no libtavrin-dev package"
  check_package "$runtime" "libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0" "${runtime_files[@]}"
  check_package "$dev" "libtavrin1 libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev" "${dev_files[@]}"
  dpkg-deb -I "$dev" | grep -q "Depends:.*libtavrin1 (= $(dpkg-deb -f "$runtime" Version))" ||
    fail "libtavrin-dev does not depend on this very libtavrin1"
  grep -q ' \./usr/include/' <<<"$(dpkg-deb -c "$runtime")" && fail "libtavrin1 holds headers"
  grep -q ' \./usr/[^ ]*/libtavrin\.so\.1' <<<"$(dpkg-deb -c "$dev")" && fail "libtavrin-dev holds the run-time library"
  # Unpacked as dpkg -i would place them, below a folder of the test's.
  quietly "dpkg -x" dpkg -x "$runtime" "$work/root"
  quietly "dpkg -x" dpkg -x "$dev" "$work/root"
  prefix=$work/root/usr
}

# The example is built from a copy of the one installed with the guides, so
# that nothing can reach back into the source tree or the build.
copy_example() {
  mkdir -p "$work/src" && cp -r "$prefix/share/doc/tavrin/examples/hello" "$work/src/" || fail "copying the installed example"
  example_files=$(ls -A "$work/src/hello")
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
  local dir=$1 how=$2 program=${3:-hello}
  how="$program built with $how"
  ldd "$dir/$program" | grep -q "libtavrin\.so\.1 => $prefix/" ||
    fail "$how does not use the installed library: $(ldd "$dir/$program" | grep tavrin)"
  cp "$font" "$dir/DroidSans.ttf" || fail "no font at $font"
  # The preload is for the program alone, not for timeout. SDL turns
  # SIGTERM into a quit event, which hello obeys: a hung run is killed.
  (cd "$dir" && timeout -s KILL "$run_timeout" env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy TAVRIN_TYPE=ada \
    TAVRIN_CLICK="$(button_centre "$dir")" LD_PRELOAD="$(preload_for "$dir/$program")" \
    "./$program" >"$work/out" 2>"$work/err")
  local status=$?
  cat "$work/err"
  [ $status -eq 137 ] && fail "$how did not end within $run_timeout s"
  [ $status -eq 0 ] || fail "$how ended with status $status: $(cat "$work/out")"
  grep -q '^queue_click: clicked' "$work/err" || fail "$how ended before the click"
  [ "$(cat "$work/out")" = "Hello, ada!" ] || fail "$how printed: $(cat "$work/out")"
  echo "$how: $(cat "$work/out")"
}

# Without its font the program says which file is missing and ends with
# status 1 before it opens a window.
run_hello_without_font() {
  local dir=$1
  rm -f "$dir/DroidSans.ttf"
  (cd "$dir" && timeout -s KILL "$run_timeout" env SDL_VIDEODRIVER=dummy ./hello >"$work/out" 2>"$work/err")
  local status=$?
  [ $status -eq 1 ] || fail "hello without its font ended with status $status"
  grep -q 'DroidSans\.ttf' "$work/err" || fail "hello without its font said: $(cat "$work/err" "$work/out")"
}

case $mode in
install) install_prefix ;;
deb) deb_prefix ;;
*) fail "unknown mode $mode" ;;
esac
check_prefix
copy_example
quietly "building queue_click.so" \
  "$cc" -shared -fPIC -O2 -Wall -Wextra -o "$work/queue_click.so" "$source/tests/install/queue_click.c" \
  $(pkg-config --cflags --libs sdl2) -ldl
build_with_cmake
build_with_pkg_config
# hello on the helpers of tavrin_app.h, hello_long on tavrin.h alone.
for program in hello hello_long; do
  run_hello "$work/with-cmake" "find_package(tavrin)" $program
  run_hello "$work/with-pkg-config" "pkg-config" $program
done
run_hello_without_font "$work/with-pkg-config"
# Neither build wrote into the example's folder.
[ "$(ls -A "$work/src/hello")" = "$example_files" ] ||
  fail "building the example wrote into its source folder: $(ls -A "$work/src/hello")"
echo "PASS"

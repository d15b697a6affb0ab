#!/bin/sh
# Makes the pictures of docs/editor.md from the running layout editor:
# builds the editor, the layout tool and the login example of the guide in
# the build folder BUILD (default: build), then lets the end-to-end script
# build the guide's login window in the editor on a private Xvfb display,
# save it and run the example on it. The pictures land in docs/editor/,
# the saved design as text in examples/login/login.json.
#
#   docs/editor-pictures.sh [BUILD]
set -eu
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
cmake --build "$BUILD" --target tavrin_creator tavrin_layout tavrin
# The example is built against the build tree, as it would be against an
# install (docs/getting-started.md).
cc -O2 -Wall -Wextra -o "$BUILD/login" examples/login/login.c -I lib/include \
    $(pkg-config --cflags sdl2 SDL2_ttf) -L "$BUILD/lib" -ltavrin $(pkg-config --libs sdl2 SDL2_ttf) \
    -Wl,-rpath,"$BUILD/lib"
bash tests/e2e_creator/creator_e2e.sh "$BUILD/creator/run" "$BUILD/tools/tavrin_layout" guide docs/editor "$BUILD/login"
# The design the editor saved, as text: the example's layout for those who
# skip the editor.
"$BUILD/tools/tavrin_layout" unpack docs/editor/login.tav docs/editor/login.taw >examples/login/login.json
rm -f docs/editor/login.tav docs/editor/login.taw

// Typing for the editing tests: keys go through SDL's event queue and the
// toolkit's decoding and editing functions, as in an application's loop.
#pragma once

#include <string>

#include "tavrin.h"

namespace tavtest {

// Presses and releases one key: key-down decoded with
// tav_getfirstkeyinformation, key-up delivered with
// tav_getfinalkeyinformation, then applied with tav_get_text.
void press(tav_context *ctx, SDL_Keycode key, Uint16 mod = KMOD_NONE);

// Presses and releases one key whose press also brings SDL text input, in
// the order SDL delivers them: key-down, SDL_TEXTINPUT with `utf8`, key-up.
void press_typed(tav_context *ctx, SDL_Keycode key, Uint16 mod, const char *utf8);

// A left press at (x, y) as a program's loop handles it: hit-tested and
// handed to tav_select_window with the press in the context's event.
void press_at(tav_context *ctx, int x, int y);

// Types lower-case letters, digits and spaces one key at a time.
void type(tav_context *ctx, const std::string &text);

}  // namespace tavtest

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

// Types lower-case letters, digits and spaces one key at a time.
void type(tav_context *ctx, const std::string &text);

}  // namespace tavtest

// Waiting for input inside the library's own modal loops (dialogs, selection
// waits, moving a window, menus).
#pragma once

#include <SDL2/SDL.h>

namespace tav {

// Takes the next queued event into *event and returns true. When none is
// queued it sleeps until one arrives or a few milliseconds pass and returns
// false, leaving *event as it was. The short sleep keeps an open dialog or
// menu from holding a processor core busy while the loop stays responsive.
bool next_event(SDL_Event *event);

}  // namespace tav

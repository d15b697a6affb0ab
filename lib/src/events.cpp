#include "events.h"

namespace tav {

namespace {

// Long enough to let the processor rest, short enough that a loop which also
// watches the pointer position (menus) follows it without visible delay.
constexpr int kIdleWaitMs = 5;

}  // namespace

bool next_event(SDL_Event *event)
{
    SDL_Event incoming;
    if (!event || SDL_WaitEventTimeout(&incoming, kIdleWaitMs) != 1) return false;
    *event = incoming;
    return true;
}

}  // namespace tav

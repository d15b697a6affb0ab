// The programs' paced main loop. Each pass takes one event into the context,
// and a pass that finds none sees the previous event again, as the toolkit's
// loop expects. When no event is waiting, the pass waits for one until the
// next tick of a steady clock of about 60 ticks a second, so that animations
// and held operators run at the same pace on any machine and an idle program
// sleeps instead of burning a core.
#pragma once

#include <SDL2/SDL.h>

#include "tavrin.h"

namespace tavapp {

constexpr Uint32 kTickMs = 16;

struct PacedClock {
    Uint32 next_tick = 0;

    void start() { next_tick = SDL_GetTicks() + kTickMs; }

    // Polls one event into ctx->event; true when the pass falls on a tick.
    bool next_pass(tav_context *ctx)
    {
        SDL_Event event;
        Uint32 now = SDL_GetTicks();
        bool got = SDL_PollEvent(&event);
        if (!got && !SDL_TICKS_PASSED(now, next_tick))
            got = SDL_WaitEventTimeout(&event, int(next_tick - now)) == 1;
        if (got) ctx->event = event;
        now = SDL_GetTicks();
        if (!SDL_TICKS_PASSED(now, next_tick)) return false;
        next_tick += kTickMs;
        if (SDL_TICKS_PASSED(now, next_tick)) next_tick = now + kTickMs;  // fell behind: no catching up
        return true;
    }
};

// The left button as the main loop sees it: held from a press to its
// release, with the press position that every held pass tests again.
struct LeftButton {
    bool held = false;
    int32_t x = 0, y = 0;
};

// Hands key events to decoding and editing and remembers a left press.
// Returns false for every other event, which the program handles itself.
// `edit` applies a decoded key (tav_get_text, or a program's own step
// around it).
template <typename Edit>
inline bool take_keys_and_press(tav_context *ctx, LeftButton &left, Edit edit)
{
    switch (ctx->event.type) {
    case SDL_KEYDOWN:
    case SDL_TEXTINPUT: tav_getfirstkeyinformation(ctx); return true;
    case SDL_KEYUP:
        tav_getfinalkeyinformation(ctx);
        edit();
        return true;
    case SDL_MOUSEBUTTONDOWN:
        if (ctx->event.button.button == SDL_BUTTON_LEFT) left = {true, ctx->event.button.x, ctx->event.button.y};
        return true;
    default: return false;
    }
}

inline bool take_keys_and_press(tav_context *ctx, LeftButton &left)
{
    return take_keys_and_press(ctx, left, [ctx] { tav_get_text(ctx); });
}

}  // namespace tavapp

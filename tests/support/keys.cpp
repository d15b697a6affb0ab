#include "support/keys.h"

namespace tavtest {

namespace {

void send(tav_context *ctx, Uint32 type, SDL_Keycode key, Uint16 mod)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    // Whatever the video driver queued on its own would come first.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_PushEvent(&e);
    SDL_PollEvent(&ctx->event);
}

}  // namespace

void press(tav_context *ctx, SDL_Keycode key, Uint16 mod)
{
    send(ctx, SDL_KEYDOWN, key, mod);
    tav_getfirstkeyinformation(ctx);
    send(ctx, SDL_KEYUP, key, mod);
    tav_getfinalkeyinformation(ctx);
    tav_get_text(ctx);
}

void type(tav_context *ctx, const std::string &text)
{
    for (char c : text) press(ctx, SDL_Keycode(static_cast<unsigned char>(c)));
}

}  // namespace tavtest

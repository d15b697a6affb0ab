#include "support/keys.h"

namespace tavtest {

namespace {

void queue_and_poll(tav_context *ctx, SDL_Event &e)
{
    // Whatever the video driver queued on its own would come first.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_PushEvent(&e);
    SDL_PollEvent(&ctx->event);
}

void send(tav_context *ctx, Uint32 type, SDL_Keycode key, Uint16 mod)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    queue_and_poll(ctx, e);
}

}  // namespace

void press_typed(tav_context *ctx, SDL_Keycode key, Uint16 mod, const char *utf8)
{
    send(ctx, SDL_KEYDOWN, key, mod);
    tav_getfirstkeyinformation(ctx);
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    queue_and_poll(ctx, e);
    tav_getfirstkeyinformation(ctx);
    send(ctx, SDL_KEYUP, key, mod);
    tav_getfinalkeyinformation(ctx);
    tav_get_text(ctx);
}

void press(tav_context *ctx, SDL_Keycode key, Uint16 mod)
{
    send(ctx, SDL_KEYDOWN, key, mod);
    tav_getfirstkeyinformation(ctx);
    send(ctx, SDL_KEYUP, key, mod);
    tav_getfinalkeyinformation(ctx);
    tav_get_text(ctx);
}

void press_at(tav_context *ctx, int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = x;
    e.button.y = y;
    queue_and_poll(ctx, e);
    ctx->decided_object = tav_test_all_objects(ctx, x, y);
    tav_select_window(ctx);
    ctx->decided_object = 0;
}

void type(tav_context *ctx, const std::string &text)
{
    for (char c : text) press(ctx, SDL_Keycode(static_cast<unsigned char>(c)));
}

}  // namespace tavtest

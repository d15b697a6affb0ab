#include "support/input.h"

namespace tavtest {

void push_button(uint32_t type, uint8_t button, int x, int y)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONUP ? SDL_RELEASED : SDL_PRESSED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void push_motion(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

void warp_pointer(SDL_Window *window, int x, int y)
{
    SDL_WarpMouseInWindow(window, x, y);
}

LaterClick::LaterClick(uint32_t delay_ms, int x, int y, std::function<void()> action)
    : x_(x), y_(y), action_(std::move(action))
{
    timer_ = SDL_AddTimer(delay_ms, &LaterClick::fire, this);
}

LaterClick::~LaterClick()
{
    SDL_RemoveTimer(timer_);
}

uint32_t LaterClick::fire(uint32_t, void *self)
{
    auto *click = static_cast<LaterClick *>(self);
    if (click->action_) click->action_();
    push_left_release(click->x_, click->y_);
    return 0;
}

}  // namespace tavtest

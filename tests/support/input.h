// Test support for the library's modal loops: queued mouse events and
// clicks that arrive later from an SDL timer.
#pragma once

#include <cstdint>
#include <functional>

#include <SDL2/SDL.h>

namespace tavtest {

// Queues a mouse-button event (SDL_MOUSEBUTTONDOWN or SDL_MOUSEBUTTONUP).
void push_button(uint32_t type, uint8_t button, int x, int y);
inline void push_left_release(int x, int y) { push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y); }
inline void push_left_press(int x, int y) { push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y); }

// Queues a pointer motion to (x, y).
void push_motion(int x, int y);

// Puts the pointer at (x, y) of a window so that SDL_GetMouseState
// reports it.
void warp_pointer(SDL_Window *window, int x, int y);

// Runs `action` on SDL's timer thread after `delay_ms`, then queues a
// left-button release at (x, y). The timer is removed if the object goes
// away first.
class LaterClick {
public:
    LaterClick(uint32_t delay_ms, int x, int y, std::function<void()> action = {});
    ~LaterClick();
    LaterClick(const LaterClick &) = delete;
    LaterClick &operator=(const LaterClick &) = delete;

private:
    static uint32_t fire(uint32_t interval, void *self);
    SDL_TimerID timer_;
    int x_, y_;
    std::function<void()> action_;
};

}  // namespace tavtest

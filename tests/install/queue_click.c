/*
 * queue_click: preloaded (LD_PRELOAD) into a program that runs headless, it
 * plays the user's part: once the program has polled SDL for events a few
 * times (it is then in its event loop), it queues in SDL's event queue
 * what a user would do: the key presses and releases of the lower-case
 * letters in TAVRIN_TYPE, if set, then a left-button press and release at
 * TAVRIN_CLICK="x,y". It reports the click on standard error. The program
 * itself stays as users build it.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#include <SDL2/SDL.h>

/* Enough passes for the program to have shown its window. */
#define POLLS_BEFORE_CLICK 20

typedef int (*poll_function)(SDL_Event *);

static void push(SDL_Event *event)
{
    if (SDL_PushEvent(event) != 1) fprintf(stderr, "queue_click: SDL_PushEvent: %s\n", SDL_GetError());
}

static void queue_button(Uint32 type, Uint8 state, int x, int y)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.button.timestamp = SDL_GetTicks();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = state;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    push(&event);
}

static void queue_key(Uint32 type, Uint8 state, char letter)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.timestamp = SDL_GetTicks();
    event.key.state = state;
    event.key.keysym.scancode = (SDL_Scancode)(SDL_SCANCODE_A + (letter - 'a'));
    event.key.keysym.sym = (SDL_Keycode)letter;
    push(&event);
}

static void queue_typing(void)
{
    const char *text = getenv("TAVRIN_TYPE");
    for (; text && *text; ++text) {
        if (*text < 'a' || *text > 'z') continue;
        queue_key(SDL_KEYDOWN, SDL_PRESSED, *text);
        queue_key(SDL_KEYUP, SDL_RELEASED, *text);
    }
}

static void queue_click(void)
{
    int x, y;
    const char *at = getenv("TAVRIN_CLICK");
    if (!at || sscanf(at, "%d,%d", &x, &y) != 2) {
        fprintf(stderr, "queue_click: TAVRIN_CLICK=x,y is not set\n");
        return;
    }
    queue_button(SDL_MOUSEBUTTONDOWN, SDL_PRESSED, x, y);
    queue_button(SDL_MOUSEBUTTONUP, SDL_RELEASED, x, y);
    fprintf(stderr, "queue_click: clicked at %d,%d\n", x, y);
}

int SDL_PollEvent(SDL_Event *event)
{
    /* A preloaded stand-in has no context to keep these in. */
    static poll_function real_poll;
    static int polls;
    if (!real_poll) real_poll = (poll_function)dlsym(RTLD_NEXT, "SDL_PollEvent");
    if (!real_poll) {
        fprintf(stderr, "queue_click: SDL_PollEvent not found\n");
        abort();
    }
    if (++polls == POLLS_BEFORE_CLICK) {
        queue_typing();
        queue_click();
    }
    return real_poll(event);
}

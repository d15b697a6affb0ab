/*
 * hello_long: hello.c written out with tavrin.h alone, without the helpers
 * of tavrin_app.h: the same window, the same greeting, and every step of
 * start-up, event loop and shut-down that the helpers take.
 *
 * It runs in a folder that holds its packed layout ("hello.tav",
 * "hello.taw", made from hello.json at build time) and a TrueType font
 * named "DroidSans.ttf".
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include "tavrin.h"

/* Object numbers of hello.json. */
enum {
    WINDOW_HELLO = 8,
    LABEL_QUESTION = 9,
    ENTRY_NAME = 10,
    BUTTON_OK = 11
};

#define SCREEN_W 480
#define SCREEN_H 300
#define FONT_SIZE 11
#define TICK_MS 16 /* one pass of the loop at least every 16 ms */

typedef struct hello {
    tav_context *ctx;
    int running;
    int pressed;             /* left button held since its press */
    int32_t press_x, press_y;
    Uint32 next_tick;
} hello;

/* ------------------------------------------------------------------------ */
/* Start-up and shut-down                                                   */
/* ------------------------------------------------------------------------ */

/* The context starts zero-filled; colours, screen size and modes are set
 * before the toolkit starts. */
static tav_context *new_context(void)
{
    tav_context *ctx = calloc(1, sizeof *ctx);
    if (!ctx) return NULL;
    ctx->background_r = ctx->background_g = ctx->background_b = 240;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->window_width = ctx->screen_width = SCREEN_W;
    ctx->window_height = ctx->screen_height = SCREEN_H;
    ctx->scroll_step = 3;
    ctx->convert_umlauts = 1;
    return ctx;
}

/* The window, the 32-bit surface that the toolkit draws into, and the
 * renderer and streaming texture that show it. */
static int start_sdl(tav_context *ctx)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 0;
    }
    ctx->window = SDL_CreateWindow("Hello", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, SCREEN_W, SCREEN_H,
                                   SDL_WINDOW_SHOWN);
    ctx->screen = SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->window) ctx->renderer = SDL_CreateRenderer(ctx->window, -1, 0);
    if (ctx->renderer) {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        SDL_RenderSetLogicalSize(ctx->renderer, SCREEN_W, SCREEN_H);
        ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         SCREEN_W, SCREEN_H);
    }
    if (!ctx->screen || !ctx->texture) {
        fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 0;
    }
    SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    if (TTF_Init() != 0) {
        fprintf(stderr, "TTF_Init: %s\n", SDL_GetError());
        return 0;
    }
    return 1;
}

/* Loads the layout, opens the default font and shows the window with the
 * text cursor in its entry field. tav_start_tavrin ends the program itself
 * with status 1 when "hello.tav" is missing, naming the file on stderr. */
static int start_layout(tav_context *ctx)
{
    tav_start_tavrin(ctx, 0, 0, "hello.tav", "hello.taw");
    if (ctx->object_count < BUTTON_OK) {
        fprintf(stderr, "hello.tav does not hold the objects of hello.\n");
        return 0;
    }
    ctx->font = TTF_OpenFont("DroidSans.ttf", FONT_SIZE);
    if (!ctx->font) {
        fprintf(stderr, "TTF_OpenFont: %s\n", SDL_GetError());
        return 0;
    }
    tav_set_operators(ctx);
    SDL_StartTextInput();
    tav_draw_box(ctx, 0, 0, SCREEN_W, SCREEN_H, ctx->background_r, ctx->background_g, ctx->background_b);
    ctx->decided_object = WINDOW_HELLO;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 1);
    return 1;
}

/* The texture, the renderer and the window are the program's, like the
 * context: they go first. tav_close then frees the fonts, the screen
 * surface and the toolkit's arrays and shuts SDL_ttf and SDL down, also
 * after a start-up that failed half-way. */
static void shut_down(tav_context *ctx)
{
    if (ctx->texture) SDL_DestroyTexture(ctx->texture);
    if (ctx->renderer) SDL_DestroyRenderer(ctx->renderer);
    if (ctx->window) SDL_DestroyWindow(ctx->window);
    ctx->texture = NULL;
    ctx->renderer = NULL;
    ctx->window = NULL;
    tav_close(ctx);
    free(ctx);
}

/* ------------------------------------------------------------------------ */
/* Clicks                                                                   */
/* ------------------------------------------------------------------------ */

/* Texts in the layout are Latin-1; the terminal wants UTF-8. */
static void print_latin1(const char *text)
{
    for (const unsigned char *c = (const unsigned char *)text; *c; ++c) {
        if (*c < 0x80) {
            putchar(*c);
        } else {
            putchar(0xC0 | (*c >> 6));
            putchar(0x80 | (*c & 0x3F));
        }
    }
}

static void greet(hello *app)
{
    const char *name = app->ctx->objects[ENTRY_NAME].text;
    printf("Hello, ");
    print_latin1(name[0] ? name : "stranger");
    printf("!\n");
    app->running = 0;
}

/* The application's part of a click: decided_object is the object under
 * the pointer, and the toolkit has already acted on the window operators. */
static void handle_click(hello *app)
{
    tav_context *ctx = app->ctx;
    if (ctx->decided_object == BUTTON_OK) {
        greet(app);
        return;
    }
    /* The close operator took the only window away: nothing is left to use. */
    if (ctx->active_window == 0) {
        app->running = 0;
        return;
    }
    tav_draw_all_objects(ctx, 0, 1);
}

/* ------------------------------------------------------------------------ */
/* Event loop                                                               */
/* ------------------------------------------------------------------------ */

/* Takes one event into the context. When none is waiting, waits for one
 * until the next tick, so that an idle program sleeps and a held button
 * repeats at the same pace on any machine. Returns 1 when the pass falls on
 * a tick. Without a new event the context keeps the previous one; the
 * handlers clear the type of events that must not act twice. */
static int next_pass(hello *app)
{
    SDL_Event event;
    Uint32 now = SDL_GetTicks();
    int got = SDL_PollEvent(&event);
    if (!got && !SDL_TICKS_PASSED(now, app->next_tick))
        got = SDL_WaitEventTimeout(&event, (int)(app->next_tick - now));
    if (got) app->ctx->event = event;
    now = SDL_GetTicks();
    if (!SDL_TICKS_PASSED(now, app->next_tick)) return 0;
    app->next_tick += TICK_MS;
    if (SDL_TICKS_PASSED(now, app->next_tick)) app->next_tick = now + TICK_MS; /* fell behind: no catching up */
    return 1;
}

/* A click acts on release, on whatever lies under the pointer then. */
static void on_button_up(hello *app)
{
    tav_context *ctx = app->ctx;
    const SDL_MouseButtonEvent *button = &ctx->event.button;
    app->pressed = 0;
    if (button->button != SDL_BUTTON_LEFT || button->state != SDL_RELEASED) return;
    ctx->decided_object = tav_test_all_objects(ctx, button->x, button->y);
    tav_exa_left_released(ctx);
    handle_click(app);
    ctx->event.type = 0;
    ctx->decided_object = 0;
}

static void handle_event(hello *app)
{
    tav_context *ctx = app->ctx;
    switch (ctx->event.type) {
    case SDL_KEYDOWN:
    case SDL_TEXTINPUT:
        tav_getfirstkeyinformation(ctx); /* decodes the key */
        break;
    case SDL_KEYUP:
        tav_getfinalkeyinformation(ctx); /* delivers it ... */
        tav_get_text(ctx);               /* ... into the object holding the text cursor */
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (ctx->event.button.button == SDL_BUTTON_LEFT) {
            app->pressed = 1;
            app->press_x = ctx->event.button.x;
            app->press_y = ctx->event.button.y;
        }
        break;
    case SDL_MOUSEBUTTONUP:
        on_button_up(app);
        break;
    case SDL_QUIT: /* the system's close button of the SDL window */
        app->running = 0;
        break;
    default:
        break;
    }
}

/* While the left button is held, the press position acts again: a press
 * brings its window forward or moves the text cursor, and a held window
 * operator repeats. */
static void repeat_held_button(tav_context *ctx, const hello *app)
{
    ctx->decided_object = tav_test_all_objects(ctx, app->press_x, app->press_y);
    tav_exa_left_pressed(ctx);
    tav_select_window(ctx);
    ctx->decided_object = 0;
}

static void run(hello *app)
{
    app->running = 1;
    app->next_tick = SDL_GetTicks() + TICK_MS;
    while (app->running) {
        int tick = next_pass(app);
        int was_pressed = app->pressed;
        handle_event(app);
        /* A new press acts at once, a held one on every tick. */
        if (app->running && app->pressed && (tick || !was_pressed)) repeat_held_button(app->ctx, app);
    }
}

int main(void)
{
    hello app = {0};
    app.ctx = new_context();
    if (!app.ctx) return 1;
    int ok = start_sdl(app.ctx) && start_layout(app.ctx);
    if (ok) run(&app);
    shut_down(app.ctx);
    return ok ? 0 : 1;
}

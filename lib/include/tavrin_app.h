/*
 * tavrin_app.h - a program around a Tavrin layout in a few calls.
 *
 * Helpers for the usual shape of a Tavrin program, written against
 * tavrin.h alone: every function here is static inline and compiled into
 * the program, so the library and its exports stay as they are.
 *
 *   tav_context *ctx = tav_app_start("Hello", 480, 300, "hello.tav", "hello.taw", "DroidSans.ttf", 11);
 *   if (!ctx) return 1;                     why is already on standard error
 *   tav_app_show(ctx, 8);                   window 8 in front, everything drawn
 *   tav_app_run(ctx, on_click, NULL);       until on_click returns 0 or the window is closed
 *   tav_app_close(ctx);
 *
 * tav_app_start opens the SDL window, the screen surface, the renderer and
 * the texture in the order the toolkit needs, starts the toolkit with the
 * layout pair and opens the default font; tav_app_run is the paced event
 * loop (keys, clicks, window operators, held buttons) that calls the
 * program's click handler with the number of the object clicked. Between
 * tav_app_start and tav_app_show the program may prepare its objects and
 * change the context's colours and modes. docs/getting-started.md shows
 * the same program written out without these helpers.
 */
#ifndef TAVRIN_APP_H
#define TAVRIN_APP_H

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tavrin.h"

/* One pass of the event loop at least every tick: held window operators
 * repeat at this pace, and an idle program sleeps between ticks. */
#define TAV_APP_TICK_MS 16

/* Called for every left-button release on an object, after the toolkit has
 * acted on the window operators 1 to 7 (they are passed too; after the close
 * operator, ctx->active_window tells whether a window is left). Returns
 * nonzero to go on, 0 to end tav_app_run. */
typedef int (*tav_app_click_handler)(tav_context *ctx, uint32_t object, void *data);

/* ------------------------------------------------------------------------ */
/* Start-up                                                                 */
/* ------------------------------------------------------------------------ */

/* Prints why the program cannot start. */
static inline void tav_app_fail(const char *what, const char *name, const char *why)
{
    fprintf(stderr, "tavrin: %s%s%s%s: %s\n", what, name ? " \"" : "", name ? name : "", name ? "\"" : "", why);
}

/* Reads the .tav file as the toolkit will: sets *objects to its number of
 * whole records and *texts to 1 when one of them names a text record, so
 * that the .taw file is needed. Returns 0 when the file cannot be read. */
static inline int tav_app_scan_layout(const char *tav_path, uint32_t *objects, int *texts)
{
    unsigned char record[TAV_OBJECT_RECORD_SIZE];
    const size_t text_record_offset = 172;
    FILE *f = tav_path ? fopen(tav_path, "rb") : NULL;
    *objects = 0;
    *texts = 0;
    if (!tav_path) errno = ENOENT;
    if (!f) return 0;
    while (fread(record, 1, sizeof record, f) == sizeof record) {
        const unsigned char *n = record + text_record_offset;
        ++*objects;
        if (n[0] | n[1] | n[2] | n[3]) *texts = 1;
    }
    int ok = !ferror(f);
    fclose(f);
    return ok;
}

static inline int tav_app_readable(const char *path)
{
    FILE *f = path ? fopen(path, "rb") : NULL;
    if (!path) errno = ENOENT;
    if (!f) return 0;
    fclose(f);
    return 1;
}

/* Checks every file before anything starts, so that a missing one gives a
 * message naming it instead of an empty window or an ended process. */
static inline int tav_app_check_files(const char *tav_path, const char *taw_path, const char *font_file)
{
    uint32_t objects;
    int texts;
    if (!tav_app_scan_layout(tav_path, &objects, &texts)) {
        tav_app_fail("cannot read the layout file", tav_path, strerror(errno));
        return 0;
    }
    if (objects < 7) {
        tav_app_fail("not a layout", tav_path, "it does not hold the 7 window operators that begin every layout");
        return 0;
    }
    if (texts && !tav_app_readable(taw_path)) {
        tav_app_fail("cannot read the layout's text file", taw_path, strerror(errno));
        return 0;
    }
    if (!tav_app_readable(font_file)) {
        tav_app_fail("cannot read the font", font_file, strerror(errno));
        return 0;
    }
    return 1;
}

/* The context with the toolkit's usual colours and modes. */
static inline tav_context *tav_app_new_context(int width, int height)
{
    tav_context *ctx = (tav_context *)calloc(1, sizeof *ctx);
    if (!ctx) return NULL;
    ctx->background_r = ctx->background_g = ctx->background_b = 240;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->window_width = ctx->screen_width = (uint32_t)width;
    ctx->window_height = ctx->screen_height = (uint32_t)height;
    ctx->scroll_step = 3;
    ctx->convert_umlauts = 1;
    return ctx;
}

/* The window, the 32-bit surface that the toolkit draws into, and the
 * renderer and streaming texture that show it, in this order. */
static inline int tav_app_open_sdl(tav_context *ctx, const char *title)
{
    int w = (int)ctx->screen_width, h = (int)ctx->screen_height;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        tav_app_fail("SDL_Init", NULL, SDL_GetError());
        return 0;
    }
    ctx->window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h, SDL_WINDOW_SHOWN);
    ctx->screen = SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->window) ctx->renderer = SDL_CreateRenderer(ctx->window, -1, 0);
    if (ctx->renderer) {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        SDL_RenderSetLogicalSize(ctx->renderer, w, h);
        ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    }
    if (!ctx->screen || !ctx->texture) {
        tav_app_fail("cannot open the window", NULL, SDL_GetError());
        return 0;
    }
    SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    if (TTF_Init() != 0) {
        tav_app_fail("TTF_Init", NULL, TTF_GetError());
        return 0;
    }
    return 1;
}

/* Shuts down in order: the texture, the renderer and the window are the
 * program's and go first; tav_close then frees the fonts, the screen
 * surface and the toolkit's arrays and shuts SDL_ttf and SDL down. Works
 * after a start-up that failed half-way too. Bitmaps of kind-10 objects
 * and chain streams stay the program's to free before. */
static inline void tav_app_close(tav_context *ctx)
{
    if (!ctx) return;
    if (ctx->texture) SDL_DestroyTexture(ctx->texture);
    if (ctx->renderer) SDL_DestroyRenderer(ctx->renderer);
    if (ctx->window) SDL_DestroyWindow(ctx->window);
    ctx->texture = NULL;
    ctx->renderer = NULL;
    ctx->window = NULL;
    tav_close(ctx);
    free(ctx);
}

/* Opens a width x height window titled `title`, starts the toolkit with the
 * layout pair and opens the default font, with the window operators placed
 * and text input on. Returns the context, or NULL after a message on
 * standard error naming what is missing (a file, SDL, the font); the
 * program then ends with status 1. A .taw file is needed only when the
 * layout has text records. */
static inline tav_context *tav_app_start(const char *title, int width, int height, const char *tav_path,
                                         const char *taw_path, const char *font_file, int font_size)
{
    if (!tav_app_check_files(tav_path, taw_path, font_file)) return NULL;
    tav_context *ctx = tav_app_new_context(width, height);
    if (!ctx) {
        tav_app_fail("out of memory", NULL, strerror(ENOMEM));
        return NULL;
    }
    if (!tav_app_open_sdl(ctx, title)) {
        tav_app_close(ctx);
        return NULL;
    }
    tav_start_tavrin(ctx, 0, 0, tav_path, taw_path);
    ctx->font = TTF_OpenFont(font_file, font_size);
    if (!ctx->font) {
        tav_app_fail("cannot open the font", font_file, TTF_GetError());
        tav_app_close(ctx);
        return NULL;
    }
    tav_set_operators(ctx);
    SDL_StartTextInput();
    return ctx;
}

/* Paints the background, brings `window` to the front (0: none; it takes
 * the text cursor into its first editable object) and draws and shows the
 * whole layout with its texts laid out. Colours and the operator mode set
 * after tav_app_start count from here. Returns 0 when `window` is not a
 * window of the layout. */
static inline int tav_app_show(tav_context *ctx, uint32_t window)
{
    int ok = window == 0 || (window <= ctx->object_count && ctx->objects[window].kind == TAV_KIND_WINDOW);
    if (ctx->operator_mode == 0) ctx->mark_r = ctx->mark0_r, ctx->mark_g = ctx->mark0_g, ctx->mark_b = ctx->mark0_b;
    if (ctx->operator_mode == 1) ctx->mark_r = ctx->mark1_r, ctx->mark_g = ctx->mark1_g, ctx->mark_b = ctx->mark1_b;
    tav_draw_box(ctx, 0, 0, (int32_t)ctx->screen_width, (int32_t)ctx->screen_height, ctx->background_r,
                 ctx->background_g, ctx->background_b);
    if (window && ok) {
        ctx->decided_object = window;
        tav_activate_window(ctx);
        ctx->decided_object = 0;
    }
    tav_draw_all_objects(ctx, 1, 1);
    return ok;
}

/* ------------------------------------------------------------------------ */
/* Event loop                                                               */
/* ------------------------------------------------------------------------ */

/* The loop's own state: the clock and the left button, held from a press to
 * its release, with the press position that every held pass tests again. */
typedef struct tav_app_loop {
    Uint32 next_tick;
    int held;
    int32_t press_x, press_y;
} tav_app_loop;

/* Takes one event into the context. When none is waiting, waits for one
 * until the next tick. Returns 1 when the pass falls on a tick. Without a
 * new event the context keeps the previous one, as the toolkit expects;
 * the handlers clear the type of events that must not act twice. */
static inline int tav_app_next_pass(tav_context *ctx, tav_app_loop *loop)
{
    SDL_Event event;
    Uint32 now = SDL_GetTicks();
    int got = SDL_PollEvent(&event);
    if (!got && !SDL_TICKS_PASSED(now, loop->next_tick))
        got = SDL_WaitEventTimeout(&event, (int)(loop->next_tick - now));
    if (got) ctx->event = event;
    now = SDL_GetTicks();
    if (!SDL_TICKS_PASSED(now, loop->next_tick)) return 0;
    loop->next_tick += TAV_APP_TICK_MS;
    if (SDL_TICKS_PASSED(now, loop->next_tick)) loop->next_tick = now + TAV_APP_TICK_MS; /* fell behind: no catching up */
    return 1;
}

/* A click acts on the release, on whatever lies under the pointer then:
 * the toolkit acts on the window operators, the handler on the rest, and
 * the layout is drawn again. Returns the object when the handler ends the
 * loop, else 0. */
static inline uint32_t tav_app_release(tav_context *ctx, tav_app_loop *loop, tav_app_click_handler on_click,
                                       void *data)
{
    const SDL_MouseButtonEvent *button = &ctx->event.button;
    loop->held = 0;
    if (button->button != SDL_BUTTON_LEFT || button->state != SDL_RELEASED) return 0;
    uint32_t object = tav_test_all_objects(ctx, button->x, button->y);
    ctx->decided_object = object;
    tav_exa_left_released(ctx);
    int go_on = object == 0 || !on_click || on_click(ctx, object, data);
    if (go_on) tav_draw_all_objects(ctx, 0, 1);
    ctx->event.type = 0;
    ctx->decided_object = 0;
    return go_on ? 0 : object;
}

/* While the left button is held, the press position acts again: a press
 * brings its window forward or moves the text cursor, and a held resize or
 * scroll operator repeats. */
static inline void tav_app_repeat_press(tav_context *ctx, const tav_app_loop *loop)
{
    ctx->decided_object = tav_test_all_objects(ctx, loop->press_x, loop->press_y);
    tav_exa_left_pressed(ctx);
    tav_select_window(ctx);
    ctx->decided_object = 0;
}

/* Runs the event loop: keys go to decoding and into the object holding the
 * text cursor, clicks to the window operators and to `on_click`, a held
 * button repeats every tick. Ends when `on_click` returns 0, returning the
 * object clicked, or when the system closes the window (SDL_QUIT),
 * returning 0. */
static inline uint32_t tav_app_run(tav_context *ctx, tav_app_click_handler on_click, void *data)
{
    tav_app_loop loop;
    memset(&loop, 0, sizeof loop);
    loop.next_tick = SDL_GetTicks() + TAV_APP_TICK_MS;
    for (;;) {
        int tick = tav_app_next_pass(ctx, &loop);
        int was_held = loop.held;
        uint32_t ended = 0;
        switch (ctx->event.type) {
        case SDL_QUIT:
            ctx->event.type = 0;
            return 0;
        case SDL_KEYDOWN:
        case SDL_TEXTINPUT:
            tav_getfirstkeyinformation(ctx); /* decodes the key ... */
            break;
        case SDL_KEYUP:
            tav_getfinalkeyinformation(ctx); /* ... delivers it ... */
            tav_get_text(ctx);               /* ... into the object holding the text cursor */
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (ctx->event.button.button == SDL_BUTTON_LEFT) {
                loop.held = 1;
                loop.press_x = ctx->event.button.x;
                loop.press_y = ctx->event.button.y;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            ended = tav_app_release(ctx, &loop, on_click, data);
            break;
        case SDL_WINDOWEVENT: /* uncovered: show the screen again */
            if (ctx->event.window.event == SDL_WINDOWEVENT_EXPOSED) tav_screenupdate(ctx);
            ctx->event.type = 0;
            break;
        default:
            break;
        }
        if (ended) return ended;
        /* A new press acts at once, so that even a click shorter than a
         * tick brings its window forward; a held button repeats on ticks. */
        if (loop.held && (tick || !was_held)) tav_app_repeat_press(ctx, &loop);
    }
}

/* ------------------------------------------------------------------------ */
/* Texts                                                                    */
/* ------------------------------------------------------------------------ */

/* Writes a Latin-1 text of the layout (an object's `text`, a text record)
 * as UTF-8, as terminals and most files want it. */
static inline void tav_app_print_latin1(FILE *out, const char *text)
{
    for (const unsigned char *c = (const unsigned char *)text; *c; ++c) {
        if (*c < 0x80) {
            fputc(*c, out);
        } else {
            fputc(0xC0 | (*c >> 6), out);
            fputc(0x80 | (*c & 0x3F), out);
        }
    }
}

#endif /* TAVRIN_APP_H */

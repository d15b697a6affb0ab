/*
 * login: runs the login window that docs/editor.md builds in the layout
 * editor. The window asks for a user name and a password; its "Log in"
 * button prints the name and the length of the password and ends the
 * program, and so does its close operator.
 *
 * It runs in the folder that holds the editor's "login.tav" and
 * "login.taw" and a TrueType font named "DroidSans.ttf".
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include "tavrin.h"

/* Object numbers of the design, as the editor's selection panel shows them. */
enum {
    WINDOW_LOGIN = 8,
    FIELD_USER = 10,
    FIELD_PASSWORD = 12,
    BUTTON_LOG_IN = 13
};

#define SCREEN_W 480
#define SCREEN_H 300

static tav_context *start(void)
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

    if (SDL_Init(SDL_INIT_VIDEO) != 0) return ctx;
    ctx->window = SDL_CreateWindow("Login", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, SCREEN_W, SCREEN_H,
                                   SDL_WINDOW_SHOWN);
    ctx->screen = SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->window) ctx->renderer = SDL_CreateRenderer(ctx->window, -1, 0);
    if (ctx->renderer) {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         SCREEN_W, SCREEN_H);
    }
    if (!ctx->screen || !ctx->texture || TTF_Init() != 0) return ctx;

    /* The editor saved the design's 13 objects; a missing file ends the
     * program here with "Can't open file.". */
    tav_start_tavrin(ctx, 0, 0, "login.tav", "login.taw");
    ctx->font = TTF_OpenFont("DroidSans.ttf", 12);
    return ctx;
}

static void stop(tav_context *ctx)
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

int main(void)
{
    tav_context *ctx = start();
    if (!ctx) return 1;
    if (!ctx->font || ctx->object_count < BUTTON_LOG_IN) {
        printf("Cannot start: %s\n", ctx->font ? "login.tav has too few objects" : SDL_GetError());
        stop(ctx);
        return 1;
    }
    tav_set_operators(ctx);
    tav_draw_box(ctx, 0, 0, SCREEN_W, SCREEN_H, ctx->background_r, ctx->background_g, ctx->background_b);
    ctx->decided_object = WINDOW_LOGIN; /* opens the window; the user name field takes the cursor */
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 1);

    int running = 1, held = 0;
    int32_t press_x = 0, press_y = 0;
    while (running) {
        SDL_Event event;
        /* Without a new event the context keeps the last one, as the toolkit expects. */
        if (SDL_WaitEventTimeout(&event, 16)) ctx->event = event;
        switch (ctx->event.type) {
        case SDL_KEYDOWN:
        case SDL_TEXTINPUT: tav_getfirstkeyinformation(ctx); break;
        case SDL_KEYUP:
            tav_getfinalkeyinformation(ctx);
            tav_get_text(ctx);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (ctx->event.button.button == SDL_BUTTON_LEFT) {
                held = 1;
                press_x = ctx->event.button.x;
                press_y = ctx->event.button.y;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            held = 0;
            if (ctx->event.button.button != SDL_BUTTON_LEFT) break;
            ctx->decided_object = tav_test_all_objects(ctx, ctx->event.button.x, ctx->event.button.y);
            tav_exa_left_released(ctx); /* the move and close operators */
            if (ctx->decided_object == BUTTON_LOG_IN) {
                printf("user %s, password of %zu characters\n", ctx->objects[FIELD_USER].text,
                       strlen(ctx->objects[FIELD_PASSWORD].text));
                running = 0;
            } else if (ctx->active_window == 0) {
                running = 0; /* closed */
            } else {
                tav_draw_all_objects(ctx, 0, 1);
            }
            ctx->event.type = 0;
            ctx->decided_object = 0;
            break;
        case SDL_QUIT: running = 0; break;
        default: break;
        }
        if (held) { /* a press moves the text cursor into the field under it */
            ctx->decided_object = tav_test_all_objects(ctx, press_x, press_y);
            tav_exa_left_pressed(ctx);
            tav_select_window(ctx);
            ctx->decided_object = 0;
        }
    }
    stop(ctx);
    return 0;
}

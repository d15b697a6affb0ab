// Start-up of the editor and its event loop.
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <cstdlib>

#include "creator.h"

namespace creator {

namespace {

constexpr const char *LAYOUT_TAV = "6495.tav";
constexpr const char *LAYOUT_TAW = "6495.taw";
constexpr const char *DEFAULT_FONT = "DroidSans.ttf";
constexpr int DEFAULT_FONT_SIZE = 12;
constexpr uint32_t FIRST_CURSOR_OBJECT = SELECTOR_NAME;

// Windows and menus that the layout may show but that stay closed until the
// user opens them.
constexpr uint32_t CLOSED_AT_START[] = {SELECTOR_WINDOW, RETRY_WINDOW, STAGE_WINDOW, BEHAVIOUR_WINDOW,
                                        161, 169, 174, 179, 184, 188, 193,
                                        SELECTION_WINDOW, GEOMETRY_WINDOW, STREAM_WINDOW, SHORT_TEXT_WINDOW};

tav_context *new_context()
{
    auto *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    if (!ctx) return nullptr;
    ctx->origin_x = ctx->origin_y = 0;
    ctx->window_width = ctx->screen_width = SCREEN_W;
    ctx->window_height = ctx->screen_height = SCREEN_H;
    ctx->background_r = ctx->background_g = ctx->background_b = 240;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->operator_mode = 0;
    ctx->scroll_step = 4;
    ctx->convert_umlauts = 1;
    ctx->cursor_object = FIRST_CURSOR_OBJECT;
    ctx->overwrite_mode = 0;
    return ctx;
}

// The window, the screen surface, the renderer and its texture. A missing
// one is reported; the caller decides whether the editor can go on.
void start_sdl(tav_context *ctx)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
        std::printf("SDL can not be initialized: %s\n", SDL_GetError());
    ctx->window = SDL_CreateWindow("Tavrin Creator", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                   int(ctx->screen_width), int(ctx->screen_height), SDL_WINDOW_SHOWN);
    ctx->screen = SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->screen) SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    if (ctx->window) ctx->renderer = SDL_CreateRenderer(ctx->window, -1, 0);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (ctx->renderer) {
        SDL_RenderSetLogicalSize(ctx->renderer, SCREEN_W, SCREEN_H);
        ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         SCREEN_W, SCREEN_H);
    }
    if (!ctx->screen) std::printf("Error.");
    if (TTF_Init() == -1) std::printf("TTF_Init: %s\n", SDL_GetError());
}

bool sdl_ready(const tav_context *ctx)
{
    if (ctx->window && ctx->screen && ctx->renderer && ctx->texture) return true;
    std::printf("The editor's window could not be made: %s\n", SDL_GetError());
    return false;
}

bool layout_complete(const tav_context *ctx)
{
    if (ctx->object_count >= HIGHEST_UI_OBJECT) return true;
    std::printf("%s holds %u objects; the editor needs %u.\n", LAYOUT_TAV, unsigned(ctx->object_count),
                unsigned(HIGHEST_UI_OBJECT));
    return false;
}

}  // namespace

bool start_editor(Editor &ed)
{
    tav_context *ctx = ed.ctx = new_context();
    if (!ctx) {
        std::printf("Not enough memory.\n");
        return false;
    }
    ed.state = creator_state{};
    start_sdl(ctx);
    if (!sdl_ready(ctx)) return false;
    tav_start_tavrin(ctx, MAX_WORKING_OBJECTS, MAX_WORKING_STREAMS, LAYOUT_TAV, LAYOUT_TAW);
    ed.object_capacity = ctx->object_count + MAX_WORKING_OBJECTS;
    ctx->font = TTF_OpenFont(DEFAULT_FONT, DEFAULT_FONT_SIZE);
    if (!ctx->font) {
        std::printf("TTF_OpenFont: %s\n", SDL_GetError());
        return false;
    }
    if (!layout_complete(ctx)) return false;

    tav_prepare_fileselector(ctx, SELECTOR_LIST, SELECTOR_ROWS);
    paint_background(ctx);
    for (uint32_t window : CLOSED_AT_START) ui(ed, window).hidden = 1;
    tav_set_operators(ctx);
    select_working_object(ed, 1, 0);
    tav_draw_all_objects(ctx, 1, 1);
    SDL_StartTextInput();  // characters as the user's keyboard layout types them
    return true;
}

// ---------------------------------------------------------------------------
// Event loop
// ---------------------------------------------------------------------------

namespace {

void on_button_up(Editor &ed, Loop &loop)
{
    tav_context *ctx = ed.ctx;
    const SDL_MouseButtonEvent button = ctx->event.button;
    loop.left.held = false;
    if (button.state != SDL_RELEASED) return;
    if (button.button == SDL_BUTTON_LEFT) {
        ctx->decided_object = tav_test_all_objects(ctx, button.x, button.y);
        tav_exa_left_released(ctx);
        on_left_release(ed);
    } else if (button.button == SDL_BUTTON_RIGHT) {
        ctx->decided_object = tav_test_all_objects(ctx, button.x, button.y);
        on_right_release(ed);
    } else {
        return;
    }
    ctx->event.type = 0;
    ctx->decided_object = 0;
}

}  // namespace

void handle_event(Editor &ed, Loop &loop)
{
    follow_typing_cursor(ed);
    if (tavapp::take_keys_and_press(ed.ctx, loop.left, [&ed] { type_key(ed); })) return;
    switch (ed.ctx->event.type) {
    case SDL_MOUSEBUTTONUP: on_button_up(ed, loop); break;
    case SDL_QUIT:
        // The window's close button, and SIGINT or SIGTERM, which SDL turns
        // into the same event: the quit command, with its question.
        ed.ctx->event.type = 0;
        ask_quit(ed);
        break;
    default: break;
    }
}

// While the left button is down, the press position acts again: operators
// scroll and resize, colour steppers step.
void repeat_held_button(Editor &ed, const Loop &loop)
{
    tav_context *ctx = ed.ctx;
    ctx->decided_object = tav_test_all_objects(ctx, loop.left.x, loop.left.y);
    tav_exa_left_pressed(ctx);
    tav_select_window(ctx);
    on_left_held(ed);
    ctx->decided_object = 0;
}

[[noreturn]] void run_event_loop(Editor &ed)
{
    Loop loop;
    loop.clock.start();
    for (;;) {
        const bool tick = loop.clock.next_pass(ed.ctx);
        const bool was_held = loop.left.held;
        handle_event(ed, loop);
        // A new press acts at once, so that even a click shorter than a
        // tick brings its window forward; a held button repeats on ticks.
        if (loop.left.held && (tick || !was_held)) repeat_held_button(ed, loop);
    }
}

}  // namespace creator

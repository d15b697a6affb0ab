// tavrin_demo: shows the toolkit at work. It loads the layout "29.tav" /
// "29.taw", fills a chain of text objects from "input.txt" and animates
// boxes, a closed polyline or wandering pixels inside a bitmap object while
// menus change the background colour, open windows or quit. Closing the
// window quits as well.
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pacing.h"
#include "tavrin.h"

namespace {

// Object numbers of the demo's layout.
enum DemoObject : uint32_t {
    WINDOW_WELCOME = 8,
    WINDOW_EDITING = 9,
    WINDOW_CHAIN = 10,
    ENTRY_SOURCE = 11,
    BUTTON_COPY = 12,
    LABEL_COPY = 16,
    BUTTON_CLOSE = 20,
    MENU_PROGRAM = 23,
    ITEM_QUIT = 24,
    ITEM_WELCOME = 25,
    TITLE_PROGRAM = 27,
    TITLE_WINDOWS = 28,
    MENU_WINDOWS = 29,
    ITEM_CHAIN = 30,
    ITEM_EDITING = 31,
    CHAIN_MOTHER = 32,
    WINDOW_ABOUT = 36,
    ITEM_ABOUT = 37,
    TITLE_COLOURS = 39,
    MENU_COLOURS = 40,
    ITEM_DARK_GREY = 41,
    ITEM_ORANGE = 42,
    ITEM_BLUE = 43,
    WINDOW_ANIMATION = 44,
    BITMAP = 46,
    ITEM_ANIMATION = 47,
    BUTTON_MODE = 48,
};

constexpr int SCREEN_W = 1024, SCREEN_H = 600;
constexpr int BITMAP_W = 260, BITMAP_H = 200;
constexpr uint32_t CHAIN_CAPACITY = 20000;
constexpr int POINT_COUNT = 100;

enum AnimationMode : uint32_t { BOXES, POLYLINE, PIXELS };

struct Point {
    uint32_t x, y;
    int32_t x_down, y_down;  // 0 increasing, 1 decreasing
    uint8_t r, g, b;
};

struct Demo {
    tav_context *ctx;
    uint32_t mode;
    Point points[POINT_COUNT];
    tavapp::LeftButton left;
    tavapp::PacedClock clock;
};

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

tav_context *new_context()
{
    auto *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    if (!ctx) std::exit(1);
    ctx->background_r = ctx->background_g = ctx->background_b = 140;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->window_width = ctx->screen_width = SCREEN_W;
    ctx->window_height = ctx->screen_height = SCREEN_H;
    ctx->convert_umlauts = 1;
    ctx->scroll_step = 3;
    return ctx;
}

void start_sdl(tav_context *ctx)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
        std::printf("SDL can not be initialized: %s\n", SDL_GetError());
    ctx->window = SDL_CreateWindow("Tavrin Demo", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, SCREEN_W,
                                   SCREEN_H, SDL_WINDOW_SHOWN);
    ctx->screen = SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    ctx->renderer = SDL_CreateRenderer(ctx->window, -1, 0);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_RenderSetLogicalSize(ctx->renderer, SCREEN_W, SCREEN_H);
    ctx->texture =
        SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, SCREEN_W, SCREEN_H);
    if (!ctx->screen) std::printf("Error.");
    if (TTF_Init() != 0) std::printf("TTF_Init: %s\n", SDL_GetError());
}

// The bitmap of object 46 and the chain's text buffer belong to the
// program: the toolkit's shut-down leaves both alone.
void free_own_memory(tav_context *ctx)
{
    if (ctx->object_count < BUTTON_MODE) return;
    tav_object &bitmap = ctx->objects[BITMAP];
    if (bitmap.kind == TAV_KIND_BITMAP) {
        SDL_FreeSurface(bitmap.image);
        bitmap.image = nullptr;
    }
    std::free(ctx->objects[CHAIN_MOTHER].stream);
    ctx->objects[CHAIN_MOTHER].stream = nullptr;
}

[[noreturn]] void close_and_exit(tav_context *ctx, const char *message)
{
    std::printf("%s", message);
    free_own_memory(ctx);
    tav_close(ctx);
    std::exit(0);
}

void open_font(tav_context *ctx)
{
    ctx->font = TTF_OpenFont("DroidSans.ttf", 11);
    if (ctx->font) return;
    std::printf("TTF_OpenFont: %s\n", SDL_GetError());
    tav_close(ctx);
    std::exit(0);
}

void create_bitmap(tav_context *ctx)
{
    tav_object &bitmap = ctx->objects[BITMAP];
    bitmap.image =
        SDL_CreateRGBSurface(0, bitmap.w, bitmap.h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (bitmap.image) return;
    SDL_Log("SDL_CreateRGBSurface() failed: %s", SDL_GetError());
    std::exit(1);
}

void fill_chain(tav_context *ctx)
{
    if (tav_prepare_chain_mother(ctx, CHAIN_MOTHER, CHAIN_CAPACITY) == -1)
        close_and_exit(ctx, "Can't get enough memory for chain mother ! \n \n ");
    // 0 means the file could not be opened, -1 that it is too big or could
    // not be read: either way the chain has nothing to show.
    if (tav_read_external_stream_copy_to_object(ctx, "input.txt", CHAIN_MOTHER) != 1)
        close_and_exit(ctx, "Can't load chain mother ! \n \n ");
}

uint32_t random_between(uint32_t lo, uint32_t hi)
{
    return lo + uint32_t(std::rand()) % (hi - lo + 1);
}

void fill_points(Demo &demo)
{
    for (Point &p : demo.points) {
        p.x = random_between(1, BITMAP_W - 1);
        p.y = random_between(1, BITMAP_H - 1);
        p.r = uint8_t(random_between(0, 255));
        p.g = uint8_t(random_between(0, 255));
        p.b = uint8_t(random_between(0, 255));
        p.x_down = p.y_down = 0;
    }
}

void paint_background(tav_context *ctx)
{
    tav_draw_box(ctx, 0, 0, int32_t(ctx->screen_width), int32_t(ctx->screen_height), ctx->background_r,
                 ctx->background_g, ctx->background_b);
}

void activate(tav_context *ctx, uint32_t window)
{
    ctx->decided_object = window;
    tav_activate_window(ctx);
}

void start(Demo &demo)
{
    tav_context *ctx = demo.ctx = new_context();
    start_sdl(ctx);
    tav_start_tavrin(ctx, 0, 0, "29.tav", "29.taw");
    if (ctx->object_count < BUTTON_MODE) close_and_exit(ctx, "29.tav does not hold the demo's objects.\n");
    ctx->objects[CHAIN_MOTHER].text_format = 1;
    open_font(ctx);
    create_bitmap(ctx);
    tav_set_operators(ctx);
    paint_background(ctx);
    fill_chain(ctx);
    ctx->objects[BITMAP].kind = TAV_KIND_BITMAP;
    ctx->objects[BITMAP].hidden = 0;
    fill_points(demo);
    activate(ctx, WINDOW_ANIMATION);
    tav_draw_all_objects(ctx, 1, 1);
    SDL_StartTextInput();  // characters as the user's keyboard layout types them
}

// ---------------------------------------------------------------------------
// Animation steps, drawn into the bitmap of object 46
// ---------------------------------------------------------------------------

void move_point(Point &p)
{
    p.x = p.x_down ? p.x - 1 : p.x + 1;
    p.y = p.y_down ? p.y - 1 : p.y + 1;
}

// Turns a point around at the edges of the bitmap (polyline and pixels).
void bounce(Point &p)
{
    if (p.x > BITMAP_W - 3) p.x_down = 1;
    if (p.x < 2) p.x_down = 0;
    if (p.y > BITMAP_H - 3) p.y_down = 1;
    if (p.y < 2) p.y_down = 0;
}

void clear_bitmap(tav_context *ctx)
{
    tav_draw_box_bm(ctx, BITMAP, 0, 0, BITMAP_W, BITMAP_H, 255, 255, 255);
}

void step_boxes(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    clear_bitmap(ctx);
    uint32_t bw = 20, bh = 20;
    for (int i = 0; i < 20; ++i) {
        Point &p = demo.points[i];
        uint32_t c = p.x + bw, d = p.y + bh;
        if (c >= BITMAP_W - 1) bw = c - (BITMAP_W - 1);
        if (d >= BITMAP_H - 1) bh = d - (BITMAP_H - 1);
        if (c >= BITMAP_W - 2) p.x_down = 1;
        if (p.x <= 1) p.x_down = 0;
        if (d >= BITMAP_H - 2) p.y_down = 1;
        if (p.y <= 1) p.y_down = 0;
        move_point(p);
        tav_draw_box_bm(ctx, BITMAP, int32_t(p.x), int32_t(p.y), int32_t(bw), int32_t(bh), p.r, p.g, p.b);
    }
}

void step_polyline(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    clear_bitmap(ctx);
    SDL_Surface *bitmap = ctx->objects[BITMAP].image;
    tav_lock(bitmap);
    for (int i = 0; i < POINT_COUNT; ++i) {
        Point &p = demo.points[i];
        const Point &next = demo.points[(i + 1) % POINT_COUNT];
        bounce(p);
        move_point(p);
        tav_draw_line_bm(ctx, BITMAP, p.x, p.y, next.x, next.y, p.r, p.g, p.b);
    }
    tav_unlock(bitmap);
}

void step_pixels(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    SDL_Surface *bitmap = ctx->objects[BITMAP].image;
    tav_lock(bitmap);
    for (Point &p : demo.points) {
        bounce(p);
        move_point(p);
        tav_draw_pixel_bm(ctx, BITMAP, p.x, p.y, p.r, p.g, p.b);
    }
    tav_unlock(bitmap);
}

void animate(Demo &demo)
{
    switch (demo.mode) {
    case BOXES: step_boxes(demo); break;
    case POLYLINE: step_polyline(demo); break;
    default: step_pixels(demo); break;
    }
    tav_draw_and_screenup_selected_window(demo.ctx);
}

// ---------------------------------------------------------------------------
// Clicks
// ---------------------------------------------------------------------------

void program_menu(tav_context *ctx)
{
    uint32_t item = tav_move_out_menu(ctx, MENU_PROGRAM, 1);
    if (item == ITEM_QUIT) close_and_exit(ctx, "");
    if (item == ITEM_WELCOME) activate(ctx, WINDOW_WELCOME);
}

void windows_menu(tav_context *ctx)
{
    switch (tav_move_out_menu(ctx, MENU_WINDOWS, 1)) {
    case ITEM_CHAIN: activate(ctx, WINDOW_CHAIN); break;
    case ITEM_EDITING: activate(ctx, WINDOW_EDITING); break;
    case ITEM_ABOUT: activate(ctx, WINDOW_ABOUT); break;
    case ITEM_ANIMATION: activate(ctx, WINDOW_ANIMATION); break;
    default: break;
    }
}

void set_background(tav_context *ctx, uint8_t r, uint8_t g, uint8_t b, const char *name)
{
    ctx->background_r = r, ctx->background_g = g, ctx->background_b = b;
    paint_background(ctx);
    tav_copy_st_last_part(name, ctx->objects[TITLE_COLOURS].text);
    tav_format_small_obj(ctx, TITLE_COLOURS);
}

void colours_menu(tav_context *ctx)
{
    switch (tav_move_out_menu(ctx, MENU_COLOURS, 0)) {
    case ITEM_DARK_GREY: set_background(ctx, 140, 140, 140, "Dark Grey"); break;
    case ITEM_ORANGE: set_background(ctx, 255, 165, 0, "Orange"); break;
    case ITEM_BLUE: set_background(ctx, 24, 144, 255, "Blue"); break;
    default: break;
    }
}

void switch_mode(Demo &demo)
{
    if (demo.mode == BOXES) {
        demo.mode = POLYLINE;
    } else if (demo.mode == POLYLINE) {
        demo.mode = PIXELS;
        clear_bitmap(demo.ctx);
    } else {
        demo.mode = BOXES;
    }
}

void copy_entry_text(tav_context *ctx)
{
    std::memcpy(ctx->objects[LABEL_COPY].text, ctx->objects[ENTRY_SOURCE].text, sizeof ctx->objects[LABEL_COPY].text);
    tav_format_small_obj(ctx, LABEL_COPY);
    tav_draw_and_screenup_selected_window(ctx);
}

void handle_click(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    switch (ctx->decided_object) {
    case BUTTON_MODE: switch_mode(demo); return;
    case BUTTON_COPY: copy_entry_text(ctx); return;
    case BUTTON_CLOSE: tav_close_win(ctx, 0); break;
    case TITLE_PROGRAM: program_menu(ctx); break;
    case TITLE_WINDOWS: windows_menu(ctx); break;
    case TITLE_COLOURS: colours_menu(ctx); break;
    default: break;
    }
    tav_draw_all_objects(ctx, 0, 1);
}

// ---------------------------------------------------------------------------
// Event loop
// ---------------------------------------------------------------------------

void on_button_up(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    const SDL_MouseButtonEvent &button = ctx->event.button;
    demo.left.held = false;
    if (button.button != SDL_BUTTON_LEFT || button.state != SDL_RELEASED) return;
    ctx->decided_object = tav_test_all_objects(ctx, button.x, button.y);
    tav_exa_left_released(ctx);
    handle_click(demo);
    ctx->event.type = 0;
    ctx->decided_object = 0;
}

void handle_event(Demo &demo, bool tick)
{
    tav_context *ctx = demo.ctx;
    if (tavapp::take_keys_and_press(ctx, demo.left)) return;
    switch (ctx->event.type) {
    case SDL_MOUSEBUTTONUP: on_button_up(demo); break;
    // The window's close button, and SIGINT or SIGTERM, which SDL turns
    // into the same event: the quit item's way out.
    case SDL_QUIT: close_and_exit(ctx, "");
    default:
        if (tick && ctx->active_window == WINDOW_ANIMATION) animate(demo);
        break;
    }
}

// While the left button is held, the press position acts again on every
// tick, so that resize and scroll operators repeat.
void repeat_held_button(Demo &demo)
{
    tav_context *ctx = demo.ctx;
    ctx->decided_object = tav_test_all_objects(ctx, demo.left.x, demo.left.y);
    tav_exa_left_pressed(ctx);
    tav_select_window(ctx);
    ctx->decided_object = 0;
}

[[noreturn]] void run(Demo &demo)
{
    demo.clock.start();
    for (;;) {
        bool tick = demo.clock.next_pass(demo.ctx);
        bool was_pressed = demo.left.held;
        handle_event(demo, tick);
        // A new press acts at once, so that even a click shorter than a
        // tick brings its window forward; a held button repeats on ticks.
        if (demo.left.held && (tick || !was_pressed)) repeat_held_button(demo);
    }
}

}  // namespace

int main(int, char **)
{
    static Demo demo;
    start(demo);
    run(demo);
}

// The screens that the benchmarks time and that the fast-path test draws
// both ways: the layout editor with a 100-object design, its file selector
// and its four property forms open; the demo with all its windows open;
// and a small layout of one record-text window and a five-member chain.
// Every scene is started headless (SDL's dummy video driver) with the fast
// paths switched on or off through TAVRIN_FAST_PATHS, which the toolkit
// reads when tav_start_tavrin starts a layout.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "creator.h"
#include "tavrin.h"

namespace scenes {

// Deterministic prose: words of 1 to 12 letters, a line feed now and then.
inline std::string prose(size_t length, uint32_t seed = 12345)
{
    std::string text;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t letters = 1 + (seed >> 16) % 12;
        for (uint32_t i = 0; i < letters; ++i) text += char('a' + (seed >> (i % 8)) % 26);
        text += (seed >> 8) % 23 == 0 ? '\n' : ' ';
    }
    text.resize(length);
    return text;
}

// Starts the toolkit with the fast paths on or off, in `folder` (the files
// a layout names are looked up from the working directory), and comes back
// to the folder it was called in.
template <typename Start>
void start_in(const char *folder, bool fast, Start start)
{
    char here[4096];
    if (!getcwd(here, sizeof here)) here[0] = '\0';
    setenv("TAVRIN_FAST_PATHS", fast ? "1" : "0", 1);
    if (chdir(folder) == 0) {
        start();
        if (here[0] && chdir(here) != 0) std::perror(here);
    }
    unsetenv("TAVRIN_FAST_PATHS");
}

// The window, screen surface, renderer and texture the programs make.
inline bool open_display(tav_context *ctx, const char *title, int width, int height)
{
    ctx->window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_HIDDEN);
    ctx->screen = SDL_CreateRGBSurface(0, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->screen) SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    if (ctx->window) ctx->renderer = SDL_CreateRenderer(ctx->window, -1, SDL_RENDERER_SOFTWARE);
    if (ctx->renderer)
        ctx->texture =
            SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    ctx->screen_width = ctx->window_width = uint32_t(width);
    ctx->screen_height = ctx->window_height = uint32_t(height);
    return ctx->screen && ctx->texture && TTF_Init() == 0;
}

inline void close_display(tav_context *ctx)
{
    if (ctx->texture) SDL_DestroyTexture(ctx->texture);
    if (ctx->renderer) SDL_DestroyRenderer(ctx->renderer);
    if (ctx->window) SDL_DestroyWindow(ctx->window);
    ctx->texture = nullptr, ctx->renderer = nullptr, ctx->window = nullptr;
}

// Closes a context as a program does: its own memory first (the stream of
// the chain mother `mother`, when there is one), the display, the toolkit.
inline void close_context(tav_context *ctx, uint32_t mother)
{
    if (!ctx) return;
    if (tav_object *m = ctx->objects && mother != 0 && mother <= ctx->object_count ? &ctx->objects[mother] : nullptr) {
        std::free(m->stream);
        m->stream = nullptr;
    }
    close_display(ctx);
    if (ctx->objects) tav_close(ctx);
    std::free(ctx);
}

// ---------------------------------------------------------------------------
// The layout editor
// ---------------------------------------------------------------------------

constexpr uint32_t DESIGN_OBJECTS = 100;

// A design of 100 working objects behind the editor's own: ten windows with
// a record text and four dependents each (a label, an entry field, a text
// field with a record text of its own and a box), then loose labels, entry
// and number fields and boxes.
inline void build_design(creator::Editor &ed)
{
    tav_context *ctx = ed.ctx;
    const uint32_t base = ctx->object_count;
    uint32_t record = ctx->text_record_count;
    auto put = [&](uint32_t n, uint32_t kind, int32_t x, int32_t y, int32_t w, int32_t h) -> tav_object & {
        tav_object &o = ctx->objects[base + n];
        o.kind = kind, o.x = x, o.y = y, o.w = w, o.h = h;
        o.fill_r = 200 + int32_t(n % 50), o.fill_g = 230, o.fill_b = 250 - int32_t(n % 40);
        o.text_r = 20, o.text_g = 30, o.text_b = int32_t(n % 90);
        o.border_style = 4, o.border_r = 60, o.border_g = 60, o.border_b = 90;
        o.margin_left = o.margin_right = o.margin_top = o.margin_bottom = 4;
        std::snprintf(o.text, sizeof o.text, "Object %u of the design", n);
        return o;
    };
    auto give_text = [&](tav_object &o, size_t length, uint32_t seed) {
        o.text_record = ++record;
        const std::string text = prose(length, seed);
        std::memcpy(ctx->text_records[record].text, text.c_str(), text.size() + 1);
    };
    uint32_t n = 0;
    for (uint32_t w = 0; w < 10; ++w) {
        const int32_t x = 40 + int32_t(w) * 90, y = 60 + int32_t(w) * 40;
        tav_object &window = put(++n, TAV_KIND_WINDOW, x, y, 420, 300);
        window.margin_top = 30;
        give_text(window, 300, w + 1);
        const uint32_t self = base + n;
        const uint32_t kinds[] = {TAV_KIND_LABEL, TAV_KIND_ENTRY, TAV_KIND_TEXT, TAV_KIND_BOX};
        for (int d = 0; d < 4; ++d) {
            tav_object &dep = put(++n, kinds[d], x + 10, y + 40 + d * 60, 380, d == 2 ? 100 : 40);
            dep.master = self;
            window.dependents[d] = base + n;
            if (kinds[d] == TAV_KIND_TEXT) give_text(dep, 200, 100 + w);
        }
    }
    const uint32_t loose[] = {TAV_KIND_LABEL, TAV_KIND_ENTRY, TAV_KIND_NUMBER, TAV_KIND_BOX, TAV_KIND_LABEL};
    for (uint32_t k = 0; n < DESIGN_OBJECTS; ++k)
        put(++n, loose[k % 5], 20 + int32_t(k % 10) * 120, 500 + int32_t(k / 10) * 40, 110, 30);
    ed.state.number_of_working_objects = DESIGN_OBJECTS;
}

// Starts the editor as its program does, in its run folder, builds the
// design and opens the file selector and the four property forms on it.
inline bool open_editor(creator::Editor &ed, const char *run_dir, bool fast)
{
    bool started = false;
    start_in(run_dir, fast, [&] {
        if (!creator::start_editor(ed)) return;
        build_design(ed);
        creator::select_working_object(ed, 2, 0);
        creator::open_selector(ed, creator::PURPOSE_OPEN, "Open");
        const struct {
            creator::Form form;
            uint32_t window;
        } forms[] = {{creator::BEHAVIOUR_FORM, creator::BEHAVIOUR_WINDOW},
                     {creator::GEOMETRY_FORM, creator::GEOMETRY_WINDOW},
                     {creator::TEXT_FORM, creator::TEXT_FORM_WINDOW},
                     {creator::COLOUR_FORM, creator::COLOUR_WINDOW}};
        for (const auto &f : forms) {
            creator::load_and_show_form(ed, f.form);
            creator::open_window(ed, f.window);
        }
        started = true;
    });
    return started;
}

// ---------------------------------------------------------------------------
// The demo
// ---------------------------------------------------------------------------

// Object numbers of the demo's layout.
enum DemoObject : uint32_t {
    DEMO_WELCOME = 8,
    DEMO_EDITING = 9,
    DEMO_CHAIN_WINDOW = 10,
    DEMO_CHAIN_MOTHER = 32,
    DEMO_ABOUT = 36,
    DEMO_ANIMATION = 44,
    DEMO_BITMAP = 46,
};

constexpr int DEMO_W = 1024, DEMO_H = 600;

inline void close_demo(tav_context *ctx);
inline void close_text_layout(tav_context *ctx);

// The demo as its program starts it, then with every window open and the
// animation window in front.
inline tav_context *open_demo(const char *run_dir, bool fast)
{
    tav_context *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    bool started = false;
    start_in(run_dir, fast, [&] {
        SDL_Init(SDL_INIT_VIDEO);
        ctx->background_r = ctx->background_g = ctx->background_b = 140;
        ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
        ctx->convert_umlauts = 1;
        ctx->scroll_step = 3;
        if (!open_display(ctx, "Tavrin Demo", DEMO_W, DEMO_H)) return;
        tav_start_tavrin(ctx, 0, 0, "29.tav", "29.taw");
        if (ctx->object_count < DEMO_BITMAP) return;
        ctx->objects[DEMO_CHAIN_MOTHER].text_format = 1;
        ctx->font = TTF_OpenFont("DroidSans.ttf", 11);
        tav_object &bitmap = ctx->objects[DEMO_BITMAP];
        bitmap.image = SDL_CreateRGBSurface(0, bitmap.w, bitmap.h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
        if (!ctx->font || !bitmap.image) return;
        bitmap.kind = TAV_KIND_BITMAP;
        bitmap.hidden = 0;
        tav_draw_box_bm(ctx, DEMO_BITMAP, 0, 0, bitmap.w, bitmap.h, 255, 255, 255);
        tav_set_operators(ctx);
        tav_draw_box(ctx, 0, 0, DEMO_W, DEMO_H, 140, 140, 140);
        if (tav_prepare_chain_mother(ctx, DEMO_CHAIN_MOTHER, 20000) != 1 ||
            tav_read_external_stream_copy_to_object(ctx, "input.txt", DEMO_CHAIN_MOTHER) != 1)
            return;
        for (uint32_t window : {DEMO_WELCOME, DEMO_EDITING, DEMO_CHAIN_WINDOW, DEMO_ABOUT, DEMO_ANIMATION}) {
            ctx->decided_object = window;
            tav_activate_window(ctx);
        }
        ctx->decided_object = 0;
        tav_draw_all_objects(ctx, 1, 0);
        started = true;
    });
    if (started) return ctx;
    close_demo(ctx);
    return nullptr;
}

// The bitmap belongs to the program as well.
inline void close_demo(tav_context *ctx)
{
    if (ctx && ctx->objects && ctx->object_count >= DEMO_BITMAP) {
        SDL_FreeSurface(ctx->objects[DEMO_BITMAP].image);
        ctx->objects[DEMO_BITMAP].image = nullptr;
    }
    close_context(ctx, DEMO_CHAIN_MOTHER);
}

inline void close_editor(creator::Editor &ed)
{
    close_context(ed.ctx, 0);
    ed.ctx = nullptr;
}

// ---------------------------------------------------------------------------
// One window with a full record text and a chain of five members
// ---------------------------------------------------------------------------

constexpr uint32_t TEXT_WINDOW = 8, CHAIN_MOTHER = 9, FIRST_MEMBER = 10, MEMBER_COUNT = 5;
constexpr uint32_t STREAM_SIZE = 20000;

namespace detail {

// Field offsets of an object record in a .tav file.
constexpr int off_x = 0, off_y = 4, off_w = 8, off_h = 12, off_text_record = 172;
constexpr int off_line_width = 208, off_kind = 228, off_master = 284, off_dependents = 288;

struct Record {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(TAV_OBJECT_RECORD_SIZE, 0);
    Record &set(int offset, uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes[size_t(offset + i)] = uint8_t(v >> (8 * i));
        return *this;
    }
};

inline bool write_bytes(const char *path, const std::vector<uint8_t> &bytes)
{
    std::FILE *f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Objects 1..7 are the operators; 8 a window with a record text; 9 a chain
// mother with the members 10..14, one text record each.
inline bool write_text_layout(const char *tav, const char *taw)
{
    std::vector<Record> objects(TAV_OPERATOR_COUNT);
    for (Record &op : objects) op.set(off_kind, TAV_KIND_LABEL).set(off_w, 16).set(off_h, 16);
    objects.push_back(Record().set(off_kind, TAV_KIND_WINDOW).set(off_x, 20).set(off_y, 40).set(off_w, 600)
                          .set(off_h, 700).set(off_text_record, 1).set(off_line_width, 580));
    Record chain;
    chain.set(off_kind, TAV_KIND_CHAIN).set(off_x, 640).set(off_y, 40).set(off_w, 600).set(off_h, 660);
    for (uint32_t i = 0; i < MEMBER_COUNT; ++i) chain.set(off_dependents + 4 * int(i), FIRST_MEMBER + i);
    objects.push_back(chain);
    for (uint32_t i = 0; i < MEMBER_COUNT; ++i)
        objects.push_back(Record().set(off_kind, TAV_KIND_CHAIN).set(off_x, 650).set(off_y, int(50 + 130 * i))
                              .set(off_w, 580).set(off_h, 120).set(off_master, CHAIN_MOTHER)
                              .set(off_text_record, 2 + i).set(off_line_width, 560));
    std::vector<uint8_t> all;
    for (const Record &r : objects) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    if (!write_bytes(tav, all)) return false;
    all.assign(size_t(TAV_TEXT_RECORD_SIZE) * (1 + MEMBER_COUNT), 0);
    for (uint32_t i = 0; i <= MEMBER_COUNT; ++i)
        all[size_t(TAV_TEXT_RECORD_SIZE) * i] = uint8_t(TEXT_WINDOW + (i ? 1 + i : 0));
    return write_bytes(taw, all);
}

}  // namespace detail

// The window's record holds 999 characters of prose, the mother a stream
// of 19999; the layout files are written to `folder` and removed again.
inline tav_context *open_text_layout(const char *folder, bool fast)
{
    tav_context *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    bool started = false;
    start_in(folder, fast, [&] {
        SDL_Init(SDL_INIT_VIDEO);
        ctx->convert_umlauts = 1;
        ctx->scroll_step = 4;
        if (!open_display(ctx, "Tavrin Bench", 1280, 720) ||
            !detail::write_text_layout("bench_layout.tav", "bench_layout.taw"))
            return;
        tav_start_tavrin(ctx, 0, 0, "bench_layout.tav", "bench_layout.taw");
        std::remove("bench_layout.tav");
        std::remove("bench_layout.taw");
        ctx->font = TTF_OpenFont("DroidSans.ttf", 12);
        if (!ctx->font || tav_prepare_chain_mother(ctx, CHAIN_MOTHER, STREAM_SIZE) != 1) return;
        const std::string record_text = prose(TAV_RECORD_TEXT_SIZE - 1);
        std::memcpy(ctx->text_records[1].text, record_text.c_str(), record_text.size() + 1);
        const std::string stream = prose(STREAM_SIZE - 1);
        std::memcpy(ctx->objects[CHAIN_MOTHER].stream, stream.c_str(), stream.size() + 1);
        started = true;
    });
    if (started) return ctx;
    close_text_layout(ctx);
    return nullptr;
}

inline void close_text_layout(tav_context *ctx)
{
    close_context(ctx, CHAIN_MOTHER);
}

// A copy of the screen's pixels.
inline std::vector<uint32_t> screen_pixels(const tav_context *ctx)
{
    const SDL_Surface *s = ctx->screen;
    std::vector<uint32_t> pixels(size_t(s->w) * size_t(s->h));
    for (int y = 0; y < s->h; ++y)
        std::memcpy(&pixels[size_t(y) * size_t(s->w)], static_cast<const uint8_t *>(s->pixels) + size_t(y) * s->pitch,
                    size_t(s->w) * 4);
    return pixels;
}

}  // namespace scenes

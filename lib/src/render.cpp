// Drawing of a layout into the screen surface: loose objects, the windows of
// the window stack, the active window with its marks, the operators; single
// objects with their box or image, text lines and border; dependents clipped
// by their masters; the text cursor. Texts are laid out elsewhere: this file
// only measures, clips and renders the formatted lines.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cwchar>

#include "internal.h"
#include "subtree_walk.h"
#include "tavrin.h"
#include "textcache.h"

namespace {

// A window is kept where its operators, 24 pixels above it, stay on screen.
constexpr int32_t window_min_x = 11;
constexpr int32_t window_min_y = 25;

// The marks of the active window: a square left of its top-left corner.
constexpr int32_t corner_mark_size = 10;

// Operators are drawn at this size whatever their records say.
constexpr int32_t operator_size = 16;

struct Rgb {
    uint8_t r, g, b;
};

// A clip region: pixels strictly between left and right, top and bottom.
struct Region {
    int64_t left, right, top, bottom;
};

// The visible part of one axis of an object or text line: first screen
// pixel, number of pixels and the matching offset in the source surface.
struct Span {
    int32_t start, size, source;
};

int32_t clamp32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

Rgb background_of(const tav_context *ctx)
{
    return {ctx->background_r, ctx->background_g, ctx->background_b};
}

Rgb mark_of(const tav_context *ctx)
{
    return {ctx->mark_r, ctx->mark_g, ctx->mark_b};
}

// Object colours keep each channel in the low byte of an int32.
Rgb fill_of(const tav_object *o)
{
    return {uint8_t(o->fill_r), uint8_t(o->fill_g), uint8_t(o->fill_b)};
}

// Sets n pixels of a row. Where wchar_t is 32 bits wide, the C library's
// wmemset does it at the speed of its tuned memset.
void fill_row(Uint32 *row, size_t n, Uint32 value)
{
    if constexpr (sizeof(wchar_t) == sizeof(Uint32))
        std::wmemset(reinterpret_cast<wchar_t *>(row), wchar_t(value), n);
    else
        std::fill_n(row, n, value);
}

// Fills a box exactly as SDL_FillRect does (cut to the screen's clip
// rectangle, every pixel set to the mapped colour), with plain stores. SDL's
// own fill streams past the processor's caches, which costs several times
// more for the many boxes of a layout that is drawn again and again. False
// when the context has no fast paths or the screen is not a plain 32-bit
// surface; tav_draw_box does the fill then.
bool fill_directly(tav_context *ctx, SDL_Rect rect, Rgb c)
{
    SDL_Surface *s = ctx->screen;
    if (!s || !s->pixels || s->format->BytesPerPixel != 4 || (s->flags & SDL_RLEACCEL) || !tav::text_caches(ctx))
        return false;
    SDL_Rect clipped;
    if (s->w == 0 || s->h == 0 || !SDL_IntersectRect(&rect, &s->clip_rect, &clipped)) return true;
    const Uint32 value = SDL_MapRGB(s->format, c.r, c.g, c.b);
    auto *row = static_cast<Uint8 *>(s->pixels) + size_t(clipped.y) * size_t(s->pitch) + size_t(clipped.x) * 4;
    for (int y = 0; y < clipped.h; ++y, row += s->pitch)
        fill_row(reinterpret_cast<Uint32 *>(row), size_t(clipped.w), value);
    return true;
}

void box(tav_context *ctx, int64_t x, int64_t y, int64_t w, int64_t h, Rgb c)
{
    if (!ctx) return;
    const SDL_Rect rect{clamp32(x), clamp32(y), clamp32(w), clamp32(h)};
    if (!fill_directly(ctx, rect, c)) tav_draw_box(ctx, rect.x, rect.y, rect.w, rect.h, c.r, c.g, c.b);
}

bool is_operator(uint32_t n)
{
    return n >= 1 && n <= TAV_OPERATOR_COUNT;
}

bool is_independent_window(const tav_object *o)
{
    return o->kind == TAV_KIND_WINDOW && o->master == 0;
}

bool has_size(const tav_object *o)
{
    return o->w != 0 && o->h != 0;
}

bool is_image(const tav_object *o)
{
    return o->kind == TAV_KIND_IMAGE || o->kind == TAV_KIND_BITMAP;
}

// Objects that can show a text cursor.
bool takes_cursor(const tav_object *o)
{
    switch (o->kind) {
    case TAV_KIND_WINDOW:
    case TAV_KIND_TEXT:
    case TAV_KIND_ENTRY:
    case TAV_KIND_NUMBER:
    case TAV_KIND_CHAIN: return true;
    default: return false;
    }
}

// Moves an independent window back where its operators can still be shown.
void pull_window_on_screen(tav_object *o)
{
    if (!is_independent_window(o)) return;
    o->x = std::max(o->x, window_min_x);
    o->y = std::max(o->y, window_min_y);
}

Region dep_object_region(tav_context *ctx, uint32_t n)
{
    int32_t l = 0, r = 0, t = 0, b = 0;
    tav_get_borders_for_dep_object(ctx, n, &l, &r, &t, &b);
    return {l, r, t, b};
}

Region text_region(tav_context *ctx, uint32_t n)
{
    int32_t l = 0, r = 0, t = 0, b = 0;
    tav_get_borders_for_text(ctx, n, &l, &r, &t, &b);
    return {l, r, t, b};
}

// Narrows a region to the screen. Whatever lies off the screen is never
// drawn, so this changes no pixel but keeps every rectangle handed to SDL
// within the screen's coordinates.
Region on_screen(const tav_context *ctx, Region r)
{
    return {std::max<int64_t>(r.left, -1), std::min<int64_t>(r.right, ctx->screen_width),
            std::max<int64_t>(r.top, -1), std::min<int64_t>(r.bottom, ctx->screen_height)};
}

// Clips the pixels first..last (inclusive) of one axis against the open
// interval (lo, hi): the run lies inside, is cut at the low end, at the high
// end, or at both. Returns false when the run does not reach into the
// interval at all; the span may still be empty when the interval is.
bool clip_span(int64_t lo, int64_t hi, int64_t first, int64_t last, Span *span)
{
    bool first_in = lo < first && first < hi;
    bool last_in = lo < last && last < hi;
    int64_t start, size, source;
    if (first_in && last_in) {
        start = first, size = last - first + 1, source = 0;
    } else if (last_in && first <= lo) {
        start = lo + 1, size = last - lo, source = lo - first + 1;
    } else if (first_in && last >= hi) {
        start = first, size = hi - first, source = 0;
    } else if (first <= lo && last >= hi) {
        start = lo + 1, size = std::max<int64_t>(hi - lo - 1, 0), source = lo - first + 1;
    } else {
        return false;
    }
    *span = {clamp32(start), clamp32(size), clamp32(source)};
    return true;
}

// Clips a rectangle on both axes; false when nothing of it is left to draw.
bool clip_rect(const Region &r, int64_t x, int64_t y, int64_t w, int64_t h, Span *cols, Span *rows)
{
    return clip_span(r.left, r.right, x, x + w - 1, cols) && clip_span(r.top, r.bottom, y, y + h - 1, rows) &&
           cols->size > 0 && rows->size > 0;
}

// Copies the part of a surface that two spans select onto the screen.
void blit_spans(tav_context *ctx, SDL_Surface *surface, const Span &cols, const Span &rows)
{
    SDL_Rect src{cols.source, rows.source, cols.size, rows.size};
    SDL_Rect dst{cols.start, rows.start, cols.size, rows.size};
    SDL_UpperBlit(surface, &src, ctx->screen, &dst);
}

// The size an object is drawn at: operators are always 16 x 16, other
// independent objects are cut at the screen's right and bottom edges, and
// dependents are clipped by their masters instead.
void drawing_size(tav_context *ctx, uint32_t n, const tav_object *o, int32_t *w, int32_t *h)
{
    if (is_operator(n)) {
        *w = *h = operator_size;
    } else if (o->master == 0) {
        *w = tav_p_cutted_w_independent(ctx, n);
        *h = tav_p_cutted_h_independent(ctx, n);
    } else {
        *w = *h = 0;
    }
}

// The rectangle an object's body filled with its fill colour; empty when
// the body is an image or nothing.
struct Filled {
    int64_t x = 0, y = 0, w = 0, h = 0;

    // Whether the part of a line that two spans select lies wholly on it.
    bool covers(const Span &cols, const Span &rows) const
    {
        return cols.start >= x && int64_t(cols.start) + cols.size <= x + w && rows.start >= y &&
               int64_t(rows.start) + rows.size <= y + h;
    }
};

// Box or image of an independent object. Only the screen's edges clip it.
Filled draw_independent_body(tav_context *ctx, const tav_object *o, int32_t vw, int32_t vh)
{
    if (!is_image(o)) {
        if (o->kind == TAV_KIND_IMAGE_FILE) return {};
        box(ctx, o->x, o->y, vw, vh, fill_of(o));
        return {o->x, o->y, vw, vh};
    }
    if (o->image) blit_spans(ctx, o->image, {o->x, o->image->w, 0}, {o->y, o->image->h, 0});
    return {};
}

// Box or image of a dependent object, cut to the area its masters leave.
Filled draw_dependent_body(tav_context *ctx, uint32_t n, const tav_object *o)
{
    Region r = on_screen(ctx, dep_object_region(ctx, n));
    Span cols, rows;
    if (!clip_rect(r, o->x, o->y, o->w, o->h, &cols, &rows)) return {};
    if (is_image(o)) {
        if (o->image) blit_spans(ctx, o->image, cols, rows);
    } else if (o->kind != TAV_KIND_IMAGE_FILE) {
        box(ctx, cols.start, rows.start, cols.size, rows.size, fill_of(o));
        return {cols.start, rows.start, cols.size, rows.size};
    }
    return {};
}

// Where an object's text lines come from: its own one-line text, or the
// formatted lines of its text record.
struct TextLines {
    const char *own_text;            // kinds 2, 5 and 6
    const tav_line_buffer *buffer;   // kinds 1, 3 and 8
    uint32_t count;
};

bool find_text_lines(tav_context *ctx, const tav_object *o, TextLines *t)
{
    switch (o->kind) {
    case TAV_KIND_LABEL:
    case TAV_KIND_ENTRY:
    case TAV_KIND_NUMBER:
        // A short text is a single line, whatever line_count says.
        *t = {o->text, nullptr, 1};
        return o->text[0] != 0;
    case TAV_KIND_WINDOW:
    case TAV_KIND_TEXT: {
        const tav_text_record *record = tav::text_record_at(ctx, o->text_record);
        if (!record || record->text[0] == 0) return false;
        break;
    }
    case TAV_KIND_CHAIN:
        // A chain member shows its share of the stream, empty or not.
        if (!tav::text_record_at(ctx, o->text_record)) return false;
        break;
    default: return false;
    }
    *t = {nullptr, tav::line_buffer_at(ctx, o->text_record), std::min<uint32_t>(o->line_count, TAV_MAX_LINES - 1) + 1};
    return t->buffer != nullptr;
}

// Copies line j into a terminated buffer: neither the object's own text nor
// a line buffer is trusted to hold its terminator.
void copy_line(const TextLines &t, uint32_t j, char line[TAV_LINE_SIZE])
{
    const char *src = t.own_text ? t.own_text : t.buffer->lines[j];
    size_t limit = t.own_text ? TAV_SHORT_TEXT_SIZE : TAV_LINE_SIZE;
    size_t n = 0;
    while (n < limit && n < TAV_LINE_SIZE - 1 && src[n]) {
        line[n] = src[n];
        ++n;
    }
    line[n] = 0;
}

// A window of style 1 with text format 1 centres each line of its title.
bool centres_title(const tav_object *o)
{
    return o->kind == TAV_KIND_WINDOW && o->window_style == 1 && o->text_format == 1;
}

// Half of a signed value, rounded down as an arithmetic shift does.
int64_t floor_half(int64_t v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

// Renders one line with the object's font and colour and copies its visible
// part. The rendered surface is kept in text_surface until the next line.
// A line that lies wholly on the object's freshly filled box would blend
// with nothing but the fill colour: it is taken from the caches already
// composited over that colour and copied as it is, pixel for pixel the same.
void render_line(tav_context *ctx, TTF_Font *font, const tav_object *o, const char *line, const Span &cols,
                 const Span &rows, bool on_fill)
{
    SDL_Color colour{uint8_t(o->text_r), uint8_t(o->text_g), uint8_t(o->text_b), 255};
    SDL_Surface *surface = nullptr;
    if (on_fill) {
        const Rgb fill = fill_of(o);
        const Uint32 under = SDL_MapRGB(ctx->screen->format, fill.r, fill.g, fill.b);
        surface = tav::composited_line(ctx, font, line, colour, under);
    }
    if (!surface) surface = TTF_RenderText_Blended(font, line, colour);
    if (!surface) return;
    SDL_FreeSurface(ctx->text_surface);
    ctx->text_surface = surface;
    blit_spans(ctx, surface, cols, rows);
}

// The text lines of an object, clipped line by line to its text area (and,
// for a dependent, to the area its masters leave).
void draw_text(tav_context *ctx, uint32_t n, tav_object *o, int32_t vw, int32_t vh, const Filled &filled)
{
    TextLines t;
    TTF_Font *font = tav::object_font(ctx, o);
    if (!font || !find_text_lines(ctx, o, &t)) return;
    bool dependent = o->master != 0;
    int64_t last_col = int64_t(o->x) + (dependent ? o->w : vw) - 1;
    int64_t last_row = int64_t(o->y) + (dependent ? o->h : vh) - 1;
    Region area{int64_t(o->x) + o->margin_left - 1, last_col - o->margin_right + 1,
                int64_t(o->y) + o->margin_top - 1, last_row - o->margin_bottom + 1};
    Region clip = dependent ? text_region(ctx, n) : area;
    Region visible = on_screen(ctx, clip);
    int64_t title_room = 0;
    if (centres_title(o)) title_room = dependent ? tav_p_cutted_w_dependent(ctx, n) : vw;
    int64_t advance = int64_t(TTF_FontHeight(font)) + o->line_spacing;
    for (uint32_t j = 0; j < t.count; ++j) {
        int64_t top = int64_t(o->offset_y) + area.top + 1 + int64_t(j) * advance;
        if (top >= clip.bottom) break;
        char line[TAV_LINE_SIZE];
        copy_line(t, j, line);
        int tw = tav::text_width(ctx, font, line);
        if (tw < title_room) o->offset_x = clamp32(floor_half(area.right - area.left - 1 - tw));
        int64_t start = int64_t(o->offset_x) + area.left + 1;
        Span cols, rows;
        if (clip_rect(visible, start, top, tw, advance, &cols, &rows))
            render_line(ctx, font, o, line, cols, rows, filled.covers(cols, rows));
    }
}

// Draws the object's text cursor when it holds the cursor.
void draw_cursor_if_held(tav_context *ctx, uint32_t n, const tav_object *o)
{
    if (ctx->cursor_object == n && takes_cursor(o)) tav_draw_cursor(ctx, n);
}

// Lays out every text before a full redraw. A chain is laid out from its
// first member only, the one whose master is not a chain member itself.
void format_all(tav_context *ctx)
{
    for (uint32_t i = 1; i <= ctx->object_count; ++i) {
        tav_object *o = tav::object_at(ctx, i);
        if (!o) break;
        if (!has_size(o)) continue;
        switch (o->kind) {
        case TAV_KIND_CHAIN: {
            const tav_object *m = tav::object_at(ctx, o->master);
            if (!m || m->kind != TAV_KIND_CHAIN) tav_format_stream_to_linked_objects(ctx, i);
            break;
        }
        case TAV_KIND_WINDOW:
        case TAV_KIND_TEXT: tav_format_object_text(ctx, i); break;
        case TAV_KIND_LABEL:
        case TAV_KIND_ENTRY:
        case TAV_KIND_NUMBER: tav_format_small_obj(ctx, i); break;
        default: break;
        }
    }
}

// Objects without a master that are neither windows nor text fields: they
// lie below every window.
void draw_loose_objects(tav_context *ctx)
{
    for (uint32_t i = TAV_OPERATOR_COUNT + 1; i <= ctx->object_count; ++i) {
        tav_object *o = tav::object_at(ctx, i);
        if (!o) break;
        if (o->hidden != 0 || !has_size(o) || o->master != 0) continue;
        if (o->kind == TAV_KIND_EMPTY || o->kind == TAV_KIND_WINDOW || o->kind == TAV_KIND_TEXT) continue;
        tav_evoke_object(ctx, i);
        draw_cursor_if_held(ctx, i, o);
        if (o->dependents[0] != 0) tav_draw_dep_objs(ctx, i);
    }
}

uint32_t stack_count(const tav_context *ctx)
{
    return std::min<uint32_t>(ctx->window_stack_count, TAV_MAX_WINDOWS);
}

// The open windows behind the active one, from the bottom of the stack up.
void draw_background_windows(tav_context *ctx)
{
    for (uint32_t k = stack_count(ctx); k-- > 1;) {
        uint32_t n = ctx->window_stack[k];
        const tav_object *o = tav::object_at(ctx, n);
        if (!o || o->kind != TAV_KIND_WINDOW || !has_size(o) || o->hidden != 0 || n == ctx->active_window) continue;
        tav_evoke_object(ctx, n);
        tav_draw_dep_objs(ctx, n);
    }
}

void draw_active_window(tav_context *ctx)
{
    uint32_t n = ctx->active_window;
    const tav_object *o = tav::object_at(ctx, n);
    if (!o || ctx->window_stack[0] == 0 || o->hidden != 0 || !has_size(o)) return;
    tav_evoke_object(ctx, n);
    tav_draw_selected_box(ctx, n);
    tav_draw_selected_lines(ctx, n);
    draw_cursor_if_held(ctx, n, o);
    tav_draw_dep_objs(ctx, n);
}

void draw_operators(tav_context *ctx)
{
    for (uint32_t i = 1; i <= TAV_OPERATOR_COUNT; ++i) {
        const tav_object *o = tav::object_at(ctx, i);
        if (o && o->hidden == 0) tav_evoke_object(ctx, i);
    }
}

// The square mark left of a window's top-left corner.
void corner_mark(tav_context *ctx, const tav_object *o, Rgb c)
{
    box(ctx, int64_t(o->x) - corner_mark_size, int64_t(o->y) - 1, corner_mark_size, corner_mark_size, c);
}

// The one-pixel frame around a window's visible area.
void frame_mark(tav_context *ctx, uint32_t n, const tav_object *o, Rgb c)
{
    int64_t vw = tav_p_cutted_w_independent(ctx, n);
    int64_t vh = tav_p_cutted_h_independent(ctx, n);
    tav_draw_rectangle(ctx, clamp32(int64_t(o->x) - 1), clamp32(int64_t(o->y) - 1), clamp32(vw + 2), clamp32(vh + 2),
                       c.r, c.g, c.b);
}

// The marks sit left of and above the window: keep the window far enough
// from the screen's left and top edges for them.
void make_room_for_marks(tav_object *o, int32_t min_y)
{
    if (o->x < window_min_x) o->x = window_min_x;
    if (o->y < min_y) o->y = 2;
}

}  // namespace

int32_t tav_draw_all_objects(tav_context *ctx, int32_t format, int32_t update)
{
    if (!ctx || !ctx->screen) return 1;
    if (format == 1) format_all(ctx);
    draw_loose_objects(ctx);
    draw_background_windows(ctx);
    draw_active_window(ctx);
    draw_operators(ctx);
    if (update == 1) tav_screenupdate(ctx);
    return 1;
}

void tav_evoke_object(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    // An empty slot is drawn as nothing, and so is a kind no layout has.
    if (!o || !ctx->screen || o->kind == TAV_KIND_EMPTY || o->kind > TAV_KIND_BITMAP) return;
    pull_window_on_screen(o);
    int32_t vw = 0, vh = 0;
    drawing_size(ctx, object, o, &vw, &vh);
    Filled filled = o->master == 0 ? draw_independent_body(ctx, o, vw, vh) : draw_dependent_body(ctx, object, o);
    draw_text(ctx, object, o, vw, vh, filled);
    tav_evoke_borders(ctx, object);
}

void tav_undraw_object(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o) return;
    pull_window_on_screen(o);
    box(ctx, o->x, o->y, o->w, o->h, background_of(ctx));
}

void tav_draw_selected_box(tav_context *ctx, uint32_t window)
{
    tav_object *o = tav::object_at(ctx, window);
    if (!o) return;
    make_room_for_marks(o, 2);
    corner_mark(ctx, o, mark_of(ctx));
}

void tav_undraw_selected_box(tav_context *ctx, uint32_t window)
{
    tav_object *o = tav::object_at(ctx, window);
    if (!o) return;
    pull_window_on_screen(o);
    corner_mark(ctx, o, background_of(ctx));
}

void tav_draw_selected_lines(tav_context *ctx, uint32_t window)
{
    tav_object *o = tav::object_at(ctx, window);
    if (!o) return;
    make_room_for_marks(o, 1);
    frame_mark(ctx, window, o, mark_of(ctx));
}

void tav_undraw_selected_lines(tav_context *ctx, uint32_t window)
{
    tav_object *o = tav::object_at(ctx, window);
    if (!o) return;
    pull_window_on_screen(o);
    frame_mark(ctx, window, o, background_of(ctx));
}

void tav_draw_selected_window(tav_context *ctx)
{
    if (!ctx) return;
    uint32_t n = ctx->active_window;
    if (const tav_object *o = tav::object_at(ctx, n)) {
        tav_evoke_object(ctx, n);
        draw_cursor_if_held(ctx, n, o);
        tav_draw_dep_objs(ctx, n);
    }
    draw_operators(ctx);
}

void tav_draw_and_screenup_selected_window(tav_context *ctx)
{
    if (!ctx) return;
    tav_draw_selected_window(ctx);
    tav_screenupdate(ctx);
}

void tav_draw_dep_objs(tav_context *ctx, uint32_t master)
{
    const tav_object *m = tav::object_at(ctx, master);
    if (!m || m->dependents[0] == 0) return;
    // Each level decides which of its dependents are visible before they
    // are drawn; a visible dependent is drawn before its own subtree.
    tav_switch_dep_object(ctx, master);
    tav::walk_subtree(ctx, master, [ctx](uint32_t n, tav_object &d) {
        if (d.hidden != 0 || !has_size(&d)) return tav::WalkStep::skip;
        tav_evoke_object(ctx, n);
        draw_cursor_if_held(ctx, n, &d);
        if (d.dependents[0] != 0) tav_switch_dep_object(ctx, n);
        return tav::WalkStep::descend;
    });
}

void tav_switch_dep_object(tav_context *ctx, uint32_t master)
{
    tav_object *m = tav::object_at(ctx, master);
    if (!m) return;
    for (int k = 0; k < TAV_MAX_DEPENDENTS && m->dependents[k] != 0; ++k) {
        uint32_t n = m->dependents[k];
        tav_object *d = tav::object_at(ctx, n);
        if (!d) continue;
        // Frames of styles 2, 3 and 5 lie over the master's inner area,
        // widened by the master's border distance.
        if ((d->border_style == 2 || d->border_style == 3 || d->border_style == 5) && d->kind != TAV_KIND_WINDOW) {
            int64_t b = m->border_distance;
            d->x = clamp32(int64_t(m->x) + m->margin_left - b);
            d->y = clamp32(int64_t(m->y) + m->margin_top - b);
            d->w = clamp32(int64_t(m->w) - m->margin_left - m->margin_right + 2 * b);
            d->h = clamp32(int64_t(m->h) - m->margin_top - m->margin_bottom + 2 * b);
        }
        // A dependent scrolled out of its master's area is hidden, and shown
        // again when it comes back. Plain boxes keep what they are given.
        if (!has_size(d) || d->kind == TAV_KIND_BOX) continue;
        Region r = dep_object_region(ctx, n);
        Span unused;
        bool across = clip_span(r.left, r.right, d->x, int64_t(d->x) + d->w - 1, &unused);
        bool down = clip_span(r.top, r.bottom, d->y, int64_t(d->y) + d->h - 1, &unused);
        d->hidden = across && down ? 0 : 1;
    }
}

void tav_draw_cursor(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o || !ctx->screen) return;
    Region r = text_region(ctx, object);
    TTF_Font *font = tav::object_font(ctx, o);
    int64_t fh = font ? TTF_FontHeight(font) : 0;
    int64_t x = o->cursor_x;
    if (x <= r.left || x >= r.right) return;
    // The line itself never leaves the screen either.
    if (x < 0 || x >= int64_t(ctx->screen_width)) return;
    int64_t top = std::max({int64_t(o->cursor_y), r.top + 1, int64_t(0)});
    int64_t bottom = std::min({int64_t(o->cursor_y) + fh - 1, r.bottom - 1, int64_t(ctx->screen_height) - 1});
    if (bottom < top) return;
    tav_draw_line(ctx, uint32_t(x), uint32_t(top), uint32_t(x), uint32_t(bottom), uint8_t(o->text_r),
                  uint8_t(o->text_g), uint8_t(o->text_b));
}

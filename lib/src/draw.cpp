// Pixels, lines and boxes in the screen surface or in an application bitmap,
// the surface lock helpers and the upload of the screen to the display.
//
// Pixels go straight into the surface memory without locking: a caller that
// writes many of them locks the surface once around the whole batch. Every
// pixel is checked against its surface, so a coordinate beyond the edge is
// dropped instead of landing in another row or outside the pixel buffer.
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <cstring>

#include "internal.h"

namespace {

// The bitmap of an object; nullptr when the object or its bitmap is missing.
SDL_Surface *object_bitmap(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    return o ? o->image : nullptr;
}

// True when (x, y) names a pixel of the surface's memory.
bool holds_pixel(const SDL_Surface *s, int64_t x, int64_t y)
{
    return s && s->pixels && s->format && x >= 0 && y >= 0 && x < s->w && y < s->h;
}

// Writes an already mapped colour value at (x, y) according to the surface's
// depth. Pixels outside the surface are skipped silently; 24-bit and unknown
// depths are not drawn and say so once per pixel.
void put_pixel(SDL_Surface *s, int64_t x, int64_t y, uint32_t value)
{
    if (!holds_pixel(s, x, y)) return;
    uint8_t *row = static_cast<uint8_t *>(s->pixels) + y * s->pitch;
    switch (s->format->BytesPerPixel) {
    case 1:
        row[x] = uint8_t(value);
        break;
    case 2: {
        const uint16_t v = uint16_t(value);
        std::memcpy(row + 2 * x, &v, sizeof v);
        break;
    }
    case 3:
        std::printf("24 bit is not supported ! \n");
        break;
    case 4:
        std::memcpy(row + 4 * x, &value, sizeof value);
        break;
    default:
        std::printf("Error - can't get color depth. \n");
        break;
    }
}

uint32_t map_colour(const SDL_Surface *s, uint8_t r, uint8_t g, uint8_t b)
{
    return s && s->format ? SDL_MapRGB(s->format, r, g, b) : 0;
}

// A line being walked: the surface, the colour and the current position.
struct Pen {
    SDL_Surface *surface;
    uint32_t value;
    int64_t x, y;

    void plot() const { put_pixel(surface, x, y, value); }
};

int64_t step_towards(int64_t from, int64_t to)
{
    return to > from ? 1 : -1;
}

// Horizontal, vertical and diagonal lines: one pixel per step on each axis
// that still differs from the end point, end point included.
void walk_straight(Pen &pen, int64_t x2, int64_t y2)
{
    const int64_t sx = x2 == pen.x ? 0 : step_towards(pen.x, x2);
    const int64_t sy = y2 == pen.y ? 0 : step_towards(pen.y, y2);
    pen.plot();
    while (pen.x != x2 || pen.y != y2) {
        pen.x += sx;
        pen.y += sy;
        pen.plot();
    }
}

// Slanted lines. Each round moves one step along the minor axis, then draws
// a run of n pixels along the major axis, where n is the whole part of the
// single-precision ratio of the two lengths; the fractional parts add up
// and give one extra pixel whenever they reach 1.
void walk_slanted(Pen &pen, int64_t &major, int64_t major_end, int64_t &minor, int64_t minor_end, float ratio)
{
    const int64_t major_step = step_towards(major, major_end);
    const int64_t minor_step = step_towards(minor, minor_end);
    const int64_t run = int64_t(ratio);
    const float fraction = ratio - float(run);
    float acc = 0.0f;
    pen.plot();
    while (major != major_end) {
        if (minor != minor_end) minor += minor_step;
        for (int64_t i = 0; i < run && major != major_end; ++i) {
            major += major_step;
            pen.plot();
        }
        if (fraction > 0) acc += fraction;
        if (acc >= 1 && major != major_end) {
            major += major_step;
            pen.plot();
            acc -= 1;
        }
    }
}

// A line whose bounding box misses the surface writes nothing; skipping it
// saves walking a long line that lies far off the surface.
bool line_misses(const SDL_Surface *s, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    return !s || (x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= s->w && x2 >= s->w) ||
           (y1 >= s->h && y2 >= s->h);
}

// Callers keep their lines on the surface. An end point that lies off it
// (a window far outside the screen in a layout file, say) would make the
// walk take billions of steps that write nothing, so such an end is moved to
// where the line enters or leaves the surface first. Lines on the surface are
// walked exactly as they are. Returns false when the line misses the surface.
bool clip_to_surface(const SDL_Surface *s, int64_t &x1, int64_t &y1, int64_t &x2, int64_t &y2)
{
    const bool start_in = holds_pixel(s, x1, y1), end_in = holds_pixel(s, x2, y2);
    if (start_in && end_in) return true;
    const double dx = double(x2 - x1), dy = double(y2 - y1);
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {double(x1), double(s->w - 1 - x1), double(y1), double(s->h - 1 - y1)};
    double t0 = 0.0, t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = t > t0 ? t : t0;
        else
            t1 = t < t1 ? t : t1;
    }
    if (t0 > t1) return false;
    const int64_t ox = x1, oy = y1;
    if (!start_in) x1 = ox + std::llround(t0 * dx), y1 = oy + std::llround(t0 * dy);
    if (!end_in) x2 = ox + std::llround(t1 * dx), y2 = oy + std::llround(t1 * dy);
    return true;
}

// Walks the line from (x1, y1) to (x2, y2); coincident end points draw nothing.
void draw_line_into(SDL_Surface *s, uint32_t value, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    if ((x1 == x2 && y1 == y2) || line_misses(s, x1, y1, x2, y2)) return;
    if (!clip_to_surface(s, x1, y1, x2, y2)) return;
    if (x1 == x2 && y1 == y2) {
        put_pixel(s, x1, y1, value);  // a long line that only touches the surface
        return;
    }
    const int64_t dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int64_t dy = y2 > y1 ? y2 - y1 : y1 - y2;
    Pen pen{s, value, x1, y1};
    if (dx == 0 || dy == 0 || dx == dy)
        walk_straight(pen, x2, y2);
    else if (dy > dx)
        walk_slanted(pen, pen.y, y2, pen.x, x2, float(dy) / float(dx));
    else
        walk_slanted(pen, pen.x, x2, pen.y, y2, float(dx) / float(dy));
}

// An end coordinate at or beyond the limit moves onto the last pixel before it.
int64_t clamp_below(uint32_t v, int64_t limit)
{
    return int64_t(v) >= limit ? limit - 1 : int64_t(v);
}

// A start coordinate is not clamped; it is read as signed so that a line
// that starts left of or above the surface keeps its visible part.
int64_t signed_coordinate(uint32_t v)
{
    return int64_t(int32_t(v));
}

int fill_box(SDL_Surface *s, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value)
{
    if (!s) return -1;
    SDL_Rect rect{x, y, w, h};
    return SDL_FillRect(s, &rect, value);
}

// Uploads the part of the screen that the texture can hold. The texture
// is read in its own format, so a screen of another depth is not uploaded.
void upload_screen(SDL_Texture *texture, const SDL_Surface *screen)
{
    Uint32 format = 0;
    int w = 0, h = 0;
    if (!texture || !screen || !screen->pixels || !screen->format) return;
    if (SDL_QueryTexture(texture, &format, nullptr, &w, &h) != 0) return;
    if (SDL_BYTESPERPIXEL(format) != screen->format->BytesPerPixel) return;
    SDL_Rect rect{0, 0, w < screen->w ? w : screen->w, h < screen->h ? h : screen->h};
    SDL_UpdateTexture(texture, &rect, screen->pixels, screen->pitch);
}

}  // namespace

void tav_draw_pixel(tav_context *ctx, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b)
{
    if (!ctx) return;
    put_pixel(ctx->screen, x, y, map_colour(ctx->screen, r, g, b));
}

void tav_draw_pixel_bm(tav_context *ctx, uint32_t object, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b)
{
    SDL_Surface *bitmap = object_bitmap(ctx, object);
    put_pixel(bitmap, x, y, map_colour(bitmap, r, g, b));
}

void tav_draw_line(tav_context *ctx, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b)
{
    if (!ctx) return;
    draw_line_into(ctx->screen, map_colour(ctx->screen, r, g, b), signed_coordinate(x1), signed_coordinate(y1),
                   clamp_below(x2, ctx->screen_width), clamp_below(y2, ctx->screen_height));
}

void tav_draw_line_bm(tav_context *ctx, uint32_t object, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b)
{
    const tav_object *o = tav::object_at(ctx, object);
    if (!o) return;
    draw_line_into(o->image, map_colour(o->image, r, g, b), clamp_below(x1, o->w), clamp_below(y1, o->h),
                   clamp_below(x2, o->w), clamp_below(y2, o->h));
}

int tav_draw_box(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    if (!ctx) return -1;
    return fill_box(ctx->screen, x, y, w, h, map_colour(ctx->screen, r, g, b));
}

int tav_draw_box_bm(tav_context *ctx, uint32_t object, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    SDL_Surface *bitmap = object_bitmap(ctx, object);
    // Bitmaps are made in the screen's format, so the screen maps the colour;
    // without a screen the bitmap's own format stands in.
    const SDL_Surface *format_source = ctx && ctx->screen ? ctx->screen : bitmap;
    return fill_box(bitmap, x, y, w, h, map_colour(format_source, r, g, b));
}

void tav_draw_rectangle(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    if (!ctx) return;
    const uint32_t left = uint32_t(x), top = uint32_t(y);
    const uint32_t right = uint32_t(int64_t(x) + w - 1), bottom = uint32_t(int64_t(y) + h - 1);
    tav_lock(ctx->screen);
    tav_draw_line(ctx, left, top, right, top, r, g, b);
    tav_draw_line(ctx, right, top, right, bottom, r, g, b);
    tav_draw_line(ctx, right, bottom, left, bottom, r, g, b);
    tav_draw_line(ctx, left, bottom, left, top, r, g, b);
    tav_unlock(ctx->screen);
}

int tav_lock(SDL_Surface *surface)
{
    // Only RLE-encoded surfaces keep their pixels out of reach until locked.
    if (surface && SDL_MUSTLOCK(surface)) return SDL_LockSurface(surface);
    return 0;
}

uint32_t tav_unlock(SDL_Surface *surface)
{
    if (!surface || !SDL_MUSTLOCK(surface)) return 0;
    SDL_UnlockSurface(surface);
    return SDL_RLEACCEL;
}

void tav_screenupdate(tav_context *ctx)
{
    if (!ctx) return;
    upload_screen(ctx->texture, ctx->screen);
    if (!ctx->renderer) return;
    SDL_RenderClear(ctx->renderer);
    if (ctx->texture) SDL_RenderCopy(ctx->renderer, ctx->texture, nullptr, nullptr);
    SDL_RenderPresent(ctx->renderer);
}

#include "tavrin.h"

void tav_draw_pixel(tav_context *ctx, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)x;
    (void)y;
    (void)r;
    (void)g;
    (void)b;
}

void tav_draw_pixel_bm(tav_context *ctx, uint32_t object, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)x;
    (void)y;
    (void)r;
    (void)g;
    (void)b;
}

void tav_draw_line(tav_context *ctx, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)x1;
    (void)y1;
    (void)x2;
    (void)y2;
    (void)r;
    (void)g;
    (void)b;
}

void tav_draw_line_bm(tav_context *ctx, uint32_t object, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)x1;
    (void)y1;
    (void)x2;
    (void)y2;
    (void)r;
    (void)g;
    (void)b;
}

int tav_draw_box(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)x;
    (void)y;
    (void)w;
    (void)h;
    (void)r;
    (void)g;
    (void)b;
    return 0;
}

int tav_draw_box_bm(tav_context *ctx, uint32_t object, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)x;
    (void)y;
    (void)w;
    (void)h;
    (void)r;
    (void)g;
    (void)b;
    return 0;
}

void tav_draw_rectangle(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b)
{
    /* not yet built */
    (void)ctx;
    (void)x;
    (void)y;
    (void)w;
    (void)h;
    (void)r;
    (void)g;
    (void)b;
}

int tav_lock(SDL_Surface *surface)
{
    /* not yet built */
    (void)surface;
    return 0;
}

uint32_t tav_unlock(SDL_Surface *surface)
{
    /* not yet built */
    (void)surface;
    return 0;
}

void tav_screenupdate(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

#include "tavrin.h"

int32_t tav_draw_all_objects(tav_context *ctx, int32_t format, int32_t update)
{
    /* not yet built */
    (void)ctx;
    (void)format;
    (void)update;
    return 0;
}

void tav_evoke_object(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
}

void tav_undraw_object(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
}

void tav_draw_selected_box(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

void tav_undraw_selected_box(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

void tav_draw_selected_lines(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

void tav_undraw_selected_lines(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

void tav_draw_selected_window(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_draw_and_screenup_selected_window(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_draw_dep_objs(tav_context *ctx, uint32_t master)
{
    /* not yet built */
    (void)ctx;
    (void)master;
}

void tav_switch_dep_object(tav_context *ctx, uint32_t master)
{
    /* not yet built */
    (void)ctx;
    (void)master;
}

void tav_draw_cursor(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
}

#include "tavrin.h"

void tav_exa_left_pressed(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_exa_left_released(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_move_window(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_decrease_win_w(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_decrease_win_h(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_increase_win_w(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_increase_win_h(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_scroll_win_down(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_scroll_win_up(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_scroll_win_right(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_scroll_win_left(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_update_x_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)direction;
    (void)amount;
}

void tav_update_y_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)direction;
    (void)amount;
}

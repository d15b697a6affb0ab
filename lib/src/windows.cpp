#include "tavrin.h"

void tav_activate_window(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_select_window(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_close_win(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

int32_t tav_decide_window(tav_context *ctx, uint32_t window, uint32_t button_a, uint32_t button_b)
{
    /* not yet built */
    (void)ctx;
    (void)window;
    (void)button_a;
    (void)button_b;
    return 0;
}

void tav_notice_window(tav_context *ctx, uint32_t window, uint32_t button)
{
    /* not yet built */
    (void)ctx;
    (void)window;
    (void)button;
}

void tav_set_operators(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

#include "tavrin.h"

int32_t tav_in_object(tav_context *ctx, uint32_t object, int32_t x, int32_t y)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)x;
    (void)y;
    return 0;
}

uint32_t tav_test_dep_objs(tav_context *ctx, uint32_t master, int32_t x, int32_t y)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)x;
    (void)y;
    return 0;
}

uint32_t tav_test_all_objects(tav_context *ctx, int32_t x, int32_t y)
{
    /* not yet built */
    (void)ctx;
    (void)x;
    (void)y;
    return 0;
}

int32_t tav_get_mouse_selection(tav_context *ctx, uint32_t button_a, uint32_t button_b)
{
    /* not yet built */
    (void)ctx;
    (void)button_a;
    (void)button_b;
    return 0;
}

int32_t tav_get_mono_mouse_selection(tav_context *ctx, uint32_t button)
{
    /* not yet built */
    (void)ctx;
    (void)button;
    return 0;
}

#include "tavrin.h"

uint32_t tav_get_free_dep_object(tav_context *ctx, uint32_t master)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    return 0;
}

uint32_t tav_get_move_with_nr(tav_context *ctx, uint32_t master, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)object;
    return 0;
}

void tav_delete_old_move_with_number(tav_context *ctx, uint32_t master, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)object;
}

void tav_add_difference_toxy_dep_objs(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)dx;
    (void)dy;
}

void tav_update_dep_objs_after_move(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    (void)dx;
    (void)dy;
}

uint32_t tav_check_cursor_dep_objs(tav_context *ctx, uint32_t master)
{
    /* not yet built */
    (void)ctx;
    (void)master;
    return 0;
}

void tav_initiate_cursor_win(tav_context *ctx, uint32_t window)
{
    /* not yet built */
    (void)ctx;
    (void)window;
}

void tav_initiate_cursor_dep_objs(tav_context *ctx, uint32_t master)
{
    /* not yet built */
    (void)ctx;
    (void)master;
}

#include "tavrin.h"

void tav_get_big_stream_text(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

uint32_t tav_get_column_row_big_stream(tav_context *ctx, uint32_t mother)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    return 0;
}

void tav_get_position_in_big_stream(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_update_cursor_chain_object(tav_context *ctx, uint32_t mother, uint32_t previous, uint32_t next)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    (void)previous;
    (void)next;
}

void tav_update_x_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)direction;
    (void)amount;
}

void tav_update_y_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)direction;
    (void)amount;
}

#include "tavrin.h"

void tav_get_text(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_get_column_row(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_get_position_in_stream(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

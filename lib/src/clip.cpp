#include "tavrin.h"

int32_t tav_p_cutted_w_independent(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

int32_t tav_p_cutted_h_independent(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

int32_t tav_p_cutted_w_dependent(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

int32_t tav_p_cutted_h_dependent(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

void tav_get_borders_for_dep_object(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)left;
    (void)right;
    (void)top;
    (void)bottom;
}

void tav_get_borders_for_text(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)left;
    (void)right;
    (void)top;
    (void)bottom;
}

uint32_t tav_search_master(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

uint32_t tav_evoke_borders(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

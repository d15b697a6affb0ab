#include "tavrin.h"

uint32_t tav_move_out_menu(tav_context *ctx, uint32_t menu, int32_t mode)
{
    /* not yet built */
    (void)ctx;
    (void)menu;
    (void)mode;
    return 0;
}

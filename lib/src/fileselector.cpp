#include "tavrin.h"

void tav_prepare_fileselector(tav_context *ctx, uint32_t list, uint32_t n)
{
    /* not yet built */
    (void)ctx;
    (void)list;
    (void)n;
}

void tav_read_app_dir(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

void tav_load_dir_entries(tav_context *ctx, uint32_t list)
{
    /* not yet built */
    (void)ctx;
    (void)list;
}

#include "tavrin.h"

tav_context *tav_start_tavrin(tav_context *ctx, uint32_t extra_objects, uint32_t extra_streams, const char *tav_path, const char *taw_path)
{
    /* not yet built */
    (void)ctx;
    (void)extra_objects;
    (void)extra_streams;
    (void)tav_path;
    (void)taw_path;
    return 0;
}

int32_t tav_load_object_images(tav_context *ctx, uint32_t first)
{
    /* not yet built */
    (void)ctx;
    (void)first;
    return 0;
}

int32_t tav_load_object_fonts(tav_context *ctx, uint32_t first)
{
    /* not yet built */
    (void)ctx;
    (void)first;
    return 0;
}

int32_t tav_check_file_type(tav_context *ctx, const char *path)
{
    /* not yet built */
    (void)ctx;
    (void)path;
    return 0;
}

void tav_close(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

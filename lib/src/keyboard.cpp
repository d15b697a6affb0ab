#include "tavrin.h"

void tav_getfirstkeyinformation(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
}

tav_context *tav_getfinalkeyinformation(tav_context *ctx)
{
    /* not yet built */
    (void)ctx;
    return 0;
}

#include "tavrin.h"

int32_t tav_transform_str_to_num(const char *text, int32_t *number)
{
    /* not yet built */
    (void)text;
    (void)number;
    return 0;
}

int32_t tav_transform_num_to_str(const uint32_t *number, char *text)
{
    /* not yet built */
    (void)number;
    (void)text;
    return 0;
}

int32_t tav_transform_int_to_asccii(int32_t value, char *digit)
{
    /* not yet built */
    (void)value;
    (void)digit;
    return 0;
}

int32_t tav_transform_ascii_to_int(int32_t *value, const char *digit)
{
    /* not yet built */
    (void)value;
    (void)digit;
    return 0;
}

uint32_t tav_zehnerpotenz(uint32_t n)
{
    /* not yet built */
    (void)n;
    return 0;
}

int32_t tav_strcmp(const char *a, const char *b, uint32_t count)
{
    /* not yet built */
    (void)a;
    (void)b;
    (void)count;
    return 0;
}

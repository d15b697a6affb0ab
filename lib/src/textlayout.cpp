#include "tavrin.h"

int32_t tav_format_object_text(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

int32_t tav_format_small_obj(tav_context *ctx, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    return 0;
}

int32_t tav_copy_word_into_line(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, int32_t force_break)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)word;
    (void)line;
    (void)column;
    (void)word_length;
    (void)force_break;
    return 0;
}

int32_t tav_check_line_volume(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)word;
    (void)line;
    (void)column;
    (void)word_length;
    return 0;
}

void tav_fill_form_with_dummies(tav_context *ctx, char *text, uint32_t object, uint32_t width, int32_t fill)
{
    /* not yet built */
    (void)ctx;
    (void)text;
    (void)object;
    (void)width;
    (void)fill;
}

int32_t tav_load_window_text(tav_context *ctx, uint32_t object, const char *text)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)text;
    return 0;
}

int32_t tav_load_window_text_buttons(tav_context *ctx, uint32_t object, const char *text, uint32_t button_a, uint32_t button_b)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)text;
    (void)button_a;
    (void)button_b;
    return 0;
}

int32_t tav_reset_textobject(tav_context *ctx, int32_t source, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)source;
    (void)object;
    return 0;
}

uint32_t tav_count_string_size_without_zero(const char *text)
{
    /* not yet built */
    (void)text;
    return 0;
}

uint32_t tav_get_lastposition_before_zero(const char *text)
{
    /* not yet built */
    (void)text;
    return 0;
}

uint32_t tav_copy_st_last_part(const char *source, char *destination)
{
    /* not yet built */
    (void)source;
    (void)destination;
    return 0;
}

char *tav_copy_st_first_part(uint32_t last, const char *source, char *destination)
{
    /* not yet built */
    (void)last;
    (void)source;
    (void)destination;
    return nullptr;
}

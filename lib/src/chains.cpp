#include "tavrin.h"

int32_t tav_prepare_chain_mother(tav_context *ctx, uint32_t object, uint32_t capacity)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)capacity;
    return 0;
}

void tav_connect_object_to_big_stream(tav_context *ctx, uint32_t object, uint32_t capacity)
{
    /* not yet built */
    (void)ctx;
    (void)object;
    (void)capacity;
}

char *tav_read_external_stream(const char *path)
{
    /* not yet built */
    (void)path;
    return nullptr;
}

int32_t tav_read_external_stream_copy_to_object(tav_context *ctx, const char *path, uint32_t object)
{
    /* not yet built */
    (void)ctx;
    (void)path;
    (void)object;
    return 0;
}

int32_t tav_format_stream_to_linked_objects(tav_context *ctx, uint32_t mother)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    return 0;
}

int32_t tav_copy_word_big(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *record, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, uint32_t *member, int32_t force_break)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    (void)m;
    (void)record;
    (void)word;
    (void)line;
    (void)column;
    (void)word_length;
    (void)member;
    (void)force_break;
    return 0;
}

int32_t tav_go_to_next_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line, uint32_t *column)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    (void)m;
    (void)member;
    (void)record;
    (void)line;
    (void)column;
    return 0;
}

void tav_adapt_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line)
{
    /* not yet built */
    (void)ctx;
    (void)mother;
    (void)m;
    (void)member;
    (void)record;
    (void)line;
}

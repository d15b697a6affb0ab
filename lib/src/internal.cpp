#include "internal.h"

#include <cstdlib>

#include "textcache.h"

namespace tav {

namespace {

// Keeps the elements that follow it aligned for any type.
struct alignas(std::max_align_t) ArrayHeader {
    size_t count;
    void *attachment;
};

const ArrayHeader *header_of(const void *array)
{
    return static_cast<const ArrayHeader *>(array) - 1;
}

ArrayHeader *header_of(void *array)
{
    return static_cast<ArrayHeader *>(array) - 1;
}

}  // namespace

void *alloc_array(size_t count, size_t element_size)
{
    if (element_size != 0 && count > (SIZE_MAX - sizeof(ArrayHeader)) / element_size) return nullptr;
    auto *header = static_cast<ArrayHeader *>(std::calloc(1, sizeof(ArrayHeader) + count * element_size));
    if (!header) return nullptr;
    header->count = count;
    return header + 1;
}

size_t array_count(const void *array)
{
    return array ? header_of(array)->count : 0;
}

void free_array(void *array)
{
    if (array) std::free(header_of(array));
}

void set_array_attachment(void *array, void *attachment)
{
    if (array) header_of(array)->attachment = attachment;
}

void *array_attachment(const void *array)
{
    return array ? header_of(array)->attachment : nullptr;
}

tav_object *object_at(tav_context *ctx, uint32_t n)
{
    if (!ctx || n == 0 || n >= array_count(ctx->objects)) return nullptr;
    return &ctx->objects[n];
}

tav_text_record *text_record_at(tav_context *ctx, uint32_t n)
{
    if (!ctx || n == 0 || n >= array_count(ctx->text_records)) return nullptr;
    return &ctx->text_records[n];
}

tav_line_buffer *line_buffer_at(tav_context *ctx, uint32_t n)
{
    if (!ctx || n == 0 || n >= array_count(ctx->line_buffers)) return nullptr;
    return &ctx->line_buffers[n];
}

TTF_Font *object_font(const tav_context *ctx, const tav_object *o)
{
    return o && o->font_state == 2 && o->own_font ? o->own_font : ctx->font;
}

int text_width(TTF_Font *font, const char *text)
{
    int w = 0, h = 0;
    if (!font || !text || !text[0]) return 0;
    if (TTF_SizeText(font, text, &w, &h) != 0) return 0;
    return w;
}

int text_width(tav_context *ctx, TTF_Font *font, const char *text)
{
    int w = 0, h = 0;
    if (!font || !text || !text[0]) return 0;
    return text_size(ctx, font, text, &w, &h) ? w : 0;
}

}  // namespace tav

// Small helpers shared by the library's source files. Nothing here is
// exported: the library is built with hidden visibility.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tavrin.h"

namespace tav {

// The three arrays of the context are allocated zero-filled with a small
// hidden header in front that remembers their element count, so that every
// object or record number read from a file or a list can be range-checked
// without adding fields to the public records. Only arrays made here may be
// handed to array_count() and free_array().
void *alloc_array(size_t count, size_t element_size);
size_t array_count(const void *array);  // 0 for nullptr
void free_array(void *array);

// The header also carries one pointer for the library's private state (the
// text caches hang off the object array's header). nullptr until set.
void set_array_attachment(void *array, void *attachment);
void *array_attachment(const void *array);  // nullptr for nullptr

// The object with number n, or nullptr when n is 0 or beyond the array.
tav_object *object_at(tav_context *ctx, uint32_t n);

// The text record with number n, or nullptr when there is none.
tav_text_record *text_record_at(tav_context *ctx, uint32_t n);

// The line buffer with number n, or nullptr when there is none.
tav_line_buffer *line_buffer_at(tav_context *ctx, uint32_t n);

// The font an object's text is measured and drawn with: its own font when
// it is open (font_state 2), the context's default font otherwise.
TTF_Font *object_font(const tav_context *ctx, const tav_object *o);

// Width in pixels of a text in a font (0 when the font or text is missing).
int text_width(TTF_Font *font, const char *text);
// The same, measured through the context's caches when it has them.
int text_width(tav_context *ctx, TTF_Font *font, const char *text);

}  // namespace tav

#include "records.h"

#include <cstring>

namespace tav {

uint32_t read_u32(const uint8_t *b)
{
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

int32_t read_i32(const uint8_t *b)
{
    return int32_t(read_u32(b));
}

namespace {

// Reads the fields of a record in file order: each call takes the next field.
class FieldReader {
public:
    explicit FieldReader(const uint8_t *bytes) : p_(bytes) {}
    void i32(int32_t &v) { v = read_i32(p_), p_ += 4; }
    void u32(uint32_t &v) { v = read_u32(p_), p_ += 4; }
    void str(char *s, size_t n) { std::memcpy(s, p_, n), p_ += n; }
    void i32s(int32_t &a, int32_t &b, int32_t &c) { i32(a), i32(b), i32(c); }

private:
    const uint8_t *p_;
};

}  // namespace

void decode_object_record(const uint8_t *bytes, tav_object_record *r)
{
    FieldReader f(bytes);
    f.i32(r->x), f.i32(r->y), f.i32(r->w), f.i32(r->h);
    f.i32s(r->fill_r, r->fill_g, r->fill_b);
    f.str(r->text, sizeof r->text);
    f.i32(r->font_state), f.i32(r->font_size);
    f.str(r->font_file, sizeof r->font_file);
    f.u32(r->text_record);
    f.i32s(r->text_r, r->text_g, r->text_b);
    f.i32(r->margin_left), f.i32(r->margin_right), f.i32(r->margin_top), f.i32(r->margin_bottom);
    f.i32(r->text_format), f.i32(r->line_width), f.i32(r->line_spacing);
    f.u32(r->line_count), f.i32(r->reserved), f.i32(r->hidden), f.u32(r->kind);
    f.i32(r->window_style), f.i32(r->editable), f.i32(r->cursor_x), f.i32(r->cursor_y);
    f.i32(r->text_length), f.u32(r->cursor_row), f.u32(r->cursor_column), f.u32(r->capacity);
    f.i32(r->border_style), f.i32(r->border_distance);
    f.i32s(r->border_r, r->border_g, r->border_b);
    f.u32(r->master);
    for (uint32_t &d : r->dependents) f.u32(d);
    f.i32(r->offset_x), f.i32(r->offset_y), f.i32(r->scroll_extent_w), f.i32(r->scroll_extent_h);
    f.str(r->image_file, sizeof r->image_file);
    f.i32(r->pinned);
}

void decode_text_record(const uint8_t *bytes, tav_text_record *r)
{
    FieldReader f(bytes);
    f.u32(r->owner);
    f.i32(r->cursor_position);
    f.str(r->text, sizeof r->text);
}

}  // namespace tav

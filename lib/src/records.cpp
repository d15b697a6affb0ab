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

private:
    const uint8_t *p_;
};

// Writes the fields of a record in file order, the mirror of FieldReader.
class FieldWriter {
public:
    explicit FieldWriter(uint8_t *bytes) : p_(bytes) {}
    void i32(const int32_t &v) { u32(uint32_t(v)); }
    void u32(const uint32_t &v)
    {
        for (int i = 0; i < 4; ++i) *p_++ = uint8_t(v >> (8 * i));
    }
    void str(const char *s, size_t n) { std::memcpy(p_, s, n), p_ += n; }

private:
    uint8_t *p_;
};

// The fields of an object record in file order, handed one by one to a
// FieldReader or a FieldWriter: one list serves both directions.
template <typename Fields, typename Record>
void object_record_fields(Fields &f, Record &r)
{
    f.i32(r.x), f.i32(r.y), f.i32(r.w), f.i32(r.h);
    f.i32(r.fill_r), f.i32(r.fill_g), f.i32(r.fill_b);
    f.str(r.text, sizeof r.text);
    f.i32(r.font_state), f.i32(r.font_size);
    f.str(r.font_file, sizeof r.font_file);
    f.u32(r.text_record);
    f.i32(r.text_r), f.i32(r.text_g), f.i32(r.text_b);
    f.i32(r.margin_left), f.i32(r.margin_right), f.i32(r.margin_top), f.i32(r.margin_bottom);
    f.i32(r.text_format), f.i32(r.line_width), f.i32(r.line_spacing);
    f.u32(r.line_count), f.i32(r.reserved), f.i32(r.hidden), f.u32(r.kind);
    f.i32(r.window_style), f.i32(r.editable), f.i32(r.cursor_x), f.i32(r.cursor_y);
    f.i32(r.text_length), f.u32(r.cursor_row), f.u32(r.cursor_column), f.u32(r.capacity);
    f.i32(r.border_style), f.i32(r.border_distance);
    f.i32(r.border_r), f.i32(r.border_g), f.i32(r.border_b);
    f.u32(r.master);
    for (auto &d : r.dependents) f.u32(d);
    f.i32(r.offset_x), f.i32(r.offset_y), f.i32(r.scroll_extent_w), f.i32(r.scroll_extent_h);
    f.str(r.image_file, sizeof r.image_file);
    f.i32(r.pinned);
}

template <typename Fields, typename Record>
void text_record_fields(Fields &f, Record &r)
{
    f.u32(r.owner);
    f.i32(r.cursor_position);
    f.str(r.text, sizeof r.text);
}

}  // namespace

void decode_object_record(const uint8_t *bytes, tav_object_record *r)
{
    FieldReader f(bytes);
    object_record_fields(f, *r);
}

void decode_text_record(const uint8_t *bytes, tav_text_record *r)
{
    FieldReader f(bytes);
    text_record_fields(f, *r);
}

void encode_object_record(const tav_object_record *r, uint8_t *bytes)
{
    FieldWriter f(bytes);
    object_record_fields(f, *r);
}

void encode_text_record(const tav_text_record *r, uint8_t *bytes)
{
    FieldWriter f(bytes);
    text_record_fields(f, *r);
}

}  // namespace tav

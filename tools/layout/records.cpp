// The record tables of the .tav and .taw files and the byte-level helpers
// that every command shares.
#include "layout.h"

#include <cstdio>
#include <cstring>

namespace tavlayout {

const std::vector<Field> &object_fields()
{
    using T = FieldType;
    static const std::vector<Field> fields = {
        {"x", 0, T::Int, 0},
        {"y", 4, T::Int, 0},
        {"w", 8, T::Int, 0},
        {"h", 12, T::Int, 0},
        {"fill", 16, T::Colour, 0},
        {"text", 28, T::String, 68},
        {"font_state", 96, T::Int, 0},
        {"font_size", 100, T::Int, 0},
        {"font_file", 104, T::String, 68},
        {"text_record", 172, T::Unsigned, 0},
        {"text_colour", 176, T::Colour, 0},
        {"margin_left", 188, T::Int, 0},
        {"margin_right", 192, T::Int, 0},
        {"margin_top", 196, T::Int, 0},
        {"margin_bottom", 200, T::Int, 0},
        {"text_format", 204, T::Int, 0},
        {"line_width", 208, T::Int, 0},
        {"line_spacing", 212, T::Int, 0},
        {"line_count", 216, T::Unsigned, 0},
        {"reserved", 220, T::Int, 0},
        {"hidden", 224, T::Int, 0},
        {"kind", 228, T::Kind, 0},
        {"window_style", 232, T::Int, 0},
        {"editable", 236, T::Int, 0},
        {"cursor_x", 240, T::Int, 0},
        {"cursor_y", 244, T::Int, 0},
        {"text_length", 248, T::Int, 0},
        {"cursor_row", 252, T::Unsigned, 0},
        {"cursor_column", 256, T::Unsigned, 0},
        {"capacity", 260, T::Unsigned, 0},
        {"border_style", 264, T::Int, 0},
        {"border_distance", 268, T::Int, 0},
        {"border_colour", 272, T::Colour, 0},
        {"master", 284, T::Unsigned, 0},
        {"dependents", 288, T::List, 100},
        {"offset_x", 688, T::Int, 0},
        {"offset_y", 692, T::Int, 0},
        {"scroll_extent_w", 696, T::Int, 0},
        {"scroll_extent_h", 700, T::Int, 0},
        {"image_file", 704, T::String, 68},
        {"pinned", 772, T::Int, 0},
    };
    return fields;
}

const std::vector<Field> &text_fields()
{
    static const std::vector<Field> fields = {
        {"owner", 0, FieldType::Unsigned, 0},
        {"cursor_position", 4, FieldType::Int, 0},
        {"text", 8, FieldType::String, 1000},
    };
    return fields;
}

const Field *find_field(const std::vector<Field> &fields, const std::string &name)
{
    for (const Field &f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

uint32_t read_u32(const uint8_t *record, size_t offset)
{
    const uint8_t *p = record + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void write_u32(uint8_t *record, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) record[offset + i] = uint8_t(value >> (8 * i));
}

uint32_t object_u32(const Layout &layout, uint32_t n, const char *field)
{
    return read_u32(layout.object(n), find_field(object_fields(), field)->offset);
}

static void split_records(const std::vector<uint8_t> &file, size_t record_size, std::vector<uint8_t> *records,
                          std::vector<uint8_t> *tail)
{
    size_t whole = file.size() / record_size * record_size;
    records->assign(file.begin(), file.begin() + whole);
    tail->assign(file.begin() + whole, file.end());
}

Layout layout_from_files(const std::vector<uint8_t> &tav, const std::vector<uint8_t> &taw)
{
    Layout layout;
    split_records(tav, object_record_size, &layout.objects, &layout.object_tail);
    split_records(taw, text_record_size, &layout.texts, &layout.text_tail);
    return layout;
}

std::string string_field_utf8(const uint8_t *field, size_t size, bool *terminated)
{
    const void *zero = std::memchr(field, 0, size);
    size_t length = zero ? size_t(static_cast<const uint8_t *>(zero) - field) : size;
    if (terminated) *terminated = zero != nullptr;
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        uint8_t c = field[i];
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8_to_latin1(const std::string &utf8)
{
    // The JSON reader has already rejected malformed UTF-8, so only the
    // range of each character needs a look.
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        uint8_t c = uint8_t(utf8[i]);
        if (c < 0x80) {
            out += char(c);
            i += 1;
            continue;
        }
        int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        uint32_t code = c & (0x7F >> length);
        for (int k = 1; k < length && i + k < utf8.size(); ++k) code = code << 6 | (uint8_t(utf8[i + k]) & 0x3F);
        if (code > 0xFF) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "character U+%04X is outside Latin-1", unsigned(code));
            throw SourceError(buf);
        }
        out += char(code);
        i += size_t(length);
    }
    return out;
}

static const char *const kind_names[] = {"empty", "window", "label", "text_field", "image", "entry_field",
                                         "number_field", "box", "chain", "loaded_image", "bitmap"};

const char *kind_name(uint32_t kind)
{
    return kind < sizeof kind_names / sizeof kind_names[0] ? kind_names[kind] : nullptr;
}

bool kind_from_name(const std::string &name, uint32_t *kind)
{
    for (uint32_t k = 0; k < sizeof kind_names / sizeof kind_names[0]; ++k)
        if (name == kind_names[k]) {
            *kind = k;
            return true;
        }
    return false;
}

std::vector<std::vector<uint32_t>> dependents_from_masters(const Layout &layout)
{
    std::vector<std::vector<uint32_t>> lists(layout.object_count() + 1);
    for (uint32_t n = 1; n <= layout.object_count(); ++n) {
        uint32_t m = object_u32(layout, n, "master");
        if (m < lists.size()) lists[m].push_back(n);
    }
    lists[0].clear();
    return lists;
}

}  // namespace tavlayout

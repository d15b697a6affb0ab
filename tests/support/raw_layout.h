// Layout files built byte by byte, for the tests and the fuzz targets: the
// offsets are written out here independently of the library's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tavrin.h"

namespace tavtest {

// Offsets of the fields of an object record in a .tav file.
namespace off {
constexpr int x = 0, y = 4, w = 8, h = 12, fill_r = 16, fill_g = 20, fill_b = 24;
constexpr int text = 28, font_state = 96, font_size = 100, font_file = 104;
constexpr int text_record = 172, text_r = 176, text_g = 180, text_b = 184;
constexpr int margin_left = 188, margin_right = 192, margin_top = 196, margin_bottom = 200;
constexpr int text_format = 204, line_width = 208, line_spacing = 212;
constexpr int line_count = 216, reserved = 220, hidden = 224, kind = 228;
constexpr int window_style = 232, editable = 236, cursor_x = 240, cursor_y = 244;
constexpr int text_length = 248, cursor_row = 252, cursor_column = 256, capacity = 260;
constexpr int border_style = 264, border_distance = 268, border_r = 272, border_g = 276, border_b = 280;
constexpr int master = 284, dependents = 288, offset_x = 688, offset_y = 692;
constexpr int scroll_extent_w = 696, scroll_extent_h = 700, image_file = 704, pinned = 772;
}  // namespace off

// One raw object record of 776 bytes, filled field by field.
struct RawObject {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(TAV_OBJECT_RECORD_SIZE, 0);
    RawObject &set(int offset, uint32_t value);
    RawObject &str(int offset, const std::string &s);  // no terminator added past the field
    RawObject &dep(int index, uint32_t object) { return set(off::dependents + 4 * index, object); }
};

// One raw text record of 1008 bytes.
struct RawText {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(TAV_TEXT_RECORD_SIZE, 0);
    RawText(uint32_t owner = 0, const std::string &text = "");
};

// A layout under construction: objects 1..7 are plain operator buttons.
struct RawLayout {
    std::vector<RawObject> objects;
    std::vector<RawText> texts;
    RawLayout();                      // seven 16 x 16 operator buttons of kind 2
    RawObject &add(uint32_t kind);    // appends an object, returns it
    RawObject &at(uint32_t number) { return objects.at(number - 1); }
    // Writes the .tav file and, when there are text records, the .taw file.
    bool write(const std::string &tav, const std::string &taw) const;
};

// A zero-filled context with a 32-bit ARGB screen surface of the given size
// and the colours, screen size and modes set as the layout editor sets them.
tav_context *new_context(int width, int height);

// Writes a whole file; false when it cannot be written.
bool write_file(const std::string &path, const std::vector<uint8_t> &bytes);
std::vector<uint8_t> read_file(const std::string &path);

}  // namespace tavtest

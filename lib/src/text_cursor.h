// The text cursor seen two ways: as an index into a text (a record text or
// the big stream of a chain) and as a row and column of the formatted lines
// that text layout made of it. Both editors convert between the two with
// the one walk below, so that the conversions stay inverse to each other.
#pragma once

#include <cstdint>

#include "internal.h"

namespace tav {

// A place in the formatted rows: the member (index into the list of objects
// whose rows are walked), its row and the column in that row, together with
// the text index that belongs to it.
struct RowPoint {
    int member = 0;
    uint32_t row = 0;
    uint32_t column = 0;
    int32_t position = 0;
};

// Walks the rows of a list of objects (one object for a record text, the
// members of a chain for a big stream) and the text in step. Every step
// either passes one character of a row or goes on to the next row; at a row
// end it passes the line feed that ended the row, and at the start of a row
// the space that layout dropped at the wrap. A row end that the text does
// not go on from is the end of the walk. The walk is bounded by the rows
// (40 per object, 99 characters each) and by the text length.
class RowWalk {
public:
    RowWalk(tav_context *ctx, const uint32_t *members, int count, const char *text, int32_t length);
    bool has_rows() const { return line_ != nullptr; }
    const RowPoint &point() const { return point_; }
    bool step();  // false when the walk is over; the point is then unchanged

private:
    bool enter_member(int member);
    void enter_row(uint32_t row);
    bool at_dropped_space() const;

    tav_context *ctx_;
    const uint32_t *members_;
    int count_;
    const char *text_;
    int32_t length_;
    tav_line_buffer *lines_ = nullptr;
    const char *line_ = nullptr;
    uint32_t line_length_ = 0;
    bool space_pending_ = true;  // a dropped space may follow as a step of its own
    uint32_t last_row_ = 0;
    RowPoint point_;
};

// The place where a character typed at `position` shows up: the last point
// of the walk that stands at `position`. False when the rows end before it;
// `out` then holds the end of the last row.
bool point_at_position(RowWalk walk, int32_t position, RowPoint &out);

// The text index of a row and column: where a character typed there shows
// at that place (after a space dropped at the row's start). The end of the
// last row when the rows end before the place.
int32_t position_at_point(RowWalk walk, int member, uint32_t row, uint32_t column);

// The same, telling whether the walk reached the place at all.
bool find_position(RowWalk walk, int member, uint32_t row, uint32_t column, int32_t &position);

// The formatted lines of an object and the last of them (at most 39);
// nullptr when the object has no line buffer.
tav_line_buffer *object_lines(tav_context *ctx, const tav_object *o, uint32_t *last_row);

// Characters of a formatted line (at most 99) or of a short text.
uint32_t line_length(const char *line, uint32_t size);

// Width in pixels of the first k characters of a line held in a field of
// `size` bytes (fewer when the line is shorter).
int prefix_width(TTF_Font *font, const char *line, uint32_t size, uint32_t k);

// The column of a line (0 to its length) whose cursor place lies nearest
// to screen x, for a line whose text starts at x0.
uint32_t column_at_x(TTF_Font *font, const char *line, uint32_t size, int32_t x0, int32_t x);

// Puts the text cursor of an editable field, record text or chain member
// at the character place nearest to a clicked screen point; a point past
// the end of the text puts it at the end. Other objects are left alone.
void place_cursor_at(tav_context *ctx, uint32_t object, int32_t x, int32_t y);

// The same for a chain member (the big-stream editor's part of it).
void place_chain_cursor_at(tav_context *ctx, uint32_t member, int32_t x, int32_t y);

// Height of a font; 0 without a font.
int font_height(TTF_Font *font);

// Makes sure a text field holds a terminator (cutting at its last byte if
// need be) and returns the text's length.
uint32_t terminate_text(char *text, uint32_t size);

// Removes the character at `index` of a text of `length` characters, or
// opens a place there for `ch`; both move the terminator along. The caller
// makes sure that index <= length and, for inserting, that the field holds
// length + 2 bytes.
void remove_char(char *text, uint32_t index, uint32_t length);
void insert_char(char *text, uint32_t index, uint32_t length, char ch);

// Consumes the delivered key and shows the result: every key, used or
// refused, ends with the active window redrawn and the screen updated.
void finish_key(tav_context *ctx);

}  // namespace tav

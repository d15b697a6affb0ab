#include "text_cursor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tav {

tav_line_buffer *object_lines(tav_context *ctx, const tav_object *o, uint32_t *last_row)
{
    if (!o || o->text_record == 0) return nullptr;
    tav_line_buffer *lb = line_buffer_at(ctx, o->text_record);
    if (lb && last_row) *last_row = o->line_count < TAV_MAX_LINES ? o->line_count : TAV_MAX_LINES - 1;
    return lb;
}

uint32_t line_length(const char *line, uint32_t size)
{
    const void *end = std::memchr(line, 0, size);
    return end ? uint32_t(static_cast<const char *>(end) - line) : size - 1;
}

int prefix_width(TTF_Font *font, const char *line, uint32_t size, uint32_t k)
{
    char part[TAV_RECORD_TEXT_SIZE];
    k = std::min({k, line_length(line, size), uint32_t(sizeof part - 1)});
    std::memcpy(part, line, k);
    part[k] = 0;
    return text_width(font, part);
}

uint32_t column_at_x(TTF_Font *font, const char *line, uint32_t size, int32_t x0, int32_t x)
{
    const uint32_t length = line_length(line, size);
    uint32_t best = 0;
    int64_t best_distance = -1;
    for (uint32_t k = 0; k <= length; ++k) {
        const int64_t distance = std::abs(int64_t(x0) + prefix_width(font, line, size, k) - x);
        if (best_distance >= 0 && distance >= best_distance) break;  // widths only grow
        best = k;
        best_distance = distance;
    }
    return best;
}

int font_height(TTF_Font *font)
{
    return font ? TTF_FontHeight(font) : 0;
}

uint32_t terminate_text(char *text, uint32_t size)
{
    if (!std::memchr(text, 0, size)) text[size - 1] = 0;
    return line_length(text, size);
}

void remove_char(char *text, uint32_t index, uint32_t length)
{
    std::memmove(text + index, text + index + 1, length - index);
}

void insert_char(char *text, uint32_t index, uint32_t length, char ch)
{
    std::memmove(text + index + 1, text + index, length - index + 1);
    text[index] = ch;
}

void finish_key(tav_context *ctx)
{
    ctx->key = 0;
    ctx->key_is_char = 0;
    tav_draw_selected_window(ctx);
    tav_screenupdate(ctx);
}

RowWalk::RowWalk(tav_context *ctx, const uint32_t *members, int count, const char *text, int32_t length)
    : ctx_(ctx), members_(members), count_(count), text_(text), length_(length < 0 ? 0 : length)
{
    enter_member(0);
}

bool RowWalk::enter_member(int member)
{
    if (member < 0 || member >= count_) return false;
    uint32_t last = 0;
    tav_line_buffer *lb = object_lines(ctx_, object_at(ctx_, members_[member]), &last);
    if (!lb) return false;
    lines_ = lb;
    last_row_ = last;
    point_.member = member;
    enter_row(0);
    return true;
}

void RowWalk::enter_row(uint32_t row)
{
    point_.row = row;
    point_.column = 0;
    line_ = lines_->lines[row];
    line_length_ = line_length(line_, TAV_LINE_SIZE);
}

// Layout drops a single space at the start of a row (after a wrap or a line
// feed) unless the row keeps it; such a space has no column of its own.
bool RowWalk::at_dropped_space() const
{
    return point_.column == 0 && line_[0] != ' ' && point_.position < length_ && text_[point_.position] == ' ';
}

bool RowWalk::step()
{
    if (!line_) return false;
    // At the start of the text and after a line feed, the place before a
    // dropped space stays a place of its own (a character typed there shows
    // at the row's start too); after a wrap the space goes with the step
    // into the row.
    if (space_pending_) {
        space_pending_ = false;
        if (at_dropped_space()) {
            ++point_.position;
            return true;
        }
    }
    if (point_.column < line_length_) {
        if (point_.position >= length_) return false;  // rows and text disagree
        ++point_.position;
        ++point_.column;
        return true;
    }
    const bool line_feed = point_.position < length_ && text_[point_.position] == '\n';
    if (!line_feed && point_.position >= length_) return false;  // the text ends with this row
    if (point_.row < last_row_)
        enter_row(point_.row + 1);
    else if (!enter_member(point_.member + 1))
        return false;  // no member left: nothing has changed
    if (line_feed)
        space_pending_ = true, ++point_.position;
    else if (at_dropped_space())
        ++point_.position;
    return true;
}

bool point_at_position(RowWalk walk, int32_t position, RowPoint &out)
{
    bool found = false;
    do {
        const RowPoint &p = walk.point();
        if (p.position > position) break;
        out = p;
        if (p.position == position) found = true;
    } while (walk.step());
    return found;
}

bool find_position(RowWalk walk, int member, uint32_t row, uint32_t column, int32_t &position)
{
    bool found = false;
    do {
        const RowPoint &p = walk.point();
        if (p.member == member && p.row == row && p.column == column)
            found = true, position = p.position;
        else if (found)
            break;
    } while (walk.step());
    if (!found) position = walk.point().position;
    return found;
}

int32_t position_at_point(RowWalk walk, int member, uint32_t row, uint32_t column)
{
    int32_t position = 0;
    find_position(walk, member, row, column, position);
    return position;
}

}  // namespace tav

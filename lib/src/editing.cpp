// The line editor: applies one delivered key to the object that holds the
// text cursor. Entry fields (kinds 5 and 6) edit their own one-line `text`;
// windows and text fields (kinds 1 and 3) edit their record text, laid out
// over up to 40 rows. Chain members are handed to the big-stream editor.
//
// The cursor is kept where the next typed character lands: `cursor_column`
// characters of row `cursor_row` stand before it, and for record texts the
// record's `cursor_position` is the text index that belongs to that place.
// When the cursor would leave the visible text area, the content scrolls
// (`offset_x`, `offset_y`) and the cursor keeps its place on the screen.
#include "tavrin.h"

#include <algorithm>
#include <string>

#include "internal.h"
#include "latin1.h"
#include "text_cursor.h"

namespace {

constexpr uint32_t kShortTextChars = 64;      // most characters of an entry field
constexpr uint32_t kRecordTextChars = TAV_RECORD_TEXT_SIZE - 1;
constexpr uint32_t kRowChars = TAV_LINE_SIZE - 1;
constexpr uint32_t kLastRow = TAV_MAX_LINES - 1;

// Everything one key needs to know about the object being edited.
struct Editor {
    tav_context *ctx;
    uint32_t number;
    tav_object *o;
    tav_text_record *record;  // nullptr for an entry field
    tav_line_buffer *lines;   // nullptr for an entry field
    char *text;
    uint32_t length;
    TTF_Font *font;
    int fh, lh;
    int32_t left, right, top, bottom;
};

bool is_record(const Editor &e)
{
    return e.record != nullptr;
}

bool is_record_kind(const tav_object *o)
{
    return o->kind == TAV_KIND_WINDOW || o->kind == TAV_KIND_TEXT;
}

const char *row_text(const Editor &e, uint32_t row)
{
    return is_record(e) ? e.lines->lines[std::min(row, kLastRow)] : e.o->text;
}

uint32_t row_size(const Editor &e)
{
    return is_record(e) ? TAV_LINE_SIZE : TAV_SHORT_TEXT_SIZE;
}

uint32_t row_length(const Editor &e, uint32_t row)
{
    return tav::line_length(row_text(e, row), row_size(e));
}

// Screen x of the cursor after k characters of the cursor's row.
int32_t x_after(const Editor &e, uint32_t k)
{
    return e.left + 1 + e.o->offset_x + tav::prefix_width(e.font, row_text(e, e.o->cursor_row), row_size(e), k);
}

int32_t row_top(const Editor &e, uint32_t row)
{
    return e.top + 1 + e.o->offset_y + e.lh * int32_t(row);
}

tav::RowWalk record_walk(Editor &e)
{
    return tav::RowWalk(e.ctx, &e.number, 1, e.text, int32_t(e.length));
}

// Keeps the cursor's row and column inside the formatted lines.
void clamp_row_and_column(Editor &e)
{
    tav_object *o = e.o;
    o->cursor_row = std::min(o->cursor_row, is_record(e) ? kLastRow : 0u);
    o->cursor_column = std::min(o->cursor_column, row_length(e, o->cursor_row));
}

// Row and column from the record's cursor_position. When the rows end
// before the position (a text cut by layout), row and column stay.
void find_row_and_column(Editor &e)
{
    tav::RowPoint p;
    if (tav::point_at_position(record_walk(e), e.record->cursor_position, p)) {
        e.o->cursor_row = p.row;
        e.o->cursor_column = p.column;
    }
    clamp_row_and_column(e);
}

void find_position(Editor &e)
{
    tav::RowWalk walk = record_walk(e);
    if (walk.has_rows())
        e.record->cursor_position = tav::position_at_point(walk, 0, e.o->cursor_row, e.o->cursor_column);
}

void lay_out_again(Editor &e)
{
    e.o->text_length = int32_t(e.length);
    tav_format_object_text(e.ctx, e.number);
    find_row_and_column(e);
}

// Brings the cursor's column into view. Inside the text area the cursor
// simply goes there; past the right border the text scrolls left and past
// the left border right, by the cursor's move, so that the cursor keeps its
// place on the screen. Scrolling right stops when the text start is back at
// the area's left edge.
void settle_x(Editor &e)
{
    tav_object *o = e.o;
    const int32_t nx = x_after(e, o->cursor_column);
    if (e.left < nx && nx < e.right) {
        o->cursor_x = nx;
        return;
    }
    const int32_t keep = std::max(e.left + 1, std::min(o->cursor_x, e.right - 1));
    if (nx >= e.right)
        o->offset_x -= nx - keep;
    else
        o->offset_x = std::min(o->offset_x + (keep - nx), 0);
    o->cursor_x = x_after(e, o->cursor_column);
}

// Brings the cursor's row into view by scrolling whole line heights.
void settle_y(Editor &e)
{
    tav_object *o = e.o;
    const uint32_t r = o->cursor_row;
    if (e.lh > 0) {
        for (uint32_t i = 0; i < TAV_MAX_LINES && row_top(e, r) + e.fh - 1 >= e.bottom && row_top(e, r) - e.lh > e.top; ++i)
            o->offset_y -= e.lh;
        for (uint32_t i = 0; i < TAV_MAX_LINES && row_top(e, r) <= e.top && o->offset_y < 0; ++i)
            o->offset_y = std::min(o->offset_y + e.lh, 0);
    }
    o->cursor_y = row_top(e, r);
}

void settle(Editor &e)
{
    settle_x(e);
    settle_y(e);
}

// Moves the cursor to a row and column of a record text; the column is
// limited to the row's length, so the cursor may stand at a row's end.
void go_to(Editor &e, uint32_t row, uint32_t column)
{
    e.o->cursor_row = row;
    e.o->cursor_column = std::min(column, row_length(e, row));
    find_position(e);
    settle(e);
}

void backspace(Editor &e)
{
    tav_object *o = e.o;
    if (is_record(e)) {
        const uint32_t p = uint32_t(e.record->cursor_position);
        if (p == 0 || p > e.length) return;
        tav::remove_char(e.text, p - 1, e.length);
        --e.length;
        --e.record->cursor_position;
        lay_out_again(e);
    } else {
        const uint32_t c = o->cursor_column;
        if (c == 0 || c > e.length) return;
        tav::remove_char(e.text, c - 1, e.length);
        --e.length;
        --o->cursor_column;
        o->text_length = int32_t(e.length);
        // A field scrolled to the left slides back right by the removed
        // character, so the cursor keeps its place until the text start is
        // back at the left edge.
        if (o->offset_x < 0) o->offset_x = std::min(o->offset_x + (o->cursor_x - x_after(e, o->cursor_column)), 0);
    }
    settle(e);
}

void delete_forward(Editor &e)
{
    const uint32_t at = is_record(e) ? uint32_t(e.record->cursor_position) : e.o->cursor_column;
    if (at >= e.length) return;
    tav::remove_char(e.text, at, e.length);
    --e.length;
    if (is_record(e))
        lay_out_again(e);
    else
        e.o->text_length = int32_t(e.length);
    settle(e);
}

void break_line(Editor &e)
{
    if (e.o->line_count > kLastRow - 1 || e.o->cursor_row > kLastRow - 1 || e.length >= kRecordTextChars) return;
    tav::insert_char(e.text, uint32_t(e.record->cursor_position), e.length, '\n');
    ++e.length;
    ++e.record->cursor_position;
    // The character after a line feed always starts a row: finding the row
    // from the position puts the cursor at column 0 of the new row.
    lay_out_again(e);
    settle(e);
}

void move_vertically(Editor &e, int direction)
{
    const uint32_t row = e.o->cursor_row;
    if (direction < 0 && row >= 1)
        go_to(e, row - 1, e.o->cursor_column);
    else if (direction > 0 && row < kLastRow && row < e.o->line_count)
        go_to(e, row + 1, e.o->cursor_column);
}

void move_right(Editor &e)
{
    tav_object *o = e.o;
    const uint32_t c = o->cursor_column;
    if (!is_record(e)) {
        if (c < e.length) {
            ++o->cursor_column;
            settle_x(e);
        }
        return;
    }
    const uint32_t len = row_length(e, o->cursor_row);
    if (c < len) {
        if (c + 1 < len || (c < kRowChars && e.record->cursor_position < int32_t(kRecordTextChars)))
            go_to(e, o->cursor_row, c + 1);
    } else if (c > 0 && o->cursor_row < kLastRow && o->cursor_row < o->line_count) {
        go_to(e, o->cursor_row + 1, 0);
    }
}

void move_left(Editor &e)
{
    tav_object *o = e.o;
    if (o->cursor_column == 0) return;
    if (is_record(e)) {
        go_to(e, o->cursor_row, o->cursor_column - 1);
    } else {
        --o->cursor_column;
        settle_x(e);
    }
}

// Room for one more character at the cursor. In insert mode the text must
// be able to grow; in overwrite mode a character at the end of the text is
// appended, so there must be room for that too.
bool has_room(const Editor &e)
{
    const uint32_t c = e.o->cursor_column, n = e.length, cap = e.o->capacity;
    const bool overwrite = e.ctx->overwrite_mode != 0;
    if (is_record(e)) {
        if (e.o->cursor_row > kLastRow) return false;
        if (!overwrite) return c < kRowChars && n < kRecordTextChars;
        const bool appends = uint32_t(e.record->cursor_position) >= n;
        return c <= kRowChars && c <= cap - 1 && (!appends || n < kRecordTextChars);
    }
    if (!overwrite) return cap != 0 && c < kShortTextChars && c <= cap - 1 && n < kShortTextChars && n <= cap - 1;
    return c < kShortTextChars && c <= cap - 1;
}

// Writes a character at index `at`: inserted, or in overwrite mode put over
// the character there; at the end of the text it is appended.
void put_char(Editor &e, uint32_t at, char ch)
{
    if (at < e.length && e.ctx->overwrite_mode != 0) {
        e.text[at] = ch;
        return;
    }
    tav::insert_char(e.text, at, e.length, ch);
    ++e.length;
}

void type_character(Editor &e, char ch)
{
    tav_object *o = e.o;
    if (!has_room(e)) return;
    if (!is_record(e)) {
        if (ch == '\t') return;  // one-line fields have no tab stops
        put_char(e, o->cursor_column, ch);
        o->text_length = int32_t(e.length);
        ++o->cursor_column;
        settle_x(e);
        return;
    }
    put_char(e, uint32_t(e.record->cursor_position), ch);
    ++e.record->cursor_position;
    const uint32_t old_row = o->cursor_row;
    lay_out_again(e);
    // A row full to its 99 characters takes nothing more: the next
    // character goes to the start of the following row.
    if (o->cursor_row == old_row && o->cursor_column >= kRowChars && o->cursor_row < kLastRow) {
        if (old_row >= o->line_count) e.lines->lines[old_row + 1][0] = 0;
        ++o->cursor_row;
        o->cursor_column = 0;
    }
    settle(e);
}

// Home and End: the start or the end of the cursor's row.
void go_to_row_edge(Editor &e, bool end)
{
    const uint32_t column = end ? row_length(e, e.o->cursor_row) : 0;
    if (is_record(e)) {
        go_to(e, e.o->cursor_row, column);
    } else {
        e.o->cursor_column = column;
        settle_x(e);
    }
}

// A click at screen point (x, y): the row under it (the last row below
// the text) and the character place nearest to it in that row, the row's
// end when the point lies past it.
void place_at_point(Editor &e, int32_t x, int32_t y)
{
    const int32_t x0 = e.left + 1 + e.o->offset_x;
    if (!is_record(e)) {
        e.o->cursor_column = tav::column_at_x(e.font, e.text, TAV_SHORT_TEXT_SIZE, x0, x);
        settle_x(e);
        return;
    }
    const uint32_t last = std::min(e.o->line_count, kLastRow);
    uint32_t row = 0;
    if (e.lh > 0 && y >= row_top(e, 0)) row = std::min(uint32_t((y - row_top(e, 0)) / e.lh), last);
    const uint32_t column = y >= row_top(e, last + 1) ? row_length(e, row)
                            : tav::column_at_x(e.font, row_text(e, row), TAV_LINE_SIZE, x0, x);
    go_to(e, row, column);
}

// Ctrl+C: the whole text of a one-line field, the cursor's row of a
// record text.
void copy(const Editor &e)
{
    if (is_record(e))
        tav::copy_to_clipboard(row_text(e, e.o->cursor_row), TAV_LINE_SIZE);
    else
        tav::copy_to_clipboard(e.text, TAV_SHORT_TEXT_SIZE);
}

// Ctrl+V: the clipboard's text goes in character by character as if typed,
// under the same rules of room; a line feed acts as Return and a number
// field takes only the digits.
void paste(Editor &e)
{
    const std::string text = tav::clipboard_latin1(is_record(e) ? kRecordTextChars : kShortTextChars);
    for (char ch : text) {
        if (ch == '\n') {
            if (is_record(e)) break_line(e);
        } else if (e.o->kind != TAV_KIND_NUMBER || (ch >= '0' && ch <= '9')) {
            type_character(e, ch);
        }
    }
}

void apply_key(Editor &e)
{
    tav_context *ctx = e.ctx;
    if (ctx->key_is_char == 1 && ctx->key <= 255) {
        type_character(e, char(ctx->key));
        return;
    }
    switch (ctx->key) {
    case TAV_KEY_BACKSPACE:
        backspace(e);
        break;
    case TAV_KEY_DELETE:
        delete_forward(e);
        break;
    case TAV_KEY_RETURN:
        if (is_record(e)) break_line(e);
        break;
    case TAV_KEY_UP:
        if (is_record(e)) move_vertically(e, -1);
        break;
    case TAV_KEY_DOWN:
        if (is_record(e)) move_vertically(e, 1);
        break;
    case TAV_KEY_RIGHT:
        move_right(e);
        break;
    case TAV_KEY_LEFT:
        move_left(e);
        break;
    case TAV_KEY_INSERT:
        ctx->overwrite_mode = ctx->overwrite_mode ? 0 : 1;
        break;
    case TAV_KEY_HOME:
    case TAV_KEY_END:
        go_to_row_edge(e, ctx->key == TAV_KEY_END);
        break;
    case TAV_KEY_COPY:
        copy(e);
        break;
    case TAV_KEY_PASTE:
        paste(e);
        break;
    default:
        break;  // a character refused by a number field, or an unknown code
    }
}

// The record text of an object of kind 1 or 3, with its length synchronised
// and the cursor index kept inside it.
bool open_record(tav_context *ctx, uint32_t number, Editor &e)
{
    tav_object *o = tav::object_at(ctx, number);
    if (!o || !is_record_kind(o)) return false;
    e.ctx = ctx;
    e.number = number;
    e.o = o;
    e.record = tav::text_record_at(ctx, o->text_record);
    e.lines = tav::line_buffer_at(ctx, o->text_record);
    if (!e.record || !e.lines) return false;
    e.text = e.record->text;
    e.length = tav::terminate_text(e.text, TAV_RECORD_TEXT_SIZE);
    o->text_length = int32_t(e.length);
    e.record->cursor_position = std::max(0, std::min(e.record->cursor_position, int32_t(e.length)));
    return true;
}

bool open_entry_field(tav_context *ctx, uint32_t number, Editor &e)
{
    tav_object *o = tav::object_at(ctx, number);
    if (!o || (o->kind != TAV_KIND_ENTRY && o->kind != TAV_KIND_NUMBER)) return false;
    e.ctx = ctx;
    e.number = number;
    e.o = o;
    e.record = nullptr;
    e.lines = nullptr;
    e.text = o->text;
    e.length = tav::terminate_text(e.text, TAV_SHORT_TEXT_SIZE);
    o->text_length = int32_t(e.length);
    return true;
}

bool open_editor(tav_context *ctx, uint32_t number, Editor &e)
{
    if (!open_entry_field(ctx, number, e) && !open_record(ctx, number, e)) return false;
    clamp_row_and_column(e);
    e.font = tav::object_font(ctx, e.o);
    e.fh = tav::font_height(e.font);
    e.lh = e.fh + e.o->line_spacing;
    tav_get_borders_for_text(ctx, e.number, &e.left, &e.right, &e.top, &e.bottom);
    return true;
}

}  // namespace

void tav_get_text(tav_context *ctx)
{
    if (!ctx || ctx->key == 0) return;
    const tav_object *o = tav::object_at(ctx, ctx->cursor_object);
    if (!o) return;
    if (o->kind == TAV_KIND_CHAIN) {
        // A chain member edits its mother's stream; the mother takes no keys.
        const tav_object *mother = tav::object_at(ctx, o->master);
        if (mother && mother->kind == TAV_KIND_CHAIN) tav_get_big_stream_text(ctx);
        return;
    }
    Editor e{};
    if (!open_editor(ctx, ctx->cursor_object, e)) return;
    apply_key(e);
    tav::finish_key(ctx);
}

void tav_get_column_row(tav_context *ctx)
{
    Editor e{};
    if (!ctx || !open_record(ctx, ctx->cursor_object, e)) return;
    find_row_and_column(e);
}

void tav_get_position_in_stream(tav_context *ctx)
{
    Editor e{};
    if (!ctx || !open_record(ctx, ctx->cursor_object, e)) return;
    clamp_row_and_column(e);
    find_position(e);
}

namespace tav {

void place_cursor_at(tav_context *ctx, uint32_t object, int32_t x, int32_t y)
{
    const tav_object *o = object_at(ctx, object);
    if (!o) return;
    if (o->kind == TAV_KIND_CHAIN) {
        place_chain_cursor_at(ctx, object, x, y);
        return;
    }
    Editor e{};
    if (open_editor(ctx, object, e)) place_at_point(e, x, y);
}

}  // namespace tav

// The big-stream editor: keys edit the stream of a chain mother through the
// chain member that holds the text cursor. The text lives once, in the
// mother's `stream`; every key works on the mother's `stream_cursor`, lays
// the chain out again when the text changed and then finds the member, row
// and column that now hold the cursor, which becomes `cursor_object`.
// Members have no content offset: to keep the cursor in view the whole
// chain (the mother, its members and their dependents) moves on the screen.
#include "tavrin.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "internal.h"
#include "latin1.h"
#include "subtree_walk.h"
#include "text_cursor.h"

namespace {

constexpr uint32_t kLastRow = TAV_MAX_LINES - 1;

// The members of a chain: the mother's dependents up to the first entry
// that is 0, not a chain object or without formatted lines.
int member_count(tav_context *ctx, const tav_object *mother)
{
    int count = 0;
    while (count < TAV_MAX_DEPENDENTS) {
        const tav_object *m = tav::object_at(ctx, mother->dependents[count]);
        if (!m || m->kind != TAV_KIND_CHAIN || !tav::object_lines(ctx, m, nullptr)) break;
        ++count;
    }
    return count;
}

// The mother of a chain with a usable stream: its length is taken from the
// terminator and the stream cursor is kept inside the text.
tav_object *open_mother(tav_context *ctx, uint32_t number)
{
    tav_object *mother = tav::object_at(ctx, number);
    if (!mother || mother->kind != TAV_KIND_CHAIN || !mother->stream || mother->capacity == 0) return nullptr;
    mother->text_length = int32_t(tav::terminate_text(mother->stream, mother->capacity));
    mother->stream_cursor = std::max(0, std::min(mother->stream_cursor, mother->text_length));
    return mother;
}

tav::RowWalk stream_walk(tav_context *ctx, const tav_object *mother)
{
    return tav::RowWalk(ctx, mother->dependents, member_count(ctx, mother), mother->stream, mother->text_length);
}

// Geometry of a member: its font, line height and visible text area.
struct MemberView {
    tav_object *m;
    const char *row;  // the cursor's row
    uint32_t row_length;
    TTF_Font *font;
    int fh, lh;
    int32_t left, right, top, bottom;
};

MemberView view_of(tav_context *ctx, uint32_t number)
{
    MemberView v{};
    v.m = tav::object_at(ctx, number);
    tav_line_buffer *lines = tav::object_lines(ctx, v.m, nullptr);
    if (!lines) {
        v.m = nullptr;
        return v;
    }
    v.row = lines->lines[std::min(v.m->cursor_row, kLastRow)];
    v.row_length = tav::line_length(v.row, TAV_LINE_SIZE);
    v.font = tav::object_font(ctx, v.m);
    v.fh = tav::font_height(v.font);
    v.lh = v.fh + v.m->line_spacing;
    tav_get_borders_for_text(ctx, number, &v.left, &v.right, &v.top, &v.bottom);
    return v;
}

int32_t x_after(const MemberView &v, uint32_t k)
{
    return v.m->x + v.m->margin_left + tav::prefix_width(v.font, v.row, TAV_LINE_SIZE, k);
}

int32_t row_top(const MemberView &v, uint32_t row)
{
    return v.m->y + v.m->margin_top + v.lh * int32_t(row);
}

// Moves the subtree of an object along one axis, leaving out pinned objects
// whose master is a window of its own (they keep their place in it).
void shift_chain_objects(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount, bool vertical)
{
    if (direction != 1 && direction != 2) return;
    const int32_t d = direction == 1 ? -amount : amount;
    tav::walk_subtree(ctx, object, [ctx, d, vertical](uint32_t, tav_object &o) {
        if (o.pinned == 1) {
            const tav_object *master = tav::object_at(ctx, o.master);
            if (!master || master->master == 0) return tav::WalkStep::skip;
        }
        const bool moves_cursor = o.editable == 1 && o.kind != TAV_KIND_CHAIN;
        if (vertical) {
            o.y += d;
            if (moves_cursor) o.cursor_y += d;
        } else {
            o.x += d;
            if (moves_cursor) o.cursor_x += d;
        }
        return tav::WalkStep::descend;
    });
}

void move_chain(tav_context *ctx, uint32_t mother, int32_t dx, int32_t dy)
{
    tav_object *mo = tav::object_at(ctx, mother);
    if (!mo) return;
    if (dx != 0) {
        mo->x += dx;
        shift_chain_objects(ctx, mother, dx < 0 ? 1 : 2, std::abs(dx), false);
    }
    if (dy != 0) {
        mo->y += dy;
        shift_chain_objects(ctx, mother, dy < 0 ? 1 : 2, std::abs(dy), true);
    }
}

// Where a cursor that should stay put on the screen may stay: its old
// place, pulled inside the range low..high.
int32_t kept_place(int32_t old_place, int32_t low, int32_t high)
{
    return std::max(low, std::min(old_place, std::max(low, high)));
}

// A member that becomes the cursor's member beside the previous one is
// brought into the window: one to the left shows its last rows (its text
// bottom at the window's text bottom), one to the right its first row.
void show_member_beside(tav_context *ctx, uint32_t mother, const tav_object &previous, const tav_object &next)
{
    const tav_object *mo = tav::object_at(ctx, mother);
    const tav_object *window = tav::object_at(ctx, mo->master);
    if (!window) return;
    if (next.x < previous.x) {
        const int32_t below = (next.y + next.h - 1 - next.margin_bottom) - (window->y + window->h - 1 - window->margin_bottom);
        if (below > 0) move_chain(ctx, mother, 0, -below);
    } else if (next.x > previous.x) {
        move_chain(ctx, mother, 0, (window->y + window->margin_top - mo->margin_top) - next.y);
    }
}

bool x_visible(const MemberView &v)
{
    const int32_t x = x_after(v, v.m->cursor_column);
    return v.left < x && x < v.right;
}

bool y_visible(const MemberView &v)
{
    const int32_t y = row_top(v, v.m->cursor_row);
    return v.top < y && y + v.fh - 1 < v.bottom;
}

// Moves the chain by (dx, dy) when that shows the cursor on the given axis;
// a place that no move can show (outside the member's own area, or outside
// an area that moves along) leaves the chain where it is.
void move_chain_to_show(tav_context *ctx, uint32_t mother, MemberView &v, int32_t dx, int32_t dy,
                        bool (*visible)(const MemberView &))
{
    const uint32_t member = uint32_t(v.m - ctx->objects);
    move_chain(ctx, mother, dx, dy);
    v = view_of(ctx, member);
    if (visible(v)) return;
    move_chain(ctx, mother, -dx, -dy);
    v = view_of(ctx, member);
}

// Brings the cursor of a member into view. When the cursor's place lies
// outside the visible text area, the chain moves so that the cursor keeps
// its place on the screen: left when it passed the right border, right when
// it passed the left one, up past the bottom and down past the top.
void show_cursor(tav_context *ctx, uint32_t mother, uint32_t member)
{
    MemberView v = view_of(ctx, member);
    if (!v.m) return;
    tav_object &m = *v.m;
    if (!x_visible(v)) {
        const int32_t keep = kept_place(m.cursor_x, v.left + 1, v.right - 1);
        move_chain_to_show(ctx, mother, v, keep - x_after(v, m.cursor_column), 0, x_visible);
    }
    if (!y_visible(v)) {
        const int32_t keep = kept_place(m.cursor_y, v.top + 1, v.bottom - v.fh);
        move_chain_to_show(ctx, mother, v, 0, keep - row_top(v, m.cursor_row), y_visible);
    }
    m.cursor_x = x_after(v, m.cursor_column);
    m.cursor_y = row_top(v, m.cursor_row);
}

// One key applied to an open chain.
struct StreamEdit {
    tav_context *ctx;
    uint32_t mother_number;
    tav_object *mother;
    uint32_t previous;  // the cursor's member before the key
};

bool stream_full(const StreamEdit &s)
{
    return uint32_t(s.mother->text_length) >= s.mother->capacity - 1;
}

// Writes a character at the stream cursor. Return always inserts a line
// feed; a character is inserted in insert mode and put over the character
// at the cursor in overwrite mode. A full stream takes nothing more: a
// character that would make it grow is refused rather than written over
// the text or past the buffer.
bool put_stream_char(StreamEdit &s, char ch, bool is_return)
{
    tav_object *mo = s.mother;
    if (!is_return && s.ctx->overwrite_mode != 0 && mo->stream_cursor < mo->text_length) {
        mo->stream[mo->stream_cursor++] = ch;
        return true;
    }
    if (stream_full(s)) return false;
    tav::insert_char(mo->stream, uint32_t(mo->stream_cursor), uint32_t(mo->text_length), ch);
    ++mo->text_length;
    ++mo->stream_cursor;
    return true;
}

void remove_stream_char(StreamEdit &s, int32_t at)
{
    tav::remove_char(s.mother->stream, uint32_t(at), uint32_t(s.mother->text_length));
    --s.mother->text_length;
}

// How a key shows the cursor's new place. Characters, Return, Right and
// Left only bring the cursor into view, so the chain stays still while the
// cursor is visible, in whichever member it now stands. Backspace, Delete,
// Up and Down also bring a member the cursor passed to into the window.
enum class Show { cursor, member_and_cursor };

void show_after_key(StreamEdit &s, uint32_t member, Show show)
{
    if (member == 0) return;
    if (show == Show::member_and_cursor)
        tav_update_cursor_chain_object(s.ctx, s.mother_number, s.previous, member);
    else
        show_cursor(s.ctx, s.mother_number, member);
}

// Lays the changed text out again, finds the cursor's member, row and
// column and shows them.
void follow_cursor(StreamEdit &s, Show show)
{
    tav_format_stream_to_linked_objects(s.ctx, s.mother_number);
    show_after_key(s, tav_get_column_row_big_stream(s.ctx, s.mother_number), show);
}

bool can_step(const tav_object *mo, int direction)
{
    return direction > 0 ? mo->stream_cursor < mo->text_length : mo->stream_cursor > 0;
}

// Right and Left move the stream cursor by one character. The place before
// a space dropped after a line feed looks the same as the place after it;
// the cursor passes both in one key so that every key moves it visibly.
void step_cursor(StreamEdit &s, int direction)
{
    tav_object *mo = s.mother;
    const tav_object *before = tav::object_at(s.ctx, s.previous);
    const uint32_t row = before ? before->cursor_row : 0, column = before ? before->cursor_column : 0;
    if (can_step(mo, direction)) mo->stream_cursor += direction;
    uint32_t member = tav_get_column_row_big_stream(s.ctx, s.mother_number);
    const tav_object *now = tav::object_at(s.ctx, member);
    if (now && now == before && now->cursor_row == row && now->cursor_column == column && can_step(mo, direction)) {
        mo->stream_cursor += direction;
        member = tav_get_column_row_big_stream(s.ctx, s.mother_number);
    }
    show_after_key(s, member, Show::cursor);
}

void backspace(StreamEdit &s)
{
    tav_object *mo = s.mother;
    const int32_t p = mo->stream_cursor;
    if (p == 0) return;
    // At the start of an empty line both line feeds around it go, joining
    // the lines before and after; the cursor stays at the join.
    if (mo->stream[p - 1] == '\n' && mo->stream[p] == '\n') remove_stream_char(s, p - 1);
    remove_stream_char(s, p - 1);
    mo->stream_cursor = p - 1;
    follow_cursor(s, Show::member_and_cursor);
}

void delete_forward(StreamEdit &s)
{
    if (s.mother->stream_cursor >= s.mother->text_length) return;
    remove_stream_char(s, s.mother->stream_cursor);
    follow_cursor(s, Show::member_and_cursor);
}

// Up and Down move the cursor one row, passing to the member before or
// after at a member's first or last row. The column is kept where the row
// is long enough and goes to the row's end otherwise.
void move_vertically(StreamEdit &s, int direction)
{
    tav_context *ctx = s.ctx;
    const uint32_t current = tav_get_column_row_big_stream(ctx, s.mother_number);
    const MemberView v = view_of(ctx, current);
    if (!v.m) return;
    const uint32_t index = tav_get_move_with_nr(ctx, s.mother_number, current);
    const int count = member_count(ctx, s.mother);
    uint32_t target = 0, row = 0;
    if (direction < 0) {
        if (v.m->cursor_row > 0)
            target = current, row = v.m->cursor_row - 1;
        else if (index != TAV_NOT_FOUND && index >= 1 && int(index) <= count)
            target = s.mother->dependents[index - 1], row = std::min(tav::object_at(ctx, target)->line_count, kLastRow);
    } else {
        const uint32_t last = std::min(v.m->line_count, kLastRow);
        if (v.m->cursor_row < last) {
            // Only to a row that lies wholly inside the member.
            if (row_top(v, v.m->cursor_row + 1) + v.fh - 1 < v.m->y + v.m->h - v.m->margin_bottom)
                target = current, row = v.m->cursor_row + 1;
        } else if (index != TAV_NOT_FOUND && int(index) + 1 < count) {
            target = s.mother->dependents[index + 1], row = 0;
        }
    }
    if (target == 0) return;
    tav_object *t = tav::object_at(ctx, target);
    const uint32_t old_row = t->cursor_row, old_column = t->cursor_column;
    t->cursor_row = row;
    t->cursor_column = std::min(v.m->cursor_column, view_of(ctx, target).row_length);
    // Rows the text does not reach (the empty members after its end) take
    // no cursor: a character typed there would land elsewhere.
    const uint32_t target_index = tav_get_move_with_nr(ctx, s.mother_number, target);
    int32_t position = 0;
    if (!tav::find_position(stream_walk(ctx, s.mother), int(target_index), t->cursor_row, t->cursor_column, position)) {
        t->cursor_row = old_row;
        t->cursor_column = old_column;
        return;
    }
    ctx->cursor_object = target;
    s.mother->stream_cursor = position;
    tav_update_cursor_chain_object(ctx, s.mother_number, current, target);
}

// Home and End: the start or the end of the row the cursor is shown in.
void go_to_row_edge(StreamEdit &s, bool end)
{
    const MemberView v = view_of(s.ctx, s.previous);
    const uint32_t index = tav_get_move_with_nr(s.ctx, s.mother_number, s.previous);
    if (!v.m || index == TAV_NOT_FOUND || int(index) >= member_count(s.ctx, s.mother)) return;
    const uint32_t column = end ? v.row_length : 0;
    int32_t position = 0;
    if (!tav::find_position(stream_walk(s.ctx, s.mother), int(index), v.m->cursor_row, column, position)) return;
    v.m->cursor_column = column;
    s.mother->stream_cursor = position;
    show_after_key(s, s.previous, Show::cursor);
}

// Ctrl+C: the row of the cursor's member that holds the cursor.
void copy_row(const StreamEdit &s)
{
    const MemberView v = view_of(s.ctx, s.previous);
    if (v.m) tav::copy_to_clipboard(v.row, TAV_LINE_SIZE);
}

// Ctrl+V: the clipboard's text goes into the stream as if typed, character
// after character under the rules of typed characters; the chain is laid
// out once at the end.
void paste(StreamEdit &s)
{
    bool changed = false;
    for (char ch : tav::clipboard_latin1(s.mother->capacity)) changed |= put_stream_char(s, ch, ch == '\n');
    if (changed) follow_cursor(s, Show::cursor);
}

void apply_key(StreamEdit &s)
{
    tav_context *ctx = s.ctx;
    if ((ctx->key_is_char == 1 && ctx->key <= 255) || ctx->key == TAV_KEY_RETURN) {
        const bool is_return = ctx->key == TAV_KEY_RETURN && ctx->key_is_char != 1;
        if (put_stream_char(s, is_return ? '\n' : char(ctx->key), is_return)) follow_cursor(s, Show::cursor);
        return;
    }
    switch (ctx->key) {
    case TAV_KEY_RIGHT:
        step_cursor(s, 1);
        break;
    case TAV_KEY_LEFT:
        step_cursor(s, -1);
        break;
    case TAV_KEY_INSERT:
        ctx->overwrite_mode = ctx->overwrite_mode ? 0 : 1;
        break;
    case TAV_KEY_BACKSPACE:
        backspace(s);
        break;
    case TAV_KEY_DELETE:
        delete_forward(s);
        break;
    case TAV_KEY_UP:
        move_vertically(s, -1);
        break;
    case TAV_KEY_DOWN:
        move_vertically(s, 1);
        break;
    case TAV_KEY_HOME:
    case TAV_KEY_END:
        go_to_row_edge(s, ctx->key == TAV_KEY_END);
        break;
    case TAV_KEY_COPY:
        copy_row(s);
        break;
    case TAV_KEY_PASTE:
        paste(s);
        break;
    default:
        break;
    }
}

}  // namespace

void tav_get_big_stream_text(tav_context *ctx)
{
    if (!ctx || ctx->key == 0) return;
    const tav_object *member = tav::object_at(ctx, ctx->cursor_object);
    if (!member) return;
    StreamEdit s{ctx, member->master, open_mother(ctx, member->master), ctx->cursor_object};
    if (!s.mother) return;
    apply_key(s);
    tav::finish_key(ctx);
}

uint32_t tav_get_column_row_big_stream(tav_context *ctx, uint32_t mother)
{
    const tav_object *mo = open_mother(ctx, mother);
    if (!mo) return 0;
    tav::RowWalk walk = stream_walk(ctx, mo);
    if (!walk.has_rows()) return 0;
    // Past the last row the cursor stays at the end of the text shown.
    tav::RowPoint p;
    tav::point_at_position(walk, mo->stream_cursor, p);
    const uint32_t number = mo->dependents[p.member];
    tav_object *m = tav::object_at(ctx, number);
    m->cursor_row = p.row;
    m->cursor_column = p.column;
    ctx->cursor_object = number;
    return number;
}

void tav_get_position_in_big_stream(tav_context *ctx)
{
    if (!ctx) return;
    const tav_object *member = tav::object_at(ctx, ctx->cursor_object);
    if (!member) return;
    tav_object *mo = open_mother(ctx, member->master);
    if (!mo) return;
    const uint32_t index = tav_get_move_with_nr(ctx, member->master, ctx->cursor_object);
    tav::RowWalk walk = stream_walk(ctx, mo);
    if (index == TAV_NOT_FOUND || int(index) >= member_count(ctx, mo) || !walk.has_rows()) return;
    mo->stream_cursor = tav::position_at_point(walk, int(index), member->cursor_row, member->cursor_column);
}

void tav_update_cursor_chain_object(tav_context *ctx, uint32_t mother, uint32_t previous, uint32_t next)
{
    const tav_object *mo = tav::object_at(ctx, mother);
    const tav_object *n = tav::object_at(ctx, next);
    if (!mo || !n || n->kind != TAV_KIND_CHAIN) return;
    const tav_object *p = tav::object_at(ctx, previous);
    if (p && p != n) show_member_beside(ctx, mother, *p, *n);
    show_cursor(ctx, mother, next);
}

namespace tav {

// A click into a member puts the stream cursor at the character place under
// the point: the row under it (the member's last row below its rows) and
// the nearest place in that row. A member the text does not reach puts it
// at the end of the text.
void place_chain_cursor_at(tav_context *ctx, uint32_t member, int32_t x, int32_t y)
{
    tav_object *m = object_at(ctx, member);
    tav_object *mo = m ? open_mother(ctx, m->master) : nullptr;
    if (!mo) return;
    const uint32_t index = tav_get_move_with_nr(ctx, m->master, member);
    if (index == TAV_NOT_FOUND || int(index) >= member_count(ctx, mo)) return;
    const uint32_t last = std::min(m->line_count, kLastRow);
    MemberView v = view_of(ctx, member);
    uint32_t row = 0;
    if (v.lh > 0 && y >= row_top(v, 0)) row = std::min(uint32_t((y - row_top(v, 0)) / v.lh), last);
    m->cursor_row = row;
    v = view_of(ctx, member);
    const uint32_t column = y >= row_top(v, last + 1) ? v.row_length
                            : column_at_x(v.font, v.row, TAV_LINE_SIZE, m->x + m->margin_left, x);
    int32_t position = 0;
    uint32_t shown = member;
    if (find_position(stream_walk(ctx, mo), int(index), row, column, position)) {
        m->cursor_column = column;
        mo->stream_cursor = position;
        ctx->cursor_object = member;
    } else {
        mo->stream_cursor = mo->text_length;
        shown = tav_get_column_row_big_stream(ctx, m->master);
    }
    if (shown) show_cursor(ctx, m->master, shown);
}

}  // namespace tav

void tav_update_x_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount)
{
    shift_chain_objects(ctx, object, direction, amount, false);
}

void tav_update_y_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount)
{
    shift_chain_objects(ctx, object, direction, amount, true);
}

// Text layout inside an object: word wrap of record texts into the 40 lines
// of a line buffer with a pixel-exact line width, one-line texts of buttons
// and entry fields, and the small string helpers used everywhere.
#include <cstring>

#include "internal.h"
#include "textcache.h"
#include "textflow.h"

namespace tav {

namespace {

char *current_line(LineFlow *flow)
{
    return flow->buffer->lines[flow->line];
}

// Width in pixels of the current line up to its terminator.
int current_line_width(LineFlow *flow)
{
    return text_width(flow->ctx, object_font(flow->ctx, flow->object), current_line(flow));
}

}  // namespace

bool open_record_flow(LineFlow *flow, tav_context *ctx, uint32_t object, uint32_t line, uint32_t column)
{
    tav_object *o = object_at(ctx, object);
    tav_line_buffer *buffer = o ? line_buffer_at(ctx, o->text_record) : nullptr;
    if (!buffer || line > last_line || column > full_column) return false;
    *flow = LineFlow{ctx, object, o, buffer, line, column, next_line_in_buffer, nullptr};
    return true;
}

bool next_line_in_buffer(LineFlow *flow)
{
    if (flow->line >= last_line) return false;
    flow->line++;
    flow->column = 0;
    current_line(flow)[0] = '\0';
    return true;
}

void clear_lines(tav_line_buffer *buffer)
{
    for (auto &line : buffer->lines) line[0] = '\0';
}

int32_t line_width_of(tav_object *o)
{
    if (o->line_width == 0) o->line_width = o->w - o->margin_left - o->margin_right;
    return o->line_width;
}

void terminate_line(LineFlow *flow)
{
    current_line(flow)[flow->column] = '\0';
}

void append_char(LineFlow *flow, char ch)
{
    char *line = current_line(flow);
    line[flow->column++] = ch;
    line[flow->column] = '\0';
}

bool append_if_fits(LineFlow *flow, char ch)
{
    append_char(flow, ch);
    if (current_line_width(flow) <= line_width_of(flow->object)) return true;
    flow->column--;
    terminate_line(flow);
    return false;
}

int32_t measure_word(LineFlow *flow, const char *word, uint32_t length)
{
    const int32_t line_width = line_width_of(flow->object);
    const int word_width = text_width(flow->ctx, object_font(flow->ctx, flow->object), word);
    const int64_t room_px = int64_t(line_width) - current_line_width(flow);
    const int64_t room_chars = int64_t(full_column) - 1 - flow->column;
    if (length <= room_chars && word_width <= room_px) return 1;
    if (length <= full_column - 1 && word_width <= line_width) return 2;
    return 3;
}

namespace {

// Writes the word character by character, moving on to a fresh line where a
// character would overflow the line in pixels or in columns. A character
// wider than a whole line moves on until the lines run out.
int32_t split_word(LineFlow *flow, const char *word, uint32_t length)
{
    for (uint32_t i = 0; i < length;) {
        if (flow->column >= full_column) {
            flow->column = full_column;
            terminate_line(flow);
            if (!flow->next_line(flow)) return -1;
            continue;
        }
        if (append_if_fits(flow, word[i])) {
            ++i;
            continue;
        }
        if (!flow->next_line(flow)) return -1;
    }
    return 1;
}

void append_word(LineFlow *flow, const char *word, uint32_t length)
{
    for (uint32_t i = 0; i < length; ++i) append_char(flow, word[i]);
}

}  // namespace

int32_t place_word(LineFlow *flow, const char *word, uint32_t length, bool force_break)
{
    int32_t result = 0;
    switch (measure_word(flow, word, length)) {
    case 1:
        append_word(flow, word, length);
        break;
    case 2:
        // With no line left the word is dropped: nothing goes past line 39.
        terminate_line(flow);
        if (!flow->next_line(flow)) return -1;
        append_word(flow, word, length);
        break;
    default:
        result = split_word(flow, word, length);
        if (result < 0) return result;
        break;
    }
    if (force_break || flow->column >= full_column) {
        terminate_line(flow);
        if (!flow->next_line(flow)) return -1;
    }
    return result;
}

char shown_byte(const tav_context *ctx, char ch)
{
    if (ctx->convert_umlauts != 1) return ch;
    switch (static_cast<unsigned char>(ch)) {
    case 0x84: return char(0xE4);  // ä
    case 0x94: return char(0xF6);  // ö
    case 0x81: return char(0xFC);  // ü
    default: return ch;
    }
}

namespace {

// Places the collected word; false when the lines ran out.
bool flush_word(TextWalk *walk, bool force_break)
{
    if (walk->word_length == 0) return true;
    const int32_t placed = place_word(walk->flow, walk->word, walk->word_length, force_break);
    walk->word_length = 0;
    walk->word[0] = '\0';
    return placed >= 0;
}

// Adds a byte to the word; a full word is placed first and the byte starts
// the next one.
bool collect_byte(TextWalk *walk, char ch)
{
    if (walk->word_length >= word_capacity) {
        if (!flush_word(walk, false)) return false;
        terminate_line(walk->flow);
    }
    walk->word[walk->word_length++] = ch;
    walk->word[walk->word_length] = '\0';
    return true;
}

bool drops_wrap_space(const TextWalk *walk, uint32_t i)
{
    return walk->flow->column == 0 && walk->flow->object->text_format == 0 && i + 1 < walk->length &&
           walk->text[i + 1] != ' ';
}

enum class Step { go_on, text_ended, lines_full };

Step lay_out_byte(TextWalk *walk, uint32_t *i)
{
    LineFlow *flow = walk->flow;
    const char ch = *i < walk->length ? walk->text[*i] : '\0';
    if (ch == '\0') {
        if (!flush_word(walk, false)) return Step::lines_full;
        terminate_line(flow);
        return Step::text_ended;
    }
    if (ch == '\n') {
        // The pending word, then the line break.
        if (walk->word_length > 0) return flush_word(walk, true) ? Step::go_on : Step::lines_full;
        terminate_line(flow);
        return flow->next_line(flow) ? Step::go_on : Step::lines_full;
    }
    if (ch == ' ') {
        if (!walk->after_space) {
            walk->after_space = true;
            if (!flush_word(walk, false)) return Step::lines_full;
        }
        if (!drops_wrap_space(walk, *i) && !walk->lay_out_space(walk, i)) return Step::lines_full;
    } else {
        walk->after_space = false;
        if (!collect_byte(walk, shown_byte(flow->ctx, ch))) return Step::lines_full;
    }
    if (flow->column >= full_column) {
        terminate_line(flow);
        if (!flow->next_line(flow)) return Step::lines_full;
    }
    return Step::go_on;
}

}  // namespace

WalkEnd walk_text(TextWalk *walk)
{
    for (uint32_t i = 0; i <= walk->length; ++i) {
        switch (lay_out_byte(walk, &i)) {
        case Step::go_on: break;
        case Step::text_ended: return WalkEnd::text_ended;
        case Step::lines_full: return WalkEnd::lines_full;
        }
    }
    return WalkEnd::text_ended;
}

}  // namespace tav

namespace {

using tav::LineFlow;

// A space in a record text. One that overflows the line ends it; when
// another space follows, that one begins the next line. At column 99 there
// is no room for it.
bool lay_out_record_space(tav::TextWalk *walk, uint32_t *i)
{
    LineFlow *flow = walk->flow;
    if (flow->column >= tav::full_column || tav::append_if_fits(flow, ' ')) return true;
    if (!flow->next_line(flow)) return false;
    if (*i + 1 < walk->length && walk->text[*i + 1] == ' ') {
        tav::append_char(flow, ' ');
        ++*i;
    }
    return true;
}

// Text length bounded by the size of the field it lives in.
uint32_t bounded_length(const char *text, size_t size)
{
    return text ? uint32_t(strnlen(text, size - 1)) : 0;
}

}  // namespace

int32_t tav_format_object_text(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o || (o->kind != TAV_KIND_WINDOW && o->kind != TAV_KIND_TEXT) || o->w == 0 || o->h == 0) return 0;
    tav_text_record *record = tav::text_record_at(ctx, o->text_record);
    tav_line_buffer *buffer = tav::line_buffer_at(ctx, o->text_record);
    if (!record || !buffer) return 0;

    int32_t left = 0, right = 0, top = 0, bottom = 0;
    tav_get_borders_for_text(ctx, object, &left, &right, &top, &bottom);
    if (o->line_width == 0) o->line_width = right - left - 1;

    LineFlow flow;
    tav::open_record_flow(&flow, ctx, object, 0, 0);
    tav::TextWalk walk{};
    walk.flow = &flow;
    walk.text = record->text;
    walk.length = bounded_length(record->text, sizeof record->text);
    walk.lay_out_space = lay_out_record_space;
    o->text_length = int32_t(walk.length);
    tav::clear_lines(buffer);
    o->line_count = 0;
    if (walk.length == 0) return 0;

    tav::walk_text(&walk);
    const uint32_t last = flow.line;
    for (uint32_t j = last + 1; j < TAV_MAX_LINES; ++j) buffer->lines[j][0] = '\0';
    o->line_count = last;
    return int32_t(last);
}

int32_t tav_format_small_obj(tav_context *ctx, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o || o->text[0] == '\0') return 0;
    // A short text shows one line: it ends at its first line feed.
    o->text[sizeof o->text - 1] = '\0';
    if (char *feed = std::strchr(o->text, '\n')) *feed = '\0';

    if (o->kind == TAV_KIND_ENTRY || o->kind == TAV_KIND_NUMBER) return 3;
    TTF_Font *font = tav::object_font(ctx, o);
    int tw = 0, th = 0;
    if (o->kind != TAV_KIND_LABEL || !font || !tav::text_size(ctx, font, o->text, &tw, &th)) return 0;
    // Centre the label; one that does not fit keeps its margins.
    int32_t result = 0;
    const int32_t dx = o->w - tw, dy = o->h - th;
    if (dx > 2) {
        o->margin_left = dx / 2;
        result = 1;
    }
    if (dy > 2) {
        o->margin_top = dy / 2;
        result = 2;
    }
    return result;
}

int32_t tav_copy_word_into_line(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, int32_t force_break)
{
    LineFlow flow;
    if (!word || !line || !column || !word_length || !tav::open_record_flow(&flow, ctx, object, *line, *column)) return -1;
    const uint32_t length = uint32_t(strnlen(word, *word_length));
    const int32_t result = tav::place_word(&flow, word, length, force_break == 1);
    *line = flow.line;
    *column = flow.column;
    return result;
}

int32_t tav_check_line_volume(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length)
{
    LineFlow flow;
    if (!word || !line || !column || !word_length || !tav::open_record_flow(&flow, ctx, object, *line, *column)) return 0;
    return tav::measure_word(&flow, word, uint32_t(strnlen(word, *word_length)));
}

void tav_fill_form_with_dummies(tav_context *ctx, char *text, uint32_t object, uint32_t width, int32_t fill)
{
    tav_object *o = tav::object_at(ctx, object);
    const char pad = char(fill & 0xFF);
    // The field is an object's own text: a wider form would not fit in it.
    if (!o || !text || width == 0 || width >= TAV_SHORT_TEXT_SIZE || pad == '\0') return;
    const uint32_t n = uint32_t(strnlen(text, width));
    if (n >= width) return;
    text[width] = '\0';
    std::memmove(text + (width - n), text, n);
    std::memset(text, pad, width - n);
    o->text_length = int32_t(width);
}

int32_t tav_load_window_text(tav_context *ctx, uint32_t object, const char *text)
{
    tav_object *o = tav::object_at(ctx, object);
    tav_text_record *record = o ? tav::text_record_at(ctx, o->text_record) : nullptr;
    tav_line_buffer *buffer = o ? tav::line_buffer_at(ctx, o->text_record) : nullptr;
    if (!record || !buffer) return 0;
    for (uint32_t j = 0; j <= o->line_count && j < TAV_MAX_LINES; ++j) buffer->lines[j][0] = '\0';
    // A record holds 999 characters; a longer text keeps its beginning.
    const uint32_t n = bounded_length(text, sizeof record->text);
    if (n > 0) std::memcpy(record->text, text, n);
    record->text[n] = '\0';
    return tav_format_object_text(ctx, object);
}

int32_t tav_load_window_text_buttons(tav_context *ctx, uint32_t object, const char *text, uint32_t button_a, uint32_t button_b)
{
    tav_load_window_text(ctx, object, text);
    tav_format_small_obj(ctx, button_a);
    return tav_format_small_obj(ctx, button_b);
}

int32_t tav_reset_textobject(tav_context *ctx, int32_t source, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o) return 0;
    if (source == 0) {
        o->text_length = int32_t(bounded_length(o->text, sizeof o->text));
    } else if (source == 1) {
        if (tav_text_record *record = tav::text_record_at(ctx, o->text_record)) {
            o->text_length = int32_t(bounded_length(record->text, sizeof record->text));
            record->cursor_position = 0;
        }
    }
    o->cursor_row = 0;
    o->cursor_column = 0;
    o->cursor_x = o->x + o->margin_left;
    o->cursor_y = o->y + o->margin_top;
    return o->cursor_y;
}

uint32_t tav_count_string_size_without_zero(const char *text)
{
    return text ? uint32_t(std::strlen(text)) : 0;
}

uint32_t tav_get_lastposition_before_zero(const char *text)
{
    return tav_count_string_size_without_zero(text) - 1u;
}

uint32_t tav_copy_st_last_part(const char *source, char *destination)
{
    if (!destination) return 0;
    const uint32_t n = tav_count_string_size_without_zero(source);
    if (n > 0) std::memcpy(destination, source, n);
    destination[n] = '\0';
    return n;
}

char *tav_copy_st_first_part(uint32_t last, const char *source, char *destination)
{
    if (!destination) return nullptr;
    // last + 1 characters; the last index of an empty text (0xFFFFFFFF)
    // wraps to none.
    const uint32_t wanted = last + 1u;
    uint32_t n = 0;
    if (source)
        while (n < wanted && source[n] != '\0') {
            destination[n] = source[n];
            ++n;
        }
    destination[n] = '\0';
    return destination + n;
}

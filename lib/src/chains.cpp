// Chains: one big stream, owned by a chain mother, laid out over the chain
// members named in the mother's dependents list, as an article runs over
// the columns of a newspaper. Each member shows up to 40 lines; on request
// the members are fitted to the lines they received.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "internal.h"
#include "platform.h"
#include "textflow.h"

namespace {

using tav::LineFlow;

// Entry m of the mother's list as a chain member: an object of kind 8 with
// a line buffer, or nullptr where the chain ends.
tav_object *member_at(tav_context *ctx, const tav_object *mother, uint32_t m)
{
    if (m >= TAV_MAX_DEPENDENTS) return nullptr;
    tav_object *member = tav::object_at(ctx, mother->dependents[m]);
    if (!member || member->kind != TAV_KIND_CHAIN) return nullptr;
    if (!tav::line_buffer_at(ctx, member->text_record)) return nullptr;
    return member;
}

tav_object *chain_mother(tav_context *ctx, uint32_t mother)
{
    tav_object *o = tav::object_at(ctx, mother);
    return o && o->kind == TAV_KIND_CHAIN ? o : nullptr;
}

// Sets the member's height to its lines 0..line when the mother asks for
// fitting, and lets the mother's height follow. Returns the growth.
int32_t fit_member(tav_context *ctx, tav_object *mother, tav_object *member, uint32_t line)
{
    if (mother->text_format != 1 && mother->text_format != 2) return 0;
    TTF_Font *font = tav::object_font(ctx, member);
    if (!font) return 0;
    const int32_t rows = int32_t(line < tav::last_line ? line : tav::last_line) + 1;
    const int32_t height = (TTF_FontHeight(font) + member->line_spacing) * rows + member->margin_top + member->margin_bottom;
    const int32_t growth = height - member->h;
    member->h = height;
    mother->h += growth;
    return growth;
}

// A layout position in a chain, as the exported functions pass it around.
struct ChainWalk {
    tav_context *ctx;
    uint32_t mother;
    uint32_t m;        // index of the current member in the mother's list
    uint32_t member;
    uint32_t record;
    LineFlow flow;
};

// next_line for a chain: line 39 of a member is followed by line 0 of the
// next member.
bool next_line_in_chain(LineFlow *flow)
{
    if (tav::next_line_in_buffer(flow)) return true;
    ChainWalk *walk = static_cast<ChainWalk *>(flow->chain);
    if (tav_go_to_next_chainmember(walk->ctx, walk->mother, &walk->m, &walk->member, &walk->record, &flow->line, &flow->column) != 0)
        return false;
    flow->number = walk->member;
    flow->object = tav::object_at(walk->ctx, walk->member);
    flow->buffer = tav::line_buffer_at(walk->ctx, walk->record);
    return true;
}

// Opens a walk at member entry m, line, column; false when that entry is no
// chain member or the position lies outside its lines.
bool open_chain_walk(ChainWalk *walk, tav_context *ctx, uint32_t mother, uint32_t m, uint32_t line, uint32_t column)
{
    tav_object *mo = chain_mother(ctx, mother);
    tav_object *member = mo ? member_at(ctx, mo, m) : nullptr;
    if (!member || line > tav::last_line || column > tav::full_column) return false;
    walk->ctx = ctx;
    walk->mother = mother;
    walk->m = m;
    walk->member = mo->dependents[m];
    walk->record = member->text_record;
    walk->flow = LineFlow{ctx, walk->member, member, tav::line_buffer_at(ctx, walk->record), line, column,
                          next_line_in_chain, walk};
    return true;
}

// Empties the members after entry m, which this layout did not reach, so
// that none of them keeps text of an earlier layout.
void clear_members_after(tav_context *ctx, const tav_object *mother, uint32_t m)
{
    for (uint32_t k = m + 1; tav_object *member = member_at(ctx, mother, k); ++k) {
        tav::clear_lines(tav::line_buffer_at(ctx, member->text_record));
        member->line_count = 0;
    }
}

// A space in a stream. One that does not fit, or finds the line full,
// begins the next line, in the next member after line 39.
bool lay_out_stream_space(tav::TextWalk *walk, uint32_t *)
{
    LineFlow *flow = walk->flow;
    if (flow->column < tav::full_column && tav::append_if_fits(flow, ' ')) return true;
    tav::terminate_line(flow);
    if (!flow->next_line(flow)) return false;
    tav::append_char(flow, ' ');
    return true;
}

}  // namespace

int32_t tav_prepare_chain_mother(tav_context *ctx, uint32_t object, uint32_t capacity)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o) return -1;
    // The buffer lives as long as the application: tav_close leaves it.
    char *stream = static_cast<char *>(std::calloc(capacity > 0 ? capacity : 1, 1));
    if (!stream) return -1;
    o->stream = stream;
    o->capacity = capacity;
    return 1;
}

void tav_connect_object_to_big_stream(tav_context *ctx, uint32_t object, uint32_t capacity)
{
    tav_prepare_chain_mother(ctx, object, capacity);
}

namespace {

// Reads the whole open file into a new buffer of `size` bytes (at least one
// byte is allocated); nullptr when it cannot be read.
char *read_whole_file(std::FILE *f, long size)
{
    char *bytes = static_cast<char *>(std::malloc(size > 0 ? size_t(size) : 1));
    if (bytes && std::fread(bytes, 1, size_t(size), f) != size_t(size)) {
        std::free(bytes);
        bytes = nullptr;
    }
    return bytes;
}

}  // namespace

char *tav_read_external_stream(const char *path)
{
    std::FILE *f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) return nullptr;
    const long size = tav::platform::file_size(f);
    char *bytes = size >= 0 ? read_whole_file(f, size) : nullptr;
    std::fclose(f);
    return bytes;
}

int32_t tav_read_external_stream_copy_to_object(tav_context *ctx, const char *path, uint32_t object)
{
    tav_object *o = tav::object_at(ctx, object);
    if (!o || !o->stream) return -1;
    std::FILE *f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) return 0;
    // At least one zero byte must stay behind the text as its terminator.
    const long size = tav::platform::file_size(f);
    char *bytes = size >= 0 && uint64_t(size) < o->capacity ? read_whole_file(f, size) : nullptr;
    std::fclose(f);
    if (!bytes) return -1;
    // The stream changes only once the whole file has been read.
    std::memcpy(o->stream, bytes, size_t(size));
    std::memset(o->stream + size, 0, o->capacity - size_t(size));
    std::free(bytes);
    o->text_length = int32_t(size);
    return 1;
}

int32_t tav_format_stream_to_linked_objects(tav_context *ctx, uint32_t mother)
{
    tav_object *mo = chain_mother(ctx, mother);
    ChainWalk chain;
    if (!mo || !open_chain_walk(&chain, ctx, mother, 0, 0, 0)) return 0;
    LineFlow *flow = &chain.flow;
    tav_object *first = flow->object;

    int32_t left = 0, right = 0, top = 0, bottom = 0;
    tav_get_borders_for_text(ctx, chain.member, &left, &right, &top, &bottom);
    if (first->line_width == 0) first->line_width = right - left - 1;

    tav::clear_lines(flow->buffer);
    first->line_count = 0;
    tav::TextWalk walk{};
    walk.flow = flow;
    walk.text = mo->stream;
    walk.length = mo->stream ? uint32_t(strnlen(mo->stream, mo->capacity)) : 0;
    walk.lay_out_space = lay_out_stream_space;
    if (walk.length == 0) {
        clear_members_after(ctx, mo, 0);
        return 0;
    }
    // A stream longer than the chain stops at the last member's line 39;
    // moving on to the next member has already fitted that one.
    if (tav::walk_text(&walk) == tav::WalkEnd::lines_full) return 1;

    // The text ended inside the chain: fit the member it ended in and
    // empty the members behind it.
    flow->object->line_count = flow->line;
    fit_member(ctx, mo, flow->object, flow->line);
    clear_members_after(ctx, mo, chain.m);
    return 1;
}

int32_t tav_copy_word_big(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *record, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, uint32_t *member, int32_t force_break)
{
    ChainWalk chain;
    if (!m || !record || !word || !line || !column || !word_length || !member) return -1;
    if (!open_chain_walk(&chain, ctx, mother, *m, *line, *column)) return -1;
    const uint32_t length = uint32_t(strnlen(word, *word_length));
    const int32_t result = tav::place_word(&chain.flow, word, length, force_break == 1);
    *m = chain.m;
    *member = chain.member;
    *record = chain.record;
    *line = chain.flow.line;
    *column = chain.flow.column;
    *word_length = 0;
    return result;
}

int32_t tav_go_to_next_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line, uint32_t *column)
{
    tav_object *mo = chain_mother(ctx, mother);
    if (!mo || !m || !member || !record || !line || !column) return 1;
    int32_t growth = 0;
    if (tav_object *current = tav::object_at(ctx, *member)) {
        current->line_count = *line < tav::last_line ? *line : tav::last_line;
        growth = fit_member(ctx, mo, current, current->line_count);
    }
    if (*m >= TAV_MAX_DEPENDENTS) return 1;
    *m += 1;
    tav_object *next = member_at(ctx, mo, *m);
    if (!next) return 1;
    *member = mo->dependents[*m];
    *record = next->text_record;
    *line = 0;
    *column = 0;
    tav::clear_lines(tav::line_buffer_at(ctx, *record));
    if (mo->text_format == 2) next->y += growth;
    return 0;
}

void tav_adapt_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line)
{
    (void)m;
    (void)record;
    tav_object *mo = chain_mother(ctx, mother);
    tav_object *current = member ? tav::object_at(ctx, *member) : nullptr;
    if (mo && current && line) fit_member(ctx, mo, current, *line);
}

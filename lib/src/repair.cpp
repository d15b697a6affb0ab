#include "repair.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "internal.h"

namespace tav {

namespace {

void report(const char *file, uint32_t number, const char *field, const char *what)
{
    std::fprintf(stderr, "%s: object %u: %s %s\n", file, number, field, what);
}

// A string field whose bytes hold no terminator is cut at its last byte.
bool cut_unterminated(char *field, size_t size)
{
    if (std::memchr(field, 0, size)) return false;
    field[size - 1] = 0;
    return true;
}

void cut_object_strings(tav_object *o, uint32_t n, const char *file)
{
    if (cut_unterminated(o->text, sizeof o->text)) report(file, n, "text", "has no terminator, cut");
    if (cut_unterminated(o->font_file, sizeof o->font_file)) report(file, n, "font_file", "has no terminator, cut");
    if (cut_unterminated(o->image_file, sizeof o->image_file)) report(file, n, "image_file", "has no terminator, cut");
}

bool in_object_array(const tav_context *ctx, uint32_t n)
{
    return n < array_count(ctx->objects);
}

// Removes entry i of a dependents list and closes the gap, so the entries
// behind it stay in the list.
void remove_dependent(tav_object *o, int i)
{
    for (; i + 1 < TAV_MAX_DEPENDENTS && o->dependents[i + 1] != 0; ++i) o->dependents[i] = o->dependents[i + 1];
    o->dependents[i] = 0;
}

void drop_numbers_out_of_range(tav_context *ctx, tav_object *o, uint32_t n, const char *file)
{
    if (!in_object_array(ctx, o->master)) {
        report(file, n, "master", "is beyond the object array, taken as none");
        o->master = 0;
    }
    for (int i = 0; i < TAV_MAX_DEPENDENTS && o->dependents[i] != 0;) {
        if (in_object_array(ctx, o->dependents[i])) {
            ++i;
            continue;
        }
        report(file, n, "dependents", "entry is beyond the object array, taken as none");
        remove_dependent(o, i);
    }
}

enum Mark : uint8_t { unseen, on_path, finished };

// Follows master links from every object; a link that leads back onto the
// path being walked closes a loop and is cut, so every walk up ends.
void cut_master_loops(tav_context *ctx, const char *file)
{
    size_t count = array_count(ctx->objects);
    std::vector<uint8_t> mark(count, unseen);
    std::vector<uint32_t> path;
    for (uint32_t start = 1; start < count; ++start) {
        path.clear();
        uint32_t n = start;
        while (n != 0 && mark[n] == unseen) {
            mark[n] = on_path;
            path.push_back(n);
            uint32_t up = ctx->objects[n].master;
            if (up != 0 && mark[up] == on_path) {
                report(file, n, "master", "closes a loop of masters, cut");
                ctx->objects[n].master = 0;
                break;
            }
            n = up;
        }
        for (uint32_t p : path) mark[p] = finished;
    }
}

// Depth-first walk over the dependents lists without recursion; an entry
// that leads back to an object whose subtree is still being walked closes a
// cycle of lists and is cut, so every walk down ends.
void cut_list_cycles(tav_context *ctx, const char *file)
{
    size_t count = array_count(ctx->objects);
    std::vector<uint8_t> mark(count, unseen);
    struct Frame {
        uint32_t object;
        int next;
    };
    std::vector<Frame> stack;
    for (uint32_t root = 1; root < count; ++root) {
        if (mark[root] != unseen) continue;
        mark[root] = on_path;
        stack.push_back({root, 0});
        while (!stack.empty()) {
            Frame &top = stack.back();
            tav_object &o = ctx->objects[top.object];
            if (top.next >= TAV_MAX_DEPENDENTS || o.dependents[top.next] == 0) {
                mark[top.object] = finished;
                stack.pop_back();
                continue;
            }
            uint32_t d = o.dependents[top.next];
            if (mark[d] == on_path) {
                report(file, top.object, "dependents", "entry closes a cycle of lists, cut");
                remove_dependent(&o, top.next);
                continue;
            }
            ++top.next;
            if (mark[d] == unseen) {
                mark[d] = on_path;
                stack.push_back({d, 0});
            }
        }
    }
}

}  // namespace

void repair_objects(tav_context *ctx, const char *file)
{
    size_t count = array_count(ctx->objects);
    for (uint32_t n = 1; n < count; ++n) {
        tav_object *o = &ctx->objects[n];
        cut_object_strings(o, n, file);
        drop_numbers_out_of_range(ctx, o, n, file);
    }
    cut_master_loops(ctx, file);
    cut_list_cycles(ctx, file);
}

void repair_text_references(tav_context *ctx, const char *tav_path, const char *taw_path)
{
    size_t records = array_count(ctx->text_records);
    for (uint32_t r = 1; r < records; ++r) {
        if (cut_unterminated(ctx->text_records[r].text, TAV_RECORD_TEXT_SIZE))
            std::fprintf(stderr, "%s: text record %u: text has no terminator, cut\n", taw_path, r);
    }
    size_t count = array_count(ctx->objects);
    for (uint32_t n = 1; n < count; ++n) {
        tav_object &o = ctx->objects[n];
        if (o.text_record != 0 && o.text_record >= records) {
            report(tav_path, n, "text_record", "is beyond the text-record array, taken as none");
            o.text_record = 0;
        }
    }
}

}  // namespace tav

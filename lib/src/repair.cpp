#include "repair.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tav {

namespace {

void report(const char *file, uint32_t number, const char *field, const char *what)
{
    std::fprintf(stderr, "%s: object %u: %s %s\n", file, number, field, what);
}

void report_text(const char *file, uint32_t number, const char *field, const char *what)
{
    std::fprintf(stderr, "%s: text record %u: %s %s\n", file, number, field, what);
}

// A string field whose bytes hold no terminator is cut at its last byte.
bool cut_unterminated(char *field, size_t size)
{
    if (std::memchr(field, 0, size)) return false;
    field[size - 1] = 0;
    return true;
}

void cut_object_strings(tav_object_record &r, uint32_t n, const char *file)
{
    if (cut_unterminated(r.text, sizeof r.text)) report(file, n, "text", "has no terminator, cut");
    if (cut_unterminated(r.font_file, sizeof r.font_file)) report(file, n, "font_file", "has no terminator, cut");
    if (cut_unterminated(r.image_file, sizeof r.image_file)) report(file, n, "image_file", "has no terminator, cut");
}

// The entries of a dependents list as the walks read it: up to the first 0.
int list_length(const tav_object_record &r)
{
    int length = 0;
    while (length < TAV_MAX_DEPENDENTS && r.dependents[length] != 0) ++length;
    return length;
}

// Removes entry i of a dependents list and closes the gap, so the entries
// behind it stay in the list.
void remove_dependent(tav_object_record &r, int i)
{
    for (; i + 1 < TAV_MAX_DEPENDENTS && r.dependents[i + 1] != 0; ++i) r.dependents[i] = r.dependents[i + 1];
    r.dependents[i] = 0;
}

void drop_numbers_above(tav_object_record &r, uint32_t n, uint32_t highest, const char *file)
{
    if (r.master > highest) {
        report(file, n, "master", "is beyond the object array, taken as none");
        r.master = 0;
    }
    for (int i = 0; i < TAV_MAX_DEPENDENTS && r.dependents[i] != 0;) {
        if (r.dependents[i] <= highest) {
            ++i;
            continue;
        }
        report(file, n, "dependents", "entry is beyond the object array, taken as none");
        remove_dependent(r, i);
    }
}

enum Mark : uint8_t { unseen, on_path, finished };

// Follows master links from every record; a link that leads back onto the
// path being walked closes a loop and is cut, so every walk up ends. A
// number above `count` names an empty object, where the walk ends.
void cut_master_loops(tav_object_record *records, uint32_t count, const char *file)
{
    std::vector<uint8_t> mark(size_t(count) + 1, unseen);
    std::vector<uint32_t> path;
    for (uint32_t start = 1; start <= count; ++start) {
        path.clear();
        uint32_t n = start;
        while (n != 0 && n <= count && mark[n] == unseen) {
            mark[n] = on_path;
            path.push_back(n);
            uint32_t up = records[n].master;
            if (up != 0 && up <= count && mark[up] == on_path) {
                report(file, n, "master", "closes a loop of masters, cut");
                records[n].master = 0;
                break;
            }
            n = up;
        }
        for (uint32_t p : path) mark[p] = finished;
    }
}

// Depth-first walk over the dependents lists without recursion; an entry
// that leads back to a record whose subtree is still being walked closes a
// cycle of lists and is cut, so every walk down ends.
void cut_list_cycles(tav_object_record *records, uint32_t count, const char *file)
{
    std::vector<uint8_t> mark(size_t(count) + 1, unseen);
    struct Frame {
        uint32_t record;
        int next;
    };
    std::vector<Frame> stack;
    for (uint32_t root = 1; root <= count; ++root) {
        if (mark[root] != unseen) continue;
        mark[root] = on_path;
        stack.push_back({root, 0});
        while (!stack.empty()) {
            Frame &top = stack.back();
            tav_object_record &r = records[top.record];
            if (top.next >= TAV_MAX_DEPENDENTS || r.dependents[top.next] == 0) {
                mark[top.record] = finished;
                stack.pop_back();
                continue;
            }
            uint32_t d = r.dependents[top.next];
            if (d <= count && mark[d] == on_path) {
                report(file, top.record, "dependents", "entry closes a cycle of lists, cut");
                remove_dependent(r, top.next);
                continue;
            }
            ++top.next;
            if (d <= count && mark[d] == unseen) {
                mark[d] = on_path;
                stack.push_back({d, 0});
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Agreement of a pair
// ---------------------------------------------------------------------------

constexpr uint32_t highest_kind = TAV_KIND_BITMAP;

void agree_values(tav_object_record &r, uint32_t n, const char *file)
{
    if (r.kind == TAV_KIND_IMAGE) {
        report(file, n, "kind", "9 (a loaded image) is stored as 4");
        r.kind = TAV_KIND_IMAGE_FILE;
    } else if (r.kind > highest_kind) {
        report(file, n, "kind", "is not a kind, taken as 0");
        r.kind = TAV_KIND_EMPTY;
    }
    if (r.font_state == 2) {
        report(file, n, "font_state", "2 (an open font) is stored as 1");
        r.font_state = 1;
    } else if (r.font_state != 0 && r.font_state != 1) {
        report(file, n, "font_state", "is not a font state, taken as 0 (the default font)");
        r.font_state = 0;
    }
}

// An object that names no master but stands in a list takes the first list
// that holds it as its master's.
void adopt_listed_objects(tav_object_record *records, uint32_t count, const char *file)
{
    for (uint32_t n = 1; n <= count; ++n)
        for (int i = 0; i < list_length(records[n]); ++i) {
            const uint32_t d = records[n].dependents[i];
            if (d > count || d == n || records[d].master != 0) continue;
            records[d].master = n;
            report(file, d, "master", ("was none although object " + std::to_string(n) + " lists it, set").c_str());
        }
}

// Keeps in each list the objects that name its owner as master, each once;
// entries after the first 0 are not read by the walks and go as well.
// `listed` tells afterwards which objects stand in their master's list.
void keep_own_dependents(tav_object_record *records, uint32_t count, std::vector<uint8_t> &listed, const char *file)
{
    for (uint32_t n = 1; n <= count; ++n) {
        tav_object_record &r = records[n];
        const int length = list_length(r);
        int kept = 0;
        for (int i = 0; i < length; ++i) {
            const uint32_t d = r.dependents[i];
            if (d > count || records[d].master != n) {
                report(file, n, "dependents", "entry names an object of another master, dropped");
                continue;
            }
            if (listed[d]) {
                report(file, n, "dependents", "entry lists an object twice, dropped");
                continue;
            }
            listed[d] = 1;
            r.dependents[kept++] = d;
        }
        bool tail = false;
        for (int i = kept; i < TAV_MAX_DEPENDENTS; ++i) {
            tail = tail || (i > length && r.dependents[i] != 0);
            r.dependents[i] = 0;
        }
        if (tail) report(file, n, "dependents", "entries after the first 0 are not read, cleared");
    }
}

// An object whose master does not list it is added to the list, or, when
// the list is full, stands free.
void list_every_dependent(tav_object_record *records, uint32_t count, const std::vector<uint8_t> &listed,
                          const char *file)
{
    for (uint32_t n = 1; n <= count; ++n) {
        tav_object_record &r = records[n];
        if (r.master == 0 || listed[n]) continue;
        if (r.master > count) {
            report(file, n, "master", "names no object of the file, taken as none");
            r.master = 0;
            continue;
        }
        tav_object_record &m = records[r.master];
        const int length = list_length(m);
        if (length < TAV_MAX_DEPENDENTS) {
            m.dependents[length] = n;
            report(file, n, "master", "does not list it, added to its dependents");
        } else {
            report(file, n, "master", "has a full list of dependents, taken as none");
            r.master = 0;
        }
    }
}

// Each text record belongs to the first object that shows it; a later
// object that shows it too gets none, and a record no object shows is free.
void agree_owners(tav_object_record *records, uint32_t count, tav_text_record *texts, uint32_t text_count,
                  const char *tav_path, const char *taw_path)
{
    std::vector<uint32_t> shown_by(size_t(text_count) + 1, 0);
    for (uint32_t n = 1; n <= count; ++n) {
        const uint32_t t = records[n].text_record;
        if (t == 0) continue;
        if (t > text_count || shown_by[t] != 0) {
            report(tav_path, n, "text_record", "is shown by another object, taken as none");
            records[n].text_record = 0;
            continue;
        }
        shown_by[t] = n;
    }
    for (uint32_t t = 1; t <= text_count; ++t) {
        if (texts[t].owner == shown_by[t]) continue;
        report_text(taw_path, t, "owner", shown_by[t] ? "is not the object that shows it, set" : "shows it nowhere, taken as none");
        texts[t].owner = shown_by[t];
    }
}

}  // namespace

void repair_object_records(tav_object_record *records, uint32_t count, uint32_t highest, const char *file)
{
    for (uint32_t n = 1; n <= count; ++n) {
        cut_object_strings(records[n], n, file);
        drop_numbers_above(records[n], n, highest, file);
    }
    cut_master_loops(records, count, file);
    cut_list_cycles(records, count, file);
}

void repair_text_records(tav_object_record *records, uint32_t count, tav_text_record *texts, uint32_t text_count,
                         uint32_t highest_text, const char *tav_path, const char *taw_path)
{
    for (uint32_t r = 1; r <= text_count; ++r)
        if (cut_unterminated(texts[r].text, TAV_RECORD_TEXT_SIZE))
            report_text(taw_path, r, "text", "has no terminator, cut");
    for (uint32_t n = 1; n <= count; ++n) {
        if (records[n].text_record > highest_text) {
            report(tav_path, n, "text_record", "is beyond the text-record array, taken as none");
            records[n].text_record = 0;
        }
    }
}

void agree_design_records(tav_object_record *records, uint32_t count, tav_text_record *texts, uint32_t text_count,
                          const char *tav_path, const char *taw_path)
{
    for (uint32_t n = 1; n <= count; ++n) agree_values(records[n], n, tav_path);
    adopt_listed_objects(records, count, tav_path);
    // An adopted object may have closed a loop through an older master.
    cut_master_loops(records, count, tav_path);
    std::vector<uint8_t> listed(size_t(count) + 1, 0);
    keep_own_dependents(records, count, listed, tav_path);
    list_every_dependent(records, count, listed, tav_path);
    agree_owners(records, count, texts, text_count, tav_path, taw_path);
}

}  // namespace tav

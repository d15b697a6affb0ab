// The parts of a file selection list: rows made from a template row, the
// names of the current directory, and the names put into the rows.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "internal.h"
#include "platform.h"
#include "tavrin.h"
#include "windowing.h"

namespace {

constexpr int32_t kRowGap = 3;          // pixels between two rows
constexpr int32_t kRowWidth = 220;      // width of a row showing a name
constexpr int32_t kListPadding = 40;    // height of the list beyond its rows
constexpr size_t kLongestPath = 296;    // longer paths are not listed

constexpr uint32_t kLastNameIndex = TAV_DIR_ENTRY_SIZE - 2;  // names keep at most 64 characters

// Copies a name cut to 64 characters; `destination` holds at least 65 bytes.
void copy_name(char *destination, const char *source)
{
    tav_copy_st_first_part(kLastNameIndex, source, destination);
}

void copy_row_look(tav_object *row, const tav_object *t)
{
    row->kind = t->kind;
    row->x = t->x;
    row->w = t->w;
    row->h = t->h;
    row->fill_r = t->fill_r, row->fill_g = t->fill_g, row->fill_b = t->fill_b;
    row->text_r = t->text_r, row->text_g = t->text_g, row->text_b = t->text_b;
    row->margin_top = t->margin_top;
    row->margin_left = t->margin_left;
}

// Reads the names after the directory's own entry, at most 100 of them, cut
// to 64 characters; returns how many were stored.
uint32_t read_names(tav_context *ctx)
{
    tav::platform::DirListing *listing = tav::platform::dir_open(ctx->app_dir);
    if (!listing) return 0;
    uint32_t count = 0;
    if (tav::platform::dir_next(listing)) {
        while (count < TAV_MAX_DIR_ENTRIES) {
            const char *name = tav::platform::dir_next(listing);
            if (!name) break;
            copy_name(ctx->dir_entries[count++], name);
        }
    }
    tav::platform::dir_close(listing);
    return count;
}

// Orders the names by their first byte only, as unsigned bytes: for each
// position the first later name with a smaller first byte is swapped in and
// the search starts again, so names sharing a first byte keep no
// particular order.
void sort_by_first_byte(tav_context *ctx)
{
    const uint32_t last = ctx->dir_entry_last;
    auto first_byte = [&](uint32_t position) { return uint8_t(ctx->dir_entries[ctx->dir_entry_order[position]][0]); };
    for (uint32_t i = 0; i < last; ++i) {
        for (uint32_t j = i + 1; j <= last;) {
            if (first_byte(j) < first_byte(i)) {
                const uint32_t swap = ctx->dir_entry_order[i];
                ctx->dir_entry_order[i] = ctx->dir_entry_order[j];
                ctx->dir_entry_order[j] = swap;
                j = i + 1;
            } else {
                ++j;
            }
        }
    }
}

// How many names the last read left to show. dir_entry_last is 0 both for
// one name and for none; an empty first name tells them apart.
uint32_t names_to_show(const tav_context *ctx)
{
    if (ctx->dir_entry_last >= TAV_MAX_DIR_ENTRIES) return TAV_MAX_DIR_ENTRIES;
    if (ctx->dir_entry_last > 0) return ctx->dir_entry_last + 1;
    const uint32_t first = ctx->dir_entry_order[0];
    return first < TAV_MAX_DIR_ENTRIES && ctx->dir_entries[first][0] != '\0' ? 1 : 0;
}

}  // namespace

void tav_prepare_fileselector(tav_context *ctx, uint32_t list, uint32_t n)
{
    tav_object *l = tav::object_at(ctx, list);
    if (!l) return;
    const uint32_t t = l->dependents[0];
    const tav_object *templ = tav::object_at(ctx, t);
    if (!templ) return;
    // Rows are the objects that follow the template in the layout; the list
    // has room for 99 of them next to the template.
    for (uint32_t k = 1; k <= n && k < TAV_MAX_DEPENDENTS; ++k) {
        const uint64_t number = uint64_t(t) + k;
        if (number > ctx->object_count || number == list) break;
        tav_object *row = tav::object_at(ctx, uint32_t(number));
        if (!row) break;
        l->dependents[k] = uint32_t(number);
        copy_row_look(row, templ);
        row->y = tav::shifted(templ->y, (int64_t(templ->h) + kRowGap) * k);
        row->master = list;
    }
}

void tav_read_app_dir(tav_context *ctx)
{
    if (!ctx) return;
    if (!tav::platform::current_directory(ctx->app_dir, sizeof ctx->app_dir))
        std::fprintf(stderr, "Fehler bei getcwd ...\n");
    ctx->app_dir[sizeof ctx->app_dir - 1] = '\0';
    if (std::strlen(ctx->app_dir) > kLongestPath) {
        std::printf(" Path to long !\n");
        return;
    }
    const uint32_t count = read_names(ctx);
    // A directory with a single name (its parent link) shows just that name;
    // one that could not be read shows an empty list, not the names of the
    // directory shown before.
    if (count == 0) ctx->dir_entries[0][0] = '\0';
    ctx->dir_entry_last = count > 0 ? count - 1 : 0;
    for (uint32_t i = 0; i <= ctx->dir_entry_last; ++i) ctx->dir_entry_order[i] = i;
    if (count > 1) sort_by_first_byte(ctx);
}

void tav_load_dir_entries(tav_context *ctx, uint32_t list)
{
    tav_object *l = tav::object_at(ctx, list);
    if (!l) return;
    const uint32_t names = names_to_show(ctx);
    uint32_t filled = 0;
    for (; filled < names && filled < TAV_MAX_DEPENDENTS && l->dependents[filled] != 0; ++filled) {
        tav_object *row = tav::object_at(ctx, l->dependents[filled]);
        const uint32_t entry = ctx->dir_entry_order[filled];
        if (!row || entry >= TAV_MAX_DIR_ENTRIES) break;
        copy_name(row->text, ctx->dir_entries[entry]);
        row->hidden = 0;
        row->w = kRowWidth;
    }
    if (const tav_object *first_row = tav::object_at(ctx, l->dependents[0]))
        l->h = tav::shifted(kListPadding, int64_t(filled) * (int64_t(first_row->h) + kRowGap));
    // The rows left over are switched off; a zero width keeps them out of
    // drawing, hit testing and the automatic visibility of dependents.
    for (uint32_t k = filled; k < TAV_MAX_DEPENDENTS && l->dependents[k] != 0; ++k) {
        if (tav_object *row = tav::object_at(ctx, l->dependents[k])) {
            row->hidden = 1;
            row->w = 0;
        }
    }
}

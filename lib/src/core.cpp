// Start-up, shut-down and loading of a layout: the .tav object records and
// the .taw text records, the images and fonts the objects name.
#include <SDL2/SDL_image.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "internal.h"
#include "platform.h"
#include "records.h"
#include "repair.h"
#include "tavrin.h"
#include "textcache.h"

namespace {

// A definition file being loaded: its name and the message that reports
// its failure.
struct DefinitionFile {
    const char *path;
    const char *message;
};

// A definition file that cannot be opened, measured or held is a failure
// of the start-up: after its message on standard output the file's name and
// the reason go to standard error, and the process ends with status 1.
[[noreturn]] void give_up(const DefinitionFile &file, const char *reason)
{
    std::fputs(file.message, stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", file.path ? file.path : "(no file name)", reason);
    std::exit(1);
}

std::FILE *open_or_give_up(const DefinitionFile &file)
{
    if (!file.path) give_up(file, "no file name given");
    std::FILE *f = std::fopen(file.path, "rb");
    if (!f) give_up(file, std::strerror(errno));
    return f;
}

// Number of whole records in an open file; a trailing partial record is not
// counted.
size_t record_count(std::FILE *f, size_t record_size, const DefinitionFile &file)
{
    long size = tav::platform::file_size(f);
    if (size < 0) {
        const int error = errno;
        std::fclose(f);
        give_up(file, std::strerror(error));
    }
    return size_t(size) / record_size;
}

// Allocates an array of loaded + extra + 1 zero-filled elements.
void *alloc_or_give_up(size_t loaded, uint32_t extra, size_t element_size, std::FILE *f, const DefinitionFile &file)
{
    void *array = nullptr;
    if (loaded < SIZE_MAX - extra - 1 && loaded <= UINT32_MAX - 1 - extra)
        array = tav::alloc_array(loaded + extra + 1, element_size);
    if (!array) {
        std::fclose(f);
        give_up(file, "too large to load");
    }
    return array;
}

// Reads `count` records of `size` bytes one by one and hands each to decode,
// which stores it as element 1, 2, ...
template <typename Decode>
void read_records(std::FILE *f, size_t count, size_t size, Decode decode)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 1; i <= count; ++i) {
        if (std::fread(bytes.data(), 1, size, f) != size) break;
        decode(i, bytes.data());
    }
}

// Copies the fields the loader takes from a record into an object. The
// run-time slots of the record stay unread.
void copy_record(const tav_object_record &r, tav_object &o)
{
    o.x = r.x, o.y = r.y, o.w = r.w, o.h = r.h;
    o.fill_r = r.fill_r, o.fill_g = r.fill_g, o.fill_b = r.fill_b;
    std::memcpy(o.text, r.text, sizeof o.text);
    o.font_state = r.font_state, o.font_size = r.font_size;
    std::memcpy(o.font_file, r.font_file, sizeof o.font_file);
    o.text_record = r.text_record;
    o.text_r = r.text_r, o.text_g = r.text_g, o.text_b = r.text_b;
    o.margin_left = r.margin_left, o.margin_right = r.margin_right;
    o.margin_top = r.margin_top, o.margin_bottom = r.margin_bottom;
    o.text_format = r.text_format, o.line_width = r.line_width, o.line_spacing = r.line_spacing;
    // A dependent takes its hidden flag from the file only when it is a box.
    if (r.kind != TAV_KIND_EMPTY && (r.master == 0 || r.kind == TAV_KIND_BOX)) o.hidden = r.hidden;
    o.kind = r.kind, o.window_style = r.window_style, o.editable = r.editable;
    o.text_length = r.text_length;
    o.capacity = r.capacity, o.border_style = r.border_style, o.border_distance = r.border_distance;
    o.border_r = r.border_r, o.border_g = r.border_g, o.border_b = r.border_b;
    o.master = r.master;
    if (r.dependents[0] != 0)
        for (int i = 0; i < TAV_MAX_DEPENDENTS; ++i)
            if (r.dependents[i] != 0) o.dependents[i] = r.dependents[i];
    o.scroll_extent_w = r.scroll_extent_w, o.scroll_extent_h = r.scroll_extent_h;
    std::memcpy(o.image_file, r.image_file, sizeof o.image_file);
    o.pinned = r.pinned;
}

// Reads the object records into the load buffer, elements 1..object_count,
// and allocates the object array they are copied into once repaired.
void read_object_records(tav_context *ctx, uint32_t extra_objects, const char *path)
{
    const DefinitionFile file = {path, "Can't open file.\n"};
    std::FILE *f = open_or_give_up(file);
    size_t count = record_count(f, TAV_OBJECT_RECORD_SIZE, file);
    ctx->objects = static_cast<tav_object *>(alloc_or_give_up(count, extra_objects, sizeof(tav_object), f, file));
    ctx->load_buffer = static_cast<tav_object_record *>(tav::alloc_array(count + 1, sizeof(tav_object_record)));
    if (!ctx->load_buffer) {
        std::fclose(f);
        give_up(file, "too large to load");
    }
    ctx->object_count = uint32_t(count);
    read_records(f, count, TAV_OBJECT_RECORD_SIZE,
                 [ctx](size_t i, const uint8_t *b) { tav::decode_object_record(b, &ctx->load_buffer[i]); });
    std::fclose(f);
}

void copy_object_records(tav_context *ctx)
{
    for (uint32_t i = 1; i <= ctx->object_count; ++i) copy_record(ctx->load_buffer[i], ctx->objects[i]);
    tav::free_array(ctx->load_buffer);
    ctx->load_buffer = nullptr;
}

bool any_text_record(const tav_context *ctx)
{
    for (uint32_t i = 1; i <= ctx->object_count; ++i)
        if (ctx->load_buffer[i].text_record != 0) return true;
    return false;
}

void load_text_records(tav_context *ctx, uint32_t extra_streams, const char *path)
{
    const DefinitionFile file = {path, "Can't open file !\n\n"};
    ctx->text_records_loaded = 1;
    std::FILE *f = open_or_give_up(file);
    size_t count = record_count(f, TAV_TEXT_RECORD_SIZE, file);
    ctx->text_records =
        static_cast<tav_text_record *>(alloc_or_give_up(count, extra_streams, sizeof(tav_text_record), f, file));
    ctx->line_buffers =
        static_cast<tav_line_buffer *>(alloc_or_give_up(count, extra_streams, sizeof(tav_line_buffer), f, file));
    ctx->text_record_count = uint32_t(count);
    read_records(f, count, TAV_TEXT_RECORD_SIZE,
                 [ctx](size_t i, const uint8_t *b) { tav::decode_text_record(b, &ctx->text_records[i]); });
    std::fclose(f);
}

void choose_mark_colour(tav_context *ctx)
{
    if (ctx->operator_mode == 0) {
        ctx->mark_r = ctx->mark0_r, ctx->mark_g = ctx->mark0_g, ctx->mark_b = ctx->mark0_b;
    } else if (ctx->operator_mode == 1) {
        ctx->mark_r = ctx->mark1_r, ctx->mark_g = ctx->mark1_g, ctx->mark_b = ctx->mark1_b;
    }
}

// Objects from `first` (0 counts as 1) to object_count, as far as the array
// reaches. The result is 0 when no object needed loading, -1 when any
// attempt failed and 1 when every attempt succeeded: a later success must
// not hide an earlier failure.
template <typename Load>
int32_t for_loaded_objects(tav_context *ctx, uint32_t first, Load load)
{
    int32_t result = 0;
    for (uint32_t i = first == 0 ? 1 : first; i <= ctx->object_count; ++i) {
        tav_object *o = tav::object_at(ctx, i);
        if (!o) break;
        int32_t r = load(o);
        if (r != 0 && result != -1) result = r;
    }
    return result;
}

}  // namespace

tav_context *tav_start_tavrin(tav_context *ctx, uint32_t extra_objects, uint32_t extra_streams, const char *tav_path,
                              const char *taw_path)
{
    read_object_records(ctx, extra_objects, tav_path);
    // Numbers up to the end of the arrays are sound: the extra objects and
    // text records exist, empty.
    const uint32_t count = ctx->object_count;
    tav::repair_object_records(ctx->load_buffer, count, count + extra_objects, tav_path);
    if (any_text_record(ctx)) load_text_records(ctx, extra_streams, taw_path);
    tav::repair_text_records(ctx->load_buffer, count, ctx->text_records, ctx->text_record_count,
                             ctx->text_records ? ctx->text_record_count + extra_streams : 0, tav_path, taw_path);
    copy_object_records(ctx);
    tav::start_text_caches(ctx);
    tav_load_object_images(ctx, 1);
    tav_load_object_fonts(ctx, 1);
    choose_mark_colour(ctx);
    return ctx;
}

int32_t tav_load_object_images(tav_context *ctx, uint32_t first)
{
    return for_loaded_objects(ctx, first, [](tav_object *o) -> int32_t {
        if (o->kind != TAV_KIND_IMAGE_FILE) return 0;
        SDL_Surface *image = IMG_Load(o->image_file);
        if (!image) return -1;
        o->image = image;
        o->w = image->w, o->h = image->h;
        o->kind = TAV_KIND_IMAGE;
        return 1;
    });
}

int32_t tav_load_object_fonts(tav_context *ctx, uint32_t first)
{
    return for_loaded_objects(ctx, first, [](tav_object *o) -> int32_t {
        if (o->font_state != 1) return 0;
        TTF_Font *font = TTF_OpenFont(o->font_file, o->font_size);
        if (!font) {
            std::printf("TTF_OpenFont: %s\n", SDL_GetError());
            return -1;
        }
        o->own_font = font;
        o->font_state = 2;
        return 1;
    });
}

int32_t tav_check_file_type(tav_context *ctx, const char *path)
{
    (void)ctx;
    switch (tav::platform::file_kind(path)) {
    case tav::platform::FileKind::regular: return TAV_FILE_REGULAR;
    case tav::platform::FileKind::directory: return TAV_FILE_DIRECTORY;
    default: return TAV_FILE_OTHER;
    }
}

void tav_close(tav_context *ctx)
{
    if (ctx->font) TTF_CloseFont(ctx->font);
    ctx->font = nullptr;
    SDL_FreeSurface(ctx->text_surface);
    SDL_FreeSurface(ctx->screen);
    ctx->text_surface = ctx->screen = nullptr;
    for (uint32_t i = 1; i <= ctx->object_count; ++i) {
        tav_object *o = tav::object_at(ctx, i);
        if (!o) break;
        if (o->font_state == 2 && o->own_font) TTF_CloseFont(o->own_font), o->own_font = nullptr;
        if (o->kind == TAV_KIND_IMAGE && o->image) SDL_FreeSurface(o->image), o->image = nullptr;
    }
    if (ctx->text_records_loaded == 1) {
        tav::free_array(ctx->text_records);
        tav::free_array(ctx->line_buffers);
        ctx->text_records = nullptr;
        ctx->line_buffers = nullptr;
    }
    tav::stop_text_caches(ctx);
    tav::free_array(ctx->objects);
    ctx->objects = nullptr;
    TTF_Quit();
    SDL_Quit();
}

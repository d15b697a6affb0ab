// Letting go of the fonts and images that objects of the design hold.
#include "resources.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace creator {

namespace {

// True when an object other than `self` still holds the font or surface.
template <typename T>
bool shared_elsewhere(const Editor &ed, const tav_object &self, T *resource, T *tav_object::*slot)
{
    for (uint32_t n = 1; n <= ed.object_capacity; ++n)
        if (&ed.ctx->objects[n] != &self && ed.ctx->objects[n].*slot == resource) return true;
    return false;
}

// Descriptors held back while fonts open: every open font keeps its file
// open, and a save needs a few descriptors of its own.
constexpr int RESERVED_DESCRIPTORS = 16;

// Descriptors of /dev/null taken for the time fonts open; given back when
// it goes out of scope.
class DescriptorReserve {
public:
    DescriptorReserve()
    {
        for (int i = 0; i < RESERVED_DESCRIPTORS; ++i) {
            const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (fd < 0) break;
            fds_.push_back(fd);
        }
    }
    ~DescriptorReserve()
    {
        for (int fd : fds_) close(fd);
    }
    DescriptorReserve(const DescriptorReserve &) = delete;
    DescriptorReserve &operator=(const DescriptorReserve &) = delete;
    bool whole() const { return fds_.size() == size_t(RESERVED_DESCRIPTORS); }

private:
    std::vector<int> fds_;
};

// True when the process can open no further descriptor.
bool descriptors_exhausted()
{
    const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    close(fd);
    return false;
}

}  // namespace

void release_font(Editor &ed, tav_object &o)
{
    TTF_Font *old = o.own_font;
    o.own_font = nullptr;
    if (old && old != ed.ctx->font && !shared_elsewhere(ed, o, old, &tav_object::own_font)) TTF_CloseFont(old);
}

void release_image(Editor &ed, tav_object &o)
{
    SDL_Surface *old = o.image;
    o.image = nullptr;
    if (old && !shared_elsewhere(ed, o, old, &tav_object::image)) SDL_FreeSurface(old);
}

void release_design_resources(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    // What the editor's own objects hold is tav_close's to free.
    std::set<const void *> kept{ctx->font};
    for (uint32_t n = 1; n <= ctx->object_count; ++n) kept.insert({ctx->objects[n].own_font, ctx->objects[n].image});
    std::set<TTF_Font *> fonts;
    std::set<SDL_Surface *> images;
    for (uint32_t n = ctx->object_count + 1; n <= ed.object_capacity; ++n) {
        tav_object &o = ctx->objects[n];
        if (o.own_font && !kept.count(o.own_font)) fonts.insert(o.own_font);
        if (o.image && !kept.count(o.image)) images.insert(o.image);
        o.own_font = nullptr;
        o.image = nullptr;
        if (o.font_state == 2) o.font_state = 1;
        if (o.kind == TAV_KIND_IMAGE) o.kind = TAV_KIND_IMAGE_FILE;
    }
    for (TTF_Font *font : fonts) TTF_CloseFont(font);
    for (SDL_Surface *image : images) SDL_FreeSurface(image);
}

TTF_Font *open_font_like_others(Editor &ed, const char *file, int32_t size)
{
    for (uint32_t n = ed.ctx->object_count + 1; n <= ed.object_capacity; ++n) {
        const tav_object &o = ed.ctx->objects[n];
        if (o.font_state == 2 && o.own_font && o.font_size == size && std::strcmp(o.font_file, file) == 0)
            return o.own_font;
    }
    return TTF_OpenFont(file, size);
}

int32_t open_shared_fonts(Editor &ed, uint32_t first, uint32_t last)
{
    std::map<std::pair<std::string, int32_t>, TTF_Font *> opened;  // nullptr: the file failed
    DescriptorReserve reserve;
    bool exhausted = !reserve.whole();
    int32_t result = 0;
    for (uint32_t n = first; n <= last && !exhausted; ++n) {
        tav_object *o = object_at(ed, n);
        if (!o || o->font_state != 1) continue;
        const auto key = std::make_pair(std::string(o->font_file), o->font_size);
        auto known = opened.find(key);
        TTF_Font *font = nullptr;
        if (known != opened.end()) {
            font = known->second;
        } else {
            font = TTF_OpenFont(o->font_file, o->font_size);
            if (!font && descriptors_exhausted()) {
                exhausted = true;
                break;
            }
            if (!font) std::printf("TTF_OpenFont: %s\n", SDL_GetError());
            opened.emplace(key, font);
        }
        if (!font) {
            result = -1;
            continue;
        }
        o->own_font = font;
        o->font_state = 2;
        if (result == 0) result = 1;
    }
    return exhausted ? FONTS_EXHAUSTED : result;
}

}  // namespace creator

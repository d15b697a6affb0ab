// Letting go of the fonts and images that objects of the design hold.
#include "resources.h"

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

}  // namespace creator

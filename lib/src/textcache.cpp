// The text caches: font numbers, measured sizes and composited line
// surfaces, and the switch that leaves them out.
#include "textcache.h"

#include <cstring>
#include <new>

#include "internal.h"

namespace tav {

namespace {

// FNV-1a over the font number and the text.
uint64_t hash_of(uint32_t font, const char *text, size_t length)
{
    uint64_t h = 14695981039346656037ull;
    auto mix = [&h](unsigned char byte) { h = (h ^ byte) * 1099511628211ull; };
    for (int i = 0; i < 4; ++i) mix(uint8_t(font >> (8 * i)));
    for (size_t i = 0; i < length; ++i) mix(uint8_t(text[i]));
    return h;
}

const char *or_empty(const char *s)
{
    return s ? s : "";
}

size_t surface_bytes(const SDL_Surface *s)
{
    return size_t(s->h) * size_t(s->pitch);
}

}  // namespace

FontStamp FontStamp::of(TTF_Font *font)
{
    return {TTF_FontHeight(font),
            TTF_FontAscent(font),
            TTF_FontDescent(font),
            TTF_FontLineSkip(font),
            TTF_GetFontStyle(font),
            TTF_GetFontOutline(font),
            TTF_GetFontHinting(font),
            TTF_GetFontKerning(font),
            TTF_GetFontSDF(font) ? 1 : 0,
            TTF_FontFaceIsFixedWidth(font),
            TTF_FontFaces(font),
            or_empty(TTF_FontFaceFamilyName(font)),
            or_empty(TTF_FontFaceStyleName(font))};
}

bool FontStamp::matches(TTF_Font *font) const
{
    return height == TTF_FontHeight(font) && ascent == TTF_FontAscent(font) && descent == TTF_FontDescent(font) &&
           line_skip == TTF_FontLineSkip(font) && style == TTF_GetFontStyle(font) &&
           outline == TTF_GetFontOutline(font) && hinting == TTF_GetFontHinting(font) &&
           kerning == TTF_GetFontKerning(font) && sdf == (TTF_GetFontSDF(font) ? 1 : 0) &&
           fixed_width == TTF_FontFaceIsFixedWidth(font) && faces == TTF_FontFaces(font) &&
           family == or_empty(TTF_FontFaceFamilyName(font)) && style_name == or_empty(TTF_FontFaceStyleName(font));
}

uint32_t FontTable::id_of(TTF_Font *font)
{
    for (Entry &e : fonts_) {
        if (e.font != font) continue;
        if (!e.stamp.matches(font)) e = {font, FontStamp::of(font), next_id_++};
        return e.id;
    }
    fonts_.push_back({font, FontStamp::of(font), next_id_++});
    return fonts_.back().id;
}

bool FontTable::knows(TTF_Font *font) const
{
    for (const Entry &e : fonts_)
        if (e.font == font) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Sizes
// ---------------------------------------------------------------------------

bool SizeCache::find(uint32_t font, const char *text, size_t length, int *w, int *h) const
{
    if (slots_.empty()) return false;
    const uint64_t hash = hash_of(font, text, length);
    for (size_t i = index_of(hash);; i = (i + 1) & (slots_.size() - 1)) {
        const Slot &s = slots_[i];
        if (s.length == 0) return false;
        if (s.hash == hash && s.font == font && s.length == length && std::memcmp(s.text, text, length) == 0) {
            *w = s.w, *h = s.h;
            return true;
        }
    }
}

void SizeCache::insert(uint32_t font, const char *text, size_t length, int w, int h)
{
    if (length == 0 || length > max_text) return;
    if (slots_.empty()) slots_.resize(capacity_);
    // Open addressing needs free slots to end its probes: start afresh when
    // three quarters are taken.
    if (used_ + 1 > slots_.size() / 4 * 3) clear();
    const uint64_t hash = hash_of(font, text, length);
    size_t i = index_of(hash);
    while (slots_[i].length != 0) i = (i + 1) & (slots_.size() - 1);
    Slot &s = slots_[i];
    s.hash = hash, s.font = font, s.w = w, s.h = h, s.length = uint8_t(length);
    std::memcpy(s.text, text, length);
    ++used_;
}

void SizeCache::clear()
{
    for (Slot &s : slots_) s.length = 0;
    used_ = 0;
}

// ---------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------

LineCache::LineCache(size_t max_bytes, size_t max_lines) : max_bytes_(max_bytes), max_lines_(max_lines) {}

LineCache::~LineCache()
{
    clear();
}

const std::string &LineCache::key_string(const Key &key)
{
    scratch_.clear();
    auto put = [this](const void *bytes, size_t n) { scratch_.append(static_cast<const char *>(bytes), n); };
    put(&key.font, sizeof key.font);
    put(&key.colour.r, 1), put(&key.colour.g, 1), put(&key.colour.b, 1);
    put(&key.fill, sizeof key.fill);
    for (Uint32 mask : {key.format->Rmask, key.format->Gmask, key.format->Bmask, key.format->Amask})
        put(&mask, sizeof mask);
    scratch_.append(key.text);
    return scratch_;
}

SDL_Surface *LineCache::find(const Key &key)
{
    auto it = lines_.find(key_string(key));
    if (it == lines_.end()) return nullptr;
    use_order_.splice(use_order_.begin(), use_order_, it->second.age);
    return it->second.surface;
}

void LineCache::insert(const Key &key, SDL_Surface *surface)
{
    const size_t size = surface_bytes(surface);
    if (size > max_bytes_ || max_lines_ == 0) return;
    auto placed = lines_.emplace(key_string(key), Line{surface, {}});
    if (!placed.second) return;
    surface->refcount++;
    use_order_.push_front(&placed.first->first);
    placed.first->second.age = use_order_.begin();
    bytes_ += size;
    while (bytes_ > max_bytes_ || lines_.size() > max_lines_) release_oldest();
}

void LineCache::release_oldest()
{
    auto it = lines_.find(*use_order_.back());
    use_order_.pop_back();
    bytes_ -= surface_bytes(it->second.surface);
    SDL_FreeSurface(it->second.surface);
    lines_.erase(it);
}

void LineCache::clear()
{
    for (auto &entry : lines_) SDL_FreeSurface(entry.second.surface);
    lines_.clear();
    use_order_.clear();
    bytes_ = 0;
}

// ---------------------------------------------------------------------------
// The caches of a context
// ---------------------------------------------------------------------------

uint32_t TextCaches::font_id(TTF_Font *font)
{
    if (!font) return 0;
    // A program that opens font after font without end would fill the table:
    // start afresh instead.
    if (fonts.size() >= max_fonts && !fonts.knows(font)) {
        fonts.clear();
        sizes.clear();
        lines.clear();
    }
    return fonts.id_of(font);
}

void start_text_caches(tav_context *ctx)
{
    if (!ctx || !ctx->objects) return;
    const char *fast = SDL_getenv("TAVRIN_FAST_PATHS");
    if (fast && std::strcmp(fast, "0") == 0) return;
    set_array_attachment(ctx->objects, new (std::nothrow) TextCaches);
}

void stop_text_caches(tav_context *ctx)
{
    if (!ctx || !ctx->objects) return;
    delete text_caches(ctx);
    set_array_attachment(ctx->objects, nullptr);
}

TextCaches *text_caches(const tav_context *ctx)
{
    return ctx ? static_cast<TextCaches *>(array_attachment(ctx->objects)) : nullptr;
}

bool text_size(tav_context *ctx, TTF_Font *font, const char *text, int *w, int *h)
{
    TextCaches *caches = text_caches(ctx);
    const size_t length = strnlen(text, SizeCache::max_text + 1);
    if (!caches || length == 0 || length > SizeCache::max_text) return TTF_SizeText(font, text, w, h) == 0;
    const uint32_t id = caches->font_id(font);
    if (caches->sizes.find(id, text, length, w, h)) return true;
    if (TTF_SizeText(font, text, w, h) != 0) return false;
    caches->sizes.insert(id, text, length, *w, *h);
    return true;
}

namespace {

// Renders a line and composites it over a surface of the screen's format
// filled with `fill`: the same blend, pixel by pixel, that drawing it on
// the freshly filled box of its object performs.
SDL_Surface *render_composited(TTF_Font *font, const char *text, SDL_Color colour, const SDL_PixelFormat *format,
                               Uint32 fill)
{
    SDL_Surface *rendered = TTF_RenderText_Blended(font, text, colour);
    if (!rendered) return nullptr;
    SDL_Surface *composed = SDL_CreateRGBSurface(0, rendered->w, rendered->h, format->BitsPerPixel, format->Rmask,
                                                 format->Gmask, format->Bmask, format->Amask);
    if (composed) {
        SDL_FillRect(composed, nullptr, fill);
        SDL_UpperBlit(rendered, nullptr, composed, nullptr);
        SDL_SetSurfaceBlendMode(composed, SDL_BLENDMODE_NONE);
    }
    SDL_FreeSurface(rendered);
    return composed;
}

}  // namespace

SDL_Surface *composited_line(tav_context *ctx, TTF_Font *font, const char *text, SDL_Color colour, Uint32 fill)
{
    TextCaches *caches = text_caches(ctx);
    // A copy reproduces the blend only where the pixels are plain values of
    // the same format: 32-bit screens without a palette.
    if (!caches || !ctx->screen || !font) return nullptr;
    const SDL_PixelFormat *format = ctx->screen->format;
    if (format->BytesPerPixel != 4 || format->palette) return nullptr;
    const LineCache::Key key{caches->font_id(font), colour, fill, format, text};
    if (SDL_Surface *kept = caches->lines.find(key)) {
        kept->refcount++;
        return kept;
    }
    SDL_Surface *composed = render_composited(font, text, colour, format, fill);
    if (composed) caches->lines.insert(key, composed);
    return composed;
}

}  // namespace tav

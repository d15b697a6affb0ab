// The library's private run-time state: caches of text measurements and of
// rendered text lines. Word wrap measures the same words and line heads on
// every layout, and a redraw renders the same lines again; both results
// depend only on the font, the text and the colours, so they are kept and
// handed out again instead of being computed anew.
//
// The state hangs off the hidden header of the context's object array: it
// is made by tav_start_tavrin and released by tav_close. A context without
// it (one whose arrays were not made by tav_start_tavrin, or one started
// with TAVRIN_FAST_PATHS=0 in the environment, the switch that tests and
// benchmarks use to compare both ways) measures and renders every time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "tavrin.h"

namespace tav {

// What identifies the state of an open font as far as its output goes. A
// font closed by the application may be followed by another one at the same
// address; its stamp then differs unless it is the same face at the same
// size and settings, which measures and renders alike.
struct FontStamp {
    int height, ascent, descent, line_skip;
    int style, outline, hinting, kerning, sdf, fixed_width;
    long faces;
    std::string family, style_name;

    static FontStamp of(TTF_Font *font);
    bool matches(TTF_Font *font) const;
};

// Gives every distinct font state a number that the caches key on. A font
// whose stamp changed gets a new number: what was kept for the old one is
// never found again and ages out of the caches.
class FontTable {
public:
    uint32_t id_of(TTF_Font *font);
    bool knows(TTF_Font *font) const;
    size_t size() const { return fonts_.size(); }
    // Forgets every font; numbers already given are not given again.
    void clear() { fonts_.clear(); }

private:
    struct Entry {
        TTF_Font *font;
        FontStamp stamp;
        uint32_t id;
    };
    std::vector<Entry> fonts_;
    uint32_t next_id_ = 1;
};

// Width and height of texts up to a formatted line's length, by font number
// and text. The table has a fixed number of slots, taken when the first size
// is kept, and is emptied when it fills up, so it never grows.
class SizeCache {
public:
    static constexpr size_t max_text = TAV_LINE_SIZE - 1;

    explicit SizeCache(size_t slots) : capacity_(slots) {}
    bool find(uint32_t font, const char *text, size_t length, int *w, int *h) const;
    void insert(uint32_t font, const char *text, size_t length, int w, int h);
    void clear();

private:
    struct Slot {
        uint64_t hash;
        uint32_t font;
        int32_t w, h;
        uint8_t length;  // 0: slot free (empty texts are not kept)
        char text[max_text];
    };
    size_t index_of(uint64_t hash) const { return size_t(hash) & (slots_.size() - 1); }
    size_t capacity_;  // a power of two
    std::vector<Slot> slots_;
    size_t used_ = 0;
};

// Rendered text lines, already composited over the fill colour of the
// object they are drawn in and kept in the screen's pixel format, so that
// drawing one is a plain copy. Least recently used lines are released when
// the pixels kept exceed the byte bound or the lines the count bound.
class LineCache {
public:
    struct Key {
        uint32_t font;
        SDL_Color colour;
        Uint32 fill;                   // the fill colour as a screen pixel
        const SDL_PixelFormat *format; // the screen's pixel format
        const char *text;
    };

    LineCache(size_t max_bytes, size_t max_lines);
    ~LineCache();
    LineCache(const LineCache &) = delete;
    LineCache &operator=(const LineCache &) = delete;

    // The kept surface for key, or nullptr.
    SDL_Surface *find(const Key &key);
    // Keeps a surface (taking one reference of it) unless it alone exceeds
    // the byte bound.
    void insert(const Key &key, SDL_Surface *surface);
    void clear();

private:
    struct Line {
        SDL_Surface *surface;
        std::list<const std::string *>::iterator age;  // position in use_order_
    };
    const std::string &key_string(const Key &key);
    void release_oldest();

    size_t max_bytes_, max_lines_;
    size_t bytes_ = 0;
    std::unordered_map<std::string, Line> lines_;
    std::list<const std::string *> use_order_;  // keys of lines_, most recently used first
    std::string scratch_;
};

struct TextCaches {
    static constexpr size_t size_slots = 8192;
    static constexpr size_t line_bytes = size_t(8) << 20;  // 8 MiB of pixels
    static constexpr size_t line_count = 4096;
    static constexpr size_t max_fonts = 64;

    FontTable fonts;
    SizeCache sizes{size_slots};
    LineCache lines{line_bytes, line_count};

    // The number under which a font's results are kept; 0 for no font.
    uint32_t font_id(TTF_Font *font);
};

// Creates the caches for a context whose object array was just allocated,
// unless TAVRIN_FAST_PATHS is set to 0; releases them again.
void start_text_caches(tav_context *ctx);
void stop_text_caches(tav_context *ctx);

// The caches of a context; nullptr when it has none.
TextCaches *text_caches(const tav_context *ctx);

// TTF_SizeText through the cache when the context has one; false when the
// text cannot be measured.
bool text_size(tav_context *ctx, TTF_Font *font, const char *text, int *w, int *h);

// A text line rendered in a font and colour and composited over the pixel
// `fill` of the screen's format, from the cache when it was drawn before.
// The caller owns one reference (SDL_FreeSurface releases it). nullptr when
// the context has no caches or the line cannot be composited this way.
SDL_Surface *composited_line(tav_context *ctx, TTF_Font *font, const char *text, SDL_Color colour, Uint32 fill);

}  // namespace tav

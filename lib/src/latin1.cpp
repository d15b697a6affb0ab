#include "latin1.h"

#include <SDL2/SDL.h>

namespace tav {

namespace {

constexpr uint32_t kBroken = 0xFFFD;

// Decodes the UTF-8 character at text[*at] and moves *at past it. A broken
// sequence counts as one character of its first byte, so that decoding
// always moves on.
uint32_t next_code_point(const unsigned char *text, size_t *at)
{
    const unsigned char lead = text[*at];
    ++*at;
    int extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, cp = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, cp = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, cp = lead & 0x07;
    else
        return kBroken;
    for (int i = 0; i < extra; ++i) {
        const unsigned char c = text[*at];
        if ((c & 0xC0) != 0x80) return kBroken;  // the terminator ends here too
        cp = (cp << 6) | (c & 0x3F);
        ++*at;
    }
    // Overlong forms are broken, not a second spelling of a character.
    static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    return cp < smallest[extra] ? kBroken : cp;
}

bool printable_latin1(uint32_t cp)
{
    return (cp >= 0x20 && cp < 0x7F) || (cp >= 0xA0 && cp <= 0xFF);
}

}  // namespace

uint8_t first_latin1_char(const char *utf8)
{
    if (!utf8 || utf8[0] == 0) return 0;
    size_t at = 0;
    const uint32_t cp = next_code_point(reinterpret_cast<const unsigned char *>(utf8), &at);
    return printable_latin1(cp) ? uint8_t(cp) : 0;
}

std::string clipboard_latin1(size_t most)
{
    std::string out;
    char *utf8 = SDL_HasClipboardText() ? SDL_GetClipboardText() : nullptr;
    if (!utf8) return out;
    const unsigned char *text = reinterpret_cast<const unsigned char *>(utf8);
    for (size_t at = 0; text[at] != 0 && out.size() < most;) {
        const uint32_t cp = next_code_point(text, &at);
        if (printable_latin1(cp) || cp == '\t' || cp == '\n') out += char(cp);
    }
    SDL_free(utf8);
    return out;
}

void copy_to_clipboard(const char *latin1, size_t size)
{
    if (!latin1) return;
    std::string utf8;
    for (size_t i = 0; i < size && latin1[i] != 0; ++i) {
        const unsigned char c = static_cast<unsigned char>(latin1[i]);
        if (c < 0x80) {
            utf8 += char(c);
        } else {
            utf8 += char(0xC0 | (c >> 6));
            utf8 += char(0x80 | (c & 0x3F));
        }
    }
    SDL_SetClipboardText(utf8.c_str());
}

}  // namespace tav

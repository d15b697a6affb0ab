#include "support/raw_layout.h"

#include <cstdio>
#include <cstdlib>

namespace tavtest {

RawObject &RawObject::set(int offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[offset + i] = uint8_t(value >> (8 * i));
    return *this;
}

RawObject &RawObject::str(int offset, const std::string &s)
{
    for (size_t i = 0; i < s.size() && i < TAV_SHORT_TEXT_SIZE; ++i) bytes[offset + i] = uint8_t(s[i]);
    return *this;
}

RawText::RawText(uint32_t owner, const std::string &text)
{
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(owner >> (8 * i));
    for (size_t i = 0; i < text.size() && i < TAV_RECORD_TEXT_SIZE; ++i) bytes[8 + i] = uint8_t(text[i]);
}

RawLayout::RawLayout()
{
    for (int i = 0; i < TAV_OPERATOR_COUNT; ++i) add(TAV_KIND_LABEL).set(off::w, 16).set(off::h, 16);
}

RawObject &RawLayout::add(uint32_t kind)
{
    objects.emplace_back();
    return objects.back().set(off::kind, kind);
}

bool RawLayout::write(const std::string &tav, const std::string &taw) const
{
    std::vector<uint8_t> all;
    for (const RawObject &o : objects) all.insert(all.end(), o.bytes.begin(), o.bytes.end());
    if (!write_file(tav, all)) return false;
    all.clear();
    for (const RawText &t : texts) all.insert(all.end(), t.bytes.begin(), t.bytes.end());
    return texts.empty() || write_file(taw, all);
}

bool write_file(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> read_file(const std::string &path)
{
    std::vector<uint8_t> bytes;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(f);
    return bytes;
}

tav_context *new_context(int width, int height)
{
    auto *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    ctx->screen = SDL_CreateRGBSurface(0, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    ctx->window_width = ctx->screen_width = uint32_t(width);
    ctx->window_height = ctx->screen_height = uint32_t(height);
    ctx->background_r = ctx->background_g = ctx->background_b = 240;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->scroll_step = 4;
    ctx->convert_umlauts = 1;
    return ctx;
}

}  // namespace tavtest

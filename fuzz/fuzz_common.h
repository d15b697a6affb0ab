// Shared set-up of the fuzz targets: a headless context as the programs make
// one, layouts written to scratch files, and a clean shut-down per input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/raw_layout.h"
#include "tavrin.h"

namespace tavfuzz {

// Reads the fuzz input front to back; past its end every read gives 0.
class Input {
public:
    Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t u16() { return uint32_t(byte()) | uint32_t(byte()) << 8; }
    int32_t range(int32_t lo, int32_t hi) { return lo + int32_t(u16() % uint32_t(hi - lo + 1)); }
    std::string rest() { std::string s(reinterpret_cast<const char *>(data_ + pos_), size_ - pos_); pos_ = size_; return s; }
    size_t left() const { return size_ - pos_; }

private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};

// A scratch file name unique to this process.
std::string scratch(const char *suffix);

// A new context (see tavtest::new_context) with SDL's event queue and SDL_ttf
// started.
tav_context *new_context(int width, int height);

// Loads a layout through scratch files and opens the default font.
void start_layout(tav_context *ctx, const tavtest::RawLayout &layout, uint32_t extra_objects, uint32_t extra_streams);
void start_files(tav_context *ctx, const std::string &tav_bytes, const std::string &taw_bytes);

// Frees what the application owns (chain streams), closes and frees the context.
void close_context(tav_context *ctx, uint32_t extra_objects);

// Activates each top-level window of the layout in turn.
void activate_every_window(tav_context *ctx);

// Hit-tests a grid of points over the whole screen.
void hit_test_grid(tav_context *ctx, int step);

}  // namespace tavfuzz

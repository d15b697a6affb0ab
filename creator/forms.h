// The values of the four property forms. Each form edits a working copy;
// the saved copy is taken when the form is loaded and brought back by reset.
#pragma once

#include <cstdint>

#include "tavrin.h"

namespace creator {

constexpr int COLOUR_VALUES = 9;        // fill, text and border, red green blue each
constexpr uint32_t STREAM_BACKUP_SIZE = 1000;

struct FormValues {
    // Geometry form 219 (the border distance field 187 stands in 145).
    int32_t x = 0, y = 0, w = 0, h = 0;
    int32_t margin_top = 0, margin_bottom = 0, margin_left = 0, margin_right = 0;
    int32_t border_distance = 0;
    // Behaviour form 145.
    int32_t kind = 0, window_style = 0, master_number = 0, hidden = 0;
    char image_file[TAV_SHORT_TEXT_SIZE] = {};
    SDL_Surface *image = nullptr;
    int32_t editable = 0, capacity = 0, border_style = 0, pinned = 0;
    // Text form 260.
    int32_t stream_number = 0, text_format = 0, line_width = 0, line_spacing = 0;
    int32_t font_state = 0, font_size = 0;
    char font_file[TAV_SHORT_TEXT_SIZE] = {};
    int32_t scroll_extent_w = 0, scroll_extent_h = 0;
    // Colour form 290: fill r g b, text r g b, border r g b.
    int32_t colour[COLOUR_VALUES] = {};
};

}  // namespace creator

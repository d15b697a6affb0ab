// Fonts and images that objects of the design hold. A copy of an object's
// data may share its font with the original, so a font is closed, and a
// surface freed, only when nothing else holds it any more.
#pragma once

#include "creator.h"

namespace creator {

// Lets go of the object's own font: it is closed unless another object or
// the context's default font still uses it. The object's pointer is cleared.
void release_font(Editor &ed, tav_object &o);
// Lets go of the object's image surface: it is freed unless another object
// still shows it. The object's pointer is cleared.
void release_image(Editor &ed, tav_object &o);
// Lets go of every font and image that the objects behind the editor's own
// hold, each once, before tav_close, which reaches only the editor's own
// objects. Open fonts become fonts to open, loaded images images to load.
void release_design_resources(Editor &ed);

// What opening the own fonts of objects gives: as tav_load_object_fonts
// (0 none needed, 1 all open, -1 one failed), or FONTS_EXHAUSTED when the
// descriptors ran short and the remaining fonts were left unopened.
constexpr int32_t FONTS_EXHAUSTED = -2;
// Opens the own fonts (font_state 1) of objects first..last; objects that
// name the same file and size share one open font. Fonts are opened only
// while a reserve of descriptors stays free, so that saving never finds
// them all taken.
int32_t open_shared_fonts(Editor &ed, uint32_t first, uint32_t last);
// The font a working object already has open for this file and size, or a
// newly opened one (nullptr when it cannot be opened).
TTF_Font *open_font_like_others(Editor &ed, const char *file, int32_t size);

}  // namespace creator

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

}  // namespace creator

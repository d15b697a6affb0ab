// Copying the properties of one working object onto another and erasing a
// range of working objects.
#include "creator.h"

namespace creator {

void copy_object_data(Editor &ed)
{
    redraw(ed);
}

void erase_objects(Editor &ed)
{
    redraw(ed);
}

}  // namespace creator

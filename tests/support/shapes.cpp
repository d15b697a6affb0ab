#include "support/shapes.h"

namespace tavtest {

uint32_t add_shape(RawLayout &layout, uint32_t kind, int x, int y, int w, int h)
{
    layout.add(kind)
        .set(off::x, uint32_t(x))
        .set(off::y, uint32_t(y))
        .set(off::w, uint32_t(w))
        .set(off::h, uint32_t(h));
    return uint32_t(layout.objects.size());
}

void attach(RawLayout &layout, uint32_t master, uint32_t dependent)
{
    layout.at(dependent).set(off::master, master);
    RawObject &m = layout.at(master);
    for (int i = 0; i < TAV_MAX_DEPENDENTS; ++i) {
        const int at = off::dependents + 4 * i;
        if (m.bytes[at] == 0 && m.bytes[at + 1] == 0 && m.bytes[at + 2] == 0 && m.bytes[at + 3] == 0) {
            m.dep(i, dependent);
            return;
        }
    }
}

Point centre(const tav_object &o)
{
    return Point{o.x + o.w / 2, o.y + o.h / 2};
}

}  // namespace tavtest

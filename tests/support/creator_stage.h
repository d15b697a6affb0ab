// The part of the editor's layout that the selection works on, for the
// editor's tests: the stage window 143 with its tool row, the selection
// panel's three listing fields and the stream editor window, each field
// with a text record of its own; every other object an empty slot.
#pragma once

#include <cstdint>

#include "creator.h"
#include "selection.h"
#include "support/raw_layout.h"

namespace tavtest {

// Gives object n the kind and a text record of its own.
inline void add_record(RawLayout &layout, uint32_t n, uint32_t kind)
{
    layout.texts.emplace_back(n, "");
    layout.at(n).set(off::kind, kind).set(off::text_record, uint32_t(layout.texts.size()));
    layout.at(n).set(off::w, 132).set(off::h, 448).set(off::line_width, 120);
}

inline RawLayout creator_stage_layout(uint32_t objects)
{
    using namespace creator;
    RawLayout layout;
    while (layout.objects.size() < objects) layout.add(TAV_KIND_EMPTY);
    layout.at(STAGE_WINDOW).set(off::kind, TAV_KIND_WINDOW).set(off::x, 16).set(off::y, 52)
        .set(off::w, 796).set(off::h, 660).dep(0, 144).dep(1, MODE_BUTTON).dep(2, RESIZE_BUTTON);
    for (uint32_t n = MOVE_BUTTON; n <= 423; ++n)
        layout.at(n).set(off::kind, TAV_KIND_LABEL).set(off::x, 238 + (n == CENTRE_BUTTON ? 70 : 0))
            .set(off::y, 88).set(off::w, 64).set(off::h, 20);
    layout.at(MOVE_BUTTON).set(off::hidden, 1);
    layout.at(CENTRE_BUTTON).set(off::hidden, 1);
    for (uint32_t n : {LISTING_FIRST, LISTING_SECOND, LISTING_THIRD}) add_record(layout, n, TAV_KIND_TEXT);
    add_record(layout, STREAM_WINDOW, TAV_KIND_WINDOW);
    return layout;
}

}  // namespace tavtest

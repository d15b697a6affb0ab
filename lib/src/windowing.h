// Helpers shared by the window stack, the operators, hit testing, menus and
// the file selector.
#pragma once

#include <cstdint>

#include "internal.h"
#include "tavrin.h"

namespace tav {

// Deepest nesting of dependents that the recursive walks follow. Real
// layouts nest a handful of levels; the limit only stops a dependents list
// that leads back into itself.
constexpr int kMaxNesting = 100;

// Walks a master's dependents list in list order, reading at most 100
// entries and stopping at the first 0. Returns the first entry for which
// stop(number) is true, or 0 when the walk ran through.
template <typename Stop>
uint32_t find_dependent(const tav_object *master, Stop stop)
{
    if (!master) return 0;
    for (int i = 0; i < TAV_MAX_DEPENDENTS && master->dependents[i] != 0; ++i)
        if (stop(master->dependents[i])) return master->dependents[i];
    return 0;
}

// True for an object of kind 1 without a master: a window that can be
// activated and stacked.
bool is_top_level_window(const tav_object *o);

// Undraws the operators a window of the given style uses (all seven for
// style 0, the move and close operators for style 1). Only visible ones are
// undrawn unless `close` is set; `close` undraws them all and hides them.
void undraw_operators(tav_context *ctx, int32_t window_style, bool close);

// Removes the selection marks of a window from the screen.
void undraw_marks(tav_context *ctx, uint32_t window);

// x + d as an int32, wrapping instead of overflowing on wild coordinates.
inline int32_t shifted(int32_t x, int64_t d) { return int32_t(uint32_t(int64_t(x) + d)); }

}  // namespace tav

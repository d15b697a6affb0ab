// Bounded walks over the tree of dependents below a master. The lists come
// from layout files and from applications, so a walk must end even when a
// list names an object twice or leads back to one of its own masters: it
// reads at most TAV_MAX_DEPENDENTS entries per list, stops at the first 0,
// visits no more objects than the object array holds and descends no deeper
// than kMaxWalkDepth levels.
#pragma once

#include <cstddef>

#include "internal.h"

namespace tav {

// What a visitor wants done after looking at one dependent.
enum class WalkStep {
    skip,     // leave the dependent's own subtree alone
    descend,  // walk the dependent's own subtree next
    stop,     // end the whole walk
};

constexpr int kMaxWalkDepth = 128;

struct WalkBudget {
    size_t visits;  // objects that may still be visited
    int depth;      // lists currently open
};

// Calls visit(number, object) for every dependent of `master`, depth first in
// list order. Returns false when the walk was ended early.
template <typename Visit>
bool walk_dependents(tav_context *ctx, uint32_t master, Visit &visit, WalkBudget &budget)
{
    const tav_object *m = object_at(ctx, master);
    if (!m || budget.depth >= kMaxWalkDepth) return true;
    ++budget.depth;
    bool go_on = true;
    for (int i = 0; go_on && i < TAV_MAX_DEPENDENTS && m->dependents[i] != 0; ++i) {
        if (budget.visits == 0) {
            go_on = false;
            break;
        }
        --budget.visits;
        const uint32_t n = m->dependents[i];
        tav_object *d = object_at(ctx, n);
        if (!d) continue;
        const WalkStep step = visit(n, *d);
        if (step == WalkStep::stop)
            go_on = false;
        else if (step == WalkStep::descend && d->dependents[0] != 0)
            go_on = walk_dependents(ctx, n, visit, budget);
    }
    --budget.depth;
    return go_on;
}

template <typename Visit>
void walk_subtree(tav_context *ctx, uint32_t master, Visit visit)
{
    WalkBudget budget{array_count(ctx ? ctx->objects : nullptr), 0};
    walk_dependents(ctx, master, visit, budget);
}

}  // namespace tav

// Visible sizes, clip regions and border lines.
//
// An independent object is cut by the right and bottom edges of the screen;
// a dependent object by the inner area of its master, which may be cut in
// turn. Clip regions are exclusive: a pixel is inside when
// left < x < right and top < y < bottom.
//
// Master numbers come from layout files and from applications, so every
// walk up a master chain checks each number and stops after as many steps
// as there are objects: a chain that loops still ends.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "internal.h"

namespace {

using tav::object_at;

// Exclusive bounds on one axis.
struct Span {
    int64_t low, high;
};

int64_t independent_w(const tav_context *ctx, const tav_object *o)
{
    const int64_t sw = ctx->screen_width;
    return int64_t(o->x) + o->w - 1 > sw ? sw - o->x - 2 : o->w;
}

// Unlike the width, the height is measured against a limit three rows above
// the screen's bottom edge and cut five rows short of it.
int64_t independent_h(const tav_context *ctx, const tav_object *o)
{
    const int64_t sh = ctx->screen_height;
    return int64_t(o->y) + o->h - 1 < sh - 3 ? o->h : sh - o->y - 5;
}

// Everything that differs between the horizontal and the vertical axis.
struct Axis {
    int32_t tav_object::*pos;
    int32_t tav_object::*size;
    int32_t tav_object::*margin_start;
    int32_t tav_object::*margin_end;
    uint32_t tav_context::*screen_size;
    int64_t (*independent_size)(const tav_context *, const tav_object *);
};

constexpr Axis kHorizontal{&tav_object::x, &tav_object::w, &tav_object::margin_left, &tav_object::margin_right,
                           &tav_context::screen_width, independent_w};
constexpr Axis kVertical{&tav_object::y, &tav_object::h, &tav_object::margin_top, &tav_object::margin_bottom,
                         &tav_context::screen_height, independent_h};

int32_t narrow(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void store(int32_t *out, int64_t v)
{
    if (out) *out = narrow(v);
}

tav_object *master_of(tav_context *ctx, const tav_object *o)
{
    return o ? object_at(ctx, o->master) : nullptr;
}

// Most steps a walk up a master chain may take.
size_t walk_limit(const tav_context *ctx)
{
    return tav::array_count(ctx->objects);
}

// The topmost master of an object; nullptr when the object has no master.
tav_object *root_of(tav_context *ctx, const tav_object *o)
{
    tav_object *root = master_of(ctx, o);
    for (size_t steps = walk_limit(ctx); root && steps > 0; --steps) {
        tav_object *up = master_of(ctx, root);
        if (!up) break;
        root = up;
    }
    return root;
}

// Visible size of an object inside its master chain, worked out from the
// topmost master down, since each master's visible size limits the next.
int64_t dependent_size(tav_context *ctx, const tav_object *o, const Axis &a)
{
    std::vector<const tav_object *> chain{o};
    for (tav_object *m = master_of(ctx, o); m && chain.size() <= walk_limit(ctx); m = master_of(ctx, m))
        chain.push_back(m);
    int64_t visible = a.independent_size(ctx, chain.back());
    for (size_t i = chain.size() - 1; i-- > 0;) {
        const tav_object *c = chain[i], *m = chain[i + 1];
        const int64_t limit = int64_t(m->*a.pos) + visible - m->*a.margin_end - 1;
        visible = int64_t(c->*a.pos) + c->*a.size - 1 < limit ? c->*a.size : limit - c->*a.pos - 1;
    }
    return visible;
}

// Clip span of a dependent whose master is independent: the master's inner
// area, or its whole area for a pinned dependent. Where the screen cuts the
// master, the cut edge is the limit and the margin no longer counts.
Span span_in_root(tav_context *ctx, const tav_object *m, bool pinned, const Axis &a)
{
    const int64_t visible = a.independent_size(ctx, m);
    const bool cut = visible < m->*a.size && visible < int64_t(m->*a.size) - m->*a.margin_end;
    const int64_t start = pinned ? 0 : m->*a.margin_start;
    const int64_t end = cut || pinned ? 0 : m->*a.margin_end;
    return {int64_t(m->*a.pos) - 1 + start, int64_t(m->*a.pos) + visible - end};
}

// Clip span of a dependent of a dependent: narrowed by every master on the
// way up to the topmost one, whose screen-cut edge limits it last.
Span span_in_chain(tav_context *ctx, const tav_object *m, const tav_object *root, bool pinned, const Axis &a)
{
    const int64_t root_visible = a.independent_size(ctx, root);
    const bool root_cut = root_visible < root->*a.size;
    Span s{0, 0};
    const tav_object *k = m;
    for (size_t steps = walk_limit(ctx); steps > 0; --steps) {
        const tav_object *n = master_of(ctx, k);
        if (!n) break;
        const int64_t kpos = k->*a.pos, npos = n->*a.pos;
        const int64_t low = kpos - 2 + (pinned ? 0 : k->*a.margin_start);
        const int64_t high = kpos - 2 + k->*a.size + 1 - (pinned ? 0 : k->*a.margin_end);
        const int64_t n_low = npos - 1 + n->*a.margin_start;
        int64_t n_high = npos + n->*a.size - n->*a.margin_end;
        if (n == root && root_cut && n_high >= npos + root_visible - 1) n_high = npos + root_visible;
        s.low = std::max(s.low, std::max(low, n_low));
        const int64_t candidate = std::min(high, n_high);
        if (candidate < s.high || s.high == 0) s.high = candidate;
        if (n == root) break;
        k = n;
    }
    return s;
}

// Clip span of an object inside its master chain; the whole screen for an
// object without a master.
Span dependent_span(tav_context *ctx, const tav_object *o, const Axis &a)
{
    const tav_object *m = master_of(ctx, o);
    if (!m) return {-1, int64_t(ctx->*a.screen_size)};
    const tav_object *root = root_of(ctx, o);
    const bool pinned = o->pinned != 0;
    return m == root ? span_in_root(ctx, m, pinned, a) : span_in_chain(ctx, m, root, pinned, a);
}

// Text span: the area inside the margins, cut by the screen for an
// independent object and by the master chain for a dependent one.
Span text_span(tav_context *ctx, const tav_object *o, const Axis &a)
{
    const bool dependent = master_of(ctx, o) != nullptr;
    const int64_t size = dependent ? o->*a.size : a.independent_size(ctx, o);
    const int64_t pos = o->*a.pos;
    Span s{pos + o->*a.margin_start - 1, pos + size - 1 - o->*a.margin_end + 1};
    if (dependent) {
        const Span d = dependent_span(ctx, o, a);
        s.low = std::max(s.low, d.low);
        s.high = std::min(s.high, d.high);
    }
    return s;
}

// The two border lines that cross one axis, and how much of them shows.
struct Frame {
    int64_t first, last;        // positions of the two lines on this axis
    bool first_shown, last_shown;
    bool spans;                 // the frame reaches past both ends of the area
    int64_t from, to;           // extent of the lines that run along this axis
    bool runs;                  // lines along this axis are drawn at all
};

// Border line positions on one axis: around the text area for styles 1 and
// 3, the object's outline moved by the distance for styles 4 and 5.
Frame frame_on_axis(tav_context *ctx, const tav_object *o, const Axis &a)
{
    const int64_t d = o->border_distance, pos = o->*a.pos;
    const int64_t last_pixel = pos + o->*a.size - 1;
    Frame f{};
    if (o->border_style == 1 || o->border_style == 3) {
        f.first = pos + o->*a.margin_start - d - 1;
        f.last = last_pixel - o->*a.margin_end + d + 1;
    } else {
        f.first = pos + d;
        f.last = last_pixel + d;
    }
    const bool dependent = master_of(ctx, o) != nullptr;
    const Span area = dependent ? dependent_span(ctx, o, a) : Span{pos, pos + a.independent_size(ctx, o)};
    // An independent object may draw on the edge pixels of its area, a
    // dependent one only strictly inside the region of its master.
    const bool ordered = f.first < f.last;
    f.first_shown = ordered && f.first < area.high && (dependent ? f.first > area.low : f.first >= area.low);
    f.last_shown = ordered && area.low < f.last && (dependent ? f.last < area.high : f.last <= area.high);
    f.spans = dependent && ordered && f.first <= area.low && f.last >= area.high;
    f.from = f.first_shown ? f.first : area.low + 1;
    f.to = f.last_shown ? f.last : area.high - 1;
    f.runs = f.first_shown || f.last_shown || f.spans;
    return f;
}

// Writes the region that span_of gives on both axes; an empty one for a
// missing object. Null out-parameters are left out.
void write_region(tav_context *ctx, uint32_t object, Span (*span_of)(tav_context *, const tav_object *, const Axis &),
                  int32_t *left, int32_t *right, int32_t *top, int32_t *bottom)
{
    const tav_object *o = object_at(ctx, object);
    const Span h = o ? span_of(ctx, o, kHorizontal) : Span{0, 0};
    const Span v = o ? span_of(ctx, o, kVertical) : Span{0, 0};
    store(left, h.low);
    store(right, h.high);
    store(top, v.low);
    store(bottom, v.high);
}

void border_line(tav_context *ctx, const tav_object *o, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    tav_draw_line(ctx, uint32_t(narrow(x1)), uint32_t(narrow(y1)), uint32_t(narrow(x2)), uint32_t(narrow(y2)),
                  uint8_t(o->border_r), uint8_t(o->border_g), uint8_t(o->border_b));
}

}  // namespace

int32_t tav_p_cutted_w_independent(tav_context *ctx, uint32_t object)
{
    const tav_object *o = object_at(ctx, object);
    return o ? narrow(independent_w(ctx, o)) : 0;
}

int32_t tav_p_cutted_h_independent(tav_context *ctx, uint32_t object)
{
    const tav_object *o = object_at(ctx, object);
    return o ? narrow(independent_h(ctx, o)) : 0;
}

int32_t tav_p_cutted_w_dependent(tav_context *ctx, uint32_t object)
{
    const tav_object *o = object_at(ctx, object);
    return o ? narrow(dependent_size(ctx, o, kHorizontal)) : 0;
}

int32_t tav_p_cutted_h_dependent(tav_context *ctx, uint32_t object)
{
    const tav_object *o = object_at(ctx, object);
    return o ? narrow(dependent_size(ctx, o, kVertical)) : 0;
}

void tav_get_borders_for_dep_object(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom)
{
    write_region(ctx, object, dependent_span, left, right, top, bottom);
}

void tav_get_borders_for_text(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom)
{
    write_region(ctx, object, text_span, left, right, top, bottom);
}

uint32_t tav_search_master(tav_context *ctx, uint32_t object)
{
    const tav_object *root = root_of(ctx, object_at(ctx, object));
    return root ? uint32_t(root - ctx->objects) : 0;
}

uint32_t tav_evoke_borders(tav_context *ctx, uint32_t object)
{
    const tav_object *o = object_at(ctx, object);
    // Style 2 has no line of its own: it only refits the object's dependents.
    if (!o || (o->border_style != 1 && o->border_style != 3 && o->border_style != 4 && o->border_style != 5))
        return 0;
    const Frame fx = frame_on_axis(ctx, o, kHorizontal);
    const Frame fy = frame_on_axis(ctx, o, kVertical);
    tav_lock(ctx->screen);
    if (fy.runs) {
        if (fx.first_shown) border_line(ctx, o, fx.first, fy.from, fx.first, fy.to);
        if (fx.last_shown) border_line(ctx, o, fx.last, fy.from, fx.last, fy.to);
    }
    if (fx.runs) {
        if (fy.first_shown) border_line(ctx, o, fx.from, fy.first, fx.to, fy.first);
        if (fy.last_shown) border_line(ctx, o, fx.from, fy.last, fx.to, fy.last);
    }
    return tav_unlock(ctx->screen);
}

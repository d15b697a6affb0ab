// Visible sizes, clip regions, the root search and border lines on a
// 320 x 240 screen.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

#include "support/harness.h"

using namespace tavtest;

namespace {

using Region = std::array<int32_t, 4>;  // left, right, top, bottom
using Points = std::set<std::pair<int, int>>;

// Window 8 at (20, 30), 200 x 150, margins 4/5/7/6; box 9 depends on it, at
// (40, 50), 100 x 60, margins 2/3/4/5; box 10 depends on 9, box 11 on 10.
struct Chain {
    Screen screen;
    tav_context *ctx;
    Chain()
    {
        RawLayout layout;
        layout.add(TAV_KIND_WINDOW).dep(0, 9);
        for (uint32_t n = 9; n <= 11; ++n) layout.add(TAV_KIND_BOX).set(off::master, n - 1).dep(0, n < 11 ? n + 1 : 0);
        ctx = screen.start(layout);
        place(8, 20, 30, 200, 150, {4, 5, 7, 6});
        place(9, 40, 50, 100, 60, {2, 3, 4, 5});
        place(10, 60, 60, 20, 20);
    }
    tav_object &o(uint32_t n) { return ctx->objects[n]; }
    void place(uint32_t n, int x, int y, int w, int h, std::array<int, 4> m = {0, 0, 0, 0})
    {
        tav_object &b = o(n);
        b.x = x, b.y = y, b.w = w, b.h = h;
        b.margin_left = m[0], b.margin_right = m[1], b.margin_top = m[2], b.margin_bottom = m[3];
    }
    Region region(uint32_t n, bool text = false)
    {
        Region r{};
        (text ? tav_get_borders_for_text : tav_get_borders_for_dep_object)(ctx, n, &r[0], &r[1], &r[2], &r[3]);
        return r;
    }
    // Draws the border of object n on a cleared screen; returns its pixels.
    Points border(uint32_t n, int style, int distance)
    {
        o(n).border_style = style, o(n).border_distance = distance, o(n).border_r = 255;
        SDL_FillRect(ctx->screen, nullptr, 0);
        EXPECT_EQ(tav_evoke_borders(ctx, n), 0u);
        Points p;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                if (screen.pixel(x, y) != 0) p.insert({x, y});
        return p;
    }
};

// Pixels of horizontal (x1 to x2 on row y1 = y2) or vertical runs.
Points runs(std::initializer_list<std::array<int, 4>> list)
{
    Points p;
    for (const auto &r : list)
        for (int y = r[1]; y <= r[3]; ++y)
            for (int x = r[0]; x <= r[2]; ++x) p.insert({x, y});
    return p;
}

Points outline(int l, int t, int r, int b)
{
    return runs({{l, t, r, t}, {l, b, r, b}, {l, t, l, b}, {r, t, r, b}});
}

}  // namespace

TEST(ClipVisibleSize, ScreenLimitsAtTheBoundaryPixelAndMasterLimits)
{
    Chain c;
    c.place(8, 20, 30, 301, 207);  // last column 320 = width, last row 236 = height - 4
    EXPECT_EQ(tav_p_cutted_w_independent(c.ctx, 8), 301);
    EXPECT_EQ(tav_p_cutted_h_independent(c.ctx, 8), 207);
    c.place(8, 20, 30, 302, 208);
    EXPECT_EQ(tav_p_cutted_w_independent(c.ctx, 8), 320 - 20 - 2);
    EXPECT_EQ(tav_p_cutted_h_independent(c.ctx, 8), 240 - 30 - 5);

    // Dependents: the limit is the master's last visible column before its
    // margin, 250 + 68 - 5 - 1 = 312 here, as the screen cuts the master.
    c.place(8, 250, 30, 100, 80, {0, 5, 0, 6});
    c.place(9, 260, 50, 52, 20, {0, 3, 0, 0});
    EXPECT_EQ(tav_p_cutted_w_dependent(c.ctx, 9), 52);
    c.o(9).w = 53;
    EXPECT_EQ(tav_p_cutted_w_dependent(c.ctx, 9), 312 - 260 - 1);
    c.place(10, 290, 100, 20, 40);  // cut by 9's visible width: 260 + 51 - 3 - 1
    EXPECT_EQ(tav_p_cutted_w_dependent(c.ctx, 10), 307 - 290 - 1);
    EXPECT_EQ(tav_p_cutted_h_dependent(c.ctx, 10), (50 + 20 - 0 - 1) - 100 - 1);
    EXPECT_EQ(tav_p_cutted_w_dependent(c.ctx, 8), 68);
    EXPECT_EQ(tav_p_cutted_w_dependent(c.ctx, 500), 0);
}

TEST(ClipSearchMaster, ChainOfThreeAndBrokenChains)
{
    Chain c;
    EXPECT_EQ(tav_search_master(c.ctx, 11), 8u);
    EXPECT_EQ(tav_search_master(c.ctx, 9), 8u);
    EXPECT_EQ(tav_search_master(c.ctx, 8), 0u);
    EXPECT_EQ(tav_search_master(c.ctx, 77), 0u);
    // A master beyond the array means none: 9 is then independent.
    c.o(9).master = 5000;
    EXPECT_EQ(tav_search_master(c.ctx, 11), 9u);
    EXPECT_EQ(c.region(9), (Region{-1, 320, -1, 240}));
    // A loop made at run time: every walk up the chain still ends.
    c.o(9).master = 11;
    EXPECT_NE(tav_search_master(c.ctx, 11), 0u);
    tav_p_cutted_h_dependent(c.ctx, 10);
    c.region(10, true);
    c.border(11, 4, 0);
}

TEST(ClipRegion, MasterAreaPinnedScreenCutAndNested)
{
    Chain c;
    EXPECT_EQ(c.region(9), (Region{23, 215, 36, 174}));
    c.o(9).pinned = 1;
    EXPECT_EQ(c.region(9), (Region{19, 220, 29, 180}));
    c.o(9).pinned = 0;
    // Nested: 9's inner area, taken one pixel up and left, inside 8's.
    EXPECT_EQ(c.region(10), (Region{40, 136, 52, 104}));
    c.o(10).pinned = 1;
    EXPECT_EQ(c.region(10), (Region{38, 139, 48, 109}));
    c.o(10).pinned = 0;
    // 10 reaches past 9 left and right: 9 bounds the columns, 10 the rows.
    c.place(10, 30, 60, 150, 30);
    EXPECT_EQ(c.region(11), (Region{41, 136, 58, 89}));
    // Text: the inner area, cut by the dependent's region.
    c.place(10, 90, 55, 50, 20, {2, 2, 2, 2});
    EXPECT_EQ(c.region(10, true), (Region{91, 136, 56, 73}));
    EXPECT_EQ(c.region(8, true), (Region{23, 215, 36, 174}));

    // A master cut by the screen: the cut edge replaces the margin.
    c.place(8, 250, 200, 100, 100, {4, 5, 7, 6});
    EXPECT_EQ(c.region(9), (Region{253, 250 + 68, 206, 200 + 35}));
    EXPECT_EQ(c.region(8, true)[1], 250 + 68 - 5);
    c.place(9, 260, 210, 150, 20, {0, 3, 0, 0});
    EXPECT_EQ(c.region(10)[1], 250 + 68);
}

TEST(ClipBorders, StylesOfAnIndependentObject)
{
    Chain c;
    c.place(8, 50, 60, 10, 8, {5, 5, 4, 4});
    EXPECT_EQ(c.border(8, 4, 0), outline(50, 60, 59, 67));
    // Moved by 2, the right and bottom lines leave the object's area and the
    // others stop at its last column and row.
    EXPECT_EQ(c.border(8, 5, 2), runs({{52, 62, 52, 67}, {52, 62, 59, 62}}));
    c.place(8, 50, 60, 20, 16, {5, 5, 4, 4});
    EXPECT_EQ(c.border(8, 1, 1), outline(53, 62, 66, 73));
    EXPECT_EQ(c.border(8, 3, 1), outline(53, 62, 66, 73));
    EXPECT_EQ(c.border(8, 2, 1), Points{});
    EXPECT_EQ(c.border(8, 0, 1), Points{});
    // Cut by the screen at 320 - 300 - 2 = 18 columns: no right line.
    c.place(8, 300, 60, 40, 10);
    EXPECT_EQ(c.border(8, 4, 0), runs({{300, 60, 300, 69}, {300, 60, 317, 60}, {300, 69, 317, 69}}));
    // Both vertical lines outside: the horizontal ones are not drawn either.
    c.place(8, 50, 60, 40, 30, {0, 0, 5, 5});
    EXPECT_EQ(c.border(8, 1, 2), Points{});
}

TEST(ClipBorders, DependentsDrawSpanningLinesInsideTheirMaster)
{
    Chain c;  // region of 8's dependents: 23, 215, 36, 174
    c.place(9, 10, 50, 250, 20);
    EXPECT_EQ(c.border(9, 4, 0), runs({{24, 50, 214, 50}, {24, 69, 214, 69}}));
    c.place(9, 60, 20, 20, 200);
    EXPECT_EQ(c.border(9, 4, 0), runs({{60, 37, 60, 173}, {79, 37, 79, 173}}));
    c.place(9, 23, 50, 30, 20);  // the left line lies on the region's edge
    EXPECT_EQ(c.border(9, 4, 0), runs({{52, 50, 52, 69}, {24, 50, 52, 50}, {24, 69, 52, 69}}));
    c.place(9, 40, 180, 30, 20);  // wholly below the region
    EXPECT_EQ(c.border(9, 4, 0), Points{});
    c.place(9, 0, 0, 300, 200);  // spanning both ways, no line inside
    EXPECT_EQ(c.border(9, 4, 0), Points{});
}

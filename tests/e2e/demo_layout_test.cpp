// The demo's packed layout keeps the promises that tavrin_demo relies on:
// the object numbers and kinds of its roles, hidden menus whose boxes work
// with the modes the program opens them in, the chain and the bitmap. Runs
// in the demo's run folder without a display.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "tavrin.h"

namespace {

constexpr int SCREEN_W = 1024, SCREEN_H = 600;
constexpr int MENU_BAR_BOTTOM = 21;  // last row of the menu bar (object 14)

struct Box {
    int left, top, right, bottom;  // inclusive
};

Box box_of(const tav_object &o) { return {o.x, o.y, o.x + o.w - 1, o.y + o.h - 1}; }

bool inside(const Box &inner, const Box &outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// The area of a master in which its dependents show fully.
Box inner_area(const tav_object &m)
{
    return {m.x + m.margin_left, m.y + m.margin_top, m.x + m.w - 1 - m.margin_right,
            m.y + m.h - 1 - m.margin_bottom};
}

class DemoLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SDL_Init(SDL_INIT_VIDEO);
        TTF_Init();
        ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
        ctx->screen_width = ctx->window_width = SCREEN_W;
        ctx->screen_height = ctx->window_height = SCREEN_H;
        ctx->screen = SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
        tav_start_tavrin(ctx, 0, 0, "29.tav", "29.taw");
    }

    static void TearDownTestSuite()
    {
        tav_close(ctx);
        std::free(ctx);
        ctx = nullptr;
    }

    static const tav_object &obj(uint32_t n) { return ctx->objects[n]; }

    static std::vector<uint32_t> dependents(uint32_t n)
    {
        std::vector<uint32_t> list;
        for (uint32_t d : obj(n).dependents) {
            if (d == 0) break;
            list.push_back(d);
        }
        return list;
    }

    static std::string record_text(uint32_t n)
    {
        uint32_t r = obj(n).text_record;
        return r != 0 && r <= ctx->text_record_count ? ctx->text_records[r].text : "";
    }

    static tav_context *ctx;
};

tav_context *DemoLayout::ctx = nullptr;

TEST_F(DemoLayout, HoldsEveryObjectTheProgramUses)
{
    ASSERT_GE(ctx->object_count, 48u);
    for (uint32_t op = 1; op <= 7; ++op) {
        EXPECT_EQ(obj(op).kind, uint32_t(TAV_KIND_LABEL)) << op;
        EXPECT_EQ(obj(op).w, 16) << op;
        EXPECT_EQ(obj(op).h, 16) << op;
        EXPECT_EQ(obj(op).hidden, 1) << op << ": shown before any window is open";
    }
    for (uint32_t button : {12u, 20u, 48u, 16u}) {
        EXPECT_EQ(obj(button).kind, uint32_t(TAV_KIND_LABEL)) << button;
        EXPECT_STRNE(obj(button).text, "") << button;
    }
    EXPECT_EQ(obj(11).kind, uint32_t(TAV_KIND_ENTRY));
    EXPECT_EQ(obj(11).editable, 1);
    EXPECT_EQ(tav_search_master(ctx, 11), 9u);
    EXPECT_EQ(tav_search_master(ctx, 12), 9u);
    EXPECT_EQ(tav_search_master(ctx, 16), 9u);
    EXPECT_EQ(tav_search_master(ctx, 48), 44u);
    EXPECT_NE(tav_search_master(ctx, 20), 0u) << "the close button belongs in a window";
}

// Windows open only through the program, carry a title and a text, and fit
// below the menu bar with their operators, inside the screen.
TEST_F(DemoLayout, WindowsAreClosedTitledAndOnScreen)
{
    for (uint32_t w : {8u, 9u, 10u, 36u, 44u}) {
        const tav_object &win = obj(w);
        EXPECT_EQ(win.kind, uint32_t(TAV_KIND_WINDOW)) << w;
        EXPECT_EQ(win.master, 0u) << w;
        EXPECT_EQ(win.hidden, 1) << w;
        EXPECT_FALSE(record_text(w).empty()) << w << ": no text explains the window";
        bool titled = false;
        for (uint32_t d : dependents(w))
            titled |= obj(d).kind == TAV_KIND_LABEL && obj(d).pinned == 1 && obj(d).y == win.y && obj(d).w == win.w;
        EXPECT_TRUE(titled) << w << ": no title bar";
        EXPECT_GT(win.y - 24, MENU_BAR_BOTTOM) << w << ": operators would cover the menu bar";
        EXPECT_GE(win.x, 11) << w;
        EXPECT_LE(win.x + win.w - 1, SCREEN_W) << w << ": cut by the right edge";
        EXPECT_LT(win.y + win.h - 1, SCREEN_H - 3) << w << ": cut by the bottom edge";
    }
}

// Menus are hidden until opened; their items fit inside them. Menus 23 and
// 29 are opened in mode 1 and drop down below their titles, which must lie
// within their width (leaving it sideways closes a menu). Menu 40 is opened
// in mode 0, which closes as soon as the pointer is outside: it must cover
// its title, where the pointer is when it opens.
TEST_F(DemoLayout, MenusOpenWhereThePointerIs)
{
    struct Menu {
        uint32_t menu, title;
        std::set<uint32_t> items;
        bool drops_down;
    };
    const Menu menus[] = {{23, 27, {24, 25}, true}, {29, 28, {30, 31, 37, 47}, true}, {40, 39, {41, 42, 43}, false}};
    for (const Menu &m : menus) {
        const tav_object &menu = obj(m.menu);
        EXPECT_EQ(menu.hidden, 1) << m.menu;
        EXPECT_EQ(menu.master, 0u) << m.menu;
        const std::vector<uint32_t> list = dependents(m.menu);
        EXPECT_EQ(std::set<uint32_t>(list.begin(), list.end()), m.items) << m.menu;
        for (uint32_t item : list) {
            EXPECT_EQ(obj(item).kind, uint32_t(TAV_KIND_LABEL)) << item;
            EXPECT_STRNE(obj(item).text, "") << item;
            EXPECT_TRUE(inside(box_of(obj(item)), inner_area(menu))) << item << " sticks out of menu " << m.menu;
        }
        const Box title = box_of(obj(m.title)), area = box_of(menu);
        EXPECT_EQ(obj(m.title).kind, uint32_t(TAV_KIND_LABEL)) << m.title;
        EXPECT_LE(title.bottom, MENU_BAR_BOTTOM) << m.title << " is not in the menu bar";
        EXPECT_TRUE(area.left <= title.left && title.right <= area.right) << m.menu << " is narrower than its title";
        if (m.drops_down)
            EXPECT_GT(area.top, title.bottom) << m.menu << " does not open below its title";
        else
            EXPECT_TRUE(inside(title, area)) << m.menu << " does not cover its title";
    }
}

// Nothing may hide the menu titles: windows stay below the bar.
TEST_F(DemoLayout, MenuBarIsFree)
{
    for (uint32_t n = 8; n <= ctx->object_count; ++n) {
        const tav_object &o = obj(n);
        if (o.master != 0 || o.hidden == 1 || o.kind == TAV_KIND_EMPTY || n == 14) continue;
        EXPECT_GT(o.y, MENU_BAR_BOTTOM) << n << " lies over the menu bar";
    }
}

TEST_F(DemoLayout, ChainAndBitmapFitTheirWindows)
{
    const tav_object &mother = obj(32);
    EXPECT_EQ(mother.kind, uint32_t(TAV_KIND_CHAIN));
    const uint32_t window = tav_search_master(ctx, 32);
    EXPECT_TRUE(window == 10 || window == 36) << window;
    const std::vector<uint32_t> members = dependents(32);
    EXPECT_GE(members.size(), 3u);
    for (uint32_t m : members) {
        EXPECT_EQ(obj(m).kind, uint32_t(TAV_KIND_CHAIN)) << m;
        EXPECT_NE(obj(m).text_record, 0u) << m << ": a member without lines ends the chain";
        EXPECT_TRUE(inside(box_of(obj(m)), inner_area(mother))) << m;
        EXPECT_TRUE(inside(box_of(obj(m)), inner_area(obj(window)))) << m << " is cut by its window";
    }

    const tav_object &bitmap = obj(46);
    EXPECT_EQ(bitmap.w, 260);
    EXPECT_EQ(bitmap.h, 200);
    EXPECT_EQ(bitmap.master, 44u);
    EXPECT_TRUE(inside(box_of(bitmap), inner_area(obj(44))));
}

// The layout's picture is found next to the program and loads.
TEST_F(DemoLayout, ShowsALoadedImage)
{
    int images = 0;
    for (uint32_t n = 8; n <= ctx->object_count; ++n) images += obj(n).kind == TAV_KIND_IMAGE;
    EXPECT_GE(images, 1);
    for (uint32_t n = 8; n <= ctx->object_count; ++n)
        EXPECT_NE(obj(n).kind, uint32_t(TAV_KIND_IMAGE_FILE)) << n << ": image " << obj(n).image_file << " did not load";
}

}  // namespace

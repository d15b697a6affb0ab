// Move-with lists, subtree moves and cursor placement.
#include <gtest/gtest.h>

#include <vector>

#include "support/harness.h"

using namespace tavtest;

namespace {

// Objects 8 (window) and 9..15 (its dependents), each 20 x 10 unless said otherwise.
RawLayout tree_layout()
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).set(off::x, 100).set(off::y, 100).set(off::w, 300).set(off::h, 200);
    for (int i = 0; i < 7; ++i) layout.add(TAV_KIND_LABEL).set(off::w, 20).set(off::h, 10).set(off::master, 8);
    return layout;
}

void set_list(tav_object &o, const std::vector<uint32_t> &entries)
{
    for (uint32_t &d : o.dependents) d = 0;
    for (size_t i = 0; i < entries.size(); ++i) o.dependents[i] = entries[i];
}

}  // namespace

TEST(DependentsList, EmptyFullAndAbsent)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object &w = ctx->objects[8];
    EXPECT_EQ(tav_get_free_dep_object(ctx, 8), 0u);
    EXPECT_EQ(tav_get_move_with_nr(ctx, 8, 9), 101u);

    set_list(w, {9, 10, 11});
    EXPECT_EQ(tav_get_free_dep_object(ctx, 8), 3u);
    EXPECT_EQ(tav_get_move_with_nr(ctx, 8, 11), 2u);
    EXPECT_EQ(tav_get_move_with_nr(ctx, 8, 0), 101u) << "0 means none and is never found";

    for (uint32_t &d : w.dependents) d = 9;
    w.dependents[99] = 12;
    EXPECT_EQ(tav_get_free_dep_object(ctx, 8), 101u);
    EXPECT_EQ(tav_get_move_with_nr(ctx, 8, 12), 99u);

    // Numbers that name no object answer as absent instead of reading past the array.
    EXPECT_EQ(tav_get_free_dep_object(ctx, 0), 101u);
    EXPECT_EQ(tav_get_free_dep_object(ctx, 100000), 101u);
    EXPECT_EQ(tav_get_move_with_nr(ctx, 100000, 9), 101u);
}

TEST(DependentsList, RemovingClosesTheGap)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object &w = ctx->objects[8];
    set_list(w, {9, 10, 11});
    ctx->objects[9].master = 8;
    tav_delete_old_move_with_number(ctx, 8, 9);
    EXPECT_EQ(std::vector<uint32_t>(w.dependents, w.dependents + 4), (std::vector<uint32_t>{10, 11, 0, 0}));
    EXPECT_EQ(ctx->objects[9].master, 8u) << "the removed object's master is not touched";

    tav_delete_old_move_with_number(ctx, 8, 14);
    EXPECT_EQ(std::vector<uint32_t>(w.dependents, w.dependents + 3), (std::vector<uint32_t>{10, 11, 0}));
    tav_delete_old_move_with_number(ctx, 8, 11);
    EXPECT_EQ(std::vector<uint32_t>(w.dependents, w.dependents + 2), (std::vector<uint32_t>{10, 0}));

    // A full list: removing from the middle leaves 99 entries ended by a 0.
    for (uint32_t i = 0; i < 100; ++i) w.dependents[i] = 9 + i % 7;
    w.dependents[50] = 20;
    tav_delete_old_move_with_number(ctx, 8, 20);
    EXPECT_EQ(w.dependents[50], 9u + 51 % 7);
    EXPECT_EQ(w.dependents[98], 9u + 99 % 7);
    EXPECT_EQ(w.dependents[99], 0u);
    EXPECT_EQ(tav_get_free_dep_object(ctx, 8), 99u);
}

TEST(DependentsMove, VisibleSubtreeAndCursors)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object *o = ctx->objects;
    set_list(o[8], {9, 10, 11});
    set_list(o[9], {12});   // 9 holds 12
    set_list(o[10], {13});  // 10 has no size: neither it nor 13 moves
    o[10].w = 0;
    for (int i = 9; i <= 13; ++i) o[i].x = 10 * i, o[i].y = 5 * i, o[i].cursor_x = 1, o[i].cursor_y = 2;
    o[11].editable = 1;
    o[12].editable = 1;

    tav_add_difference_toxy_dep_objs(ctx, 8, 7, -3);
    EXPECT_EQ(o[9].x, 97);
    EXPECT_EQ(o[9].y, 42);
    EXPECT_EQ(o[9].cursor_x, 1) << "not editable: cursor stays";
    EXPECT_EQ(o[12].x, 127);
    EXPECT_EQ(o[12].cursor_x, 8);
    EXPECT_EQ(o[12].cursor_y, -1);
    EXPECT_EQ(o[10].x, 100);
    EXPECT_EQ(o[13].x, 130);
    EXPECT_EQ(o[11].cursor_x, 8);
}

TEST(DependentsMove, AfterMoveTakesAllAndMovesTextCursorsOnly)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object *o = ctx->objects;
    set_list(o[8], {9, 10});
    set_list(o[10], {11, 12});
    o[10].w = 0;  // switched off, still moved
    o[9].kind = TAV_KIND_ENTRY;
    o[11].kind = TAV_KIND_BOX;
    o[12].kind = TAV_KIND_CHAIN;
    for (int i = 9; i <= 12; ++i) o[i].editable = 1, o[i].cursor_x = 50, o[i].cursor_y = 60;

    tav_update_dep_objs_after_move(ctx, 8, -5, 4);
    EXPECT_EQ(o[10].x, -5);
    EXPECT_EQ(o[11].y, 4);
    EXPECT_EQ(o[9].cursor_x, 45);
    EXPECT_EQ(o[12].cursor_y, 64);
    EXPECT_EQ(o[11].cursor_x, 50) << "a box has no text cursor";
    EXPECT_EQ(o[10].cursor_x, 50) << "a label has no text cursor";
}

TEST(DependentsCursor, FirstEditableDepthFirst)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object *o = ctx->objects;
    EXPECT_EQ(tav_check_cursor_dep_objs(ctx, 8), 0u);
    set_list(o[8], {9, 10, 11, 12});
    set_list(o[9], {13});  // 9 has no size: 13 is not searched
    set_list(o[10], {14});
    set_list(o[11], {15});  // 11 has editable 2: passed over with its subtree
    o[9].h = 0;
    o[13].editable = 1;
    o[11].editable = 2;
    o[15].editable = 1;
    o[12].editable = 1;
    EXPECT_EQ(tav_check_cursor_dep_objs(ctx, 8), 12u);
    o[14].editable = 1;
    EXPECT_EQ(tav_check_cursor_dep_objs(ctx, 8), 14u);
}

TEST(DependentsCursor, PlacesOnlyNeverPlacedCursors)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object *o = ctx->objects;
    set_list(o[8], {9, 10, 11});
    set_list(o[11], {12});
    o[8].editable = 1;
    o[8].margin_left = 4, o[8].margin_top = 6;
    for (int i = 9; i <= 12; ++i) o[i].editable = 1, o[i].x = 10 * i, o[i].y = 20 * i, o[i].margin_left = 2, o[i].margin_top = 3;
    o[9].cursor_x = 120, o[9].cursor_y = 80, o[9].cursor_column = 5;
    o[10].kind = TAV_KIND_EMPTY;
    o[11].editable = 0;
    o[12].cursor_row = 3;

    tav_initiate_cursor_win(ctx, 8);
    EXPECT_EQ(o[8].cursor_x, 104);
    EXPECT_EQ(o[8].cursor_y, 106);
    EXPECT_EQ(o[9].cursor_x, 120);
    EXPECT_EQ(o[9].cursor_y, 80);
    EXPECT_EQ(o[9].cursor_column, 5u);
    EXPECT_EQ(o[10].cursor_x, 0) << "an empty slot takes no cursor";
    EXPECT_EQ(o[11].cursor_x, 0) << "not editable";
    EXPECT_EQ(o[12].cursor_x, 122) << "found below a field that is not editable";
    EXPECT_EQ(o[12].cursor_y, 243);
    EXPECT_EQ(o[12].cursor_row, 0u);
}

// Lists changed at run time may name an object twice or lead back to a
// master: every walk still ends.
TEST(DependentsWalk, LoopingListsEnd)
{
    Screen screen;
    tav_context *ctx = screen.start(tree_layout());
    tav_object *o = ctx->objects;
    for (uint32_t &d : o[9].dependents) d = 9;  // lists itself 100 times
    set_list(o[8], {9, 10});
    set_list(o[10], {8, 10});
    o[10].editable = 5;

    tav_update_dep_objs_after_move(ctx, 8, 1, 1);
    tav_add_difference_toxy_dep_objs(ctx, 8, 1, 1);
    tav_initiate_cursor_win(ctx, 8);
    EXPECT_EQ(tav_check_cursor_dep_objs(ctx, 8), 0u);
    tav_update_x_chain_obj(ctx, 8, 2, 1);
    tav_update_y_chain_obj(ctx, 9, 1, 1);
    // Each of the three moving walks visits at most as many objects as the array holds.
    EXPECT_LE(o[9].x, int32_t(3 * (ctx->object_count + 1)));
}

// The layout editor's selection and edit stage without a display: staging
// and unstaging through a sequence of selections in both modes, the marking
// border of master mode, the selection panel's neighbours and dependents
// listing, adding working objects and centring on the stage.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "creator.h"
#include "selection.h"
#include "support/creator_fixture.h"
#include "support/creator_stage.h"
#include "support/harness.h"

using namespace tavtest;
using namespace creator;

namespace {

constexpr uint32_t LAYOUT_OBJECTS = 440;

// The stage, the selection panel with its three listing fields, the text
// editors and the notice window; everything else an empty slot.
RawLayout stage_layout()
{
    RawLayout layout = creator_stage_layout(LAYOUT_OBJECTS);
    add_record(layout, NOTICE_WINDOW, TAV_KIND_WINDOW);
    return layout;
}

class CreatorSelection : public CreatorFixture {
protected:

    void SetUp() override
    {
        start_editor(stage_layout());
        // Working object 1 is a window at (500, 400), 301 wide, holding 10,
        // 11 and 12; the others stand free, each at its own place.
        for (uint32_t n = 1; n <= 20; ++n)
            place(n, TAV_KIND_BOX, 300 + int32_t(n), 300 + 2 * int32_t(n), 40, 20);
        place(1, TAV_KIND_WINDOW, 500, 400, 301, 200);
        for (uint32_t k = 0; k < 3; ++k) {
            working(1).dependents[k] = index(10 + k);
            working(10 + k).master = index(1);
        }
        select_working_object(ed, 1, 0);
    }

    uint32_t index(uint32_t number) const { return ctx->object_count + number; }
    tav_object &working(uint32_t number) { return ctx->objects[index(number)]; }
    tav_object &stage() { return ctx->objects[STAGE_WINDOW]; }
    std::string record_text(uint32_t object) const
    {
        return ctx->text_records[ctx->objects[object].text_record].text;
    }

    void place(uint32_t number, uint32_t kind, int32_t x, int32_t y, int32_t w, int32_t h)
    {
        tav_object &o = working(number);
        o.kind = kind;
        o.x = x, o.y = y, o.w = w, o.h = h;
    }

    // Style, distance and colour of an object's border.
    static void expect_border(const tav_object &o, const std::array<int32_t, 5> &border)
    {
        const std::array<int32_t, 5> actual = {o.border_style, o.border_distance, o.border_r, o.border_g, o.border_b};
        EXPECT_EQ(actual, border);
    }

    void expect_on_stage(uint32_t number)
    {
        EXPECT_EQ(working(number).x, stage().x + STAGE_LEFT);
        EXPECT_EQ(working(number).y, stage().y + STAGE_TOP);
        EXPECT_EQ(working(number).master, uint32_t(STAGE_WINDOW));
    }
};

TEST_F(CreatorSelection, NextSelectionPutsThePreviousOneBackIntoTheDesign)
{
    tav_object &five = working(5), &six = working(6);
    five.hidden = 1;
    five.pinned = 1;
    six.border_style = 2;
    six.border_r = 9;

    select_working_object(ed, 5, 0);
    expect_on_stage(5);
    EXPECT_EQ(five.hidden, 0);
    EXPECT_EQ(five.pinned, 0);
    EXPECT_EQ(stage().dependents[12], index(5));
    EXPECT_EQ(ed.state.design_x, 305);
    EXPECT_EQ(ed.state.design_y, 310);

    select_working_object(ed, 6, 0);
    EXPECT_EQ(five.x, 305);
    EXPECT_EQ(five.y, 310);
    EXPECT_EQ(five.master, 0u);
    EXPECT_EQ(five.hidden, 1);
    EXPECT_EQ(five.pinned, 1);
    expect_on_stage(6);
    EXPECT_EQ(six.border_style, 2);
    EXPECT_EQ(six.border_r, 9);
    EXPECT_EQ(stage().dependents[12], index(6));
    EXPECT_EQ(ed.state.selected_number, 6u);

    // The selected object again, or one beyond the design: nothing moves.
    select_working_object(ed, 6, 0);
    select_working_object(ed, ed.state.number_of_working_objects + 1, 0);
    expect_on_stage(6);
    EXPECT_EQ(ed.state.selected_index, index(6));
}

TEST_F(CreatorSelection, MasterModeMarksTheSelectedObjectAndRestoresItsBorder)
{
    tav_object &eleven = working(11), &master = working(1);
    eleven.border_style = 3;
    eleven.border_distance = 4;
    eleven.border_r = 1, eleven.border_g = 2, eleven.border_b = 3;
    const int32_t undo_x = ctx->objects[UNDO_BUTTON].x;

    select_working_object(ed, 11, 0);
    expect_on_stage(11);
    EXPECT_EQ(ed.state.selected_master, index(1));
    for (uint32_t k = 0; k < 9; ++k) EXPECT_EQ(stage().dependents[3 + k], UNDO_BUTTON + k);

    toggle_master_mode(ed, 0);
    EXPECT_EQ(ed.state.master_mode, 1);
    expect_border(eleven, {5, 0, 255, 255, 0});
    EXPECT_EQ(eleven.master, index(1));
    expect_on_stage(1);
    EXPECT_EQ(stage().dependents[14], index(1));
    for (uint32_t k = 0; k < 11; ++k) EXPECT_EQ(stage().dependents[3 + k], MOVE_BUTTON + k);
    EXPECT_EQ(ctx->objects[MOVE_BUTTON].hidden, 0);
    EXPECT_EQ(ctx->objects[UNDO_BUTTON].x, undo_x + UNDO_SHIFT);
    EXPECT_EQ(ed.state.master_design_x, 500);

    toggle_master_mode(ed, 0);
    EXPECT_EQ(ed.state.master_mode, 0);
    expect_border(eleven, {3, 4, 1, 2, 3});
    EXPECT_EQ(master.x, 500);
    EXPECT_EQ(master.y, 400);
    EXPECT_EQ(master.master, 0u);
    expect_on_stage(11);
    EXPECT_EQ(stage().dependents[12], index(11));
    EXPECT_EQ(stage().dependents[13], 0u);
    EXPECT_EQ(stage().dependents[14], 0u);
    EXPECT_EQ(ctx->objects[UNDO_BUTTON].x, undo_x);
    EXPECT_EQ(ctx->objects[MOVE_BUTTON].hidden, 1);
}

TEST_F(CreatorSelection, MasterModeNeedsAMasterAndEndsOnTheStagedMasterItself)
{
    select_working_object(ed, 5, 0);
    toggle_master_mode(ed, 0);
    EXPECT_EQ(ed.state.master_mode, 0);  // no master: nothing to switch to
    expect_on_stage(5);

    working(12).border_style = 1;
    select_working_object(ed, 11, 0);
    toggle_master_mode(ed, 0);
    select_working_object(ed, 12, 0);    // inside the staged master: only the marking moves
    EXPECT_EQ(ed.state.master_mode, 1);
    EXPECT_EQ(working(11).border_style, 0);
    EXPECT_EQ(working(12).border_style, 4);
    expect_on_stage(1);

    select_working_object(ed, 1, 0);
    EXPECT_EQ(ed.state.master_mode, 0);
    EXPECT_EQ(working(12).border_style, 1);
    EXPECT_EQ(ed.state.saved_master, 0u);
    EXPECT_EQ(ed.state.selected_index, index(1));
    expect_on_stage(1);
    EXPECT_EQ(stage().dependents[12], index(1));
    EXPECT_EQ(stage().dependents[14], 0u);

    // Back into the design, the master stands where it stood before.
    select_working_object(ed, 5, 0);
    EXPECT_EQ(working(1).x, 500);
    EXPECT_EQ(working(1).master, 0u);
}

TEST_F(CreatorSelection, PanelShowsTheNeighboursInTheMastersList)
{
    const struct { uint32_t selected; int32_t previous, next; } cases[] = {{11, 10, 12}, {10, 0, 11}, {12, 11, 0}};
    for (const auto &c : cases) {
        select_working_object(ed, c.selected, 0);
        EXPECT_EQ(ed.state.previous_number, c.previous) << c.selected;
        EXPECT_EQ(ed.state.next_number, c.next) << c.selected;
        EXPECT_EQ(ed.state.master_number, 1) << c.selected;
    }
    select_working_object(ed, 1, 0);
    EXPECT_EQ(ed.state.first_dependent_number, 10);
    EXPECT_EQ(ed.state.master_number, 0);
    EXPECT_STREQ(ctx->objects[PANEL_SELECTED].text, "0001");
}

TEST_F(CreatorSelection, DependentsListingRunsOnIntoTheNextField)
{
    char line[32];
    listing_line(line, sizeof line, 3, 27);
    EXPECT_STREQ(line, "move_with 3 27\n");

    for (uint32_t k = 0; k < 45; ++k) working(2).dependents[k] = index(100 + k);
    select_working_object(ed, 2, 0);
    const std::string first = record_text(LISTING_FIRST), second = record_text(LISTING_SECOND);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 40);
    EXPECT_EQ(first.rfind("move_with 0 100\n", 0), 0u);
    EXPECT_NE(first.find("move_with 39 139\n"), std::string::npos);
    EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), 5);
    EXPECT_EQ(second.rfind("move_with 40 140\n", 0), 0u);
    EXPECT_EQ(record_text(LISTING_THIRD), "");

    // An object without dependents leaves the fields empty.
    select_working_object(ed, 3, 0);
    EXPECT_EQ(record_text(LISTING_FIRST), "");
    EXPECT_EQ(record_text(LISTING_SECOND), "");
}

TEST_F(CreatorSelection, AddingWorkingObjectsStopsAtTheLimit)
{
    ed.state.number_of_working_objects = 1950;
    std::strcpy(ctx->objects[ADD_COUNT_FIELD].text, "100");
    add_working_objects(ed);
    EXPECT_EQ(ed.state.number_of_working_objects, MAX_WORKING_OBJECTS);
    add_working_objects(ed);
    EXPECT_EQ(ed.state.number_of_working_objects, MAX_WORKING_OBJECTS);
}

TEST_F(CreatorSelection, CentringPutsTheObjectInTheMiddleOfItsMaster)
{
    place(5, TAV_KIND_BOX, 0, 0, 100, 20);
    select_working_object(ed, 5, 0);
    stage().x = 50;
    stage().w = 301;
    const int32_t before = working(5).x;
    centre_in_master(ed);
    EXPECT_EQ(working(5).x, 149);
    EXPECT_EQ(ed.state.design_x, 149 - before);
    // The readout and the geometry form show the design position, so that
    // applying the form unchanged leaves the object where centring put it.
    EXPECT_EQ(std::string(ctx->objects[417].text), std::to_string(149 - before));
    apply_form(ed, GEOMETRY_FORM);
    EXPECT_EQ(working(5).x, 149);
    EXPECT_EQ(ed.state.design_x, 149 - before);

    // An object as wide as its master stays where it is.
    working(5).w = 301;
    centre_in_master(ed);
    EXPECT_EQ(working(5).x, 149);
}

// Events for a mouse tool's own loop, queued before the tool runs.
void push_motion(int32_t x, int32_t y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x, e.motion.y = y;
    SDL_PushEvent(&e);
}

void push_press(uint8_t button)
{
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    SDL_PushEvent(&e);
}

TEST_F(CreatorSelection, MouseMoveEndsOnTheLeftButtonAndUndoReturns)
{
    select_working_object(ed, 5, 0);
    ed.state.form_saved.x = 305, ed.state.form_saved.y = 310;  // as the geometry form was loaded
    const int32_t stage_x = working(5).x, stage_y = working(5).y;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    push_motion(stage_x + 30, stage_y + 5);
    push_press(SDL_BUTTON_RIGHT);          // other buttons do not end the tool
    push_motion(stage_x + 40, stage_y + 15);
    push_press(SDL_BUTTON_LEFT);
    push_motion(stage_x + 90, stage_y + 90);  // after the end: left for the main loop
    move_with_mouse(ed);
    EXPECT_EQ(working(5).x, stage_x + 40);
    EXPECT_EQ(working(5).y, stage_y + 15);
    EXPECT_EQ(ed.state.design_x, 345);
    EXPECT_EQ(ed.state.design_y, 325);
    EXPECT_STREQ(ctx->objects[GEOMETRY_X].text, "0345");
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    ed.state.last_mouse_tool = 2;
    undo_last_mouse_tool(ed);
    EXPECT_EQ(working(5).x, stage_x);
    EXPECT_EQ(working(5).y, stage_y);
    EXPECT_EQ(ed.state.design_x, 305);

    // Unstaged, the object is back at its design place.
    select_working_object(ed, 6, 0);
    EXPECT_EQ(working(5).x, 305);
    EXPECT_EQ(working(5).y, 310);
}

}  // namespace

// The layout editor's property forms without a display: what the forms show
// of the selected object, what apply writes back in both modes, the colour
// steppers and their limits, the refused masters and the stream editor.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "creator.h"
#include "selection.h"
#include "support/creator_fixture.h"
#include "support/harness.h"

using namespace tavtest;
using namespace creator;

namespace {

constexpr uint32_t LAYOUT_OBJECTS = 440;
constexpr uint32_t STREAM_FIELD = 244;
constexpr uint32_t STREAM_OK = 245;

// Every field of the forms as a label, the stage 143 as a window, the two
// text editors and the selection panel as windows, the stream field 244
// inside its editor with a text record of its own.
RawLayout forms_layout()
{
    RawLayout layout;
    while (layout.objects.size() < LAYOUT_OBJECTS) layout.add(TAV_KIND_LABEL).set(off::w, 60).set(off::h, 20);
    layout.at(STAGE_WINDOW).set(off::kind, TAV_KIND_WINDOW).set(off::x, 300).set(off::y, 100)
        .set(off::w, 600).set(off::h, 500).set(off::hidden, 1);
    for (uint32_t window : {STREAM_WINDOW, SHORT_TEXT_WINDOW, SELECTION_WINDOW, NOTICE_WINDOW})
        layout.at(window).set(off::kind, TAV_KIND_WINDOW).set(off::x, 100).set(off::y, 100)
            .set(off::w, 400).set(off::h, 300).set(off::hidden, 1);
    layout.at(STREAM_FIELD).set(off::kind, TAV_KIND_TEXT).set(off::w, 300).set(off::h, 200)
        .set(off::text_record, 1).set(off::editable, 1).set(off::master, STREAM_WINDOW);
    layout.at(STREAM_WINDOW).dep(0, STREAM_FIELD);
    layout.at(SHORT_TEXT_FIELD).set(off::kind, TAV_KIND_ENTRY).set(off::master, SHORT_TEXT_WINDOW)
        .set(off::editable, 1).set(off::capacity, 60);
    layout.at(SHORT_TEXT_WINDOW).dep(0, SHORT_TEXT_FIELD);
    layout.at(220).str(off::text, "Geometry");
    layout.at(242).str(off::text, "Edit text");
    layout.texts.emplace_back(STREAM_FIELD, "");
    return layout;
}

class CreatorForms : public CreatorFixture {
protected:

    void SetUp() override
    {
        start_editor(forms_layout());
        for (uint32_t n = 1; n <= 3; ++n) working(n).kind = TAV_KIND_BOX;
        select(1);
    }

    // Selects working object `number` the way the selection leaves it in
    // normal mode: on the stage, its design position remembered.
    void select(uint32_t number)
    {
        ed.state.selected_number = number;
        ed.state.selected_index = ctx->object_count + number;
        ed.state.design_x = working(number).x;
        ed.state.design_y = working(number).y;
    }

    // Selects working object `number` as the editor does: it goes on the
    // stage and the forms are loaded from it.
    void stage(uint32_t number)
    {
        ed.state.selected_index = 0;
        select_working_object(ed, number, 0);
    }

    // Gives working object `number` the next design text record, holding `text`.
    void give_text(uint32_t number, const char *text)
    {
        const uint32_t r = ctx->text_record_count + ++ed.state.streams_assigned;
        ed.state.highest_stream = r;
        working(number).text_record = r;
        ctx->text_records[r].owner = index(number);
        tav_copy_st_last_part(text, ctx->text_records[r].text);
    }

    bool in_stack(uint32_t window) const
    {
        for (uint32_t i = 0; i < ctx->window_stack_count; ++i)
            if (ctx->window_stack[i] == window) return true;
        return false;
    }

    uint32_t index(uint32_t number) const { return ctx->object_count + number; }
    tav_object &working(uint32_t number) { return ctx->objects[ctx->object_count + number]; }
    tav_object &selected() { return ctx->objects[ed.state.selected_index]; }
    std::string text_of(uint32_t object) const { return ctx->objects[object].text; }
    void type(uint32_t object, const char *text) { tav_copy_st_last_part(text, ctx->objects[object].text); }
    std::string record_text(uint32_t object) const
    {
        return ctx->text_records[ctx->objects[object].text_record].text;
    }
};

}  // namespace

TEST_F(CreatorForms, LoadedImageShowsAsImageKindAndKeepsItsKind)
{
    selected().kind = TAV_KIND_IMAGE;
    tav_copy_st_last_part("picture.png", selected().image_file);
    selected().border_distance = 20;
    load_and_show_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(text_of(160), "4");
    EXPECT_EQ(text_of(177), "picture.png");
    EXPECT_EQ(text_of(187), "0020");
    EXPECT_EQ(text_of(172), "0000");

    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(selected().kind, uint32_t(TAV_KIND_IMAGE)) << "an unchanged name keeps the loaded image";
    EXPECT_EQ(selected().border_distance, 20);

    // Another kind chosen goes straight into the object.
    type(160, "3");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(selected().kind, uint32_t(TAV_KIND_TEXT));
}

TEST_F(CreatorForms, ColourSteppersStopAtTheirLimitsAndFollowTheSwatch)
{
    selected().text_r = 254;
    selected().fill_g = 1;
    load_and_show_form(ed, COLOUR_FORM);
    EXPECT_EQ(text_of(313), "254");
    EXPECT_EQ(text_of(300), "001");
    EXPECT_EQ(ctx->objects[305].text_r, 254);

    EXPECT_TRUE(colour_stepper(ed, 316, true));
    EXPECT_TRUE(colour_stepper(ed, 316, true));
    EXPECT_EQ(ed.state.form.colour[3], 255);
    EXPECT_EQ(text_of(313), "255");
    EXPECT_EQ(ctx->objects[305].text_r, 255);

    EXPECT_TRUE(colour_stepper(ed, 337, false));
    EXPECT_TRUE(colour_stepper(ed, 337, false));
    EXPECT_EQ(ed.state.form.colour[1], 0);
    EXPECT_EQ(text_of(300), "000");

    // A repeating stepper does nothing on a release, nor a single one held.
    EXPECT_FALSE(colour_stepper(ed, 316, false));
    EXPECT_FALSE(colour_stepper(ed, 339, true));
    EXPECT_EQ(selected().text_r, 254) << "steppers change only the form until apply";

    apply_form(ed, COLOUR_FORM);
    EXPECT_EQ(selected().text_r, 255);
    EXPECT_EQ(selected().fill_g, 0);

    // Typed colours are kept inside 0..255.
    type(299, "300");
    apply_form(ed, COLOUR_FORM);
    EXPECT_EQ(selected().fill_r, 255);
}

TEST_F(CreatorForms, MasterModeColoursGoUnderTheMarkingBorder)
{
    ed.state.master_mode = 1;
    ed.state.saved_border_r = 10, ed.state.saved_border_g = 20, ed.state.saved_border_b = 30;
    selected().border_r = 255, selected().border_g = 255, selected().border_b = 0;
    load_and_show_form(ed, COLOUR_FORM);
    EXPECT_EQ(text_of(330), "010");
    colour_stepper(ed, 351, false);
    apply_form(ed, COLOUR_FORM);
    EXPECT_EQ(ed.state.saved_border_r, 11);
    EXPECT_EQ(selected().border_r, 255);
    EXPECT_EQ(selected().border_b, 0) << "the yellow marking stays while master mode lasts";
}

TEST_F(CreatorForms, GeometryApplyMovesOnlyTheDesignPositionInNormalMode)
{
    selected().x = 370, selected().y = 220, selected().w = 50, selected().h = 40;
    ed.state.design_x = 100, ed.state.design_y = 80;
    load_and_show_form(ed, GEOMETRY_FORM);
    EXPECT_EQ(text_of(225), "0100");
    type(225, "150");
    type(227, "99999");
    apply_form(ed, GEOMETRY_FORM);
    EXPECT_EQ(ed.state.design_x, 150);
    EXPECT_EQ(ed.state.design_y, 80);
    EXPECT_EQ(selected().x, 370) << "the staged object waits until it leaves the stage";
    EXPECT_EQ(selected().w, 9999) << "a typed size is kept to what the field can show";
    EXPECT_EQ(text_of(417), "150");

    // Reset brings back the values of the load.
    reset_form(ed, GEOMETRY_FORM);
    EXPECT_EQ(text_of(225), "0100");
    EXPECT_EQ(text_of(227), "0050");
}

TEST_F(CreatorForms, GeometryApplyMovesTheObjectInMasterMode)
{
    ed.state.master_mode = 1;
    selected().x = 370, selected().y = 220;
    ed.state.design_x = 370, ed.state.design_y = 220;
    load_and_show_form(ed, GEOMETRY_FORM);
    type(225, "380");
    apply_form(ed, GEOMETRY_FORM);
    EXPECT_EQ(selected().x, 380);
    EXPECT_EQ(ed.state.design_x, 380);
}

TEST_F(CreatorForms, MastersThatWouldLoopOrReachPastTheDesignAreRefused)
{
    // Working object 2 depends on 1, and 3 on 2.
    const uint32_t base = ctx->object_count;
    working(1).dependents[0] = base + 2;
    working(2).master = base + 1;
    working(2).dependents[0] = base + 3;
    working(3).master = base + 2;
    ed.state.number_of_working_objects = 100;
    const std::string depending = "Mother shouldn't be a depending object!";

    EXPECT_STREQ(master_refusal(ed, 1), "Mother shouldn't be selected_object!");
    EXPECT_EQ(master_refusal(ed, 2), depending);
    EXPECT_EQ(master_refusal(ed, 3), depending) << "a master deeper in the subtree loops just the same";
    EXPECT_EQ(master_refusal(ed, 101), depending);
    EXPECT_EQ(master_refusal(ed, 0), nullptr);
    EXPECT_EQ(master_refusal(ed, 100), nullptr);

    // The other way round is fine: 3 may hang from 1 directly.
    select(3);
    EXPECT_EQ(master_refusal(ed, 1), nullptr);
}

TEST_F(CreatorForms, StreamEditorResetBringsBackTheTextBeforeTheApply)
{
    selected().kind = TAV_KIND_TEXT;
    selected().w = 200, selected().h = 100;
    open_stream_editor(ed);
    ASSERT_NE(selected().text_record, 0u) << "a free record is given to the object";
    EXPECT_EQ(ctx->text_records[selected().text_record].owner, ed.state.selected_index);
    EXPECT_EQ(ed.state.streams_assigned, 1u);

    tav_copy_st_last_part("first", ctx->text_records[1].text);
    stream_editor_button(ed, 246);
    EXPECT_EQ(record_text(ed.state.selected_index), "first");
    tav_copy_st_last_part("second", ctx->text_records[1].text);
    stream_editor_button(ed, 246);
    EXPECT_EQ(record_text(ed.state.selected_index), "second");

    stream_editor_button(ed, 247);
    EXPECT_EQ(record_text(STREAM_FIELD), "first");
    EXPECT_EQ(record_text(ed.state.selected_index), "second") << "reset changes only the editor";

    stream_editor_button(ed, 248);
    EXPECT_EQ(record_text(STREAM_FIELD), "");
    EXPECT_EQ(ctx->objects[STREAM_FIELD].text_length, 0);
}

TEST_F(CreatorForms, ReplacedFontIsClosedOnlyWhenNobodyElseUsesIt)
{
    selected().kind = TAV_KIND_LABEL;
    tav_copy_st_last_part("x", selected().text);
    load_and_show_form(ed, TEXT_FORM);
    type(279, "1");
    type(280, "14");
    type(281, "DroidSans.ttf");
    apply_form(ed, TEXT_FORM);
    ASSERT_EQ(selected().font_state, 2);
    ASSERT_NE(selected().own_font, nullptr);

    // A copy of the data shares the font; a new size must leave it open.
    TTF_Font *shared = selected().own_font;
    working(2).own_font = shared;
    working(2).font_state = 2;
    load_and_show_form(ed, TEXT_FORM);
    EXPECT_EQ(text_of(279), "1") << "an open font shows as wanted";
    type(280, "16");
    apply_form(ed, TEXT_FORM);
    EXPECT_NE(selected().own_font, shared);
    EXPECT_GT(TTF_FontHeight(shared), 0);

    // Back to the default font: the object's own font is let go.
    load_and_show_form(ed, TEXT_FORM);
    type(279, "0");
    apply_form(ed, TEXT_FORM);
    EXPECT_EQ(selected().font_state, 0);
    EXPECT_EQ(selected().own_font, nullptr);
    TTF_CloseFont(shared);
    working(2).own_font = nullptr;
}

TEST_F(CreatorForms, AcceptedMasterTakesTheObjectIntoItsList)
{
    const uint32_t base = ctx->object_count;
    ed.state.number_of_working_objects = 100;
    selected().master = STAGE_WINDOW;
    load_and_show_form(ed, BEHAVIOUR_FORM);
    type(172, "3");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(ed.state.saved_master, base + 3);
    EXPECT_EQ(working(3).dependents[0], base + 1);
    EXPECT_EQ(selected().master, uint32_t(STAGE_WINDOW)) << "the object stays on the stage";

    // Taking it out again leaves the old master's list empty.
    load_and_show_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(text_of(172), "0003");
    type(172, "0");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(ed.state.saved_master, 0u);
    EXPECT_EQ(working(3).dependents[0], 0u);
}

TEST_F(CreatorForms, OpenTextEditorFollowsTheSelectionAndOkWritesOnlyItsText)
{
    working(1).kind = TAV_KIND_TEXT, working(2).kind = TAV_KIND_TEXT;
    working(3).kind = TAV_KIND_LABEL;
    give_text(1, "one");
    give_text(2, "two");
    tav_copy_st_last_part("three", working(3).text);
    stage(1);
    open_stream_editor(ed);
    ASSERT_EQ(record_text(STREAM_FIELD), "one");
    open_window(ed, SELECTION_WINDOW);

    // Another object while the editor is open: the editor shows its text,
    // and what is typed there goes into that object alone.
    select_working_object(ed, 2, 0);
    EXPECT_EQ(record_text(STREAM_FIELD), "two");
    EXPECT_EQ(text_of(242), "Edit text of object 2") << "the editors and forms name their object";
    EXPECT_EQ(text_of(220), "Geometry of object 2");
    EXPECT_EQ(text_of(146), "Object 2") << "a header without a caption";
    tav_copy_st_last_part("two typed", ctx->text_records[ctx->objects[STREAM_FIELD].text_record].text);
    close_top_window(ed);
    ASSERT_EQ(ctx->active_window, uint32_t(STREAM_WINDOW));
    stream_editor_button(ed, STREAM_OK);
    EXPECT_EQ(record_text(index(1)), "one");
    EXPECT_EQ(record_text(index(2)), "two typed");
    stream_editor_button(ed, 247);
    EXPECT_EQ(record_text(STREAM_FIELD), "two") << "reset brings back this object's text";

    // A label takes the short-text editor instead; the stream editor is
    // closed, out of the window stack, and does not come back.
    open_stream_editor(ed);
    open_window(ed, SELECTION_WINDOW);
    select_working_object(ed, 3, 0);
    EXPECT_FALSE(in_stack(STREAM_WINDOW));
    EXPECT_TRUE(in_stack(SHORT_TEXT_WINDOW));
    EXPECT_EQ(text_of(SHORT_TEXT_FIELD), "three");

    // A box fits neither editor: both are closed for good.
    select_working_object(ed, 4, 0);
    EXPECT_FALSE(in_stack(SHORT_TEXT_WINDOW));
    EXPECT_FALSE(in_stack(STREAM_WINDOW));
    close_top_window(ed);
    EXPECT_NE(ctx->active_window, uint32_t(STREAM_WINDOW));
    EXPECT_NE(ctx->active_window, uint32_t(SHORT_TEXT_WINDOW));
    EXPECT_EQ(ctx->objects[STREAM_WINDOW].hidden, 1);
    EXPECT_EQ(ctx->objects[SHORT_TEXT_WINDOW].hidden, 1);
    EXPECT_EQ(record_text(index(1)), "one");
    EXPECT_EQ(record_text(index(2)), "two typed");
    EXPECT_EQ(text_of(index(3)), "three");
}

TEST_F(CreatorForms, SecondMasterAppliedTakesTheObjectFromTheFirstOne)
{
    // Objects 1 to 7 of a design are its window operators.
    ed.state.number_of_working_objects = 10;
    for (uint32_t n = 8; n <= 10; ++n) working(n).kind = TAV_KIND_BOX;
    stage(8);
    type(172, "9");
    apply_form(ed, BEHAVIOUR_FORM);
    type(172, "10");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(working(9).dependents[0], 0u);
    EXPECT_EQ(working(10).dependents[0], index(8));
    EXPECT_EQ(ed.state.selected_master, index(10));

    // A design without texts is saved without a text file.
    const std::string name = temp_name(".tav");
    ASSERT_EQ(save_definition_file(ed, name.c_str()), 1);
    const std::string tool = "'" + std::string(TAVRIN_TOOLS_DIR) + "/tavrin_layout' ";
    EXPECT_EQ(std::system((tool + "check " + name).c_str()), 0);
    const std::vector<uint8_t> tav = read_file(name);
    ASSERT_EQ(tav.size(), 10u * TAV_OBJECT_RECORD_SIZE);
    auto field = [&](size_t record, int offset) {
        const uint8_t *p = tav.data() + (record - 1) * TAV_OBJECT_RECORD_SIZE + size_t(offset);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    };
    EXPECT_EQ(field(8, off::master), 10u);
    EXPECT_EQ(field(9, off::dependents), 0u);
    EXPECT_EQ(field(10, off::dependents), 8u);
    std::remove(name.c_str());
}

TEST_F(CreatorForms, MasterModeFollowsTheMasterTheFormGives)
{
    ed.state.number_of_working_objects = 3;
    for (uint32_t n = 1; n <= 3; ++n) working(n).x = 10 * int32_t(n), working(n).y = 20 * int32_t(n);
    working(1).w = working(1).h = 5;
    working(2).w = working(2).h = working(3).w = working(3).h = 50;
    working(1).master = index(2);
    working(2).dependents[0] = index(1);
    stage(1);
    const tav_object &stage_window = ctx->objects[STAGE_WINDOW];

    // Master taken away in normal mode: master mode has nothing to stage.
    type(172, "0");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(ed.state.selected_master, 0u);
    toggle_master_mode(ed, 0);
    EXPECT_EQ(ed.state.master_mode, 0);
    EXPECT_EQ(stage_window.dependents[14], 0u);
    EXPECT_EQ(working(1).x, stage_window.x + STAGE_LEFT);

    // A new master in master mode is staged in the old one's place, with
    // the object at its design place inside it.
    type(172, "2");
    apply_form(ed, BEHAVIOUR_FORM);
    toggle_master_mode(ed, 0);
    ASSERT_EQ(ed.state.master_mode, 1);
    EXPECT_EQ(stage_window.dependents[14], index(2));
    type(172, "3");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(ed.state.master_mode, 1);
    EXPECT_EQ(stage_window.dependents[14], index(3));
    EXPECT_EQ(working(2).x, 20) << "the old master is back at its place";
    EXPECT_EQ(ed.state.design_x, 10);
    EXPECT_EQ(ed.state.design_y, 20);
    EXPECT_EQ(working(1).x - working(3).x, 10 - 30) << "the object keeps its place in the design";

    // No master in master mode: back to the object itself on the stage.
    type(172, "0");
    apply_form(ed, BEHAVIOUR_FORM);
    EXPECT_EQ(ed.state.master_mode, 0);
    EXPECT_EQ(ed.state.selected_master, 0u);
    EXPECT_EQ(stage_window.dependents[14], 0u);
    EXPECT_EQ(working(3).x, 30);
    EXPECT_EQ(working(1).x, stage_window.x + STAGE_LEFT);
    EXPECT_EQ(working(3).dependents[0], 0u);
    EXPECT_EQ(ed.state.design_x, 10);
}

TEST_F(CreatorForms, TextFormShowsTheDesignsRecordNumberAndRefusesANamelessFont)
{
    selected().kind = TAV_KIND_TEXT;
    give_text(2, "other");
    give_text(1, "own");
    load_and_show_form(ed, TEXT_FORM);
    EXPECT_EQ(text_of(275), "2");

    // A record handed out by the stream editor shows by its design number too.
    select(3);
    selected().kind = TAV_KIND_TEXT;
    open_stream_editor(ed);
    EXPECT_EQ(selected().text_record, ctx->text_record_count + 3);
    EXPECT_EQ(text_of(275), "3");

    // An own font without a name says why nothing changes.
    load_and_show_form(ed, TEXT_FORM);
    type(279, "1");
    type(280, "14");
    type(281, "");
    apply_form(ed, TEXT_FORM);
    EXPECT_EQ(notice_origin(ctx), int32_t(NOTICE_TEXT));
    EXPECT_EQ(ctx->active_window, uint32_t(NOTICE_WINDOW));
    EXPECT_EQ(selected().font_state, 0);
}

TEST_F(CreatorForms, ColourAboveAChannelShowsAndAppliesAsItsLimit)
{
    selected().fill_r = 300;
    selected().text_b = -5;
    load_and_show_form(ed, COLOUR_FORM);
    EXPECT_EQ(text_of(299), "255");
    EXPECT_EQ(text_of(315), "000");
    EXPECT_EQ(ctx->objects[305].fill_r, 255);
    EXPECT_EQ(ctx->objects[305].text_b, 0);
    colour_stepper(ed, 340, false);
    apply_form(ed, COLOUR_FORM);
    EXPECT_EQ(selected().fill_r, 255);
    EXPECT_EQ(selected().fill_g, 1);
    EXPECT_EQ(selected().text_b, 0);
    EXPECT_EQ(text_of(299), "255");
}

// Copying one working object's data onto another and erasing working
// objects, without a display: the text record classes of a copy, the
// questions and notices (answered by queued clicks), packing the design's
// text records, the staged object in both modes, and the fonts and images
// that objects hold (the sanitizer build reports any one left open).
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "creator.h"
#include "support/creator_fixture.h"
#include "support/creator_stage.h"
#include "support/input.h"

using namespace tavtest;
using namespace creator;

namespace {

// A dialog window at (x, y) with its buttons side by side inside it.
struct Dialog {
    uint32_t window, first, second;
    int x, y;
    int button_x(bool first_button) const { return x + (first_button ? 50 : 150); }
};

const Dialog NOTICE{NOTICE_WINDOW, NOTICE_BUTTON, 0, 850, 40};
const Dialog QUESTION{QUESTION_WINDOW, YES_BUTTON, NO_BUTTON, 850, 220};
const Dialog CHOICE{RETRY_WINDOW, RETRY_BUTTON, QUIT_BUTTON, 850, 400};

// The stage, the dialogs and the copy and erase windows; the editor's own
// text records padded to 500, so that the design's start at 501.
RawLayout copy_erase_layout()
{
    RawLayout layout = creator_stage_layout(440);
    layout.at(STREAM_WINDOW).set(off::hidden, 1);
    for (const Dialog &d : {NOTICE, QUESTION, CHOICE}) {
        add_record(layout, d.window, TAV_KIND_WINDOW);
        layout.at(d.window).set(off::x, d.x).set(off::y, d.y).set(off::w, 300).set(off::h, 150).set(off::hidden, 1);
        for (int k = 0; k < 2 && (k == 0 || d.second); ++k) {
            const uint32_t button = k == 0 ? d.first : d.second;
            layout.at(d.window).dep(k, button);
            layout.at(button).set(off::kind, TAV_KIND_LABEL).set(off::master, d.window)
                .set(off::x, d.button_x(k == 0) - 30).set(off::y, d.y + 80).set(off::w, 60).set(off::h, 20);
        }
    }
    for (uint32_t window : {COPY_WINDOW, ERASE_WINDOW})
        layout.at(window).set(off::kind, TAV_KIND_WINDOW).set(off::x, 900).set(off::y, 600)
            .set(off::w, 200).set(off::h, 60).set(off::hidden, 1);
    while (layout.texts.size() < 500) layout.texts.emplace_back(0, "");
    return layout;
}

class CreatorCopyErase : public CreatorFixture {
protected:
    void SetUp() override
    {
        start_editor(copy_erase_layout());
        // Boxes at (300 + n, 300 + 2n); window 1 at (500, 400) holds 10, 11
        // and 12. The empty working object 30 is selected.
        for (uint32_t n = 1; n <= 20; ++n) {
            tav_object &o = working(n);
            o.kind = n == 1 ? TAV_KIND_WINDOW : TAV_KIND_BOX;
            o.x = n == 1 ? 500 : 300 + int32_t(n), o.y = n == 1 ? 400 : 300 + 2 * int32_t(n);
            o.w = 40, o.h = 20;
        }
        for (uint32_t k = 0; k < 3; ++k) {
            working(1).dependents[k] = index(10 + k);
            working(10 + k).master = index(1);
        }
        select_working_object(ed, 30, 0);
    }

    uint32_t index(uint32_t number) const { return ctx->object_count + number; }
    tav_object &working(uint32_t number) { return ctx->objects[index(number)]; }
    tav_text_record &record(uint32_t r) { return ctx->text_records[r]; }
    std::string record_text(uint32_t object) { return record(ctx->objects[object].text_record).text; }
    void type(uint32_t field, const char *text) { tav_copy_st_last_part(text, ctx->objects[field].text); }

    // Hands working object `number` the next design text record.
    uint32_t give_text(uint32_t number, const char *text)
    {
        const uint32_t r = ed.state.highest_stream ? ed.state.highest_stream + 1 : ctx->text_record_count + 1;
        working(number).kind = TAV_KIND_TEXT;
        working(number).text_record = r;
        record(r).owner = index(number);
        tav_copy_st_last_part(text, record(r).text);
        ed.state.highest_stream = r;
        ed.state.streams_assigned += 1;
        return r;
    }

    // Queues the answer to a dialog; every queued answer must meet its dialog.
    static void answer(const Dialog &d, bool first) { push_left_release(d.button_x(first), d.y + 90); }
    static int pending_answers()
    {
        SDL_PumpEvents();
        return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEBUTTONUP, SDL_MOUSEBUTTONUP);
    }

    // Button 365 with source `s` and target `t`, answering the notice.
    void copy(const char *s, const char *t)
    {
        type(362, s);
        type(364, t);
        answer(NOTICE, true);
        copy_object_data(ed);
    }

    void erase(const char *start, const char *end)
    {
        type(380, start);
        type(382, end);
        erase_objects(ed);
    }

    void expect_on_stage(uint32_t number)
    {
        const tav_object &stage = ctx->objects[STAGE_WINDOW];
        EXPECT_EQ(working(number).x, stage.x + STAGE_LEFT);
        EXPECT_EQ(working(number).master, uint32_t(STAGE_WINDOW));
    }

    bool listed_in(uint32_t master, uint32_t number)
    {
        return tav_get_move_with_nr(ctx, index(master), index(number)) != TAV_NOT_FOUND;
    }
};

}  // namespace

TEST_F(CreatorCopyErase, EraseAsksOnceAndRefusesBadRanges)
{
    answer(QUESTION, true);
    answer(NOTICE, true);
    erase("5", "5");
    EXPECT_EQ(pending_answers(), 0);
    EXPECT_EQ(record_text(QUESTION_WINDOW), "Do you really want to erase selected objects?");
    EXPECT_EQ(record_text(NOTICE_WINDOW), "You have successfully erased the selected objects.");
    EXPECT_EQ(ctx->active_window, uint32_t(ERASE_WINDOW));
    EXPECT_EQ(working(5).kind, 0u);
    EXPECT_EQ(working(5).w, 0);
    EXPECT_EQ(working(4).w, 40);
    EXPECT_EQ(working(6).w, 40);

    answer(QUESTION, false);  // "No": no erasing, no notice
    erase("6", "6");
    EXPECT_EQ(pending_answers(), 0);
    EXPECT_EQ(working(6).w, 40);

    const char *ranges[][2] = {{"7", "5"}, {"0", "5"}, {"5", "101"}, {"", "3"}, {"1", "99999999999"}};
    for (const auto &range : ranges) {
        answer(NOTICE, true);
        erase(range[0], range[1]);
        EXPECT_EQ(pending_answers(), 0);
        EXPECT_EQ(record_text(NOTICE_WINDOW),
                  "Start and End must be >0 && Start <= End && End <= number_of_working_objects.");
        EXPECT_EQ(ctx->active_window, uint32_t(ERASE_WINDOW));
        EXPECT_EQ(working(7).w, 40);
    }
}

TEST_F(CreatorCopyErase, ErasedRecordIsFilledByTheHighestOne)
{
    give_text(1, "one");
    give_text(2, "two");
    EXPECT_EQ(give_text(3, "three"), 503u);
    testing::internal::CaptureStdout();
    erase_object(ed, index(1), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "object_number " + std::to_string(index(3)) + " \n  \n");
    EXPECT_EQ(ed.state.highest_stream, 502u);
    EXPECT_EQ(ed.state.streams_assigned, 2u);
    EXPECT_EQ(working(3).text_record, 501u);
    EXPECT_EQ(record(501).owner, index(3));
    EXPECT_STREQ(record(501).text, "three");
    EXPECT_EQ(record(503).owner, 0u);
    EXPECT_STREQ(record(503).text, "");

    // A record beyond the design's range, or one that another object owns,
    // is not the erased object's to empty; the editor's objects are no design.
    working(4).text_record = 100000;
    working(5).text_record = 501;
    erase_object(ed, index(4), 1);
    erase_object(ed, index(5), 1);
    EXPECT_EQ(working(4).text_record, 0u);
    EXPECT_STREQ(record(501).text, "three");
    EXPECT_FALSE(erase_object(ed, index(ed.state.number_of_working_objects + 1), 1));
    EXPECT_FALSE(erase_object(ed, 50, 1));
}

TEST_F(CreatorCopyErase, ErasingAroundTheSelectionKeepsTheStageWhole)
{
    working(2).dependents[0] = index(1);  // 11 inside window 1 inside box 2
    working(1).master = index(2);
    select_working_object(ed, 11, 0);
    toggle_master_mode(ed, 0);

    // The top master goes: master mode goes on with window 1 on the stage.
    EXPECT_FALSE(erase_object(ed, index(2), 1));
    EXPECT_EQ(ed.state.master_mode, 1);
    EXPECT_EQ(ed.state.selected_master, index(1));
    expect_on_stage(1);

    // Window 1 goes: 11 has no master left and master mode ends; its
    // neighbours stand free at their design places.
    EXPECT_TRUE(erase_object(ed, index(1), 1));
    EXPECT_EQ(ed.state.master_mode, 0);
    expect_on_stage(11);
    EXPECT_EQ(ed.state.saved_master, 0u);
    EXPECT_EQ(working(12).master, 0u);
    EXPECT_EQ(working(12).x, 312);

    // Inside the staged object: the erased one's dependents return to the design.
    select_working_object(ed, 5, 0);
    working(11).dependents[0] = index(12);
    working(12).master = index(11);
    working(12).dependents[0] = index(13);
    working(13).master = index(12);
    select_working_object(ed, 11, 0);
    EXPECT_TRUE(erase_object(ed, index(12), 1));
    EXPECT_EQ(working(13).x, 313);
    EXPECT_EQ(working(13).master, 0u);

    // The selected object itself stays selected, empty, on the stage.
    EXPECT_TRUE(erase_object(ed, index(11), 0));
    EXPECT_EQ(ed.state.selected_index, index(11));
    expect_on_stage(11);
    EXPECT_EQ(working(11).w, 0);
    EXPECT_FALSE(erase_object(ed, index(6), 1));
}

TEST_F(CreatorCopyErase, CopyTakesThePropertiesAndLeavesTheTargetsMaster)
{
    tav_object &window = working(2), &button = working(3);
    window.kind = TAV_KIND_WINDOW;
    window.hidden = 1;
    window.border_b = 44;
    button.kind = TAV_KIND_LABEL;
    button.hidden = 1;
    tav_copy_st_last_part("Press", button.text);

    copy("2", "10");
    EXPECT_EQ(pending_answers(), 0);
    EXPECT_EQ(record_text(NOTICE_WINDOW), "Successful copy of data.");
    EXPECT_EQ(ctx->active_window, uint32_t(COPY_WINDOW));
    EXPECT_EQ(working(10).kind, uint32_t(TAV_KIND_WINDOW));
    EXPECT_EQ(working(10).hidden, 1) << "a window's hidden flag is copied";
    EXPECT_EQ(working(10).x, 302);
    EXPECT_EQ(working(10).border_b, 44);
    EXPECT_EQ(working(10).master, 0u);
    EXPECT_FALSE(listed_in(1, 10));

    copy("3", "11");
    EXPECT_EQ(working(11).hidden, 0) << "a button's is not";
    EXPECT_STREQ(working(11).text, "Press");

    const char *pairs[][2] = {{"0", "3"}, {"3", "101"}, {"", ""}, {"99999999999", "3"}};
    for (const auto &pair : pairs) {
        copy(pair[0], pair[1]);
        EXPECT_EQ(pending_answers(), 0);
        EXPECT_EQ(record_text(NOTICE_WINDOW), "Source and Target must be >0 and <= number_of_working_objects.");
    }
    EXPECT_EQ(working(3).kind, uint32_t(TAV_KIND_LABEL));
}

TEST_F(CreatorCopyErase, BigAndSmallSourcesAndTargets)
{
    give_text(2, "alpha");
    const uint32_t beta = give_text(3, "beta");
    copy("2", "3");
    EXPECT_EQ(working(3).text_record, beta);
    EXPECT_STREQ(record(beta).text, "alpha");

    copy("2", "4");  // a small target gets a record of its own
    EXPECT_EQ(working(4).text_record, 503u);
    EXPECT_EQ(record(503).owner, index(4));
    EXPECT_STREQ(record(503).text, "alpha");
    EXPECT_EQ(ed.state.highest_stream, 503u);
    EXPECT_EQ(ed.state.streams_assigned, 3u);

    // Small onto big: "Cancel" leaves everything, "Copy" gives the record back.
    working(5).kind = TAV_KIND_LABEL;
    tav_copy_st_last_part("short", working(5).text);
    type(362, "5");
    type(364, "3");
    answer(CHOICE, false);
    copy_object_data(ed);
    EXPECT_EQ(pending_answers(), 0);
    EXPECT_EQ(record_text(RETRY_WINDOW), "Source is small. Target is big. Do you want to copy and erase stream?");
    EXPECT_EQ(std::string(ctx->objects[QUIT_BUTTON].text), "Cancel");
    EXPECT_EQ(working(3).text_record, beta);

    answer(CHOICE, true);
    answer(NOTICE, true);
    testing::internal::CaptureStdout();
    copy_object_data(ed);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(pending_answers(), 0);
    EXPECT_EQ(working(3).text_record, 0u);
    EXPECT_STREQ(working(3).text, "short");
    EXPECT_EQ(ed.state.highest_stream, 502u) << "the records are packed again";
    EXPECT_EQ(working(4).text_record, beta);

    // No record left for a small target: nothing is copied, nothing shown.
    for (uint32_t r = 503; r <= ctx->text_record_count + MAX_WORKING_STREAMS; ++r) record(r).owner = index(50);
    ed.state.highest_stream = ctx->text_record_count + MAX_WORKING_STREAMS;
    copy("2", "6");
    EXPECT_EQ(pending_answers(), 1);
    EXPECT_EQ(working(6).kind, uint32_t(TAV_KIND_BOX));
}

TEST_F(CreatorCopyErase, CopyOntoAndFromTheStagedObjectInBothModes)
{
    working(5).master = index(2);
    working(2).dependents[0] = index(5);
    working(6).kind = TAV_KIND_WINDOW;
    working(6).hidden = 1;
    select_working_object(ed, 5, 0);
    copy("6", "5");  // onto the staged object: still staged, now without a master
    expect_on_stage(5);
    EXPECT_EQ(ed.state.design_x, 306);
    EXPECT_EQ(ed.state.saved_hidden, 1);
    EXPECT_EQ(ed.state.saved_master, 0u);
    EXPECT_FALSE(listed_in(2, 5));

    // From the staged object: its design place and values, its cursor
    // shifted back from the stage.
    working(5).kind = TAV_KIND_ENTRY;
    working(5).editable = 1;
    working(5).cursor_x = working(5).x + 5;
    copy("5", "7");
    EXPECT_EQ(working(7).x, 306);
    EXPECT_EQ(working(7).cursor_x, 311);
    EXPECT_EQ(working(7).hidden, 0);
    select_working_object(ed, 1, 0);
    copy("10", "8");  // from inside the staged object: its design place
    EXPECT_EQ(working(8).x, 310);

    // Master mode: the selected object's own border is copied, not its
    // marking, and master mode comes back.
    working(11).border_r = 20;
    select_working_object(ed, 11, 0);
    toggle_master_mode(ed, 0);
    copy("11", "9");
    EXPECT_EQ(working(9).border_r, 20);
    EXPECT_EQ(working(9).x, 311);
    EXPECT_EQ(ed.state.master_mode, 1);
    EXPECT_EQ(working(11).border_r, 255);
    copy("9", "11");  // onto it: it leaves its master, so master mode ends
    EXPECT_EQ(ed.state.master_mode, 0);
    expect_on_stage(11);
    EXPECT_EQ(working(1).x, 500);
    EXPECT_FALSE(listed_in(1, 11));
}

TEST_F(CreatorCopyErase, FontsAreSharedUntilTheLastHolderAndImagesAreOwn)
{
    TTF_Font *font = TTF_OpenFont("DroidSans.ttf", 15), *old = TTF_OpenFont("DroidSans.ttf", 9);
    ASSERT_TRUE(font && old);
    working(2).font_state = working(3).font_state = working(4).font_state = 2;
    working(2).own_font = font;
    working(3).own_font = old;        // closed when the copy replaces it
    working(4).own_font = ctx->font;  // the default font is no object's to close
    copy("2", "3");
    EXPECT_EQ(working(3).own_font, font);
    erase_object(ed, index(2), 1);
    erase_object(ed, index(4), 1);
    EXPECT_EQ(working(2).own_font, nullptr);
    EXPECT_GT(TTF_FontHeight(working(3).own_font), 0);
    EXPECT_GT(TTF_FontHeight(ctx->font), 0);

    SDL_Surface *image = SDL_CreateRGBSurface(0, 8, 6, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    SDL_FillRect(image, nullptr, 0xFF123456);
    working(5).kind = working(6).kind = TAV_KIND_IMAGE;
    working(5).image = image;
    working(6).image = SDL_CreateRGBSurface(0, 2, 2, 32, 0, 0, 0, 0);  // freed by the copy
    copy("5", "6");
    ASSERT_NE(working(6).image, nullptr);
    EXPECT_NE(working(6).image, image);
    erase_object(ed, index(5), 1);
    EXPECT_EQ(working(6).image->w, 8);
    EXPECT_EQ(static_cast<const uint32_t *>(working(6).image->pixels)[0] & 0xFFFFFF, 0x123456u);

    // Without a surface the image file is loaded again; without that the
    // copy waits as an image still to load.
    const std::string file = "tmp_CreatorCopyErase_image.bmp";
    ASSERT_EQ(SDL_SaveBMP(working(6).image, file.c_str()), 0);
    working(7).kind = TAV_KIND_IMAGE;
    tav_copy_st_last_part(file.c_str(), working(7).image_file);
    copy("7", "8");
    std::remove(file.c_str());
    ASSERT_NE(working(8).image, nullptr);
    EXPECT_EQ(working(8).image->h, 6);
    copy("7", "9");
    EXPECT_EQ(working(9).kind, uint32_t(TAV_KIND_IMAGE_FILE));
    EXPECT_EQ(working(9).image, nullptr);

    copy("10", "6");  // a plain box over an image lets go of it
    EXPECT_EQ(working(6).image, nullptr);
    for (uint32_t n : {3u, 8u}) erase_object(ed, index(n), 1);
}

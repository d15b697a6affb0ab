// The layout editor's design files without a display: opening (partial
// records, the lock question, texts, names that are refused, numbers that
// point nowhere), saving (the staged object's design values, failures that
// must leave the old files whole), closing, taking objects away, and a round
// trip through the tavrin_layout tool.
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "creator.h"
#include "selection.h"
#include "support/creator_fixture.h"
#include "support/creator_layout.h"
#include "support/input.h"

using namespace tavtest;
using namespace creator;

namespace {

// A design of `count` boxes that stand free, each at its own place.
RawLayout design(uint32_t count)
{
    RawLayout d;
    d.objects.clear();
    for (uint32_t n = 1; n <= count; ++n)
        d.add(TAV_KIND_BOX).set(off::x, 10 * n).set(off::y, 20 * n).set(off::w, 30).set(off::h, 12);
    return d;
}

// A 32-bit field of record r (from 1) of a .tav file's bytes.
uint32_t field(const std::vector<uint8_t> &tav, size_t r, int offset)
{
    const uint8_t *p = tav.data() + (r - 1) * TAV_OBJECT_RECORD_SIZE + size_t(offset);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Entries of a folder, without the hidden ones.
size_t entries_in(const char *folder)
{
    size_t count = 0;
    if (DIR *d = opendir(folder)) {
        while (const dirent *e = readdir(d)) count += e->d_name[0] != '.';
        closedir(d);
    }
    return count;
}

size_t files_here() { return entries_in("."); }

// Open descriptors of this process.
size_t open_descriptors() { return entries_in("/proc/self/fd"); }

class CreatorFiles : public CreatorFixture {
protected:
    std::string home, folder;

    // The editor starts as it does, then the test works in a folder of its own.
    void SetUp() override
    {
        start_editor(files_layout());
        char here[4096] = "";
        ASSERT_TRUE(getcwd(here, sizeof here));
        home = here;
        folder = home + "/" + temp_name("_XXXXXX");
        ASSERT_TRUE(mkdtemp(&folder[0]) && chdir(folder.c_str()) == 0);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        select_working_object(ed, 1, 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(home.c_str()), 0);
        std::system(("rm -rf '" + folder + "'").c_str());
    }

    uint32_t index(uint32_t number) const { return ctx->object_count + number; }
    tav_object &working(uint32_t number) { return ctx->objects[index(number)]; }
    tav_text_record &working_record(uint32_t k) { return ctx->text_records[ctx->text_record_count + k]; }
    std::string message() const { return ctx->text_records[ctx->objects[RETRY_WINDOW].text_record].text; }
    void set_text(uint32_t object, const char *text) { tav_copy_st_last_part(text, ctx->objects[object].text); }
    void open(const char *name) { open_definition_file(ed, MAX_WORKING_OBJECTS, MAX_WORKING_STREAMS, name); }

    // Queues a click on the middle of an object, for a dialog to come.
    void click(uint32_t object)
    {
        const tav_object &o = ctx->objects[object];
        push_left_release(o.x + o.w / 2, o.y + o.h / 2);
    }

    // Queues the keys of a number for the lock question, then its button.
    void answer_lock(const char *digits)
    {
        for (const char *c = digits; *c; ++c)
            for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
                SDL_Event e{};
                e.type = type;
                e.key.keysym.sym = SDL_Keycode(*c);
                SDL_PushEvent(&e);
            }
        click(LOCK_QUESTION_BUTTON);
    }

    // The message of a refused open or save, answered with "Quit".
    std::string refused_open(const char *name)
    {
        click(QUIT_BUTTON);
        open(name);
        return message();
    }
    std::string refused_save(const char *name)
    {
        click(QUIT_BUTTON);
        return save_definition_file(ed, name) == 0 ? message() : "saved";
    }
};

}  // namespace

TEST_F(CreatorFiles, OpeningReadsWholeRecordsAndAsksNoQuestionWithoutALock)
{
    ASSERT_TRUE(design(5).write("five.tav", "five.taw"));
    std::vector<uint8_t> bytes = read_file("five.tav");
    bytes.resize(bytes.size() + 100, 0xAB);
    ASSERT_TRUE(write_file("five.tav", bytes));
    click(LOCK_QUESTION_BUTTON);  // would answer a question that must not come
    open("five.tav");
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEBUTTONUP, SDL_MOUSEBUTTONUP), 1);

    EXPECT_EQ(ed.state.file_open, 1);
    EXPECT_STREQ(ed.state.file_name, "five.tav");
    EXPECT_EQ(ed.state.number_of_working_objects, 5u);
    EXPECT_EQ(working(5).x, 50);
    // Nothing independent after the operators: the first object is selected.
    EXPECT_EQ(ed.state.selected_index, index(1));
    EXPECT_EQ(ctx->objects[STAGE_WINDOW].dependents[12], index(1));
}

TEST_F(CreatorFiles, OpeningASmallerDesignEmptiesTheObjectsBeyondIt)
{
    // The new design of 100 objects was drawn in before a file is opened.
    working(80).kind = TAV_KIND_BOX;
    working(80).w = working(80).h = 40;
    ASSERT_TRUE(design(5).write("five.tav", "five.taw"));
    open("five.tav");
    ASSERT_EQ(ed.state.number_of_working_objects, 5u);
    EXPECT_EQ(working(80).kind, 0u);
    EXPECT_EQ(working(80).w, 0);
}

TEST_F(CreatorFiles, LockedDesignOpensOnlyForAThirdOfItsLock)
{
    RawLayout d = design(9);
    d.at(1).set(off::offset_y, 21);
    ASSERT_TRUE(d.write("locked.tav", "locked.taw"));
    answer_lock("6");
    click(NOTICE_BUTTON);  // "Wrong lock number."
    open("locked.tav");
    EXPECT_EQ(ed.state.file_open, 0);
    EXPECT_EQ(ed.state.number_of_working_objects, NEW_DESIGN_OBJECTS) << "a wrong answer loads nothing";

    answer_lock("7");
    open("locked.tav");
    EXPECT_EQ(ed.state.file_open, 1);
    EXPECT_EQ(ed.state.design_lock, 21u);

    // A negative lock never opens: it asks for no number, only says so.
    ed.state.file_open = 0;
    d.at(1).set(off::offset_y, uint32_t(-3));
    ASSERT_TRUE(d.write("negative.tav", "negative.taw"));
    click(NOTICE_BUTTON);
    open("negative.tav");
    EXPECT_EQ(ed.state.file_open, 0);
}

TEST_F(CreatorFiles, TextsAreReadWhenOnlyTheLastObjectHasOne)
{
    RawLayout d = design(10);
    d.at(8).set(off::master, 9);
    d.at(9).dep(0, 8);
    d.at(10).set(off::kind, TAV_KIND_TEXT).set(off::w, 200).set(off::h, 100).set(off::text_record, 1);
    d.texts.emplace_back(10, "Hello");
    ASSERT_TRUE(d.write("texts.tav", "texts.taw"));
    open("texts.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    EXPECT_EQ(working(10).text_record, ctx->text_record_count + 1);
    EXPECT_EQ(working_record(1).owner, index(10));
    EXPECT_STREQ(ctx->line_buffers[ctx->text_record_count + 1].lines[0], "Hello") << "the text is laid out";
    EXPECT_EQ(ed.state.streams_assigned, 1u);
    EXPECT_EQ(working(8).master, index(9));
    EXPECT_EQ(ed.state.selected_index, index(9)) << "the first independent object after the operators";

    // Without its text file nothing is loaded: the design in memory stays
    // whole, never mixed with the objects of the file that failed.
    ed.state.file_open = 0;
    d.at(10).set(off::x, 777);
    ASSERT_TRUE(d.write("lost.tav", "unused.taw"));
    EXPECT_EQ(refused_open("lost.tav"), "Can't open taw-file. Try again or quit ?");
    EXPECT_EQ(ed.state.file_open, 0);
    EXPECT_NE(working(10).x, 777);
    EXPECT_EQ(working(10).text_record, ctx->text_record_count + 1);
    EXPECT_EQ(working_record(1).owner, index(10));
}

TEST_F(CreatorFiles, NamesThatAreNoDesignAreRefusedWithTheirMessage)
{
    for (const char *name : {"abc", "UPPER.TAV", "big.tav"}) ASSERT_TRUE(design(5).write(name, "x.taw"));
    ASSERT_TRUE(write_file("empty.tav", {}));
    EXPECT_EQ(refused_open("abc"), "Error. Select again or quit ?");
    EXPECT_EQ(refused_open("no-such-name.tav"), "Error. Select again or quit ?");
    EXPECT_EQ(refused_open("UPPER.TAV"), "No tav-file. Select again or quit ?");
    EXPECT_EQ(refused_open("empty.tav"), "Error. Select again or quit ?");
    click(QUIT_BUTTON);
    open_definition_file(ed, 4, MAX_WORKING_STREAMS, "big.tav");
    EXPECT_EQ(message(), "Not enough memory. Select again or quit ?");
    EXPECT_EQ(ed.state.number_of_working_objects, NEW_DESIGN_OBJECTS);

    EXPECT_EQ(refused_save(""), "Error. Select again or quit ?");
    EXPECT_EQ(refused_save("tav"), "Error. Select again or quit ?") << "1 to 3 characters are reported too";
    EXPECT_EQ(refused_save("out.TAV"), "No tav-file. Select again or quit ?");
    EXPECT_EQ(files_here(), 4u) << "nothing was written";

    // A folder is entered, with the trace line.
    ASSERT_EQ(mkdir("inner", 0700), 0);
    testing::internal::CaptureStdout();
    open("inner");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "6331 test 0 filename inner \n");
    EXPECT_EQ(files_here(), 0u);
}

TEST_F(CreatorFiles, SavingWritesTheRecordsOfTheDesignAlone)
{
    ed.state.number_of_working_objects = 3;
    working(2).kind = TAV_KIND_IMAGE;
    working(2).font_state = 2;
    working(2).dependents[0] = index(3);
    working(2).dependents[1] = index(50);  // taken away earlier: left out
    working(2).dependents[2] = index(1);
    working(3).kind = TAV_KIND_LABEL;
    working(3).hidden = 1;
    working(3).master = index(2);
    ed.state.design_lock = 12;
    ASSERT_EQ(save_definition_file(ed, "three.tav"), 1);

    const std::vector<uint8_t> tav = read_file("three.tav");
    ASSERT_EQ(tav.size(), 2328u);
    EXPECT_EQ(files_here(), 1u) << "no text file and no temporary file";
    EXPECT_EQ(field(tav, 1, off::offset_y), 12u) << "the lock travels in record 1";
    EXPECT_EQ(field(tav, 2, off::kind), uint32_t(TAV_KIND_IMAGE_FILE));
    EXPECT_EQ(field(tav, 2, off::font_state), 1u);
    EXPECT_EQ(field(tav, 2, off::dependents), 3u);
    EXPECT_EQ(field(tav, 2, off::dependents + 4), 1u);
    EXPECT_EQ(field(tav, 3, off::master), 2u);
    EXPECT_EQ(field(tav, 3, off::hidden), 0u) << "a dependent's hidden flag is not stored";
}

TEST_F(CreatorFiles, StagedObjectsAreSavedWithTheirDesignValues)
{
    // Working object 4 stands on the stage while the others are placed.
    ed.state.number_of_working_objects = 4;
    select_working_object(ed, 4, 0);
    for (uint32_t n = 1; n <= 3; ++n) {
        working(n).kind = n == 1 ? TAV_KIND_WINDOW : TAV_KIND_BOX;
        working(n).x = 100 + 10 * int32_t(n > 1) + 5 * int32_t(n > 2);
        working(n).y = 100 + 20 * int32_t(n > 1) + 5 * int32_t(n > 2);
        // 3 has no width: the stage moves it with its master all the same.
        working(n).w = n == 3 ? 0 : 50, working(n).h = 40;
        if (n > 1) working(n - 1).dependents[0] = index(n), working(n).master = index(n - 1);
    }
    working(2).pinned = 1;
    working(3).border_style = 3;
    const int32_t x[] = {100, 110, 115}, y[] = {100, 120, 125};
    auto expect_design_places = [&](const char *name) {
        const std::vector<uint8_t> tav = read_file(name);
        for (size_t r = 1; r <= 3; ++r) {
            EXPECT_EQ(int32_t(field(tav, r, off::x)), x[r - 1]) << name << " " << r;
            EXPECT_EQ(int32_t(field(tav, r, off::y)), y[r - 1]) << name << " " << r;
            EXPECT_EQ(field(tav, r, off::master), r - 1) << name << " " << r;
        }
        return tav;
    };

    // Normal mode: the dependent 2 and its own dependent 3 stand on the stage.
    select_working_object(ed, 2, 0);
    ASSERT_EQ(save_definition_file(ed, "normal.tav"), 1);
    EXPECT_EQ(field(expect_design_places("normal.tav"), 2, off::pinned), 1u);
    EXPECT_EQ(working(2).x, ctx->objects[STAGE_WINDOW].x + STAGE_LEFT) << "the design stays on the stage";

    // Master mode: the master 1 stands on the stage, 3 wears the marking.
    select_working_object(ed, 3, 0);
    toggle_master_mode(ed, 0);
    ASSERT_EQ(working(1).master, uint32_t(STAGE_WINDOW));
    ASSERT_EQ(save_definition_file(ed, "master.tav"), 1);
    EXPECT_EQ(field(expect_design_places("master.tav"), 3, off::border_style), 3u);
}

TEST_F(CreatorFiles, FailedSaveLeavesTheOldFilesWhole)
{
    RawLayout d = design(3);
    for (uint32_t n = 1; n <= 3; ++n) {
        d.at(n).set(off::kind, TAV_KIND_TEXT).set(off::text_record, n);
        d.texts.emplace_back(n, "text");
    }
    ASSERT_TRUE(d.write("keep.tav", "keep.taw"));
    open("keep.tav");
    ASSERT_EQ(save_definition_file(ed, "keep.tav"), 1);
    const std::vector<uint8_t> old_tav = read_file("keep.tav"), old_taw = read_file("keep.taw");
    working(2).x = 999;

    // Files may not grow past a limit: first the object file, then only the
    // text file cannot be written whole.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    for (rlim_t limit : {rlim_t(1000), rlim_t(2500)}) {
        struct rlimit low = saved;
        low.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
        const std::string refusal = refused_save("keep.tav");
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
        EXPECT_EQ(refusal, limit == 1000 ? "Can't open tav-file. Try again or quit ?"
                                         : "Can't open taw-file. Try again or quit ?");
        EXPECT_EQ(read_file("keep.tav"), old_tav) << limit;
        EXPECT_EQ(read_file("keep.taw"), old_taw) << limit;
        EXPECT_EQ(files_here(), 2u) << "no temporary file is left";
    }
    std::signal(SIGXFSZ, previous);
    ASSERT_EQ(save_definition_file(ed, "keep.tav"), 1);
    EXPECT_EQ(field(read_file("keep.tav"), 2, off::x), 999u);
}

TEST_F(CreatorFiles, SaveKeepsThePairWholeAndWritesThroughLinks)
{
    RawLayout d = design(3);
    d.at(3).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 1);
    d.texts.emplace_back(3, "text");
    ASSERT_TRUE(d.write("pair.tav", "pair.taw"));
    open("pair.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    const std::vector<uint8_t> old_tav = read_file("pair.tav");
    working(2).x = 999;

    // The new object file is in place when the text file turns out not to
    // be replaceable: the old object file must come back.
    ASSERT_EQ(std::remove("pair.taw"), 0);
    ASSERT_EQ(mkdir("pair.taw", 0700), 0);
    ASSERT_TRUE(write_file("pair.taw/inside", {1}));
    EXPECT_EQ(refused_save("pair.tav"), "Can't open taw-file. Try again or quit ?");
    EXPECT_EQ(read_file("pair.tav"), old_tav);
    EXPECT_EQ(files_here(), 2u) << "no temporary file is left";

    // What a killed save left beside the files goes with the next save.
    ASSERT_EQ(std::system("rm -r pair.taw"), 0);
    ASSERT_TRUE(write_file("pair.tav.saving-Ab12Cd", {1, 2}));
    ASSERT_TRUE(write_file("pair.taw.saving-Ef34Gh", {1, 2}));
    ASSERT_EQ(save_definition_file(ed, "pair.tav"), 1);
    EXPECT_EQ(files_here(), 2u);
    EXPECT_EQ(field(read_file("pair.tav"), 2, off::x), 999u);

    // Through links the files they lead to are written; the links stay.
    ASSERT_EQ(symlink("pair.tav", "link.tav"), 0);
    ASSERT_EQ(symlink("pair.taw", "link.taw"), 0);
    working(2).x = 555;
    ASSERT_EQ(save_definition_file(ed, "link.tav"), 1);
    struct stat st;
    ASSERT_EQ(lstat("link.tav", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat("link.taw", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(field(read_file("pair.tav"), 2, off::x), 555u);
    EXPECT_EQ(files_here(), 4u);
}

TEST_F(CreatorFiles, NumbersThatPointOutsideTheDesignCountAsNone)
{
    RawLayout d = design(10);
    d.at(1).set(off::master, 50);
    d.at(2).set(off::master, 3);
    d.at(3).set(off::master, 2);  // a loop of masters
    d.at(4).dep(0, 99).dep(1, 5).dep(2, 4);  // beyond, fine, itself
    d.at(5).dep(0, 6);
    d.at(6).dep(0, 5);  // a cycle of lists
    d.at(6).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 100000);  // beyond the room for texts
    d.at(7).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 7);  // missing from the text file
    d.at(8).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 1);
    d.at(9).str(off::text, std::string(TAV_SHORT_TEXT_SIZE, 'x'));
    d.texts.emplace_back(8, "");
    ASSERT_TRUE(d.write("bad.tav", "bad.taw"));
    click(NOTICE_BUTTON);  // "2 texts missing from the taw-file."
    open("bad.tav");
    ASSERT_EQ(ed.state.file_open, 1);

    EXPECT_EQ(working(1).master, 0u);
    EXPECT_TRUE(working(2).master == 0 || working(3).master == 0);
    EXPECT_EQ(working(4).dependents[0], index(5));
    EXPECT_EQ(working(4).dependents[1], 0u);
    EXPECT_TRUE(working(5).dependents[0] == 0 || working(6).dependents[0] == 0);
    EXPECT_EQ(working(6).text_record, 0u);
    EXPECT_EQ(working(7).text_record, ctx->text_record_count + 7) << "kept, with an empty text";
    EXPECT_STREQ(working_record(7).text, "");
    EXPECT_EQ(working(8).text_record, ctx->text_record_count + 1);
    EXPECT_EQ(std::strlen(working(9).text), size_t(TAV_SHORT_TEXT_SIZE - 1));
    // Every walk over the design ends.
    for (uint32_t n = 1; n <= 10; ++n) {
        select_working_object(ed, n, 1);
        tav_update_dep_objs_after_move(ctx, index(n), 1, 1);
    }
    EXPECT_EQ(save_definition_file(ed, "bad.tav"), 1);
}

// Coordinates at the ends of the 32-bit range: selecting, staging in both
// modes, centring, undoing and applying the geometry form wrap around like
// the library instead of overflowing, and a save without edits gives the
// design's places back.
TEST_F(CreatorFiles, DesignAtTheEndsOfTheRangeIsEditedWithoutOverflow)
{
    const uint32_t lo = uint32_t(INT32_MIN), hi = uint32_t(INT32_MAX);
    RawLayout d = design(12);
    d.at(8).set(off::kind, TAV_KIND_WINDOW).set(off::x, hi - 10).set(off::y, lo + 5).set(off::w, hi)
        .set(off::h, hi).dep(0, 9).dep(1, 10);
    d.at(9).set(off::master, 8).set(off::x, lo).set(off::y, hi).set(off::w, hi).set(off::h, 100);
    d.at(10).set(off::kind, TAV_KIND_ENTRY).set(off::master, 8).set(off::x, hi).set(off::y, lo).set(off::w, lo)
        .set(off::h, hi).set(off::editable, 1);
    d.at(11).set(off::x, lo).set(off::y, lo).set(off::w, hi).set(off::h, hi);
    d.at(12).set(off::x, hi).set(off::y, hi).set(off::w, lo).set(off::h, lo);
    ASSERT_TRUE(d.write("edge.tav", "edge.taw"));
    open("edge.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    const std::vector<uint8_t> before = read_file("edge.tav");

    for (uint32_t n : {8u, 9u, 10u, 11u, 12u, 9u}) {
        select_working_object(ed, n, 1);
        toggle_master_mode(ed, 1);
        redraw(ed);
        toggle_master_mode(ed, 1);
    }
    ASSERT_EQ(save_definition_file(ed, "same.tav"), 1);
    const std::vector<uint8_t> after = read_file("same.tav");
    ASSERT_EQ(after.size(), before.size());
    for (size_t r = 1; r <= 12; ++r)
        for (int offset : {off::x, off::y, off::w, off::h})
            EXPECT_EQ(field(after, r, offset), field(before, r, offset)) << r << " " << offset;

    for (uint32_t n : {9u, 10u, 12u}) {
        select_working_object(ed, n, 1);
        for (int mode = 0; mode < 2; ++mode) {
            centre_in_master(ed);
            undo_move(ed);
            load_and_show_form(ed, GEOMETRY_FORM);
            apply_form(ed, GEOMETRY_FORM);
            toggle_master_mode(ed, 1);
        }
        erase_object(ed, index(n), 0);
    }
    EXPECT_EQ(save_definition_file(ed, "edited.tav"), 1);
}

TEST_F(CreatorFiles, WhatIsSavedAfterOpeningABadPairPassesTheCheck)
{
    RawLayout d = design(12);
    d.at(8).set(off::kind, 11).set(off::font_state, uint32_t(-1));
    d.at(9).set(off::kind, TAV_KIND_IMAGE).set(off::font_state, 2).set(off::font_size, 12)
        .str(off::font_file, "../DroidSans.ttf");
    d.at(10).set(off::kind, TAV_KIND_WINDOW).dep(0, 11).dep(1, 12).dep(2, 11).dep(4, 9);  // 11 twice, 9 after a 0
    d.at(11).set(off::master, 10);
    d.at(12).set(off::master, 9);       // named by 10's list, names 9 as master
    d.at(2).set(off::master, 10);       // names 10, which does not list it
    d.at(3).dep(0, 4);                  // 4 names no master
    d.at(5).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 1);
    d.at(6).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 1);  // shares 5's record
    d.at(7).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 2);
    d.texts.emplace_back(6, "first");   // owner names the wrong object
    d.texts.emplace_back(40, "second"); // owner beyond the design
    d.texts.emplace_back(7, "third");   // no object shows it
    ASSERT_TRUE(d.write("bad.tav", "bad.taw"));
    const std::string tool = "'" + std::string(TAVRIN_TOOLS_DIR) + "/tavrin_layout' ";
    ASSERT_NE(std::system((tool + "check bad.tav bad.taw > /dev/null").c_str()), 0);

    testing::internal::CaptureStderr();
    open("bad.tav");
    const std::string reports = testing::internal::GetCapturedStderr();
    ASSERT_EQ(ed.state.file_open, 1);
    EXPECT_NE(reports.find("bad.tav: object 8: kind"), std::string::npos) << reports;
    EXPECT_NE(reports.find("bad.taw: text record 1: owner"), std::string::npos) << reports;
    EXPECT_EQ(working(8).kind, uint32_t(TAV_KIND_EMPTY));
    EXPECT_EQ(working(9).kind, uint32_t(TAV_KIND_IMAGE_FILE));
    EXPECT_EQ(working(9).font_state, 2) << "a stored 2 is a font to open";
    EXPECT_EQ(working(10).dependents[0], index(11));
    EXPECT_EQ(working(10).dependents[1], index(2));
    EXPECT_EQ(working(10).dependents[2], 0u);
    EXPECT_EQ(working(10).dependents[4], 0u);
    EXPECT_EQ(working(12).master, index(9));
    EXPECT_EQ(working(9).dependents[0], index(12));
    EXPECT_EQ(working(4).master, index(3));
    EXPECT_EQ(working(6).text_record, 0u);
    ASSERT_EQ(save_definition_file(ed, "good.tav"), 1);
    std::string problems;
    {
        testing::internal::CaptureStdout();
        const int status = std::system((tool + "check good.tav good.taw").c_str());
        problems = testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, 0) << problems;
    }
    // The repaired pair opens without a repair and saves unchanged.
    click(YES_BUTTON);
    close_definition_file(ed);
    testing::internal::CaptureStderr();
    open("good.tav");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(save_definition_file(ed, "again.tav"), 1);
    EXPECT_EQ(read_file("good.tav"), read_file("again.tav"));
    EXPECT_EQ(read_file("good.taw"), read_file("again.taw"));
}

TEST_F(CreatorFiles, ObjectsShareTheirFontsAndTooManyFontsAreSaidAtOpening)
{
    // Twenty objects name one file and size, twenty more a size each.
    RawLayout d = design(40);
    for (uint32_t n = 1; n <= 40; ++n)
        d.at(n).set(off::kind, TAV_KIND_LABEL).set(off::font_state, 1).set(off::font_size, n <= 20 ? 12 : n)
            .str(off::font_file, "../DroidSans.ttf");
    ASSERT_TRUE(d.write("fonts.tav", "fonts.taw"));
    open("fonts.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    for (uint32_t n = 1; n <= 40; ++n) ASSERT_EQ(working(n).font_state, 2) << n;
    EXPECT_NE(working(1).own_font, nullptr);
    for (uint32_t n = 2; n <= 20; ++n) EXPECT_EQ(working(n).own_font, working(1).own_font) << n;
    EXPECT_NE(working(21).own_font, working(1).own_font);
    EXPECT_NE(working(21).own_font, working(22).own_font);
    click(YES_BUTTON);
    close_definition_file(ed);  // each shared font is closed once

    // With few descriptors left, the fonts that would take the last ones
    // stay unopened and the opening says so; saving still works.
    RawLayout many = design(60);
    for (uint32_t n = 1; n <= 60; ++n)
        many.at(n).set(off::kind, TAV_KIND_LABEL).set(off::font_state, 1).set(off::font_size, 10 + n)
            .str(off::font_file, "../DroidSans.ttf");
    ASSERT_TRUE(many.write("many.tav", "many.taw"));
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit low = saved;
    low.rlim_cur = rlim_t(open_descriptors() + 30);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    click(NOTICE_BUTTON);
    click(QUIT_BUTTON);  // answers a failed save, should there be one
    open("many.tav");
    const int32_t saved_result = save_definition_file(ed, "many-saved.tav");
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    EXPECT_EQ(ed.state.file_open, 1);
    EXPECT_EQ(std::string(ctx->text_records[ctx->objects[NOTICE_WINDOW].text_record].text), "Too many fonts open");
    EXPECT_EQ(working(1).font_state, 2);
    EXPECT_EQ(working(60).font_state, 1);
    EXPECT_EQ(saved_result, 1);
    const std::vector<uint8_t> tav = read_file("many-saved.tav");
    ASSERT_EQ(tav.size(), 60u * TAV_OBJECT_RECORD_SIZE);
    EXPECT_EQ(field(tav, 60, off::font_state), 1u);
    click(YES_BUTTON);
    close_definition_file(ed);
}

TEST_F(CreatorFiles, ClosingEmptiesTheDesignAndTheStage)
{
    RawLayout d = design(9);
    d.at(9).set(off::kind, TAV_KIND_TEXT).set(off::text_record, 1);
    d.texts.emplace_back(9, "gone");
    ASSERT_TRUE(d.write("close.tav", "close.taw"));
    open("close.tav");
    open_window(ed, STAGE_WINDOW);
    click(NO_BUTTON);
    close_definition_file(ed);
    EXPECT_EQ(ed.state.file_open, 1) << "No keeps the design";

    click(YES_BUTTON);
    close_definition_file(ed);
    EXPECT_EQ(ed.state.file_open, 0);
    EXPECT_EQ(ed.state.number_of_working_objects, NEW_DESIGN_OBJECTS);
    EXPECT_EQ(ed.state.selected_index, 0u);
    EXPECT_EQ(ctx->objects[STAGE_WINDOW].hidden, 1);
    for (uint32_t entry : ctx->objects[STAGE_WINDOW].dependents)
        EXPECT_LE(entry, ctx->object_count) << "the stage shows no design object";
    for (uint32_t n = 1; n <= 9; ++n) EXPECT_TRUE(working(n).w == 0 && working(n).text_record == 0) << n;
    EXPECT_EQ(working_record(1).owner, 0u);
    EXPECT_STREQ(working_record(1).text, "");
}

TEST_F(CreatorFiles, TakingAwayKeepsOneObjectAndASelectionInsideTheDesign)
{
    for (const char *typed : {"5", "3"}) {
        ed.state.number_of_working_objects = 3;
        select_working_object(ed, 3, 0);
        set_text(TAKE_AWAY_FIELD, typed);
        click(YES_BUTTON);
        take_away_working_objects(ed);
        EXPECT_EQ(ed.state.number_of_working_objects, 1u) << typed;
        EXPECT_EQ(ed.state.selected_index, index(1)) << typed;
        EXPECT_EQ(working(3).master, 0u) << "the object that left is off the stage";
    }
    ed.state.number_of_working_objects = 3;
    set_text(TAKE_AWAY_FIELD, "1");
    click(NO_BUTTON);
    take_away_working_objects(ed);
    EXPECT_EQ(ed.state.number_of_working_objects, 3u);
}

// A layout source with every field that a design keeps, packed by the tool,
// opened, saved, opened and saved again. The source holds what laying out
// the texts writes into objects (text lengths, a label too small to centre),
// so that the saved files show the same objects.
TEST_F(CreatorFiles, RoundTripKeepsEveryFieldOfTheDesign)
{
    std::ofstream("source.json") << R"({
  "object_count": 13,
  "objects": {
    "1": {"kind": "label", "w": 16, "h": 16, "offset_y": 21},
    "8": {"kind": "window", "x": 40, "y": 50, "w": 400, "h": 300, "fill": [250, 251, 252],
          "text_colour": [1, 2, 3], "margin_left": 12, "margin_right": 13, "margin_top": 36,
          "margin_bottom": 14, "line_spacing": 2, "line_width": 370, "text_format": 1, "border_style": 4,
          "border_distance": 2, "border_colour": [60, 64, 78], "window_style": 1, "hidden": 1,
          "scroll_extent_w": 800, "scroll_extent_h": 900, "text_record": 1, "text_length": 11},
    "9": {"kind": "entry_field", "master": 8, "x": 60, "y": 100, "w": 120, "h": 22, "editable": 1,
          "text": "Entry", "text_length": 5, "capacity": 20, "font_state": 1, "font_size": 14,
          "font_file": "../DroidSans.ttf"},
    "10": {"kind": "image", "master": 8, "x": 60, "y": 140, "w": 10, "h": 10, "image_file": "missing.png",
           "pinned": 1},
    "11": {"kind": "box", "master": 8, "x": 200, "y": 140, "w": 30, "h": 30, "hidden": 1},
    "12": {"kind": "text_field", "master": 8, "x": 60, "y": 200, "w": 200, "h": 60, "text_record": 2,
           "line_width": 190, "text_length": 9},
    "13": {"kind": "label", "x": 500, "y": 50, "w": 20, "h": 10, "text": "Too long to centre"}
  },
  "texts": {
    "1": {"owner": 8, "text": "Window text"},
    "2": {"owner": 12, "cursor_position": 3, "text": "Two\nlines"}
  }
})";
    const std::string tool = "'" + std::string(TAVRIN_TOOLS_DIR) + "/tavrin_layout' ";
    ASSERT_EQ(std::system((tool + "pack source.json source.tav source.taw > /dev/null").c_str()), 0);

    answer_lock("7");
    open("source.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    EXPECT_EQ(working(9).font_state, 2) << "the own font is open";
    EXPECT_EQ(ed.state.selected_index, index(8));
    const uint32_t owner = working_record(2).owner;
    ASSERT_EQ(save_definition_file(ed, "first.tav"), 1);
    EXPECT_EQ(working_record(2).owner, owner) << "owners are object indices again after saving";

    click(YES_BUTTON);
    close_definition_file(ed);
    answer_lock("7");
    open("first.tav");
    ASSERT_EQ(ed.state.file_open, 1);
    ASSERT_EQ(save_definition_file(ed, "second.tav"), 1);
    EXPECT_EQ(read_file("first.tav"), read_file("second.tav"));
    EXPECT_EQ(read_file("first.taw"), read_file("second.taw"));

    auto unpack = [&](const std::string &name) {
        EXPECT_EQ(std::system((tool + "unpack " + name + ".tav " + name + ".taw > " + name + ".json").c_str()), 0);
        const std::vector<uint8_t> bytes = read_file(name + ".json");
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string source = unpack("source");
    EXPECT_NE(source.find("Two\\nlines"), std::string::npos) << source;
    EXPECT_EQ(unpack("first"), source);
    click(YES_BUTTON);
    close_definition_file(ed);  // closes the design's font
    EXPECT_EQ(working(9).own_font, nullptr);
}

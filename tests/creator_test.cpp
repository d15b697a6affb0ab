// The layout editor's dispatcher without a display: the file selector's
// entries and captions, the search through a master's dependents, the lock
// number, a button release handled once by the event loop, and the preview
// ending on a release.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "creator.h"
#include "support/creator_fixture.h"
#include "support/harness.h"

using namespace tavtest;
using namespace creator;

namespace {

constexpr uint32_t LAYOUT_OBJECTS = 440;

// The parts of the editor's layout that the tests press: the file selector
// with three rows, the lock window and everything else as empty slots up to
// LAYOUT_OBJECTS.
RawLayout editor_layout()
{
    RawLayout layout;
    std::map<uint32_t, int> slots;  // next free dependents entry of each master
    while (layout.objects.size() < LAYOUT_OBJECTS) layout.add(TAV_KIND_EMPTY);
    auto window = [&](uint32_t n, int x, int y) {
        layout.at(n).set(off::kind, TAV_KIND_WINDOW).set(off::x, x).set(off::y, y).set(off::w, 400).set(off::h, 300);
        layout.at(n).set(off::hidden, 1);
    };
    // Layout files list a master's dependents themselves.
    auto member = [&](uint32_t n, uint32_t kind, uint32_t master, int x, int y) -> RawObject & {
        layout.at(master).dep(slots[master]++, n);
        return layout.at(n).set(off::kind, kind).set(off::master, master).set(off::x, x).set(off::y, y)
            .set(off::w, 80).set(off::h, 20);
    };
    window(SELECTOR_WINDOW, 100, 100);
    member(SELECTOR_LIST, TAV_KIND_BOX, SELECTOR_WINDOW, 110, 200).set(off::w, 300).set(off::h, 150);
    member(SELECTOR_NAME, TAV_KIND_ENTRY, SELECTOR_WINDOW, 110, 140).set(off::editable, 1);
    member(SELECTOR_ACTION, TAV_KIND_LABEL, SELECTOR_WINDOW, 250, 140).str(off::text, "Open");
    member(SELECTOR_CANCEL, TAV_KIND_LABEL, SELECTOR_WINDOW, 340, 140);
    member(DIRECTORY_LABEL, TAV_KIND_LABEL, SELECTOR_WINDOW, 110, 170);
    for (uint32_t row = 431; row <= 433; ++row) member(row, TAV_KIND_LABEL, SELECTOR_LIST, 112, 200 + 23 * int(row - 431));
    window(LOCK_WINDOW, 100, 100);
    member(LOCK_FIELD, TAV_KIND_NUMBER, LOCK_WINDOW, 120, 150).set(off::editable, 1);
    member(LOCK_BUTTON, TAV_KIND_LABEL, LOCK_WINDOW, 220, 150);
    return layout;
}

class Creator : public CreatorFixture {
protected:

    void SetUp() override
    {
        start_editor(editor_layout());
    }

    void open(uint32_t window)
    {
        ctx->decided_object = window;
        tav_activate_window(ctx);
    }

    void release_on(uint32_t object)
    {
        ctx->decided_object = object;
        on_left_release(ed);
    }

    std::string text_of(uint32_t object) const { return ctx->objects[object].text; }
    void set_text(uint32_t object, const char *text) { tav_copy_st_last_part(text, ctx->objects[object].text); }
    tav_object &working(uint32_t number) { return ctx->objects[ctx->object_count + number]; }
};

std::string working_directory()
{
    char here[4096] = "";
    if (!getcwd(here, sizeof here)) ADD_FAILURE() << "getcwd";
    return here;
}

}  // namespace

TEST(CreatorSelector, CaptionFollowsTheEntryAndThePurpose)
{
    for (int32_t purpose : {PURPOSE_OPEN, PURPOSE_SAVE, PURPOSE_IMAGE, PURPOSE_FONT})
        EXPECT_STREQ(entry_caption(TAV_FILE_DIRECTORY, purpose), "Open Dir") << purpose;
    EXPECT_STREQ(entry_caption(TAV_FILE_REGULAR, PURPOSE_OPEN), "Load");
    EXPECT_STREQ(entry_caption(TAV_FILE_REGULAR, PURPOSE_IMAGE), "Load");
    EXPECT_STREQ(entry_caption(TAV_FILE_REGULAR, PURPOSE_FONT), "Load");
    EXPECT_STREQ(entry_caption(TAV_FILE_REGULAR, PURPOSE_SAVE), "Save");
    // Neither a file nor a folder (or gone): the caption stays as it is.
    EXPECT_EQ(entry_caption(TAV_FILE_OTHER, PURPOSE_OPEN), nullptr);
    EXPECT_EQ(entry_caption(TAV_FILE_REGULAR, PURPOSE_NONE), nullptr);
}

TEST_F(Creator, SelectorEntryPreparesTheActionWithoutActing)
{
    const std::string dir = temp_name("_dir"), file = temp_name(".tav");
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    ASSERT_TRUE(write_file(file, {1, 2, 3}));
    set_text(431, dir.c_str());
    set_text(432, file.c_str());
    set_text(433, "no such name");
    const std::string home = working_directory();
    open(SELECTOR_WINDOW);

    ed.state.selector_purpose = PURPOSE_OPEN;
    release_on(431);
    EXPECT_EQ(text_of(SELECTOR_ACTION), "Open Dir");
    EXPECT_EQ(text_of(SELECTOR_NAME), dir);
    EXPECT_EQ(ctx->objects[SELECTOR_NAME].text_length, int32_t(dir.size()));
    EXPECT_EQ(working_directory(), home) << "pressing a folder entry must not enter it";

    release_on(432);
    EXPECT_EQ(text_of(SELECTOR_ACTION), "Load");
    ed.state.selector_purpose = PURPOSE_SAVE;
    release_on(432);
    EXPECT_EQ(text_of(SELECTOR_ACTION), "Save");
    release_on(433);
    EXPECT_EQ(text_of(SELECTOR_ACTION), "Save");
    EXPECT_EQ(text_of(SELECTOR_NAME), "no such name");

    // Entries are read up to the first empty slot of the list.
    ctx->objects[SELECTOR_LIST].dependents[1] = 0;
    set_text(SELECTOR_NAME, "kept");
    release_on(433);
    EXPECT_EQ(text_of(SELECTOR_NAME), "kept");
    EXPECT_EQ(entry_index(ed, SELECTOR_LIST, 0), -1);

    // Cancel closes the selector.
    EXPECT_EQ(ctx->active_window, uint32_t(SELECTOR_WINDOW));
    release_on(SELECTOR_CANCEL);
    EXPECT_NE(ctx->active_window, uint32_t(SELECTOR_WINDOW));
    std::remove(file.c_str());
    rmdir(dir.c_str());
}

TEST_F(Creator, SelectorOnlyActsWhileItIsOnTop)
{
    set_text(431, ".");
    ed.state.selector_purpose = PURPOSE_OPEN;
    release_on(431);
    EXPECT_EQ(text_of(SELECTOR_ACTION), "Open");
    EXPECT_EQ(text_of(SELECTOR_NAME), "");
}

TEST_F(Creator, DispatchFindsObjectsDeepInAMastersTree)
{
    const uint32_t base = ctx->object_count;
    // Working object 1 holds 2 and, past an empty slot, 3; 3 holds 4.
    working(1).dependents[0] = base + 2;
    working(1).dependents[2] = base + 3;
    working(3).dependents[0] = base + 4;
    auto found = [&](uint32_t number) {
        ctx->decided_object = base + number;
        return is_in_dependents_tree(ed, base + 1);
    };
    EXPECT_EQ(found(2), 1);
    EXPECT_EQ(found(3), 1);
    EXPECT_EQ(found(4), 1);
    EXPECT_EQ(found(1), 0) << "the master itself is not in its tree";
    EXPECT_EQ(found(5), 0);

    // A damaged design whose dependents lead back to the master: the search
    // ends anyway.
    working(4).dependents[0] = base + 1;
    EXPECT_EQ(found(5), 0);
    // Numbers beyond the object array are skipped.
    working(2).dependents[0] = 0xFFFFFFF0u;
    EXPECT_EQ(found(5), 0);

    // In master mode a press inside the staged master selects what it hit.
    ed.state.master_mode = 1;
    ed.state.selected_master = base + 1;
    release_on(base + 4);
    EXPECT_EQ(ed.state.selected_number, 4u);
}

TEST_F(Creator, DispatchLockNumberFieldStartsEmptyAndIsStoredTimesThree)
{
    ed.state.design_lock = 22;
    set_text(LOCK_FIELD, "7");
    menu_choice(ed, MENU_LOCK, ITEM_LOCK);
    EXPECT_EQ(ctx->active_window, uint32_t(LOCK_WINDOW));
    // Empty, so that a typed number is not put in front of a shown one.
    EXPECT_EQ(text_of(LOCK_FIELD), "");

    set_text(LOCK_FIELD, "7");
    release_on(LOCK_BUTTON);
    EXPECT_EQ(ed.state.design_lock, 21u);
    EXPECT_NE(ctx->active_window, uint32_t(LOCK_WINDOW));

    // A third whose triple would not fit the file's signed slot would lock
    // the design for good: it is not taken.
    open(LOCK_WINDOW);
    set_text(LOCK_FIELD, "715827883");
    release_on(LOCK_BUTTON);
    EXPECT_EQ(ed.state.design_lock, 21u);
    EXPECT_EQ(text_of(LOCK_FIELD), "7");
    EXPECT_EQ(ctx->active_window, uint32_t(LOCK_WINDOW));
    set_text(LOCK_FIELD, "715827882");
    release_on(LOCK_BUTTON);
    EXPECT_EQ(ed.state.design_lock, 2147483646u);

    // Without working objects the menu entry does nothing.
    ed.state.number_of_working_objects = 0;
    ed.state.design_lock = 3;
    set_text(LOCK_FIELD, "");
    menu_choice(ed, MENU_LOCK, ITEM_LOCK);
    EXPECT_NE(ctx->active_window, uint32_t(LOCK_WINDOW));
    EXPECT_EQ(text_of(LOCK_FIELD), "");
}

TEST_F(Creator, LoopHandlesAReleaseOnce)
{
    tav_draw_all_objects(ctx, 1, 0);
    open(LOCK_WINDOW);
    tav_draw_all_objects(ctx, 1, 0);
    set_text(LOCK_FIELD, "5");
    const tav_object &button = ctx->objects[LOCK_BUTTON];
    SDL_Event &e = ctx->event;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_RELEASED;
    e.button.x = button.x + 5;
    e.button.y = button.y + 5;

    Loop loop;
    loop.left.held = true;
    handle_event(ed, loop);
    EXPECT_EQ(ed.state.design_lock, 15u);
    EXPECT_FALSE(loop.left.held);
    EXPECT_EQ(e.type, 0u);
    EXPECT_EQ(ctx->decided_object, 0u);

    // The next pass sees the same event again when nothing new came: it must
    // not press the button a second time.
    open(LOCK_WINDOW);
    set_text(LOCK_FIELD, "9");
    handle_event(ed, loop);
    EXPECT_EQ(ed.state.design_lock, 15u);
    EXPECT_EQ(ctx->active_window, uint32_t(LOCK_WINDOW));

    // A right release while not in master mode does nothing either.
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_RIGHT;
    handle_event(ed, loop);
    EXPECT_EQ(ctx->active_window, uint32_t(LOCK_WINDOW));
    EXPECT_EQ(e.type, 0u);
}

TEST_F(Creator, PreviewShowsTheDesignUntilARelease)
{
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    const uint32_t editor_objects = ctx->object_count;
    working(8).kind = TAV_KIND_BOX;
    working(8).x = 600, working(8).y = 400, working(8).w = 40, working(8).h = 40;
    working(8).fill_r = 255;
    auto push = [](uint32_t type) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        SDL_PushEvent(&e);
    };
    push(SDL_KEYDOWN);
    push(SDL_MOUSEBUTTONDOWN);
    push(SDL_MOUSEBUTTONUP);
    push(SDL_USEREVENT);
    preview_design(ed);

    EXPECT_EQ(ctx->object_count, editor_objects);
    // The editor is drawn again: the design's box is gone.
    EXPECT_EQ(screen.pixel(620, 420), 0xF0F0F0u);
    // What came before the release belonged to the preview; what came after
    // is left for the editor.
    SDL_Event next;
    ASSERT_EQ(SDL_PollEvent(&next), 1);
    EXPECT_EQ(next.type, uint32_t(SDL_USEREVENT));
}

TEST_F(Creator, FirstKeyInANumberFieldReplacesWhatItShowed)
{
    Loop loop;
    auto key = [&](SDL_Keycode code) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event &e = ctx->event;
            std::memset(&e, 0, sizeof e);
            e.type = e.key.type = type;
            e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = code;
            handle_event(ed, loop);
        }
    };
    auto type = [&](const char *digits) {
        for (const char *c = digits; *c; ++c) key(SDL_Keycode(*c));
    };
    ctx->objects[LOCK_FIELD].capacity = 4;
    set_text(LOCK_FIELD, "0000");
    open(LOCK_WINDOW);
    ASSERT_EQ(ctx->cursor_object, uint32_t(LOCK_FIELD));

    // The field arrived full; the first key clears it, the next ones add.
    type("120");
    EXPECT_EQ(text_of(LOCK_FIELD), "120");
    key(SDLK_BACKSPACE);
    type("5");
    EXPECT_EQ(text_of(LOCK_FIELD), "125");

    // The program writes the field again (an apply shows it padded): the
    // next key starts afresh.
    set_text(LOCK_FIELD, "0125");
    type("7");
    EXPECT_EQ(text_of(LOCK_FIELD), "7");

    // The cursor leaves and comes back: afresh again, also for Delete.
    ctx->cursor_object = 0;
    handle_event(ed, loop);
    ctx->cursor_object = LOCK_FIELD;
    key(SDLK_DELETE);
    EXPECT_EQ(text_of(LOCK_FIELD), "");
    type("42");
    EXPECT_EQ(text_of(LOCK_FIELD), "42");

    // Text fields are edited in place.
    open(SELECTOR_WINDOW);
    ctx->cursor_object = SELECTOR_NAME;
    set_text(SELECTOR_NAME, "ab");
    tav_reset_textobject(ctx, 0, SELECTOR_NAME);
    ctx->objects[SELECTOR_NAME].capacity = 60;
    type("1");
    EXPECT_EQ(text_of(SELECTOR_NAME), "1ab");
}

// The line editor on entry fields and record texts: keys are queued as SDL
// events and go through decoding and tav_get_text as in an application.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/harness.h"
#include "support/keys.h"

using namespace tavtest;

namespace {

constexpr uint32_t kWindow = 8, kEntry = 9, kRecord = 10;

struct Area {
    int32_t left, right, top, bottom;
};

// A window holding an entry field (9) and a text field (10) with record 1.
class EditScreen : public Screen {
public:
    explicit EditScreen(const std::string &entry_text = "", const std::string &record_text = "",
                        uint32_t entry_kind = TAV_KIND_ENTRY, int entry_w = 150, int record_h = 150)
        : Screen(480, 360)
    {
        RawLayout layout;
        layout.add(TAV_KIND_WINDOW).set(off::x, 20).set(off::y, 40).set(off::w, 440).set(off::h, 300)
            .set(off::fill_r, 200).set(off::fill_g, 200).set(off::fill_b, 200).dep(0, kEntry).dep(1, kRecord);
        layout.add(entry_kind).set(off::x, 30).set(off::y, 60).set(off::w, uint32_t(entry_w)).set(off::h, 20)
            .set(off::margin_left, 3).set(off::margin_right, 3).set(off::margin_top, 2).set(off::margin_bottom, 2)
            .set(off::fill_r, 255).set(off::fill_g, 255).set(off::fill_b, 255)
            .set(off::editable, 1).set(off::capacity, 64).set(off::master, kWindow).str(off::text, entry_text);
        layout.add(TAV_KIND_TEXT).set(off::x, 30).set(off::y, 100).set(off::w, 300).set(off::h, uint32_t(record_h))
            .set(off::margin_left, 4).set(off::margin_right, 4).set(off::margin_top, 4).set(off::margin_bottom, 4)
            .set(off::fill_r, 255).set(off::fill_g, 255).set(off::fill_b, 255)
            .set(off::editable, 1).set(off::text_record, 1).set(off::master, kWindow);
        layout.texts.emplace_back(kRecord, record_text);
        start(layout);
        open_font(12);
        ctx->decided_object = kWindow;
        tav_activate_window(ctx);
        tav_draw_all_objects(ctx, 1, 0);
    }

    tav_object &obj(uint32_t n) { return ctx->objects[n]; }
    tav_text_record &record() { return ctx->text_records[1]; }
    const char *line(int j) { return ctx->line_buffers[1].lines[j]; }

    // Gives an object the cursor at the start of its text.
    void focus(uint32_t n)
    {
        ctx->cursor_object = n;
        tav_reset_textobject(ctx, n == kRecord ? 1 : 0, n);
    }

    // Puts the record's cursor at a text index.
    void at_position(int32_t p)
    {
        record().cursor_position = p;
        tav_get_column_row(ctx);
    }

    Area area(uint32_t n)
    {
        Area a{};
        tav_get_borders_for_text(ctx, n, &a.left, &a.right, &a.top, &a.bottom);
        return a;
    }

    int width(const std::string &s)
    {
        int w = 0, h = 0;
        if (!s.empty()) TTF_SizeText(ctx->font, s.c_str(), &w, &h);
        return w;
    }

    int line_height(uint32_t n) { return TTF_FontHeight(ctx->font) + obj(n).line_spacing; }

    // Screen x where the cursor of an entry field belongs.
    int32_t entry_x()
    {
        const tav_object &o = obj(kEntry);
        return area(kEntry).left + 1 + o.offset_x + width(std::string(o.text, o.cursor_column));
    }
};

}  // namespace

TEST(EditingEntry, CapacityFiveInInsertAndOverwriteMode)
{
    EditScreen s("abcde");
    s.obj(kEntry).capacity = 5;
    s.focus(kEntry);
    for (int i = 0; i < 5; ++i) press(s.ctx, SDLK_RIGHT);
    type(s.ctx, "f");
    EXPECT_STREQ(s.obj(kEntry).text, "abcde");
    EXPECT_EQ(s.obj(kEntry).cursor_column, 5u);
    EXPECT_EQ(s.ctx->key, 0u) << "a refused key is consumed";

    press(s.ctx, SDLK_INSERT);
    EXPECT_EQ(s.ctx->overwrite_mode, 1);
    for (int i = 0; i < 3; ++i) press(s.ctx, SDLK_LEFT);
    type(s.ctx, "x");
    EXPECT_STREQ(s.obj(kEntry).text, "abxde");
    EXPECT_EQ(s.obj(kEntry).cursor_column, 3u);
    EXPECT_EQ(s.obj(kEntry).text_length, 5);
}

TEST(EditingEntry, OverwriteAppendsAtTheEnd)
{
    EditScreen s("ab");
    s.ctx->overwrite_mode = 1;
    s.focus(kEntry);
    press(s.ctx, SDLK_RIGHT);
    type(s.ctx, "x");
    EXPECT_STREQ(s.obj(kEntry).text, "ax");
    EXPECT_EQ(s.obj(kEntry).cursor_column, 2u);
    type(s.ctx, "y");
    EXPECT_STREQ(s.obj(kEntry).text, "axy");
    EXPECT_EQ(s.obj(kEntry).text_length, 3);
    EXPECT_EQ(s.obj(kEntry).cursor_x, s.entry_x());
}

// Keys with nothing to do change no text but still redraw and show the window.
TEST(EditingEntry, KeysWithoutEffectStillRedraw)
{
    EditScreen s("abc", "one\n\ntwo");
    s.focus(kEntry);
    const struct {
        uint32_t object;
        SDL_Keycode key;
        int moves_right;
    } cases[] = {
        {kEntry, SDLK_BACKSPACE, 0}, {kEntry, SDLK_LEFT, 0}, {kEntry, SDLK_DELETE, 3},
        {kEntry, SDLK_RIGHT, 3},     {kEntry, SDLK_RETURN, 1}, {kEntry, SDLK_UP, 1},
        {kRecord, SDLK_BACKSPACE, 0}, {kRecord, SDLK_LEFT, 0},
    };
    for (const auto &c : cases) {
        s.focus(c.object);
        for (int i = 0; i < c.moves_right; ++i) press(s.ctx, SDLK_RIGHT);
        const tav_object before = s.obj(c.object);
        SDL_FillRect(s.ctx->screen, nullptr, 0);
        press(s.ctx, c.key);
        EXPECT_STREQ(s.obj(kEntry).text, "abc");
        EXPECT_STREQ(s.record().text, "one\n\ntwo");
        EXPECT_EQ(s.obj(c.object).cursor_column, before.cursor_column) << c.key;
        EXPECT_EQ(s.obj(c.object).cursor_x, before.cursor_x) << c.key;
        EXPECT_EQ(s.pixel(25, 300), 0xC8C8C8u) << "window redrawn after key " << c.key;
    }
    // Right on the empty row between the two lines does nothing.
    s.focus(kRecord);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    press(s.ctx, SDLK_RIGHT);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 0u);
}

TEST(EditingEntry, TypingPastTheRightBorderScrollsAndBackspaceScrollsBack)
{
    EditScreen s("", "", TAV_KIND_ENTRY, 60);
    s.focus(kEntry);
    const Area a = s.area(kEntry);
    std::string typed;
    bool scrolled = false;
    for (int i = 0; i < 20; ++i) {
        const int32_t cursor_before = s.obj(kEntry).cursor_x, offset_before = s.obj(kEntry).offset_x;
        type(s.ctx, "m");
        typed += 'm';
        const tav_object &o = s.obj(kEntry);
        EXPECT_EQ(o.cursor_x, s.entry_x());
        EXPECT_LT(o.cursor_x, a.right);
        if (o.offset_x != 0) {
            scrolled = true;
            EXPECT_EQ(o.cursor_x, cursor_before);
            EXPECT_EQ(offset_before - o.offset_x, s.width(typed) - s.width(typed.substr(1)));
        }
    }
    EXPECT_TRUE(scrolled);
    EXPECT_STREQ(s.obj(kEntry).text, typed.c_str());

    // Backspace slides the text back right until its start is at the left edge.
    for (int i = 0; i < 20; ++i) {
        press(s.ctx, SDLK_BACKSPACE);
        const tav_object &o = s.obj(kEntry);
        EXPECT_LE(o.offset_x, 0);
        EXPECT_EQ(o.cursor_x, s.entry_x());
        EXPECT_GT(o.cursor_x, a.left);
    }
    EXPECT_EQ(s.obj(kEntry).offset_x, 0);
    EXPECT_EQ(s.obj(kEntry).text_length, 0);
}

TEST(EditingRecord, ReturnAtTheEndStartsAnEmptyRow)
{
    EditScreen s("", "hello");
    s.focus(kRecord);
    s.at_position(5);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 5u);
    press(s.ctx, SDLK_RETURN);
    EXPECT_STREQ(s.record().text, "hello\n");
    EXPECT_EQ(s.record().cursor_position, 6);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 0u);
    EXPECT_STREQ(s.line(1), "");
    EXPECT_EQ(s.obj(kRecord).cursor_y, s.area(kRecord).top + 1 + s.line_height(kRecord));
    type(s.ctx, "w");
    EXPECT_STREQ(s.record().text, "hello\nw");
    EXPECT_STREQ(s.line(1), "w");

    // Return in the middle of a row breaks it there.
    s.at_position(2);
    press(s.ctx, SDLK_RETURN);
    EXPECT_STREQ(s.record().text, "he\nllo\nw");
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 0u);
    EXPECT_EQ(s.record().cursor_position, 3);
}

TEST(EditingRecord, ANinetyNineCharacterRowSendsTheCursorToTheNextRow)
{
    EditScreen s;
    s.obj(kRecord).line_width = 5000;  // rows end at 99 characters, not by width
    s.focus(kRecord);
    for (int i = 0; i < 33; ++i) type(s.ctx, "ab ");
    EXPECT_EQ(std::string(s.line(0)).size(), 99u);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 0u);
    EXPECT_EQ(s.obj(kRecord).cursor_x, s.area(kRecord).left + 1);
    type(s.ctx, "x");
    EXPECT_STREQ(s.line(1), "x");
    EXPECT_EQ(s.obj(kRecord).cursor_column, 1u);
}

TEST(EditingRecord, AFullRecordTakesNoMore)
{
    std::string full;
    while (full.size() < 999) full += "abcdefgh ";
    full.resize(999);
    EditScreen s("", full);
    s.obj(kRecord).line_width = 5000;
    tav_format_object_text(s.ctx, kRecord);
    s.focus(kRecord);
    s.at_position(999);
    type(s.ctx, "z");
    press(s.ctx, SDLK_RETURN);
    EXPECT_EQ(std::string(s.record().text), full);
    press(s.ctx, SDLK_INSERT);
    type(s.ctx, "z");
    EXPECT_EQ(std::string(s.record().text), full) << "appending in overwrite mode would pass the text's end";
    s.at_position(0);
    type(s.ctx, "z");
    EXPECT_EQ(s.record().text[0], 'z');
    EXPECT_EQ(s.obj(kRecord).text_length, 999);
}

// The row-and-column walk and the position walk are inverse at every
// position, also at spaces dropped where a row wraps. The one exception is
// a space dropped after a line feed: the places before and after it are
// the same start of a row, and the row's start stands for the later one.
TEST(EditingRecord, PositionAndRowColumnWalksAreInverse)
{
    const std::string text =
        "The quick brown fox jumps over the lazy dog and keeps on running  far away\n"
        " past the river\n\nwhere  nobody waits for it anymore at all tonight";
    for (int format : {0, 1}) {
        EditScreen s("", text);
        s.obj(kRecord).line_width = 90;
        s.obj(kRecord).text_format = format;
        tav_format_object_text(s.ctx, kRecord);
        ASSERT_GT(s.obj(kRecord).line_count, 5u);
        s.focus(kRecord);
        int wrap_spaces = 0;
        for (int32_t p = 0; p <= int32_t(text.size()); ++p) {
            s.at_position(p);
            const uint32_t row = s.obj(kRecord).cursor_row, column = s.obj(kRecord).cursor_column;
            ASSERT_LE(column, std::string(s.line(row)).size());
            s.record().cursor_position = -1;
            tav_get_position_in_stream(s.ctx);
            const bool shared = format == 0 && p > 0 && text[p - 1] == '\n' && text[p] == ' ';
            EXPECT_EQ(s.record().cursor_position, shared ? p + 1 : p) << "format " << format << " row " << row;
            // Just after a space dropped at a wrap: column 0 of the next row;
            // the space itself: the end of the row before.
            const std::string before = row > 0 ? s.line(row - 1) : "";
            if (column == 0 && row > 0 && text[p - 1] == ' ' && text[p - 2] != '\n' && !before.empty() &&
                before.back() != ' ') {
                ++wrap_spaces;
                s.at_position(p - 1);
                EXPECT_EQ(s.obj(kRecord).cursor_row, row - 1);
                EXPECT_EQ(s.obj(kRecord).cursor_column, before.size());
            }
        }
        if (format == 0) {
            EXPECT_GT(wrap_spaces, 0);
        }
    }
}

// Up and Down keep the column where the new row is long enough and go to
// the row's end otherwise; the cursor stands where the next character lands.
TEST(EditingRecord, UpAndDownPutTheCursorWhereTypingLands)
{
    EditScreen s("", "abcdefghij\nabc\nabcdefghij");
    s.focus(kRecord);
    s.at_position(8);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 3u);
    EXPECT_EQ(s.record().cursor_position, 14);
    const Area a = s.area(kRecord);
    EXPECT_EQ(s.obj(kRecord).cursor_x, a.left + 1 + s.width("abc"));
    type(s.ctx, "X");
    EXPECT_STREQ(s.record().text, "abcdefghij\nabcX\nabcdefghij");

    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 2u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 4u);
    EXPECT_EQ(s.obj(kRecord).cursor_x, a.left + 1 + s.width("abcd"));
    EXPECT_EQ(s.obj(kRecord).cursor_y, a.top + 1 + 2 * s.line_height(kRecord));
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 2u) << "no row below the last";
    type(s.ctx, "y");
    EXPECT_STREQ(s.record().text, "abcdefghij\nabcX\nabcdyefghij");

    // Through the short row the column shrinks to its end and stays so.
    for (int i = 0; i < 3; ++i) press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 0u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 4u);
    EXPECT_EQ(s.record().cursor_position, 4);
}

TEST(EditingRecord, RowsBelowTheAreaScrollIntoView)
{
    EditScreen s("", "", TAV_KIND_ENTRY, 150, 60);
    s.focus(kRecord);
    const Area a = s.area(kRecord);
    const int lh = s.line_height(kRecord);
    for (int i = 0; i < 8; ++i) {
        press(s.ctx, SDLK_RETURN);
        type(s.ctx, "r");
        const tav_object &o = s.obj(kRecord);
        EXPECT_GT(o.cursor_y, a.top);
        EXPECT_LT(o.cursor_y + lh - 1 - o.line_spacing, a.bottom);
        EXPECT_EQ(o.cursor_y, a.top + 1 + o.offset_y + lh * int32_t(o.cursor_row));
        EXPECT_EQ(o.offset_y % lh, 0);
    }
    EXPECT_LT(s.obj(kRecord).offset_y, 0);
    for (int i = 0; i < 8; ++i) press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 0u);
    EXPECT_EQ(s.obj(kRecord).offset_y, 0);
    EXPECT_EQ(s.obj(kRecord).cursor_y, a.top + 1);
}

// Cursor fields and numbers written by an application or a bad file never
// lead an edit outside the text's buffers.
TEST(EditingRobust, OutOfRangeFieldsStayInsideTheBuffers)
{
    EditScreen s("abc", "first row\nsecond row");
    s.ctx->cursor_object = 100000;
    s.ctx->key = 'x', s.ctx->key_is_char = 1;
    tav_get_text(s.ctx);
    EXPECT_EQ(s.ctx->key, uint32_t('x')) << "no object takes the key: it stays";
    s.ctx->key = 0;

    s.focus(kEntry);
    s.obj(kEntry).cursor_column = 5000;
    press(s.ctx, SDLK_DELETE);
    type(s.ctx, "d");
    EXPECT_STREQ(s.obj(kEntry).text, "abcd");
    EXPECT_EQ(s.obj(kEntry).cursor_column, 4u);
    std::memset(s.obj(kEntry).text, 'a', sizeof s.obj(kEntry).text);  // no terminator
    press(s.ctx, SDLK_RIGHT);
    type(s.ctx, "b");
    EXPECT_EQ(s.obj(kEntry).text_length, int32_t(std::strlen(s.obj(kEntry).text)));
    EXPECT_LE(s.obj(kEntry).text_length, 67);

    s.focus(kRecord);
    s.obj(kRecord).cursor_row = 500;
    s.obj(kRecord).cursor_column = 500;
    s.record().cursor_position = 1000000;
    for (SDL_Keycode k : {SDLK_UP, SDLK_RIGHT, SDLK_x, SDLK_DOWN, SDLK_LEFT, SDLK_BACKSPACE, SDLK_RETURN}) press(s.ctx, k);
    EXPECT_LE(s.record().cursor_position, s.obj(kRecord).text_length);
    EXPECT_LE(s.obj(kRecord).cursor_row, 39u);

    s.obj(kRecord).text_record = 999;  // names no record
    s.ctx->key = 'x', s.ctx->key_is_char = 1;
    tav_get_text(s.ctx);
    tav_get_column_row(s.ctx);
    tav_get_position_in_stream(s.ctx);
    EXPECT_EQ(s.ctx->key, uint32_t('x'));
}

// Home and End go to the start and the end of the cursor's row in entry and
// number fields and in record texts; typing then lands there.
TEST(EditingKeys, HomeAndEndInEveryFieldSort)
{
    const std::string long_text(20, 'm');
    EditScreen s(long_text, "", TAV_KIND_ENTRY, 60);
    s.focus(kEntry);
    const Area a = s.area(kEntry);
    press(s.ctx, SDLK_END);
    tav_object &e = s.obj(kEntry);
    EXPECT_EQ(e.cursor_column, 20u);
    EXPECT_LT(e.offset_x, 0) << "the end of a long text scrolls into view";
    EXPECT_EQ(e.cursor_x, s.entry_x());
    EXPECT_LT(e.cursor_x, a.right);
    type(s.ctx, "x");
    press(s.ctx, SDLK_HOME);
    EXPECT_EQ(e.cursor_column, 0u);
    EXPECT_EQ(e.offset_x, 0);
    EXPECT_EQ(e.cursor_x, a.left + 1);
    type(s.ctx, "a");
    EXPECT_EQ(std::string(e.text), "a" + long_text + "x");

    EditScreen n("123", "", TAV_KIND_NUMBER);
    n.focus(kEntry);
    press(n.ctx, SDLK_END);
    type(n.ctx, "4");
    press(n.ctx, SDLK_HOME);
    type(n.ctx, "0");
    EXPECT_STREQ(n.obj(kEntry).text, "01234");

    // A record text wrapped at spaces: the rows' edges lie on either side
    // of the space dropped at the wrap.
    std::string words;
    for (int i = 0; i < 12; ++i) words += "word" + std::to_string(i) + " ";
    EditScreen r("", words + "\nlast");
    r.focus(kRecord);
    const std::string row0 = r.line(0), row1 = r.line(1);
    ASSERT_FALSE(row1.empty());
    const size_t row1_start = words.find(row1);
    ASSERT_EQ(row1_start, row0.size() + 1);
    r.at_position(int32_t(row1_start + 2));
    press(r.ctx, SDLK_HOME);
    EXPECT_EQ(r.obj(kRecord).cursor_column, 0u);
    EXPECT_EQ(r.record().cursor_position, int32_t(row1_start));
    EXPECT_EQ(r.obj(kRecord).cursor_x, r.area(kRecord).left + 1);
    type(r.ctx, "#");
    EXPECT_EQ(r.record().text[row1_start], '#');
    r.at_position(1);
    press(r.ctx, SDLK_END);
    EXPECT_EQ(r.obj(kRecord).cursor_row, 0u);
    EXPECT_EQ(r.obj(kRecord).cursor_column, uint32_t(row0.size()));
    EXPECT_EQ(r.obj(kRecord).cursor_x, r.area(kRecord).left + 1 + r.width(row0));
    type(r.ctx, "$");
    EXPECT_EQ(std::string(r.record().text).substr(0, row0.size() + 2), row0 + "$ ");
}

// Ctrl+C copies a one-line field's text or a record's cursor row; Ctrl+V
// types the clipboard's text at the cursor under the rules of typed keys.
// Tab goes only into record texts.
TEST(EditingKeys, ClipboardAndTab)
{
    EditScreen s("Gr\xFC\xDF" "e", "one\ntwo");
    s.focus(kEntry);
    press(s.ctx, SDLK_c, KMOD_LCTRL);
    char *copied = SDL_GetClipboardText();
    EXPECT_STREQ(copied, "Gr\xC3\xBC\xC3\x9F" "e");
    SDL_free(copied);
    EXPECT_STREQ(s.obj(kEntry).text, "Gr\xFC\xDF" "e") << "copying changes nothing";
    s.focus(kRecord);
    s.at_position(5);
    press(s.ctx, SDLK_c, KMOD_RCTRL);
    copied = SDL_GetClipboardText();
    EXPECT_STREQ(copied, "two");
    SDL_free(copied);

    // Into a field that fills up: the characters beyond Latin-1 and the tab
    // are left out, the rest goes in until the field is full.
    std::strcpy(s.obj(kEntry).text, "abc");
    s.obj(kEntry).capacity = 6;
    s.focus(kEntry);
    press(s.ctx, SDLK_END);
    SDL_SetClipboardText("x\xE2\x82\xAC\ty\xC3\xA4zw");
    press(s.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ(s.obj(kEntry).text, "abcxy\xE4");
    EXPECT_EQ(s.obj(kEntry).cursor_column, 6u);
    EXPECT_EQ(s.obj(kEntry).cursor_x, s.entry_x());
    press(s.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ(s.obj(kEntry).text, "abcxy\xE4") << "a full field takes nothing more";
    press(s.ctx, SDLK_HOME);
    press(s.ctx, SDLK_DELETE);
    press(s.ctx, SDLK_TAB);
    EXPECT_STREQ(s.obj(kEntry).text, "bcxy\xE4") << "no tab in a one-line field";
    EXPECT_EQ(s.ctx->key, 0u);

    // A record text takes line ends as Return and keeps tabs.
    s.focus(kRecord);
    s.at_position(3);
    SDL_SetClipboardText("1\r\n2");
    press(s.ctx, SDLK_v, KMOD_LCTRL);
    press(s.ctx, SDLK_TAB);
    EXPECT_STREQ(s.record().text, "one1\n2\t\ntwo");
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 2u);
    EXPECT_EQ(s.record().cursor_position, 7);

    // A number field takes only the digits.
    EditScreen n("", "", TAV_KIND_NUMBER);
    n.focus(kEntry);
    SDL_SetClipboardText("1a2 3");
    press(n.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ(n.obj(kEntry).text, "123");
}

// A click into a field puts the text cursor at the place it points to; a
// click past the end of the text puts it at the end, never at the start.
TEST(EditingKeys, AClickPutsTheCursorWhereItPoints)
{
    EditScreen s("abc", "one\ntwo three");
    const Area e = s.area(kEntry), r = s.area(kRecord);
    press_at(s.ctx, e.right - 3, e.top + 5);
    ASSERT_EQ(s.ctx->cursor_object, kEntry);
    EXPECT_EQ(s.obj(kEntry).cursor_column, 3u);
    EXPECT_EQ(s.obj(kEntry).cursor_x, s.entry_x());
    type(s.ctx, "d");
    press_at(s.ctx, e.left + 1 + s.width("a") + 1, e.top + 5);
    EXPECT_EQ(s.obj(kEntry).cursor_column, 1u);
    type(s.ctx, "x");
    EXPECT_STREQ(s.obj(kEntry).text, "axbcd");

    press_at(s.ctx, r.left + 40, r.bottom - 3);  // below the last row
    ASSERT_EQ(s.ctx->cursor_object, kRecord);
    EXPECT_EQ(s.obj(kRecord).cursor_row, 1u);
    EXPECT_EQ(s.record().cursor_position, 13);
    type(s.ctx, "s");
    press_at(s.ctx, r.right - 3, r.top + 3);  // right of the first row
    EXPECT_EQ(s.obj(kRecord).cursor_row, 0u);
    EXPECT_EQ(s.obj(kRecord).cursor_column, 3u);
    EXPECT_EQ(s.obj(kRecord).cursor_x, r.left + 1 + s.width("one"));
    type(s.ctx, "s");
    press_at(s.ctx, r.left + 1 + s.width("two t") + 1, r.top + 1 + s.line_height(kRecord) + 3);
    type(s.ctx, "_");
    EXPECT_STREQ(s.record().text, "ones\ntwo t_hrees");
}

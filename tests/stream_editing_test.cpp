// Editing the big stream of a chain through its members, and moving the
// chain to keep the cursor in view. Keys go through SDL's event queue,
// decoding and tav_get_text as in an application.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "support/harness.h"
#include "support/keys.h"

using namespace tavtest;

namespace {

constexpr uint32_t kWindow = 8, kMother = 9, kPinned = 10, kFirst = 11;

struct ChainShape {
    int members = 3;
    int member_x = 30, member_step = 140, member_y = 50;
    int member_w = 130, member_h = 280;
    int line_width = 0;  // 0: the visible width at the first layout
    int mother_h = 1000;  // taller than the window: the window clips the chain
    int mother_format = 0;
    uint32_t capacity = 2000;
};

// A window (8) holding a chain mother (9), a pinned label (10) and the
// members 11, 12, ... of the chain, each with its own text record.
class ChainScreen : public Screen {
public:
    explicit ChainScreen(const std::string &text, const ChainShape &shape = ChainShape()) : Screen(480, 360)
    {
        RawLayout layout;
        layout.add(TAV_KIND_WINDOW).set(off::x, 20).set(off::y, 40).set(off::w, 440).set(off::h, 300)
            .set(off::margin_left, 5).set(off::margin_right, 5).set(off::margin_top, 5).set(off::margin_bottom, 5)
            .set(off::fill_r, 200).set(off::fill_g, 200).set(off::fill_b, 200).dep(0, kMother).dep(1, kPinned);
        RawObject &mother = layout.add(TAV_KIND_CHAIN).set(off::x, 25).set(off::y, 45).set(off::w, 2000)
            .set(off::h, uint32_t(shape.mother_h)).set(off::master, kWindow).set(off::text_format, uint32_t(shape.mother_format));
        layout.add(TAV_KIND_LABEL).set(off::x, 400).set(off::y, 300).set(off::w, 30).set(off::h, 20)
            .set(off::master, kWindow).set(off::pinned, 1).str(off::text, "P");
        for (int i = 0; i < shape.members; ++i) {
            layout.objects[kMother - 1].dep(i, kFirst + uint32_t(i));
            layout.add(TAV_KIND_CHAIN).set(off::x, uint32_t(shape.member_x + i * shape.member_step))
                .set(off::y, uint32_t(shape.member_y)).set(off::w, uint32_t(shape.member_w))
                .set(off::h, uint32_t(shape.member_h)).set(off::margin_left, 2).set(off::margin_right, 2)
                .set(off::margin_top, 2).set(off::margin_bottom, 2).set(off::fill_r, 255).set(off::fill_g, 255)
                .set(off::fill_b, 255).set(off::editable, 1).set(off::master, kMother)
                .set(off::text_record, uint32_t(i + 1)).set(off::line_width, uint32_t(shape.line_width));
            layout.texts.emplace_back(kFirst + uint32_t(i), "");
        }
        (void)mother;
        start(layout);
        open_font(12);
        EXPECT_EQ(tav_prepare_chain_mother(ctx, kMother, shape.capacity), 1);
        set_text(text);
        ctx->decided_object = kWindow;
        tav_activate_window(ctx);
        ctx->cursor_object = kFirst;
        tav_draw_all_objects(ctx, 1, 0);
        at(0);
    }

    ~ChainScreen()
    {
        // The application owns the stream; tav_close leaves it alone.
        std::free(mother().stream);
        mother().stream = nullptr;
    }

    tav_object &obj(uint32_t n) { return ctx->objects[n]; }
    tav_object &mother() { return obj(kMother); }
    const char *line(uint32_t member, int j) { return ctx->line_buffers[obj(member).text_record].lines[j]; }
    std::string stream() { return mother().stream; }
    tav_object &cursor() { return obj(ctx->cursor_object); }

    void set_text(const std::string &text)
    {
        std::memset(mother().stream, 0, mother().capacity);
        std::memcpy(mother().stream, text.data(), text.size());
        mother().text_length = int32_t(text.size());
        tav_format_stream_to_linked_objects(ctx, kMother);
    }

    // Puts the stream cursor at a position and shows it, as a click would.
    void at(int32_t p)
    {
        mother().stream_cursor = p;
        const uint32_t member = tav_get_column_row_big_stream(ctx, kMother);
        tav_update_cursor_chain_object(ctx, kMother, member, member);
    }

    int width(const std::string &s)
    {
        int w = 0, h = 0;
        if (!s.empty()) TTF_SizeText(ctx->font, s.c_str(), &w, &h);
        return w;
    }

    // Screen x where the cursor of the cursor member belongs.
    int32_t cursor_place()
    {
        const tav_object &m = cursor();
        return m.x + m.margin_left + width(std::string(line(ctx->cursor_object, int(m.cursor_row)), m.cursor_column));
    }
};

std::string repeat(const std::string &s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(StreamEditingKeys, TypingAfterAFullMemberContinuesInTheNext)
{
    ChainScreen s(repeat("a\n", 40));
    EXPECT_EQ(s.obj(kFirst).line_count, 39u);
    s.at(80);
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 1);
    type(s.ctx, "x");
    EXPECT_EQ(s.stream(), repeat("a\n", 40) + "x");
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 1);
    EXPECT_STREQ(s.line(kFirst + 1, 0), "x");
    EXPECT_EQ(s.cursor().cursor_row, 0u);
    EXPECT_EQ(s.cursor().cursor_column, 1u);
    EXPECT_EQ(s.mother().stream_cursor, 81);
    EXPECT_EQ(s.mother().text_length, 81);
}

// A character that carries the cursor into a member that is already in view
// leaves the chain where it is, even though the window's top margin differs
// from the mother's.
TEST(StreamEditingView, TypingIntoAVisibleNextMemberKeepsTheChainStill)
{
    ChainScreen s("");
    ASSERT_NE(s.obj(kWindow).margin_top, s.mother().margin_top);
    // The longest last row that still fits the first member: one more
    // character does not.
    std::string text;
    for (int n = 1; n < 99; ++n) {
        s.set_text(repeat("a\n", 39) + std::string(size_t(n), 'a'));
        if (s.line(kFirst + 1, 0)[0] != 0) break;
        text = repeat("a\n", 39) + std::string(size_t(n), 'a');
    }
    ASSERT_FALSE(text.empty());
    s.set_text(text);
    s.at(int32_t(text.size()));
    ASSERT_EQ(s.ctx->cursor_object, kFirst);
    ASSERT_EQ(s.cursor().cursor_row, 39u);
    const int32_t mother_y = s.mother().y, first_y = s.obj(kFirst).y, second_y = s.obj(kFirst + 1).y;

    type(s.ctx, "b");
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 1);
    EXPECT_NE(s.line(kFirst + 1, 0)[0], 0) << "the character went on into the second member";
    EXPECT_EQ(s.cursor().cursor_row, 0u);
    EXPECT_EQ(s.mother().y, mother_y);
    EXPECT_EQ(s.obj(kFirst).y, first_y);
    EXPECT_EQ(s.obj(kFirst + 1).y, second_y);
    const tav_object &m = s.cursor();
    const int fh = TTF_FontHeight(s.ctx->font);
    EXPECT_EQ(m.cursor_y, second_y + m.margin_top);
    EXPECT_EQ(m.cursor_x, s.cursor_place());
    for (int y = m.cursor_y; y < m.cursor_y + fh; ++y) EXPECT_EQ(s.pixel(m.cursor_x, y), 0u) << "cursor drawn at row " << y;
}

TEST(StreamEditingKeys, BackspaceJoinsTheLinesAroundAnEmptyLine)
{
    ChainScreen s("ab\n\ncd");
    s.at(3);
    EXPECT_EQ(s.cursor().cursor_row, 1u);
    press(s.ctx, SDLK_BACKSPACE);
    EXPECT_EQ(s.stream(), "abcd");
    EXPECT_EQ(s.mother().stream_cursor, 2) << "the cursor stays at the join";
    EXPECT_EQ(s.cursor().cursor_row, 0u);
    EXPECT_EQ(s.cursor().cursor_column, 2u);

    // At the very start the cursor cannot go below the first character.
    s.set_text("\n\nx");
    s.at(1);
    press(s.ctx, SDLK_BACKSPACE);
    EXPECT_EQ(s.stream(), "x");
    EXPECT_EQ(s.mother().stream_cursor, 0);
    press(s.ctx, SDLK_BACKSPACE);
    EXPECT_EQ(s.stream(), "x");
    EXPECT_EQ(s.mother().stream_cursor, 0);
}

TEST(StreamEditingKeys, DeleteAndArrowsAtTheEnd)
{
    ChainScreen s("abc");
    s.at(3);
    SDL_FillRect(s.ctx->screen, nullptr, 0);
    press(s.ctx, SDLK_DELETE);
    EXPECT_EQ(s.stream(), "abc");
    EXPECT_EQ(s.pixel(22, 200), 0xC8C8C8u) << "window redrawn";
    press(s.ctx, SDLK_RIGHT);
    EXPECT_EQ(s.mother().stream_cursor, 3);
    press(s.ctx, SDLK_LEFT);
    EXPECT_EQ(s.mother().stream_cursor, 2);
    EXPECT_EQ(s.cursor().cursor_column, 2u);
    EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());
    press(s.ctx, SDLK_DELETE);
    EXPECT_EQ(s.stream(), "ab");
    EXPECT_EQ(s.mother().text_length, 2);
}

// The places before and after a space dropped after a line feed look the
// same: one key passes both.
TEST(StreamEditingKeys, ArrowsMoveVisiblyPastADroppedSpace)
{
    ChainScreen s("ab\n cd");
    ASSERT_STREQ(s.line(kFirst, 1), "cd");
    s.at(2);
    const int32_t right[] = {3, 5, 6, 6};
    for (int32_t p : right) {
        press(s.ctx, SDLK_RIGHT);
        EXPECT_EQ(s.mother().stream_cursor, p);
    }
    const int32_t left[] = {5, 4, 2, 1};
    for (int32_t p : left) {
        press(s.ctx, SDLK_LEFT);
        EXPECT_EQ(s.mother().stream_cursor, p);
    }
    EXPECT_EQ(s.cursor().cursor_row, 0u);
    EXPECT_EQ(s.cursor().cursor_column, 1u);
}

TEST(StreamEditingKeys, AFullStreamTakesNothingMore)
{
    ChainShape shape;
    shape.capacity = 8;
    ChainScreen s("abcdefg", shape);
    s.at(7);
    type(s.ctx, "x");
    press(s.ctx, SDLK_RETURN);
    EXPECT_EQ(s.stream(), "abcdefg");
    EXPECT_EQ(s.ctx->key, 0u);
    s.at(3);
    type(s.ctx, "x");
    press(s.ctx, SDLK_RETURN);
    EXPECT_EQ(s.stream(), "abcdefg") << "insert mode never writes over the text";
    EXPECT_EQ(s.mother().stream_cursor, 3);

    press(s.ctx, SDLK_INSERT);
    type(s.ctx, "xyz");
    EXPECT_EQ(s.stream(), "abcxyzg");
    type(s.ctx, "uv");
    EXPECT_EQ(s.stream(), "abcxyzu") << "overwriting ends at the end of a full stream";
    EXPECT_EQ(s.mother().stream_cursor, 7);
    press(s.ctx, SDLK_RETURN);
    EXPECT_EQ(s.stream(), "abcxyzu");
    EXPECT_EQ(s.mother().text_length, 7);
}

// Home and End go to the edges of the row the cursor is shown in; Ctrl+C
// copies that row and Ctrl+V types the clipboard's text into the stream.
TEST(StreamEditingKeys, HomeEndAndTheClipboard)
{
    ChainScreen s("one two\nthree");
    s.at(5);
    press(s.ctx, SDLK_HOME);
    EXPECT_EQ(s.mother().stream_cursor, 0);
    EXPECT_EQ(s.cursor().cursor_column, 0u);
    press(s.ctx, SDLK_END);
    EXPECT_EQ(s.mother().stream_cursor, 7);
    EXPECT_EQ(s.cursor().cursor_column, 7u);
    EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());
    press(s.ctx, SDLK_c, KMOD_LCTRL);
    char *copied = SDL_GetClipboardText();
    EXPECT_STREQ(copied, "one two");
    SDL_free(copied);

    SDL_SetClipboardText("\xC3\xA4\r\nx\xE2\x82\xAC\ty");
    press(s.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_EQ(s.stream(), "one two\xE4\nx\ty\nthree");
    EXPECT_EQ(s.mother().stream_cursor, 12);
    EXPECT_EQ(s.cursor().cursor_row, 1u);
    EXPECT_EQ(s.cursor().cursor_column, 3u);
    EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());

    // A full stream takes no more, pasted or typed.
    ChainShape shape;
    shape.capacity = 8;
    ChainScreen full("abcde", shape);
    full.at(5);
    SDL_SetClipboardText("xyz");
    press(full.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_EQ(full.stream(), "abcdexy");
    EXPECT_EQ(full.mother().stream_cursor, 7);
    press(full.ctx, SDLK_HOME);
    press(full.ctx, SDLK_v, KMOD_LCTRL);
    EXPECT_EQ(full.stream(), "abcdexy");
    EXPECT_EQ(full.mother().text_length, 7);
}

// A click into a member puts the stream cursor where it points; a click
// past the end of the text, in a member the text does not reach, at its end.
TEST(StreamEditingKeys, AClickPutsTheCursorWhereItPoints)
{
    ChainScreen s("ab\ncd");
    const tav_object &second = s.obj(kFirst + 1);
    press_at(s.ctx, second.x + 20, second.y + 20);
    EXPECT_EQ(s.ctx->cursor_object, kFirst);
    EXPECT_EQ(s.mother().stream_cursor, 5);
    EXPECT_EQ(s.cursor().cursor_row, 1u);
    EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());
    const tav_object &first = s.obj(kFirst);
    press_at(s.ctx, first.x + first.w - 10, first.y + first.margin_top + 2);
    EXPECT_EQ(s.mother().stream_cursor, 2);
    type(s.ctx, "x");
    press_at(s.ctx, first.x + first.margin_left, first.y + first.h - 10);
    type(s.ctx, "y");
    EXPECT_EQ(s.stream(), "abx\ncdy");
    EXPECT_EQ(s.obj(kFirst).y, 50) << "a visible cursor moves no chain";
}

TEST(StreamEditingKeys, UpAndDownPassBetweenMembers)
{
    ChainScreen s("one\ntwo\nthree" + repeat("\n", 38) + "next\nlast");
    EXPECT_EQ(s.obj(kFirst).line_count, 39u);
    s.at(0);
    press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.ctx->cursor_object, kFirst);
    EXPECT_EQ(s.mother().stream_cursor, 0) << "no row above the first member's first";

    s.at(12);  // "thre|e"
    EXPECT_EQ(s.cursor().cursor_row, 2u);
    press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.cursor().cursor_row, 1u);
    EXPECT_EQ(s.cursor().cursor_column, 3u) << "the end of the shorter row";
    EXPECT_EQ(s.mother().stream_cursor, 7);
    type(s.ctx, "s");
    EXPECT_EQ(s.stream().substr(0, 13), "one\ntwos\nthre");

    // From the first member's last row down into the next member, and back up.
    const int32_t last_row_start = int32_t(s.stream().find("\n\n")) + 37;
    s.at(last_row_start);
    EXPECT_EQ(s.cursor().cursor_row, 39u);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 1);
    EXPECT_EQ(s.cursor().cursor_row, 0u);
    EXPECT_EQ(s.mother().stream_cursor, last_row_start + 1);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.cursor().cursor_row, 1u);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.cursor().cursor_row, 1u) << "no row below the last one";
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 1);
    press(s.ctx, SDLK_UP);
    press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.ctx->cursor_object, kFirst);
    EXPECT_EQ(s.cursor().cursor_row, 39u);
    EXPECT_EQ(s.mother().stream_cursor, last_row_start);
}

TEST(StreamEditingKeys, DownFromTheHundredthMemberHasNoNextMember)
{
    ChainShape shape;
    shape.members = 100;
    shape.member_step = 0;
    shape.member_h = 20;
    shape.capacity = 5000;
    ChainScreen s(repeat("\n", 40 * 99) + "z", shape);
    s.at(40 * 99 + 1);
    ASSERT_EQ(s.ctx->cursor_object, kFirst + 99);
    press(s.ctx, SDLK_DOWN);
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 99);
    EXPECT_EQ(s.mother().stream_cursor, 40 * 99 + 1);
    press(s.ctx, SDLK_UP);
    EXPECT_EQ(s.ctx->cursor_object, kFirst + 98);
    EXPECT_EQ(s.cursor().cursor_row, 39u);
}

TEST(StreamEditingView, ChainMovesUpWhilePinnedDependentsStay)
{
    ChainShape shape;
    shape.member_h = 900;  // rows below the window still lie inside the member
    ChainScreen s("", shape);
    const int lh = TTF_FontHeight(s.ctx->font);
    const tav_object pinned = s.obj(kPinned);
    int32_t bottom_limit = 0, left = 0, right = 0, top = 0;
    tav_get_borders_for_text(s.ctx, kFirst, &left, &right, &top, &bottom_limit);
    bool moved = false;
    for (int i = 0; i < 25; ++i) {
        const int32_t mother_y = s.mother().y, member_y = s.obj(kFirst).y, cursor_y = s.cursor().cursor_y;
        press(s.ctx, SDLK_RETURN);
        const tav_object &m = s.cursor();
        EXPECT_LT(m.cursor_y + lh - 1, bottom_limit);
        EXPECT_EQ(m.cursor_y, m.y + m.margin_top + lh * int32_t(m.cursor_row));
        if (s.mother().y != mother_y) {
            moved = true;
            EXPECT_EQ(mother_y - s.mother().y, lh) << "the chain moves by the cursor's step";
            EXPECT_EQ(member_y - s.obj(kFirst).y, lh);
            EXPECT_EQ(m.cursor_y, cursor_y);
        }
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(s.obj(kPinned).y, pinned.y);
    EXPECT_EQ(s.obj(kWindow).y, 40);
    EXPECT_EQ(s.obj(kFirst + 1).y, s.obj(kFirst).y) << "all members move together";
}

TEST(StreamEditingView, CursorPastEitherSideBorderMovesTheChainBack)
{
    ChainShape shape;
    shape.members = 1;
    shape.member_w = 900;
    shape.line_width = 880;
    ChainScreen s("", shape);
    int32_t left = 0, right = 0, top = 0, bottom = 0;
    tav_get_borders_for_text(s.ctx, kFirst, &left, &right, &top, &bottom);
    bool moved_left = false;
    for (int i = 0; i < 70; ++i) {
        const int32_t x_before = s.obj(kFirst).x, cursor_before = s.cursor().cursor_x;
        type(s.ctx, "w");
        EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());
        EXPECT_LT(s.cursor().cursor_x, right);
        if (s.obj(kFirst).x != x_before) {
            moved_left = true;
            EXPECT_EQ(s.cursor().cursor_x, cursor_before) << "the cursor keeps its place";
            EXPECT_EQ(s.mother().x - 25, s.obj(kFirst).x - 30);
        }
    }
    ASSERT_TRUE(moved_left);

    // Back to the start: past the left border the chain moves right again.
    bool moved_right = false;
    for (int i = 0; i < 70; ++i) {
        const int32_t x_before = s.obj(kFirst).x, cursor_before = s.cursor().cursor_x;
        press(s.ctx, SDLK_LEFT);
        EXPECT_GT(s.cursor().cursor_x, left);
        EXPECT_EQ(s.cursor().cursor_x, s.cursor_place());
        if (s.obj(kFirst).x != x_before) {
            moved_right = true;
            EXPECT_GT(s.obj(kFirst).x, x_before);
            EXPECT_EQ(s.cursor().cursor_x, cursor_before);
        }
    }
    EXPECT_TRUE(moved_right);
    EXPECT_EQ(s.mother().stream_cursor, 0);
}

// The two walks over a chain are inverse at every stream position, also
// where rows wrap at dropped spaces and where the text passes to the next
// member; a space dropped after a line feed shares its place with the
// position after it.
TEST(StreamEditingWalk, PositionAndMemberRowColumnAreInverse)
{
    ChainShape shape;
    shape.member_w = 70;
    std::string text;
    for (int i = 0; i < 12; ++i) text += "lorem ipsum dolor sit amet\n consectetur  adipiscing elit ";
    ChainScreen s(text, shape);
    ASSERT_NE(s.obj(kFirst + 1).line_count, 0u) << "the text reaches the second member";
    for (int32_t p = 0; p <= int32_t(text.size()); ++p) {
        s.mother().stream_cursor = p;
        const uint32_t member = tav_get_column_row_big_stream(s.ctx, kMother);
        ASSERT_EQ(member, s.ctx->cursor_object);
        const tav_object &m = s.obj(member);
        ASSERT_LE(m.cursor_column, std::strlen(s.line(member, int(m.cursor_row))));
        s.mother().stream_cursor = -1;
        tav_get_position_in_big_stream(s.ctx);
        const bool shared = p > 0 && text[p - 1] == '\n' && text[p] == ' ';
        EXPECT_EQ(s.mother().stream_cursor, shared ? p + 1 : p) << "member " << member << " row " << m.cursor_row;
    }
}

// Streams and cursor fields left in any state by an application are taken
// back inside the buffer; chain lists end at entries that name no member.
TEST(StreamEditingRobust, OutOfRangeFieldsStayInsideTheBuffers)
{
    ChainShape shape;
    shape.capacity = 16;
    ChainScreen s("abc", shape);
    std::memset(s.mother().stream, 'a', 16);  // no terminator
    s.mother().stream_cursor = 1000;
    press(s.ctx, SDLK_x);
    EXPECT_EQ(s.mother().text_length, 15);
    EXPECT_EQ(s.mother().stream_cursor, 15);
    EXPECT_EQ(s.stream(), std::string(15, 'a'));

    s.mother().stream_cursor = -5;
    s.cursor().cursor_row = 700;
    s.cursor().cursor_column = 900;
    press(s.ctx, SDLK_UP);
    press(s.ctx, SDLK_DOWN);
    press(s.ctx, SDLK_BACKSPACE);
    EXPECT_GE(s.mother().stream_cursor, 0);
    EXPECT_LE(s.mother().stream_cursor, s.mother().text_length);
    EXPECT_EQ(s.mother().text_length, int32_t(std::strlen(s.mother().stream)));

    s.mother().dependents[1] = 100000;  // the chain ends at the first member
    s.set_text("a b c d e f g");
    s.at(12);
    EXPECT_EQ(s.ctx->cursor_object, kFirst);
    s.mother().dependents[0] = kPinned;  // not a chain member: no chain at all
    EXPECT_EQ(tav_get_column_row_big_stream(s.ctx, kMother), 0u);
    s.mother().dependents[0] = kFirst;

    free(s.mother().stream);
    s.mother().stream = nullptr;
    s.ctx->key = 'x', s.ctx->key_is_char = 1;
    tav_get_text(s.ctx);
    EXPECT_EQ(s.ctx->key, uint32_t('x')) << "a mother without a stream takes no keys";
}

// A few hundred random keys into an entry field, a record text and a
// three-member chain; the invariants hold after every key.
TEST(StreamEditingRandom, RandomKeysKeepEveryIndexInsideItsText)
{
    ChainShape shape;
    shape.member_w = 40;
    shape.member_h = 60;
    shape.mother_format = 2;
    shape.capacity = 140;
    // The first member starts nearly full, so the typing passes between members.
    ChainScreen s(repeat("\n", 36) + "start", shape);
    s.at(41);
    // An entry field and a text field join the window.
    tav_object *o = s.ctx->objects;
    const uint32_t entry = kPinned;
    o[entry].kind = TAV_KIND_ENTRY;
    o[entry].editable = 1;
    o[entry].capacity = 40;
    o[entry].pinned = 0;
    const uint32_t record = kFirst + 2;  // the third member becomes a text field
    const SDL_Keycode keys[] = {SDLK_a,      SDLK_b,      SDLK_SPACE, SDLK_SPACE, SDLK_e,      SDLK_RETURN,
                                SDLK_RETURN, SDLK_BACKSPACE, SDLK_DELETE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP,
                                SDLK_DOWN,   SDLK_INSERT, SDLK_x,     SDLK_y,     SDLK_z,      SDLK_q};
    // A fixed seed keeps failures reproducible; TAVRIN_TEST_SEED tries others.
    const char *seed = std::getenv("TAVRIN_TEST_SEED");
    std::mt19937 random(seed ? uint32_t(std::strtoul(seed, nullptr, 10)) : 20261208u);
    std::uniform_int_distribution<size_t> pick(0, sizeof keys / sizeof keys[0] - 1);

    auto check_chain = [&](int step) {
        const tav_object &mo = s.mother();
        ASSERT_EQ(int32_t(std::strlen(mo.stream)), mo.text_length) << step;
        ASSERT_LT(uint32_t(mo.text_length), mo.capacity);
        ASSERT_GE(mo.stream_cursor, 0);
        ASSERT_LE(mo.stream_cursor, mo.text_length);
        const uint32_t c = s.ctx->cursor_object;
        ASSERT_TRUE(c == kFirst || c == kFirst + 1) << "cursor object " << c << " at key " << step;
        ASSERT_LE(o[c].cursor_row, 39u);
        ASSERT_LE(o[c].cursor_column, std::strlen(s.line(c, int(o[c].cursor_row))));
        // The place shown is the place of the stream cursor.
        const int32_t p = s.mother().stream_cursor;
        tav_get_position_in_big_stream(s.ctx);
        const bool shared = p > 0 && mo.stream[p - 1] == '\n' && mo.stream[p] == ' ' && mo.stream[p + 1] != 0 &&
                            mo.stream[p + 1] != ' ';
        ASSERT_EQ(s.mother().stream_cursor, shared ? p + 1 : p) << "key " << step;
        s.mother().stream_cursor = p;
    };
    auto check_record = [&](int step) {
        const tav_text_record &r = s.ctx->text_records[o[record].text_record];
        ASSERT_EQ(int32_t(std::strlen(r.text)), o[record].text_length) << step;
        ASSERT_GE(r.cursor_position, 0);
        ASSERT_LE(r.cursor_position, o[record].text_length);
        ASSERT_LE(o[record].cursor_row, 39u);
        ASSERT_LE(o[record].cursor_column, std::strlen(s.line(record, int(o[record].cursor_row))));
    };
    auto check_entry = [&](int step) {
        ASSERT_EQ(int32_t(std::strlen(o[entry].text)), o[entry].text_length) << step;
        ASSERT_LE(o[entry].text_length, 40);
        ASSERT_LE(o[entry].cursor_column, uint32_t(o[entry].text_length));
    };

    // The chain first, while the third member still belongs to it.
    s.mother().dependents[2] = 0;
    int in_second = 0, full = 0;
    for (int i = 0; i < 500; ++i) {
        press(s.ctx, keys[pick(random)]);
        check_chain(i);
        if (HasFatalFailure()) return;
        in_second += s.ctx->cursor_object == kFirst + 1;
        full += uint32_t(s.mother().text_length) == s.mother().capacity - 1;
    }
    EXPECT_GT(in_second, 0) << "the cursor never passed to the second member";
    EXPECT_GT(full, 0) << "the stream never filled up";
    o[record].kind = TAV_KIND_TEXT;
    o[record].master = kWindow;
    o[kWindow].dependents[2] = record;
    o[record].w = 200;
    s.ctx->cursor_object = record;
    tav_reset_textobject(s.ctx, 1, record);
    for (int i = 0; i < 400; ++i) {
        press(s.ctx, keys[pick(random)]);
        check_record(i);
        if (HasFatalFailure()) return;
    }
    s.ctx->cursor_object = entry;
    tav_reset_textobject(s.ctx, 0, entry);
    int entry_full = 0;
    for (int i = 0; i < 300; ++i) {
        press(s.ctx, keys[pick(random)]);
        check_entry(i);
        if (HasFatalFailure()) return;
        entry_full += o[entry].text_length == 40;
    }
    EXPECT_GT(entry_full, 0) << "the entry field never filled up";
}

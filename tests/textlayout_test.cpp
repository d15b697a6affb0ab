// Text layout: word wrap of record texts at a pixel-exact line width, the
// 99-column and 40-line limits, short texts of buttons and entry fields, and
// the string helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/harness.h"

using namespace tavtest;

namespace {

constexpr uint32_t box = 8;  // the text object of every layout here

int width_of(tav_context *ctx, const std::string &text)
{
    int w = 0, h = 0;
    TTF_SizeText(ctx->font, text.c_str(), &w, &h);
    return w;
}

// A screen with one text object (kind 3) whose record holds `text`, laid
// out at the given line width in DejaVu Sans 12.
struct TextBox {
    Screen screen{640, 480};
    tav_context *ctx = nullptr;

    explicit TextBox(uint32_t kind = TAV_KIND_TEXT)
    {
        RawLayout layout;
        layout.add(kind).set(off::x, 20).set(off::y, 20).set(off::w, 600).set(off::h, 400).set(off::text_record, 1);
        layout.texts.emplace_back(box, "");
        ctx = screen.start(layout, 0, 1);
        screen.open_font(12);
    }
    tav_object &obj() { return ctx->objects[box]; }
    std::string line(uint32_t j) { return ctx->line_buffers[1].lines[j]; }
    int32_t lay_out(const std::string &text, int32_t line_width, int32_t text_format = 0)
    {
        std::strcpy(ctx->text_records[1].text, text.c_str());
        obj().line_width = line_width;
        obj().text_format = text_format;
        return tav_format_object_text(ctx, box);
    }
};

}  // namespace

TEST(TextWrap, WordWiderThanTheLineIsSplitAtThePixelLimit)
{
    TextBox t;
    EXPECT_EQ(t.lay_out("mmmmmmmmmm", width_of(t.ctx, "mmm")), 3);
    EXPECT_EQ(t.line(0), "mmm");
    EXPECT_EQ(t.line(1), "mmm");
    EXPECT_EQ(t.line(2), "mmm");
    EXPECT_EQ(t.line(3), "m");
    EXPECT_EQ(t.obj().line_count, 3u);
    EXPECT_EQ(t.obj().text_length, 10);
}

TEST(TextWrap, WordsMoveToTheNextLineWhenTheyDoNotFit)
{
    TextBox t;
    // A word fits when its own width fits into what the line leaves free.
    const int lw = width_of(t.ctx, "aaa ") + width_of(t.ctx, "aaa");
    EXPECT_EQ(t.lay_out("aaa aaa aaa", lw), 1);
    EXPECT_EQ(t.line(0), "aaa aaa");
    EXPECT_EQ(t.line(1), "aaa");
    EXPECT_EQ(t.lay_out("aaa aaa aaa", lw - 1), 2);
    EXPECT_EQ(t.line(0), "aaa ");
    EXPECT_EQ(t.line(1), "aaa ");
    EXPECT_EQ(t.line(2), "aaa");
}

TEST(TextWrap, LineFeedsAndEmptyLines)
{
    TextBox t;
    EXPECT_EQ(t.lay_out("a\n\nb", 500), 2);
    EXPECT_EQ(t.line(0), "a");
    EXPECT_EQ(t.line(1), "");
    EXPECT_EQ(t.line(2), "b");
    EXPECT_EQ(t.obj().line_count, 2u);
    EXPECT_EQ(t.lay_out("", 500), 0);
    EXPECT_EQ(t.line(0), "");
    EXPECT_EQ(t.line(1), "");
}

TEST(TextWrap, SpaceAtTheStartOfALineDependsOnTextFormat)
{
    TextBox t;
    t.lay_out("aaa\n bbb", 500, 0);
    EXPECT_EQ(t.line(1), "bbb");
    t.lay_out("aaa\n bbb", 500, 1);
    EXPECT_EQ(t.line(1), " bbb");
    // A space that overflows the line ends it, in both formats.
    const int lw = width_of(t.ctx, "aaa ") - 1;
    for (int format : {0, 1}) {
        t.lay_out("aaa aa", lw, format);
        EXPECT_EQ(t.line(0), "aaa");
        EXPECT_EQ(t.line(1), "aa");
        // Of two spaces at a wrap, the second one begins the new line.
        t.lay_out("aaa  aa", lw, format);
        EXPECT_EQ(t.line(0), "aaa");
        EXPECT_EQ(t.line(1), " aa");
    }
}

TEST(TextWrap, LongWordsAreCollectedInPiecesOfSeventy)
{
    TextBox t;
    const std::string seventy(70, 'a');
    EXPECT_EQ(t.lay_out(std::string(75, 'a'), width_of(t.ctx, seventy) + 1), 1);
    EXPECT_EQ(t.line(0), seventy);
    EXPECT_EQ(t.line(1), "aaaaa");
    // With room for all of it the pieces join on one line.
    EXPECT_EQ(t.lay_out(std::string(75, 'a'), 5000), 0);
    EXPECT_EQ(t.line(0), std::string(75, 'a'));
}

TEST(TextWrap, NoLineHoldsMoreThanNinetyNineCharacters)
{
    TextBox t;
    std::string words;
    for (int i = 0; i < 150; ++i) words += "i ";
    const std::string spaces = "i" + std::string(200, ' ') + "i";
    for (const std::string &s : {words, std::string(200, 'i'), spaces}) {
        int32_t last = t.lay_out(s, 100000);
        ASSERT_GE(last, 1);
        for (int32_t j = 0; j <= last; ++j) EXPECT_LE(t.line(j).size(), 99u) << j;
    }
    EXPECT_EQ(t.line(0).size(), 99u);
    EXPECT_EQ(t.line(1), std::string(99, ' '));
}

TEST(TextWrap, LayoutStopsAtLineThirtyNine)
{
    TextBox t;
    std::string lines;
    for (int i = 0; i < 45; ++i) lines += std::to_string(i) + "\n";
    EXPECT_EQ(t.lay_out(lines, 500), 39);
    EXPECT_EQ(t.line(39), "39");
    EXPECT_EQ(t.obj().line_count, 39u);
    // Words that wrap past the last line are dropped, as is a space there.
    std::string words;
    for (int i = 0; i < 150; ++i) words += "word" + std::to_string(i) + (i % 3 ? " " : "  ");
    EXPECT_EQ(t.lay_out(words, width_of(t.ctx, "word100 ")), 39);
    EXPECT_NE(t.line(39), "");
    // A long split word stops there too.
    EXPECT_EQ(t.lay_out(std::string(999, 'm'), width_of(t.ctx, "mm")), 39);
    EXPECT_EQ(t.line(39), "mm");
}

TEST(TextWrap, CharacterWiderThanTheLineEndsTheLayout)
{
    TextBox t;
    EXPECT_EQ(t.lay_out("ab cd", 1), 39);
    for (int j = 0; j < TAV_MAX_LINES; ++j) EXPECT_EQ(t.line(j), "") << j;
}

TEST(TextWrap, UmlautsAreConvertedOnlyWhenAsked)
{
    TextBox t;
    t.ctx->convert_umlauts = 1;
    t.lay_out("\x84\x94\x81x", 500);
    EXPECT_EQ(t.line(0), "\xE4\xF6\xFCx");
    EXPECT_STREQ(t.ctx->text_records[1].text, "\x84\x94\x81x");
    t.ctx->convert_umlauts = 0;
    t.lay_out("\x84\x94\x81x", 500);
    EXPECT_EQ(t.line(0), "\x84\x94\x81x");
}

TEST(TextWrap, ObjectsWithoutRecordOrOfOtherKindsAreLeftAlone)
{
    TextBox t;
    t.lay_out("one", 500);
    t.obj().text_record = 77;  // beyond the records
    EXPECT_EQ(tav_format_object_text(t.ctx, box), 0);
    t.obj().text_record = 1;
    t.obj().kind = TAV_KIND_LABEL;
    std::strcpy(t.ctx->text_records[1].text, "two\nthree");
    EXPECT_EQ(tav_format_object_text(t.ctx, box), 0);
    EXPECT_EQ(t.line(0), "one");
    EXPECT_EQ(tav_format_object_text(t.ctx, 0), 0);
    EXPECT_EQ(tav_format_object_text(t.ctx, 5000), 0);
}

TEST(TextWrap, WindowsLayOutTooAndAZeroLineWidthIsDerivedOnce)
{
    TextBox t(TAV_KIND_WINDOW);
    t.obj().margin_left = 10;
    t.obj().margin_right = 20;
    t.lay_out("hello", 0);
    EXPECT_EQ(t.line(0), "hello");
    // The window lies fully on screen: the text area is its inner width.
    EXPECT_EQ(t.obj().line_width, 600 - 10 - 20);
    t.obj().margin_left = 100;
    tav_format_object_text(t.ctx, box);
    EXPECT_EQ(t.obj().line_width, 600 - 10 - 20);
}

TEST(TextWordPlacement, MeasuringAndPlacingSingleWords)
{
    TextBox t;
    t.lay_out("", width_of(t.ctx, "abc def"));
    uint32_t line = 0, column = 0, length = 3;
    EXPECT_EQ(tav_check_line_volume(t.ctx, box, "abc", &line, &column, &length), 1);
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, "abc", &line, &column, &length, 0), 0);
    EXPECT_EQ(column, 3u);
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, " de", &line, &column, &length, 0), 0);
    EXPECT_EQ(tav_check_line_volume(t.ctx, box, "xyz", &line, &column, &length), 2);
    length = 7;
    EXPECT_EQ(tav_check_line_volume(t.ctx, box, "abcdefgh", &line, &column, &length), 3);
    length = 3;
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, "xyz", &line, &column, &length, 1), 0);
    EXPECT_EQ(t.line(0), "abc de");
    EXPECT_EQ(t.line(1), "xyz");
    EXPECT_EQ(line, 2u);
    EXPECT_EQ(column, 0u);
    // On the last line a forced break, or a word that needs a fresh line,
    // finds no line left.
    line = 39, column = 0;
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, "abc", &line, &column, &length, 1), -1);
    EXPECT_EQ(line, 39u);
    column = 3, length = 6;
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, "xyzxyz", &line, &column, &length, 0), -1);
    EXPECT_EQ(t.line(39), "abc");
    // Positions outside the buffer are refused.
    line = 40;
    EXPECT_EQ(tav_copy_word_into_line(t.ctx, box, "abc", &line, &column, &length, 0), -1);
}

TEST(TextShort, ButtonLabelsAreCentredWhenTheyFit)
{
    RawLayout layout;
    layout.add(TAV_KIND_LABEL).str(off::text, "Retry\nlater");
    layout.add(TAV_KIND_ENTRY).str(off::text, "12").set(off::w, 50).set(off::h, 20);
    layout.add(TAV_KIND_BOX).str(off::text, "x");
    Screen screen;
    tav_context *ctx = screen.start(layout);
    screen.open_font(12);
    tav_object &b = ctx->objects[8];
    int tw = 0, th = 0;
    TTF_SizeText(ctx->font, "Retry", &tw, &th);

    b.w = tw + 3, b.h = th + 2, b.margin_left = 9, b.margin_top = 9;
    EXPECT_EQ(tav_format_small_obj(ctx, 8), 1);
    EXPECT_STREQ(b.text, "Retry");
    EXPECT_EQ(b.margin_left, 1);
    EXPECT_EQ(b.margin_top, 9);
    b.w = tw + 2, b.h = th + 7, b.margin_left = 9;
    EXPECT_EQ(tav_format_small_obj(ctx, 8), 2);
    EXPECT_EQ(b.margin_left, 9);
    EXPECT_EQ(b.margin_top, 3);

    EXPECT_EQ(tav_format_small_obj(ctx, 9), 3);
    EXPECT_EQ(tav_format_small_obj(ctx, 10), 0);
    b.text[0] = '\0';
    EXPECT_EQ(tav_format_small_obj(ctx, 8), 0);
    EXPECT_EQ(tav_format_small_obj(ctx, 999), 0);
}

TEST(TextShort, FormFieldsArePaddedOnTheLeft)
{
    RawLayout layout;
    layout.add(TAV_KIND_NUMBER);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    char *text = ctx->objects[8].text;
    auto fill = [&](const char *before, uint32_t width, int32_t pad) {
        std::strcpy(text, before);
        ctx->objects[8].text_length = -1;
        tav_fill_form_with_dummies(ctx, text, 8, width, pad);
        return std::string(text);
    };
    EXPECT_EQ(fill("5", 4, '0'), "0005");
    EXPECT_EQ(ctx->objects[8].text_length, 4);
    EXPECT_EQ(fill("123", 4, 0x130), "0123");  // the low byte counts
    EXPECT_EQ(fill("", 4, '0'), "0000");
    EXPECT_EQ(fill("12345", 4, '0'), "12345");
    EXPECT_EQ(ctx->objects[8].text_length, -1);
    EXPECT_EQ(fill("7", 0, '0'), "7");
    EXPECT_EQ(fill("7", 4, 0x100), "7");
    // A form wider than the object's text field would overflow it.
    EXPECT_EQ(fill("7", TAV_SHORT_TEXT_SIZE, '0'), "7");
    EXPECT_EQ(fill("7", TAV_SHORT_TEXT_SIZE - 1, '0').size(), size_t(TAV_SHORT_TEXT_SIZE - 1));
}

TEST(TextLoad, WindowTextIsReplacedLaidOutAndCutAt999)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).set(off::w, 300).set(off::h, 200).set(off::text_record, 1).set(off::line_width, 280);
    layout.add(TAV_KIND_LABEL).set(off::w, 80).set(off::h, 30).str(off::text, "Yes");
    layout.add(TAV_KIND_LABEL).set(off::w, 80).set(off::h, 30).str(off::text, "No");
    layout.texts.emplace_back(8, "first\nsecond\nthird");
    Screen screen;
    tav_context *ctx = screen.start(layout);
    screen.open_font(12);
    tav_format_object_text(ctx, 8);
    ASSERT_EQ(ctx->objects[8].line_count, 2u);

    EXPECT_EQ(tav_load_window_text(ctx, 8, "only"), 0);
    EXPECT_STREQ(ctx->line_buffers[1].lines[0], "only");
    EXPECT_STREQ(ctx->line_buffers[1].lines[1], "");
    EXPECT_STREQ(ctx->line_buffers[1].lines[2], "");

    const std::string long_text(1500, 'x');
    tav_load_window_text(ctx, 8, long_text.c_str());
    EXPECT_EQ(std::strlen(ctx->text_records[1].text), 999u);
    EXPECT_EQ(ctx->objects[8].text_length, 999);

    EXPECT_EQ(tav_load_window_text_buttons(ctx, 8, "Sure?", 9, 10), 2);
    EXPECT_STREQ(ctx->text_records[1].text, "Sure?");
    EXPECT_GT(ctx->objects[9].margin_left, 0);
    EXPECT_GT(ctx->objects[10].margin_left, ctx->objects[9].margin_left);
    EXPECT_EQ(tav_load_window_text(ctx, 9, "no record"), 0);
}

TEST(TextStrings, LengthsAndCopies)
{
    EXPECT_EQ(tav_count_string_size_without_zero("abc"), 3u);
    EXPECT_EQ(tav_count_string_size_without_zero(""), 0u);
    EXPECT_EQ(tav_get_lastposition_before_zero("abc"), 2u);
    EXPECT_EQ(tav_get_lastposition_before_zero(""), 0xFFFFFFFFu);

    char dst[16];
    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(tav_copy_st_last_part("hello", dst), 5u);
    EXPECT_STREQ(dst, "hello");
    EXPECT_EQ(tav_copy_st_last_part("", dst), 0u);
    EXPECT_STREQ(dst, "");

    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(tav_copy_st_first_part(2, "abcdef", dst), dst + 3);
    EXPECT_STREQ(dst, "abc");
    EXPECT_EQ(tav_copy_st_first_part(10, "ab", dst), dst + 2);
    EXPECT_STREQ(dst, "ab");
    // The last index of an empty text stands for "no character".
    EXPECT_EQ(tav_copy_st_first_part(tav_get_lastposition_before_zero(""), "abc", dst), dst);
    EXPECT_STREQ(dst, "");
}

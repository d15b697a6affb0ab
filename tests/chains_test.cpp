// Chains: one big stream laid out over the members of a chain mother, the
// fitting of member heights, and loading a stream from a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/harness.h"

using namespace tavtest;

namespace {

constexpr uint32_t mother = 8, first = 9, second = 10, box = 11, bare = 12;
constexpr uint32_t capacity = 20000;

std::string numbered_lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string(i) + "\n";
    return text;
}

// A mother (8) with the members 9 and 10 stacked one below the other, a
// plain box (11) and a kind-8 object without text record (12). The harness
// frees the streams of all objects, as the programs do before closing.
struct Chain {
    Screen screen{640, 480};
    tav_context *ctx = nullptr;

    Chain()
    {
        RawLayout layout;
        layout.add(TAV_KIND_CHAIN).set(off::x, 10).set(off::y, 10).set(off::w, 300).set(off::h, 420)
            .dep(0, first).dep(1, second);
        for (uint32_t i = 0; i < 2; ++i)
            layout.add(TAV_KIND_CHAIN).set(off::x, 12).set(off::y, 12 + 210 * i).set(off::w, 290).set(off::h, 200)
                .set(off::line_width, 280).set(off::margin_top, 3).set(off::margin_bottom, 4)
                .set(off::line_spacing, 2).set(off::master, mother).set(off::text_record, i + 1);
        layout.add(TAV_KIND_BOX).set(off::w, 10).set(off::h, 10).set(off::text_record, 3);
        layout.add(TAV_KIND_CHAIN).set(off::w, 10).set(off::h, 10);
        for (uint32_t i = 0; i < 3; ++i) layout.texts.emplace_back(first + i, "");
        ctx = screen.start(layout);
        screen.open_font(12);
        EXPECT_EQ(tav_prepare_chain_mother(ctx, mother, capacity), 1);
    }

    tav_object &obj(uint32_t n) { return ctx->objects[n]; }
    std::string line(uint32_t record, uint32_t j) { return ctx->line_buffers[record].lines[j]; }
    void lay_out(const std::string &text)
    {
        std::strcpy(obj(mother).stream, text.c_str());
        tav_format_stream_to_linked_objects(ctx, mother);
    }
    int row_height() { return TTF_FontHeight(ctx->font) + 2; }
};

}  // namespace

TEST(ChainLayout, StreamFlowsFromMemberToMember)
{
    Chain c;
    c.lay_out(numbered_lines(45));
    EXPECT_EQ(c.line(1, 0), "0");
    EXPECT_EQ(c.line(1, 39), "39");
    EXPECT_EQ(c.obj(first).line_count, 39u);
    EXPECT_EQ(c.line(2, 0), "40");
    EXPECT_EQ(c.line(2, 4), "44");
    EXPECT_EQ(c.obj(second).line_count, 5u);
    // Members keep their heights while the mother's text_format is 0.
    EXPECT_EQ(c.obj(first).h, 200);
    EXPECT_EQ(c.obj(mother).h, 420);

    // A shorter stream leaves nothing of the earlier one behind.
    c.lay_out("short");
    EXPECT_EQ(c.line(1, 0), "short");
    EXPECT_EQ(c.line(1, 1), "");
    EXPECT_EQ(c.line(2, 0), "");
    EXPECT_EQ(c.obj(second).line_count, 0u);
}

TEST(ChainLayout, WordsAndSpacesWrapIntoTheNextMember)
{
    Chain c;
    const std::string word(20, 'x');
    int w = 0, h = 0;
    TTF_SizeText(c.ctx->font, word.c_str(), &w, &h);
    c.obj(first).line_width = c.obj(second).line_width = w + 2;
    std::string text = numbered_lines(39) + "last";
    c.lay_out(text + " " + word);
    // The word that does not fit on line 39 opens the next member.
    EXPECT_EQ(c.line(1, 39), "last ");
    EXPECT_EQ(c.line(2, 0), word);
    EXPECT_EQ(c.obj(second).line_count, 0u);
    // A space that overflows line 39 begins the next member.
    TTF_SizeText(c.ctx->font, "last", &w, &h);
    c.obj(first).line_width = w;
    c.lay_out(text + " more");
    EXPECT_EQ(c.line(1, 39), "last");
    EXPECT_EQ(c.line(2, 0), " more");
}

TEST(ChainLayout, EmptyStreamShowsEmptyMembers)
{
    Chain c;
    c.obj(mother).text_format = 1;
    std::strcpy(c.ctx->line_buffers[2].lines[0], "stale");
    c.lay_out("");
    EXPECT_EQ(c.line(1, 0), "");
    EXPECT_EQ(c.line(2, 0), "");
    EXPECT_EQ(c.obj(first).h, 200);
    EXPECT_EQ(c.obj(mother).h, 420);
}

TEST(ChainFitting, FormatOneFitsMembersAndTheMother)
{
    Chain c;
    c.obj(mother).text_format = 1;
    c.lay_out("one\ntwo\nthree");
    const int32_t fitted = 3 * c.row_height() + 3 + 4;
    EXPECT_EQ(c.obj(first).h, fitted);
    EXPECT_EQ(c.obj(mother).h, 420 + fitted - 200);
    EXPECT_EQ(c.obj(second).h, 200);
    EXPECT_EQ(c.obj(second).y, 222);
    // Laying the same text out again changes nothing.
    c.lay_out("one\ntwo\nthree");
    EXPECT_EQ(c.obj(first).h, fitted);
    EXPECT_EQ(c.obj(mother).h, 420 + fitted - 200);
}

TEST(ChainFitting, FormatTwoMovesTheNextMemberByTheGrowth)
{
    Chain c;
    c.obj(mother).text_format = 2;
    c.lay_out(numbered_lines(42));
    const int32_t growth1 = 40 * c.row_height() + 7 - 200;
    const int32_t fitted2 = 3 * c.row_height() + 7;
    EXPECT_EQ(c.obj(first).h, 200 + growth1);
    EXPECT_EQ(c.obj(second).y, 222 + growth1);
    EXPECT_EQ(c.obj(second).h, fitted2);
    EXPECT_EQ(c.obj(mother).h, 420 + growth1 + fitted2 - 200);
}

TEST(ChainLayout, ChainEndsAtZeroForeignOrRecordlessEntries)
{
    for (uint32_t end : {0u, box, bare, 5000u}) {
        Chain c;
        c.obj(mother).dependents[1] = end;
        c.obj(mother).dependents[2] = second;
        c.lay_out(numbered_lines(60));
        EXPECT_EQ(c.line(1, 39), "39") << end;
        EXPECT_EQ(c.line(2, 0), "") << end;
        EXPECT_EQ(c.line(3, 0), "") << end;
        EXPECT_EQ(c.obj(first).line_count, 39u);
    }
    // A mother whose first entry is no member, or that is no chain, is left alone.
    Chain c;
    c.obj(mother).dependents[0] = box;
    c.lay_out("text");
    EXPECT_EQ(c.line(1, 0), "");
    c.obj(mother).dependents[0] = first;
    c.obj(mother).kind = TAV_KIND_BOX;
    c.lay_out("text");
    EXPECT_EQ(c.line(1, 0), "");
    EXPECT_EQ(tav_format_stream_to_linked_objects(c.ctx, 0), 0);
}

TEST(ChainLayout, WalkingAndPlacingAtTheEndOfTheChain)
{
    Chain c;
    uint32_t m = 0, member = first, record = 1, line = 39, column = 0, length = 4;
    EXPECT_EQ(tav_go_to_next_chainmember(c.ctx, mother, &m, &member, &record, &line, &column), 0);
    EXPECT_EQ(m, 1u);
    EXPECT_EQ(member, second);
    EXPECT_EQ(record, 2u);
    EXPECT_EQ(c.obj(first).line_count, 39u);
    line = 39;
    // The last member's last line takes the word; the forced break finds no member.
    EXPECT_EQ(tav_copy_word_big(c.ctx, mother, &m, &record, "word", &line, &column, &length, &member, 1), -1);
    EXPECT_EQ(c.line(2, 39), "word");
    EXPECT_EQ(length, 0u);
    m = 99;
    EXPECT_EQ(tav_go_to_next_chainmember(c.ctx, mother, &m, &member, &record, &line, &column), 1);
    m = 0xFFFFFFFFu;
    EXPECT_EQ(tav_go_to_next_chainmember(c.ctx, mother, &m, &member, &record, &line, &column), 1);
    m = 5, length = 4;
    EXPECT_EQ(tav_copy_word_big(c.ctx, mother, &m, &record, "word", &line, &column, &length, &member, 0), -1);
}

TEST(ChainStream, FilesAreReadWithRoomForTheTerminator)
{
    Chain c;
    const std::string path = temp_name(".txt");
    tav_object &mo = c.obj(mother);
    EXPECT_EQ(tav_prepare_chain_mother(c.ctx, 9999, 8), -1);
    ASSERT_EQ(tav_prepare_chain_mother(c.ctx, box, 8), 1);
    std::free(mo.stream);
    mo.stream = c.obj(box).stream;
    mo.capacity = 8;
    c.obj(box).stream = nullptr;

    write_file(path, {'a', 'b', 'c', 'd', 'e', 'f', 'g'});
    EXPECT_EQ(tav_read_external_stream_copy_to_object(c.ctx, path.c_str(), mother), 1);
    EXPECT_EQ(std::string(mo.stream), "abcdefg");
    EXPECT_EQ(mo.text_length, 7);

    // A file of exactly the capacity is refused and the stream kept.
    write_file(path, {'1', '2', '3', '4', '5', '6', '7', '8'});
    EXPECT_EQ(tav_read_external_stream_copy_to_object(c.ctx, path.c_str(), mother), -1);
    EXPECT_EQ(std::string(mo.stream), "abcdefg");
    EXPECT_EQ(mo.stream[7], '\0');

    // A shorter file leaves only zeros behind its bytes.
    write_file(path, {'x', 'y'});
    EXPECT_EQ(tav_read_external_stream_copy_to_object(c.ctx, path.c_str(), mother), 1);
    EXPECT_EQ(std::string(mo.stream), "xy");
    for (int i = 2; i < 8; ++i) EXPECT_EQ(mo.stream[i], '\0') << i;

    EXPECT_EQ(tav_read_external_stream_copy_to_object(c.ctx, "no-such-file.txt", mother), 0);
    EXPECT_EQ(tav_read_external_stream_copy_to_object(c.ctx, path.c_str(), bare), -1);  // has no stream

    char *bytes = tav_read_external_stream(path.c_str());
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, "xy", 2), 0);
    std::free(bytes);
    EXPECT_EQ(tav_read_external_stream("no-such-file.txt"), nullptr);
    std::remove(path.c_str());
}

TEST(ChainStream, ReadStreamIsLaidOut)
{
    Chain c;
    const std::string path = temp_name(".txt");
    const std::string text = "Gr\x81\x94" "e aus der Kette\n" + numbered_lines(50);
    write_file(path, std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(tav_read_external_stream_copy_to_object(c.ctx, path.c_str(), mother), 1);
    std::remove(path.c_str());
    tav_format_stream_to_linked_objects(c.ctx, mother);
    EXPECT_EQ(c.line(1, 0), "Gr\xFC\xF6" "e aus der Kette");
    EXPECT_EQ(c.line(2, 0), "39");
    EXPECT_EQ(c.line(2, 10), "49");
}

// tavrin_layout, run as a program: round trips between pairs and their text
// form, mistakes in sources, the problems `check` finds and `render`.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include "support/harness.h"

using tavtest::RawLayout;
using tavtest::RawText;
using tavtest::read_file;
using tavtest::temp_name;
namespace off = tavtest::off;

namespace {

struct ToolRun {
    int status;
    std::string out, err;
};

std::string quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string text_of(const std::string &path)
{
    std::vector<uint8_t> bytes = read_file(path);
    return std::string(bytes.begin(), bytes.end());
}

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string &path)
{
    return std::ifstream(path).good();
}

// The build's tools folder, named by the build.
std::string tools_dir()
{
    return TAVRIN_TOOLS_DIR;
}

// Runs tavrin_layout from the build's tools folder with the given arguments.
ToolRun tool(const std::vector<std::string> &args)
{
    std::string out = temp_name(".out"), err = temp_name(".err");
    std::string command = quoted(tools_dir() + "/tavrin_layout");
    for (const std::string &a : args) command += " " + quoted(a);
    int status = std::system((command + " >" + out + " 2>" + err).c_str());
    ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, text_of(out), text_of(err)};
    std::remove(out.c_str());
    std::remove(err.c_str());
    // In a sanitizer build the tool's own reports land here.
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
    return run;
}

// Bytes with every field set: random numbers everywhere, and strings of
// random length (zeros after their terminator) or filling their whole field.
std::vector<uint8_t> random_records(std::mt19937 &rng, size_t count, size_t size,
                                    const std::vector<std::pair<size_t, size_t>> &strings)
{
    std::vector<uint8_t> bytes(count * size);
    for (uint8_t &b : bytes) b = uint8_t(rng());
    for (size_t r = 0; r < count; ++r)
        for (auto [offset, length] : strings) {
            size_t used = rng() % 3 == 0 ? length : rng() % length;
            for (size_t i = 0; i < length; ++i) bytes[r * size + offset + i] = i < used ? uint8_t(1 + rng() % 255) : 0;
        }
    return bytes;
}

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A small layout written as a source: operators, two windows, a button.
const char *const two_windows = R"({
  "styles": {
    "operator": {"w": 16, "h": 16, "kind": "label", "fill": [200, 200, 200]},
    "window": {"kind": "window", "fill": [255, 255, 255], "border_style": 1}
  },
  "objects": {
    "1": {"style": "operator"}, "2": {"style": "operator"}, "3": {"style": "operator"},
    "4": {"style": "operator"}, "5": {"style": "operator"}, "6": {"style": "operator"},
    "7": {"style": "operator"},
    "8": {"style": "window", "x": 20, "y": 40, "w": 200, "h": 100, "text_record": "Grüße\nzwei Zeilen"},
    "9": {"kind": "label", "master": 8, "x": 30, "y": 110, "w": 50, "h": 20, "text": "OK"},
    "10": {"style": "window", "x": 150, "y": 120, "w": 120, "h": 80, "fill": [250, 0, 0]}
  }
})";

}  // namespace

TEST(LayoutToolRoundTrip, GeneratedPairsComeBackByteForByte)
{
    std::string tav = temp_name(".tav"), taw = temp_name(".taw"), src = temp_name(".json");
    std::string tav2 = temp_name("2.tav"), taw2 = temp_name("2.taw");
    std::mt19937 rng(7);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        // Round 0 is a well-formed size; later rounds add partial records.
        std::vector<uint8_t> objects = random_records(rng, 12, TAV_OBJECT_RECORD_SIZE,
                                                      {{off::text, 68}, {off::font_file, 68}, {off::image_file, 68}});
        std::vector<uint8_t> texts = random_records(rng, 3, TAV_TEXT_RECORD_SIZE, {{8, 1000}});
        if (round > 0) {
            objects.resize(objects.size() + 100 * round, uint8_t(round));
            texts.resize(texts.size() + 7, 0);
        }
        tavtest::write_file(tav, objects);
        tavtest::write_file(taw, texts);

        ToolRun unpacked = tool({"unpack", tav, taw});
        ASSERT_EQ(unpacked.status, 0) << unpacked.err;
        write_text(src, unpacked.out);
        ToolRun packed = tool({"pack", "--force", src, tav2, taw2});
        ASSERT_EQ(packed.status, 0) << packed.err;
        EXPECT_EQ(read_file(tav2), objects);
        EXPECT_EQ(read_file(taw2), texts);
        // The text form of the copy is the same text again.
        EXPECT_EQ(tool({"unpack", tav2, taw2}).out, unpacked.out);
    }
    for (const std::string &f : {tav, taw, src, tav2, taw2}) std::remove(f.c_str());
}

TEST(LayoutToolRoundTrip, SourceUnpacksToItsNormalForm)
{
    std::string src = temp_name(".json"), tav = temp_name(".tav"), taw = temp_name(".taw");
    write_text(src, R"({
  "styles": {"base": {"w": 16, "h": 16, "fill": [1, 2, 3]}, "button": {"style": "base", "kind": 2, "h": 20}},
  "object_count": 13,
  "objects": {
    "1": {"style": "button", "text": "Zurück", "comment": "move"},
    "7": {"style": "button", "h": 0},
    "8": {"kind": "window", "w": 300, "h": 200, "offset_y": 21, "text_record": {"text": "Ä", "cursor_position": 1}},
    "11": {"master": 8, "kind": "box", "w": 5, "h": 5, "text_colour": [256, -1, 0]},
    "9": {"master": 8, "w": 5, "h": 5, "text_record": 2, "dependents": [11, 0, 12]},
    "12": {"text_record": "second"}
  },
  "texts": {"2": {"owner": 9, "text": "x"}}
})");
    ToolRun packed = tool({"pack", src, tav, taw});
    ASSERT_EQ(packed.status, 0) << packed.err;
    std::vector<uint8_t> objects = read_file(tav), texts = read_file(taw);
    ASSERT_EQ(objects.size(), 13u * TAV_OBJECT_RECORD_SIZE);
    ASSERT_EQ(texts.size(), 3u * TAV_TEXT_RECORD_SIZE);
    // Latin-1 in the files; inline texts take the free numbers 1 and 3.
    EXPECT_EQ(objects[off::text + 3], 0xFC);
    EXPECT_EQ(texts[8], 0xC4);
    EXPECT_EQ(texts[2 * TAV_TEXT_RECORD_SIZE], 12);

    const std::string expected = R"({
  "object_count": 13,
  "objects": {
    "1": {"w": 16, "h": 20, "fill": [1, 2, 3], "text": "Zurück", "kind": "label"},
    "7": {"w": 16, "fill": [1, 2, 3], "kind": "label"},
    "8": {"w": 300, "h": 200, "text_record": 1, "kind": "window", "offset_y": 21},
    "9": {"w": 5, "h": 5, "text_record": 2, "master": 8, "dependents": [11, 0, 12]},
    "11": {"w": 5, "h": 5, "text_colour": [256, -1, 0], "kind": "box", "master": 8},
    "12": {"text_record": 3}
  },
  "text_record_count": 3,
  "texts": {
    "1": {"owner": 8, "cursor_position": 1, "text": "Ä"},
    "2": {"owner": 9, "text": "x"},
    "3": {"owner": 12, "text": "second"}
  }
}
)";
    ToolRun unpacked = tool({"unpack", tav, taw});
    EXPECT_EQ(unpacked.status, 0);
    EXPECT_EQ(unpacked.out, expected);
    for (const std::string &f : {src, tav, taw}) std::remove(f.c_str());
}

TEST(LayoutToolPack, MistakesNameTheirPlaceAndLeaveNoFile)
{
    struct Case {
        const char *source;
        const char *message;
    };
    const Case cases[] = {
        {"{\"objects\": {\n \"8\": {\"x\": 1,,}}}", "line 2"},
        {R"({"objects": {"8": {"colour": [1, 2, 3]}}})", "object 8: field \"colour\": unknown field name"},
        {R"({"objects": {"8": {"x": "ten"}}})", "object 8: field \"x\": expected an integer"},
        {R"({"objects": {"8": {"w": 2147483648}}})", "object 8: field \"w\": 2147483648 is out of range"},
        {R"({"objects": {"8": {"fill": [1, 2]}}})", "object 8: field \"fill\": expected a colour"},
        {R"({"objects": {"9": {"text": "5 €"}}})", "object 9: field \"text\": character U+20AC is outside Latin-1"},
        {R"({"objects": {"9": {"text": "a\u0000b"}}})", "object 9: field \"text\": a string cannot hold a zero"},
        {R"({"objects": {"9": {"kind": "button"}}})", "object 9: field \"kind\": unknown kind"},
        {R"({"styles": {"s": {"y": true}}, "objects": {"9": {"style": "s"}}})", "object 9: field \"y\" (from style \"s\")"},
        {R"({"styles": {"a": {"style": "b"}, "b": {"style": "a"}}, "objects": {"9": {"style": "a"}}})", "inherits itself"},
        {R"({"objects": {"9": {"style": "nothing"}}})", "unknown style \"nothing\""},
        {R"({"objects": {"09": {}}})", "object \"09\""},
        {R"({"object_count": 3, "objects": {"9": {}}})", "\"object_count\": 3 is less than"},
        {R"({"objects": {"9": {"text_record": {"text": "a", "number": 1}}}, "texts": {"1": "b"}})", "text record 1 is written twice"},
        {R"({"texts": {"1": {"owner": 2, "colour": 1}}})", "text record 1: field \"colour\": unknown field name"},
        {R"({"objects": {"1": {}}, "extra": 1})", "unknown entry \"extra\""},
        {R"({"objects": {"8": {"x": 1, "x": 2}}})", "\"objects / 8 / x\" is written twice"},
    };
    std::string src = temp_name(".json"), tav = temp_name(".tav"), taw = temp_name(".taw");
    std::string long_text(69, 'a');
    std::vector<Case> all(std::begin(cases), std::end(cases));
    std::string too_long = R"({"objects": {"9": {"font_file": ")" + long_text + R"("}}})";
    all.push_back({too_long.c_str(), "object 9: field \"font_file\": the text has 69 characters, the field holds 68"});
    for (const Case &c : all) {
        SCOPED_TRACE(c.source);
        write_text(src, c.source);
        ToolRun run = tool({"pack", src, tav, taw});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(src + ": "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(exists(tav));
        EXPECT_FALSE(exists(taw));
    }
    // A failed pack leaves an earlier pair as it was.
    write_text(tav, "old objects");
    write_text(src, R"({"objects": {"8": {"x": 1.5}}})");
    EXPECT_EQ(tool({"pack", src, tav, taw}).status, 1);
    EXPECT_EQ(text_of(tav), "old objects");
    for (const std::string &f : {src, tav, taw}) std::remove(f.c_str());
}

TEST(LayoutToolPack, WritesWhatTheSourceSaysWithWarnings)
{
    std::string src = temp_name(".json"), tav = temp_name(".tav"), taw = temp_name(".taw");
    // No text records: no text file, and the tool says so. A dependents
    // list out of step with the masters is only a warning.
    write_text(src, R"({"objects": {"7": {"w": 16, "h": 16}, "8": {"dependents": [7]}}})");
    ToolRun run = tool({"pack", src, tav, taw});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(taw + " not written"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("warning: " + tav + ": object 8: dependents: entry 1: object 7 names no master"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(tav).size(), 8u * TAV_OBJECT_RECORD_SIZE);
    EXPECT_FALSE(exists(taw));
    std::remove(tav.c_str());

    // A master or dependent that does not exist fails with check's message
    // and writes nothing; --force writes it with a warning.
    for (const char *source : {R"({"objects": {"7": {}, "8": {"master": 30}}})",
                               R"({"objects": {"7": {}, "8": {"dependents": [9]}}})",
                               R"({"objects": {"7": {}, "8": {"dependents": [7, 31]}}})"}) {
        SCOPED_TRACE(source);
        write_text(src, source);
        run = tool({"pack", src, tav, taw});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("error: " + tav + ": object 8: "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(" is out of range (1 to 8)"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(src + " names objects that do not exist; nothing written"), std::string::npos) << run.err;
        EXPECT_FALSE(exists(tav));
        run = tool({"pack", src, tav, taw, "--force"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("warning: " + tav + ": object 8: "), std::string::npos) << run.err;
        EXPECT_EQ(read_file(tav).size(), 8u * TAV_OBJECT_RECORD_SIZE);
        std::remove(tav.c_str());
    }

    // More than a list holds naming one master asks for an explicit list.
    std::string many = R"({"objects": {"1": {})";
    for (int n = 2; n <= 102; ++n) many += ", \"" + std::to_string(n) + "\": {\"master\": 1}";
    write_text(src, many + "}}");
    run = tool({"pack", src, tav, taw});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("object 1: field \"dependents\": 101 objects name it as master"), std::string::npos) << run.err;
    for (const std::string &f : {src, tav, taw}) std::remove(f.c_str());
}

TEST(LayoutToolCheck, CleanPairPassesAndEveryProblemIsListed)
{
    std::string src = temp_name(".json"), tav = temp_name(".tav"), taw = temp_name(".taw");
    write_text(src, two_windows);
    ASSERT_EQ(tool({"pack", src, tav, taw}).status, 0);
    ToolRun clean = tool({"check", tav, taw});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "");

    RawLayout l;
    l.add(TAV_KIND_WINDOW).set(off::dependents, 9).set(off::dependents + 4, 40).set(off::text_record, 1);    // 8
    l.add(TAV_KIND_LABEL).set(off::master, 8).set(off::text_record, 5);                                      // 9
    l.add(TAV_KIND_LABEL).set(off::master, 8).str(off::text, std::string(68, 'x'));                          // 10
    l.add(11).set(off::master, 12).set(off::dependents, 12).set(off::font_state, 2);                         // 11
    l.add(9).set(off::master, 11).set(off::dependents, 11).set(off::text_record, 2);                         // 12
    l.add(TAV_KIND_LABEL).set(off::master, 11);  // 13: its chain runs into the loop above without closing it
    l.texts.emplace_back(8, "fine");
    l.texts.emplace_back(9, std::string(1000, 'y'));
    l.write(tav, taw);
    std::vector<uint8_t> partial = concat(read_file(tav), std::vector<uint8_t>(10, 0));
    tavtest::write_file(tav, partial);

    ToolRun run = tool({"check", tav, taw});
    EXPECT_EQ(run.status, 1);
    const std::string expected[] = {
        tav + ": 10 bytes of a partial record after the last whole record",
        tav + ": object 8: dependents: entry 2: 40 is out of range (1 to 13)",
        tav + ": object 9: text_record: 5 is out of range (1 to 2)",
        tav + ": object 10: text: no terminating zero in its 68 bytes",
        tav + ": object 10: master: object 8 does not list it among its dependents",
        tav + ": object 11: kind: 11 is not a kind (0 to 10)",
        tav + ": object 11: font_state: 2 is not stored in files (0 or 1)",
        tav + ": object 11: master: the chain of masters loops back to this object",
        tav + ": object 11: dependents: the lists lead back to this object",
        tav + ": object 12: kind: 9 (a loaded image) is stored as 4 in files",
        tav + ": object 12: master: the chain of masters loops back to this object",
        tav + ": object 12: dependents: the lists lead back to this object",
        tav + ": object 12: text_record: text record 2 names object 9 as its owner",
        tav + ": object 13: master: object 11 does not list it among its dependents",
        taw + ": text record 2: text: no terminating zero in its 1000 bytes",
        taw + ": text record 2: owner: object 9 shows text record 5",
    };
    std::string all;
    for (const std::string &line : expected) all += line + "\n";
    EXPECT_EQ(run.out, all);

    // Whatever check finds still unpacks and packs back to the same files.
    write_text(src, tool({"unpack", tav, taw}).out);
    std::string tav2 = temp_name("2.tav"), taw2 = temp_name("2.taw");
    EXPECT_EQ(tool({"pack", "--force", src, tav2, taw2}).status, 0);
    EXPECT_EQ(read_file(tav2), partial);
    EXPECT_EQ(read_file(taw2), read_file(taw));

    // Fewer than the seven operators, and a text file that was left out.
    tavtest::write_file(tav, std::vector<uint8_t>(3 * TAV_OBJECT_RECORD_SIZE, 0));
    std::remove(taw.c_str());
    run = tool({"check", tav});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, tav + ": 3 objects; a layout begins with the 7 window operators\n");
    for (const std::string &f : {src, tav, taw, tav2, taw2}) std::remove(f.c_str());
}

TEST(LayoutToolUsage, HelpBadUsageAndUnreadableFiles)
{
    for (const char *command : {"pack", "unpack", "check", "render"}) {
        ToolRun help = tool({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find(std::string("usage: tavrin_layout ") + command), std::string::npos);
    }
    EXPECT_EQ(tool({"--help"}).status, 0);
    ToolRun version = tool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tavrin_layout [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
    EXPECT_EQ(tool({"pack", "--frobnicate", "a.json", "b.tav", "c.taw"}).status, 2);
    EXPECT_EQ(tool({}).status, 2);
    EXPECT_EQ(tool({"frobnicate"}).status, 2);
    EXPECT_EQ(tool({"check"}).status, 2);
    EXPECT_EQ(tool({"pack", "a.json", "b.tav"}).status, 2);
    ToolRun missing = tool({"check", "no-such-file.tav"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no-such-file.tav"), std::string::npos);
    EXPECT_EQ(tool({"unpack", "no-such-file.tav"}).status, 2);
    EXPECT_EQ(tool({"pack", "no-such-file.json", "a.tav", "a.taw"}).status, 2);
    EXPECT_EQ(tool({"render", "a.tav", "b.png", "--size", "big"}).status, 2);
}

TEST(LayoutToolRender, TwoOpenWindowsInStackOrder)
{
    std::string src = temp_name(".json"), tav = temp_name(".tav"), taw = temp_name(".taw"), png = temp_name(".png");
    write_text(src, two_windows);
    ASSERT_EQ(tool({"pack", src, tav, taw}).status, 0);
    ToolRun run = tool({"render", tav, taw, png, "--size", "320x240", "--open", "8,10"});
    ASSERT_EQ(run.status, 0) << run.err;
    SDL_Surface *loaded = IMG_Load(png.c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface *image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 320);
    EXPECT_EQ(image->h, 240);
    auto pixel = [&](int x, int y) {
        return static_cast<const uint32_t *>(image->pixels)[y * image->pitch / 4 + x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(2, 2), 0xF0F0F0u);      // background
    EXPECT_EQ(pixel(200, 60), 0xFFFFFFu);   // window 8, behind
    EXPECT_EQ(pixel(240, 190), 0xFA0000u);  // window 10 in front, over window 8
    EXPECT_EQ(pixel(160, 130), 0xFA0000u);
    SDL_FreeSurface(image);

    // A window number that is no window is refused before anything starts.
    ToolRun wrong = tool({"render", tav, taw, png, "--open", "9"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("object 9 is not a window"), std::string::npos);
    for (const std::string &f : {src, tav, taw, png}) std::remove(f.c_str());
}

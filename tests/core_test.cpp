// Loading a layout: the file formats, the loading rules, the exits on
// unreadable files and the repairs of malformed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "support/harness.h"

using namespace tavtest;

namespace {

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every master chain ends and every walk down the dependents lists ends.
void expect_finite_walks(tav_context *ctx, uint32_t array_size)
{
    for (uint32_t i = 1; i < array_size; ++i) {
        uint32_t n = i, steps = 0;
        while (n != 0 && steps <= array_size) {
            ASSERT_LT(n, array_size);
            n = ctx->objects[n].master;
            ++steps;
        }
        EXPECT_EQ(n, 0u) << "master chain of object " << i << " loops";
    }
    // A walk down that ever revisits an object on its own path would never end.
    std::vector<int> state(array_size, 0);
    std::function<bool(uint32_t)> acyclic = [&](uint32_t o) {
        if (state[o] == 1) return false;
        if (state[o] == 2) return true;
        state[o] = 1;
        for (int k = 0; k < TAV_MAX_DEPENDENTS && ctx->objects[o].dependents[k]; ++k) {
            uint32_t d = ctx->objects[o].dependents[k];
            if (d >= array_size || !acyclic(d)) return false;
        }
        state[o] = 2;
        return true;
    };
    for (uint32_t i = 1; i < array_size; ++i) EXPECT_TRUE(acyclic(i)) << "dependents of " << i << " loop";
}

}  // namespace

TEST(LoaderFormat, EveryLoadedFieldComesFromItsOffset)
{
    RawLayout layout;
    RawObject &o = layout.add(TAV_KIND_WINDOW);
    uint32_t v = 1000;
    for (int offset : {off::x, off::y, off::w, off::h, off::fill_r, off::fill_g, off::fill_b, off::font_size,
                       off::text_r, off::text_g, off::text_b, off::margin_left, off::margin_right, off::margin_top,
                       off::margin_bottom, off::text_format, off::line_width, off::line_spacing, off::window_style,
                       off::editable, off::text_length, off::capacity, off::border_style, off::border_distance,
                       off::border_r, off::border_g, off::border_b, off::scroll_extent_w, off::scroll_extent_h,
                       off::pinned})
        o.set(offset, v++);
    o.set(off::x, uint32_t(-5)).set(off::hidden, 1).set(off::text_record, 1).set(off::master, 0);
    o.str(off::text, "Title").str(off::font_file, "none.ttf").str(off::image_file, "pic.bmp");
    o.dep(0, 3).dep(1, 4);
    layout.texts.emplace_back(8, "Hello");
    Screen screen;
    tav_context *ctx = screen.start(layout);
    ASSERT_EQ(ctx->object_count, 8u);
    const tav_object &w = ctx->objects[8];
    EXPECT_EQ(w.x, -5);
    EXPECT_EQ(w.y, 1001);
    EXPECT_EQ(w.w, 1002);
    EXPECT_EQ(w.h, 1003);
    EXPECT_EQ(w.fill_r, 1004);
    EXPECT_EQ(w.fill_b, 1006);
    EXPECT_EQ(w.font_size, 1007);
    EXPECT_EQ(w.text_r, 1008);
    EXPECT_EQ(w.margin_left, 1011);
    EXPECT_EQ(w.margin_bottom, 1014);
    EXPECT_EQ(w.text_format, 1015);
    EXPECT_EQ(w.line_width, 1016);
    EXPECT_EQ(w.line_spacing, 1017);
    EXPECT_EQ(w.window_style, 1018);
    EXPECT_EQ(w.editable, 1019);
    EXPECT_EQ(w.text_length, 1020);
    EXPECT_EQ(w.capacity, 1021u);
    EXPECT_EQ(w.border_style, 1022);
    EXPECT_EQ(w.border_distance, 1023);
    EXPECT_EQ(w.border_r, 1024);
    EXPECT_EQ(w.border_b, 1026);
    EXPECT_EQ(w.scroll_extent_w, 1027);
    EXPECT_EQ(w.scroll_extent_h, 1028);
    EXPECT_EQ(w.pinned, 1029);
    EXPECT_EQ(w.hidden, 1);
    EXPECT_EQ(w.kind, uint32_t(TAV_KIND_WINDOW));
    EXPECT_EQ(w.text_record, 1u);
    EXPECT_STREQ(w.text, "Title");
    EXPECT_STREQ(w.font_file, "none.ttf");
    EXPECT_STREQ(w.image_file, "pic.bmp");
    EXPECT_EQ(w.dependents[0], 3u);
    EXPECT_EQ(w.dependents[1], 4u);
    EXPECT_EQ(ctx->text_record_count, 1u);
    EXPECT_EQ(ctx->text_records[1].owner, 8u);
    EXPECT_STREQ(ctx->text_records[1].text, "Hello");
}

TEST(LoaderFormat, RunTimeSlotsAreNotRead)
{
    RawLayout layout;
    RawObject &o = layout.add(TAV_KIND_TEXT).set(off::w, 10).set(off::h, 10);
    for (int offset : {off::line_count, off::reserved, off::cursor_x, off::cursor_y, off::cursor_row,
                       off::cursor_column, off::offset_x, off::offset_y})
        o.set(offset, 77);
    Screen screen;
    const tav_object &t = screen.start(layout)->objects[8];
    EXPECT_EQ(t.line_count, 0u);
    EXPECT_EQ(t.reserved, 0);
    EXPECT_EQ(t.cursor_x, 0);
    EXPECT_EQ(t.cursor_y, 0);
    EXPECT_EQ(t.cursor_row, 0u);
    EXPECT_EQ(t.cursor_column, 0u);
    EXPECT_EQ(t.offset_x, 0);
    EXPECT_EQ(t.offset_y, 0);
}

TEST(LoaderFormat, TrailingPartialRecordsAreIgnored)
{
    Screen screen;
    std::vector<uint8_t> bytes(TAV_OBJECT_RECORD_SIZE * 3 + 100, 0);
    write_file(temp_name(".tav"), bytes);
    tav_start_tavrin(screen.ctx, 5, 0, temp_name(".tav").c_str(), "absent.taw");
    EXPECT_EQ(screen.ctx->object_count, 3u);
}

TEST(LoaderFormat, TextRecordsWithPartialTailAndExtraRoom)
{
    RawLayout layout;
    layout.add(TAV_KIND_TEXT).set(off::text_record, 2);
    layout.texts.emplace_back(0, "one");
    layout.texts.emplace_back(8, "two");
    layout.write(temp_name(".tav"), temp_name(".taw"));
    std::vector<uint8_t> taw = read_file(temp_name(".taw"));
    taw.resize(taw.size() + 500, 'x');
    write_file(temp_name(".taw"), taw);
    Screen screen;
    tav_context *ctx = tav_start_tavrin(screen.ctx, 0, 3, temp_name(".tav").c_str(), temp_name(".taw").c_str());
    EXPECT_EQ(ctx->text_record_count, 2u);
    EXPECT_EQ(ctx->text_records_loaded, 1);
    EXPECT_STREQ(ctx->text_records[2].text, "two");
    // The extra records and every line buffer start empty.
    for (int r = 3; r <= 5; ++r) EXPECT_EQ(ctx->text_records[r].owner, 0u);
    EXPECT_EQ(ctx->line_buffers[5].lines[39][99], 0);
}

TEST(LoaderRules, HiddenIsTakenOnlyFromVisibleKindsThatAreIndependentOrBoxes)
{
    RawLayout layout;
    layout.add(TAV_KIND_EMPTY).set(off::hidden, 1);                           // 8
    layout.add(TAV_KIND_LABEL).set(off::hidden, 1);                           // 9
    layout.add(TAV_KIND_LABEL).set(off::hidden, 1).set(off::master, 9);      // 10
    layout.add(TAV_KIND_BOX).set(off::hidden, 1).set(off::master, 9);        // 11
    Screen screen;
    tav_context *ctx = screen.start(layout);
    EXPECT_EQ(ctx->objects[8].hidden, 0);
    EXPECT_EQ(ctx->objects[9].hidden, 1);
    EXPECT_EQ(ctx->objects[10].hidden, 0);
    EXPECT_EQ(ctx->objects[11].hidden, 1);
}

TEST(LoaderRules, DependentsLoadOnlyWhenTheFirstEntryIsSet)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).dep(1, 9).dep(2, 10);   // 8: first entry 0
    layout.add(TAV_KIND_WINDOW).dep(0, 10).dep(2, 8);   // 9: a gap at entry 1
    layout.add(TAV_KIND_LABEL).set(off::master, 9);     // 10
    Screen screen;
    tav_context *ctx = screen.start(layout);
    for (int k = 0; k < TAV_MAX_DEPENDENTS; ++k) EXPECT_EQ(ctx->objects[8].dependents[k], 0u);
    EXPECT_EQ(ctx->objects[9].dependents[0], 10u);
    EXPECT_EQ(ctx->objects[9].dependents[1], 0u);
    EXPECT_EQ(ctx->objects[9].dependents[2], 8u);
}

TEST(LoaderRules, NoTextFileIsOpenedWithoutTextRecords)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW);
    layout.write(temp_name(".tav"), "");
    Screen screen;
    tav_context *ctx = tav_start_tavrin(screen.ctx, 0, 0, temp_name(".tav").c_str(), "does-not-exist.taw");
    EXPECT_EQ(ctx->text_records_loaded, 0);
    EXPECT_EQ(ctx->text_records, nullptr);
    EXPECT_EQ(ctx->line_buffers, nullptr);
}

TEST(LoaderRules, MarkColourFollowsTheOperatorMode)
{
    for (int mode : {0, 1, 2}) {
        Screen screen;
        screen.ctx->operator_mode = mode;
        screen.ctx->mark_r = 1, screen.ctx->mark_g = 2, screen.ctx->mark_b = 3;
        tav_context *ctx = screen.start(RawLayout());
        std::vector<int> mark{ctx->mark_r, ctx->mark_g, ctx->mark_b};
        std::vector<int> expected = mode == 0 ? std::vector<int>{250, 150, 0}
                                    : mode == 1 ? std::vector<int>{110, 187, 245}
                                                : std::vector<int>{1, 2, 3};
        EXPECT_EQ(mark, expected) << "operator_mode " << mode;
    }
}

TEST(LoaderImages, LoadedImagesBecomeKindNineWithTheirSize)
{
    SDL_Surface *bmp = SDL_CreateRGBSurface(0, 13, 7, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_SaveBMP(bmp, "tmp_image.bmp");
    SDL_FreeSurface(bmp);
    RawLayout layout;
    layout.add(TAV_KIND_IMAGE_FILE).str(off::image_file, "tmp_image.bmp");  // 8
    layout.add(TAV_KIND_IMAGE_FILE).str(off::image_file, "missing.bmp").set(off::w, 5).set(off::h, 6);  // 9
    layout.add(TAV_KIND_LABEL);                                                                        // 10
    Screen screen;
    tav_context *ctx = screen.start(layout);
    EXPECT_EQ(ctx->objects[8].kind, uint32_t(TAV_KIND_IMAGE));
    EXPECT_EQ(ctx->objects[8].w, 13);
    EXPECT_EQ(ctx->objects[8].h, 7);
    EXPECT_NE(ctx->objects[8].image, nullptr);
    EXPECT_EQ(ctx->objects[9].kind, uint32_t(TAV_KIND_IMAGE_FILE));
    EXPECT_EQ(ctx->objects[9].w, 5);
    // The missing image is tried again; a failure is not hidden by a later
    // success.
    EXPECT_EQ(tav_load_object_images(ctx, 0), -1);
    ctx->objects[10].kind = TAV_KIND_IMAGE_FILE;
    std::strcpy(ctx->objects[10].image_file, "tmp_image.bmp");
    EXPECT_EQ(tav_load_object_images(ctx, 9), -1);
    EXPECT_EQ(ctx->objects[10].kind, uint32_t(TAV_KIND_IMAGE));
    EXPECT_EQ(tav_load_object_images(ctx, 10), 0);
    std::strcpy(ctx->objects[9].image_file, "tmp_image.bmp");
    EXPECT_EQ(tav_load_object_images(ctx, 0), 1);
    EXPECT_EQ(ctx->objects[9].kind, uint32_t(TAV_KIND_IMAGE));
    std::remove("tmp_image.bmp");
}

TEST(LoaderFonts, OwnFontsOpenOrReportAndKeepTheDefault)
{
    RawLayout layout;
    layout.add(TAV_KIND_LABEL).set(off::font_state, 1).set(off::font_size, 20).str(off::font_file, "DroidSans.ttf");
    layout.add(TAV_KIND_LABEL).set(off::font_state, 2).set(off::font_size, 20).str(off::font_file, "DroidSans.ttf");
    layout.add(TAV_KIND_LABEL).set(off::font_state, 1).set(off::font_size, 20).str(off::font_file, "nofont.ttf");
    layout.add(TAV_KIND_LABEL);
    Screen screen;
    testing::internal::CaptureStdout();
    tav_context *ctx = screen.start(layout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ctx->objects[8].font_state, 2);
    EXPECT_NE(ctx->objects[8].own_font, nullptr);
    EXPECT_EQ(ctx->objects[9].font_state, 2);  // a stored 2 opens nothing
    EXPECT_EQ(ctx->objects[9].own_font, nullptr);
    EXPECT_EQ(ctx->objects[10].font_state, 1);
    EXPECT_EQ(out.rfind("TTF_OpenFont: ", 0), 0u);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
    ctx->objects[9].font_state = 0;  // the file's 2 was never opened, so close must not close it
    testing::internal::CaptureStdout();
    EXPECT_EQ(tav_load_object_fonts(ctx, 0), -1);
    // A font that fails before one that opens still gives -1.
    ctx->objects[11].font_state = 1;
    ctx->objects[11].font_size = 14;
    std::strcpy(ctx->objects[11].font_file, "DroidSans.ttf");
    EXPECT_EQ(tav_load_object_fonts(ctx, 10), -1);
    EXPECT_EQ(ctx->objects[11].font_state, 2);
    testing::internal::GetCapturedStdout();
}

TEST(LoaderFiles, FileTypes)
{
    Screen screen;
    write_file("tmp_regular", {1, 2, 3});
    EXPECT_EQ(tav_check_file_type(screen.ctx, "tmp_regular"), TAV_FILE_REGULAR);
    EXPECT_EQ(tav_check_file_type(screen.ctx, "."), TAV_FILE_DIRECTORY);
    EXPECT_EQ(tav_check_file_type(screen.ctx, "no-such-file"), TAV_FILE_OTHER);
    EXPECT_EQ(tav_check_file_type(screen.ctx, "/dev/null"), TAV_FILE_OTHER);
    std::remove("tmp_regular");
}

// Runs start-up in a child process with standard output sent to a file: it
// must fail with status 1 and name the file on standard error.
#define EXPECT_START_FAILS(tav, taw, output, named)                                            \
    do {                                                                                       \
        std::string out_file = temp_name(".out");                                              \
        EXPECT_EXIT(                                                                           \
            {                                                                                  \
                std::freopen(out_file.c_str(), "w", stdout);                                   \
                tav_context *c = static_cast<tav_context *>(std::calloc(1, sizeof *c));       \
                tav_start_tavrin(c, 0, 0, tav, taw);                                           \
                std::fputs("returned", stdout);                                                \
                std::exit(3);                                                                  \
            },                                                                                 \
            ::testing::ExitedWithCode(1), named);                                              \
        EXPECT_EQ(slurp(out_file), output);                                                    \
        std::remove(out_file.c_str());                                                         \
    } while (0)

TEST(LoaderExits, UnreadableObjectFileFailsNamingTheFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_START_FAILS("no-such.tav", "no-such.taw", "Can't open file.\n", "no-such\\.tav: ");
}

TEST(LoaderExits, MissingTextFileFailsNamingTheFileWhenNeeded)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RawLayout layout;
    layout.add(TAV_KIND_TEXT).set(off::text_record, 1);
    layout.write(temp_name(".tav"), "");
    std::string tav = temp_name(".tav");
    EXPECT_START_FAILS(tav.c_str(), "no-such.taw", "Can't open file !\n\n", "no-such\\.taw: ");
    std::remove(tav.c_str());
}

TEST(LoaderRepairs, UnterminatedStringsAreCutAtTheirLastByte)
{
    RawLayout layout;
    RawObject &o = layout.add(TAV_KIND_LABEL);
    for (int i = 0; i < TAV_SHORT_TEXT_SIZE; ++i) {
        o.bytes[off::text + i] = 'a';
        o.bytes[off::font_file + i] = 'b';
        o.bytes[off::image_file + i] = 'c';
    }
    layout.add(TAV_KIND_TEXT).set(off::text_record, 1);
    layout.texts.emplace_back(9, std::string(TAV_RECORD_TEXT_SIZE, 'z'));
    Screen screen;
    testing::internal::CaptureStderr();
    tav_context *ctx = screen.start(layout);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string(ctx->objects[8].text), std::string(67, 'a'));
    EXPECT_EQ(std::string(ctx->objects[8].font_file), std::string(67, 'b'));
    EXPECT_EQ(std::string(ctx->objects[8].image_file), std::string(67, 'c'));
    EXPECT_EQ(std::string(ctx->text_records[1].text).size(), 999u);
    EXPECT_NE(err.find("object 8: text "), std::string::npos) << err;
    EXPECT_NE(err.find("object 8: image_file "), std::string::npos) << err;
    EXPECT_NE(err.find("text record 1: text "), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4);
}

TEST(LoaderRepairs, NumbersBeyondTheArraysAreTakenAsNone)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).dep(0, 9).dep(1, 500).dep(2, 10).set(off::text_record, 7);  // 8
    layout.add(TAV_KIND_LABEL).set(off::master, 8);                                          // 9
    layout.add(TAV_KIND_LABEL).set(off::master, 12);                                         // 10: 12 is extra room
    layout.add(TAV_KIND_LABEL).set(off::master, 14).set(off::text_record, 1);                // 11
    layout.texts.emplace_back(11, "x");
    Screen screen;
    testing::internal::CaptureStderr();
    tav_context *ctx = screen.start(layout, 2, 0);  // array: 0..13, so 14 is beyond it
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ctx->objects[8].dependents[0], 9u);
    EXPECT_EQ(ctx->objects[8].dependents[1], 10u);  // the later entry stays in the list
    EXPECT_EQ(ctx->objects[8].dependents[2], 0u);
    EXPECT_EQ(ctx->objects[8].text_record, 0u);
    EXPECT_EQ(ctx->objects[10].master, 12u);
    EXPECT_EQ(ctx->objects[11].master, 0u);
    EXPECT_EQ(ctx->objects[11].text_record, 1u);
    EXPECT_NE(err.find("object 8: dependents"), std::string::npos) << err;
    EXPECT_NE(err.find("object 8: text_record"), std::string::npos) << err;
    EXPECT_NE(err.find("object 11: master"), std::string::npos) << err;
}

TEST(LoaderRepairs, LoopsOfMastersAndListsAreCut)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).set(off::master, 10).dep(0, 9);  // 8 -> 10 -> 9 -> 8
    layout.add(TAV_KIND_LABEL).set(off::master, 8).dep(0, 10);   // 9
    layout.add(TAV_KIND_LABEL).set(off::master, 9).dep(0, 8).dep(1, 10);  // 10 (lists itself)
    layout.add(TAV_KIND_LABEL).set(off::master, 11);             // 11: its own master
    Screen screen;
    testing::internal::CaptureStderr();
    tav_context *ctx = screen.start(layout);
    std::string err = testing::internal::GetCapturedStderr();
    expect_finite_walks(ctx, ctx->object_count + 1);
    EXPECT_EQ(ctx->objects[11].master, 0u);
    EXPECT_NE(err.find("closes a loop of masters"), std::string::npos) << err;
    EXPECT_NE(err.find("closes a cycle of lists"), std::string::npos) << err;
    // A valid tree loads untouched.
    EXPECT_EQ(ctx->objects[8].dependents[0], 9u);
    EXPECT_EQ(ctx->objects[9].dependents[0], 10u);
}

TEST(LoaderRepairs, ValidLayoutsLoadWithoutRepairs)
{
    RawLayout layout;
    layout.add(TAV_KIND_WINDOW).dep(0, 9).dep(1, 10).set(off::text_record, 1);
    layout.add(TAV_KIND_WINDOW).set(off::master, 8).dep(0, 10);
    layout.add(TAV_KIND_LABEL).set(off::master, 9);  // listed by two masters: not a loop
    layout.texts.emplace_back(8, "text");
    Screen screen;
    testing::internal::CaptureStderr();
    screen.start(layout);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(LoaderRepairs, RandomBytesLoadSafely)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 40; ++round) {
        size_t objects = 1 + rng() % 12;
        std::vector<uint8_t> tav(objects * TAV_OBJECT_RECORD_SIZE + rng() % 50);
        std::vector<uint8_t> taw((rng() % 4) * TAV_TEXT_RECORD_SIZE + rng() % 30);
        for (uint8_t &b : tav) b = uint8_t(rng());
        for (uint8_t &b : taw) b = uint8_t(rng());
        // Small numbers in the number fields make loops and valid references likely.
        for (size_t i = 0; i < objects; ++i) {
            size_t base = i * TAV_OBJECT_RECORD_SIZE;
            for (int field : {off::master, off::text_record, off::kind, off::font_state})
                for (int k = 0; k < 4; ++k) tav[base + field + k] = k == 0 ? uint8_t(rng() % 14) : 0;
            for (int d = 0; d < 5; ++d)
                for (int k = 0; k < 4; ++k) tav[base + off::dependents + 4 * d + k] = k == 0 ? uint8_t(rng() % 14) : 0;
        }
        write_file(temp_name(".tav"), tav);
        write_file(temp_name(".taw"), taw);
        Screen screen;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        tav_context *ctx =
            tav_start_tavrin(screen.ctx, 2, 2, temp_name(".tav").c_str(), temp_name(".taw").c_str());
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(ctx->object_count, objects);
        expect_finite_walks(ctx, uint32_t(objects + 3));
        for (uint32_t i = 1; i <= objects; ++i) {
            EXPECT_NE(std::memchr(ctx->objects[i].text, 0, TAV_SHORT_TEXT_SIZE), nullptr);
            uint32_t r = ctx->objects[i].text_record;
            EXPECT_TRUE(r == 0 || r <= ctx->text_record_count + 2);
        }
    }
}

TEST(LoaderClose, ReleasesTheArraysAndShutsDown)
{
    RawLayout layout;
    layout.add(TAV_KIND_TEXT).set(off::text_record, 1);
    layout.texts.emplace_back(8, "t");
    Screen screen;
    tav_context *ctx = screen.start(layout);
    screen.open_font();
    screen.close();
    EXPECT_EQ(ctx->objects, nullptr);
    EXPECT_EQ(ctx->text_records, nullptr);
    EXPECT_EQ(ctx->line_buffers, nullptr);
    EXPECT_EQ(ctx->screen, nullptr);
    EXPECT_EQ(ctx->font, nullptr);
    EXPECT_EQ(TTF_WasInit(), 0);
}

TEST(LoaderClose, LargeLayoutWithTextsFontsAndImagesReleasesEverything)
{
    // Under the leak checker this proves that start-up and shut-down of a
    // large layout leave nothing behind.
    SDL_Surface *bmp = SDL_CreateRGBSurface(0, 4, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_SaveBMP(bmp, "tmp_large.bmp");
    SDL_FreeSurface(bmp);
    RawLayout layout;
    for (uint32_t i = 0; i < 2000; ++i) {
        RawObject &o = layout.add(i % 3 == 0 ? TAV_KIND_TEXT : TAV_KIND_IMAGE_FILE);
        o.set(off::w, 10).set(off::h, 10).str(off::image_file, "tmp_large.bmp");
        if (i % 3 == 0) o.set(off::text_record, i / 3 + 1);
        if (i % 50 == 0) o.set(off::font_state, 1).set(off::font_size, 9).str(off::font_file, "DroidSans.ttf");
        if (i % 3 == 0) layout.texts.emplace_back(8 + i, "text");
    }
    Screen screen;
    tav_context *ctx = screen.start(layout, 100, 100);
    screen.open_font();
    EXPECT_EQ(ctx->object_count, 2007u);
    EXPECT_EQ(ctx->objects[9].kind, uint32_t(TAV_KIND_IMAGE));
    EXPECT_EQ(ctx->objects[8].font_state, 2);
    screen.close();
    std::remove("tmp_large.bmp");
}

// Drawing of layouts and objects. A whole layout is compared with a
// reference image (drawing order, marks, windows pulled on screen, centred
// titles, borders, images); the other tests look at what the image cannot
// show: clipping per case, visibility and refitting of dependents, the line
// limit, the text cursor, and lists that lead back into themselves.
#include <gtest/gtest.h>

#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/harness.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

void colour(RawObject &o, int red_offset, uint32_t rgb)
{
    o.set(red_offset, (rgb >> 16) & 0xFF).set(red_offset + 4, (rgb >> 8) & 0xFF).set(red_offset + 8, rgb & 0xFF);
}

void paint_background(tav_context *ctx)
{
    SDL_FillRect(ctx->screen, nullptr, SDL_MapRGB(ctx->screen->format, 0xF0, 0xF0, 0xF0));
}

// Writes formatted lines straight into an object's line buffer, so that the
// drawing is tested without the text layout.
void set_lines(tav_context *ctx, uint32_t object, const std::vector<std::string> &lines)
{
    tav_object &o = ctx->objects[object];
    tav_line_buffer &buffer = ctx->line_buffers[o.text_record];
    for (size_t j = 0; j < lines.size() && j < TAV_MAX_LINES; ++j) {
        lines[j].copy(buffer.lines[j], TAV_LINE_SIZE - 1);
        buffer.lines[j][lines[j].size()] = 0;
    }
    o.line_count = uint32_t(lines.size() - 1);
}

// Pixels of the rectangle [x0, x1) x [y0, y1) that are not of the colour.
int count_other(const Screen &s, int x0, int y0, int x1, int y1, uint32_t rgb)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += s.pixel(x, y) != rgb;
    return n;
}

int text_width(TTF_Font *font, const std::string &text)
{
    int w = 0, h = 0;
    TTF_SizeText(font, text.c_str(), &w, &h);
    return w;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// A 32-bit bitmap whose pixel (c, r) has the colour (10 c, 10 r, 77).
SurfacePtr gradient_bitmap(int w, int h)
{
    SurfacePtr s(SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0), SDL_FreeSurface);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            SDL_Rect px{c, r, 1, 1};
            SDL_FillRect(s.get(), &px, SDL_MapRGB(s->format, uint8_t(10 * c), uint8_t(10 * r), 77));
        }
    return s;
}

uint32_t gradient(int c, int r)
{
    return uint32_t(10 * c) << 16 | uint32_t(10 * r) << 8 | 77;
}

RawObject &margins(RawObject &o, int m)
{
    return o.set(off::margin_left, m).set(off::margin_right, m).set(off::margin_top, m).set(off::margin_bottom, m);
}

// A window with margins of 10 and the given fill.
uint32_t add_window(RawLayout &layout, int x, int y, int w, int h, uint32_t fill)
{
    uint32_t n = add_shape(layout, TAV_KIND_WINDOW, x, y, w, h);
    RawObject &o = layout.at(n);
    colour(margins(o, 10), off::fill_r, fill);
    return n;
}

void hide_operators(RawLayout &layout, uint32_t from = 1, uint32_t to = TAV_OPERATOR_COUNT)
{
    for (uint32_t op = from; op <= to; ++op) layout.at(op).set(off::hidden, 1);
}

void show_active(tav_context *ctx, std::vector<uint32_t> stack)
{
    for (size_t i = 0; i < stack.size(); ++i) ctx->window_stack[i] = stack[i];
    ctx->window_stack_count = uint32_t(stack.size());
    ctx->active_window = stack.empty() ? 0 : stack[0];
}

}  // namespace

TEST(RenderObject, DependentsAreClippedPerAxisByFourCases)
{
    // The master's inner area is the open region (29, 110) x (39, 100).
    RawLayout layout;
    uint32_t master = add_window(layout, 20, 30, 100, 80, 0xFFFFFF);
    uint32_t spanning = add_shape(layout, TAV_KIND_BOX, 0, 0, 300, 200);
    uint32_t top_left = add_shape(layout, TAV_KIND_BITMAP, 25, 35, 20, 20);
    uint32_t bottom_right = add_shape(layout, TAV_KIND_BITMAP, 100, 90, 20, 20);
    colour(layout.at(spanning), off::fill_r, 0x00FF00);
    for (uint32_t d : {spanning, top_left, bottom_right}) attach(layout, master, d);
    SurfacePtr bitmap = gradient_bitmap(20, 20);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    paint_background(ctx);
    for (uint32_t d : {top_left, bottom_right}) ctx->objects[d].image = bitmap.get();
    show_active(ctx, {master});

    tav_draw_all_objects(ctx, 0, 0);
    // Cut on both sides: exactly the inner area.
    EXPECT_EQ(screen.pixel(29, 60), 0xFFFFFFu);
    EXPECT_EQ(screen.pixel(30, 99), 0x00FF00u);
    EXPECT_EQ(screen.pixel(109, 40), 0x00FF00u);
    EXPECT_EQ(screen.pixel(110, 60), 0xFFFFFFu);
    EXPECT_EQ(screen.pixel(60, 100), 0xFFFFFFu);
    // Cut at the top and left: the image starts at its row and column 5.
    EXPECT_EQ(screen.pixel(30, 40), gradient(5, 5));
    EXPECT_EQ(screen.pixel(44, 54), gradient(19, 19));
    EXPECT_EQ(screen.pixel(29, 39), 0xFFFFFFu);
    // Cut at the bottom and right: the image keeps its origin.
    EXPECT_EQ(screen.pixel(100, 90), gradient(0, 0));
    EXPECT_EQ(screen.pixel(109, 99), gradient(9, 9));
    EXPECT_EQ(screen.pixel(110, 100), 0xFFFFFFu);
}

TEST(RenderDependents, VisibilityFollowsScrollingAndFramesAreRefitted)
{
    // The window's inner area is the open region (29, 210) x (49, 110).
    RawLayout layout;
    uint32_t master = add_window(layout, 20, 30, 200, 100, 0xFFFFFF);
    layout.at(master).set(off::margin_top, 20).set(off::margin_bottom, 20).set(off::border_distance, 2);
    uint32_t below = add_shape(layout, TAV_KIND_LABEL, 40, 150, 50, 20);
    uint32_t spanning = add_shape(layout, TAV_KIND_LABEL, 0, 0, 300, 200);
    uint32_t box = add_shape(layout, TAV_KIND_BOX, 40, 300, 10, 10);
    uint32_t frame = add_shape(layout, TAV_KIND_LABEL, 0, 0, 5, 5);
    uint32_t window = add_shape(layout, TAV_KIND_WINDOW, 0, 0, 5, 5);
    layout.at(frame).set(off::border_style, 2);
    layout.at(window).set(off::border_style, 3);
    for (uint32_t d : {below, spanning, box, frame, window}) attach(layout, master, d);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    ctx->objects[master].dependents[5] = 9999;  // a number beyond the array: skipped

    tav_draw_dep_objs(ctx, master);
    EXPECT_EQ(ctx->objects[below].hidden, 1);
    EXPECT_EQ(ctx->objects[spanning].hidden, 0);
    EXPECT_EQ(ctx->objects[box].hidden, 0);  // boxes keep what they are given
    const tav_object &f = ctx->objects[frame];
    EXPECT_EQ(f.x, 28);
    EXPECT_EQ(f.y, 48);
    EXPECT_EQ(f.w, 184);
    EXPECT_EQ(f.h, 64);
    EXPECT_EQ(ctx->objects[window].w, 5);  // windows are never refitted

    ctx->objects[below].y = 80;  // scrolled back, partly in view
    tav_draw_dep_objs(ctx, master);
    EXPECT_EQ(ctx->objects[below].hidden, 0);
    ctx->objects[below].y = 110;  // its top on the area's bottom edge
    tav_switch_dep_object(ctx, master);
    EXPECT_EQ(ctx->objects[below].hidden, 1);
}

TEST(RenderDependents, ListsThatLeadBackIntoThemselvesEnd)
{
    RawLayout layout;
    uint32_t a = add_shape(layout, TAV_KIND_BOX, 20, 20, 100, 100);
    uint32_t b = add_shape(layout, TAV_KIND_BOX, 30, 30, 50, 50);
    attach(layout, a, b);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    // Applications may build such lists at run time, and name objects that
    // do not exist.
    ctx->objects[b].dependents[0] = a;
    ctx->objects[b].dependents[1] = b;
    ctx->cursor_object = ctx->active_window = ctx->window_stack[0] = 4711;
    ctx->window_stack_count = 1000;
    EXPECT_EQ(tav_draw_all_objects(ctx, 1, 1), 1);
    tav_draw_and_screenup_selected_window(ctx);
}

TEST(RenderText, AtMostFortyLinesAndNoneBelowTheClipBottom)
{
    // Tall enough for 45 lines; the record is the last one, so reading a
    // 41st line would leave the line-buffer array.
    Screen screen(200, 900);
    RawLayout layout;
    uint32_t window = add_window(layout, 20, 30, 150, 850, 0xFFFFFF);
    layout.at(window).set(off::text_record, 1);
    layout.texts.emplace_back(window, "text");
    tav_context *ctx = screen.start(layout);
    screen.open_font();
    paint_background(ctx);
    std::vector<std::string> lines(TAV_MAX_LINES, "W");
    set_lines(ctx, window, lines);
    ctx->objects[window].line_count = 100;

    tav_evoke_object(ctx, window);
    int advance = TTF_FontHeight(ctx->font);
    int top39 = 30 + 10 + 39 * advance;
    EXPECT_GT(count_other(screen, 30, top39, 60, top39 + advance, 0xFFFFFF), 0);
    EXPECT_EQ(count_other(screen, 30, top39 + advance, 60, 30 + 840, 0xFFFFFF), 0);

    // A short window: the last line rendered is the last one whose top lies
    // above the bottom of the text area; lines of distinct widths tell which.
    tav_object &o = ctx->objects[window];
    o.h = 70;
    o.line_spacing = 2;
    for (size_t j = 0; j < lines.size(); ++j) lines[j] = std::string(j + 1, 'W');
    set_lines(ctx, window, lines);
    tav_evoke_object(ctx, window);
    advance += 2;
    int last = 0;
    while (30 + 10 + (last + 1) * advance < 30 + 70 - 10) ++last;
    ASSERT_NE(ctx->text_surface, nullptr);
    EXPECT_EQ(ctx->text_surface->w, text_width(ctx->font, lines[last]));
    EXPECT_EQ(count_other(screen, 30, 90, 170, 100, 0xFFFFFF), 0);  // bottom margin stays clear
}

TEST(RenderText, LineCutAtTheLeftKeepsItsColumns)
{
    // A text field in a window, drawn once whole and once scrolled 25 pixels
    // to the left, where the window's inner area cuts it: every column that
    // is still shown must show the same pixels as before.
    RawLayout layout;
    uint32_t master = add_window(layout, 20, 30, 200, 100, 0xFFFFFF);
    uint32_t field = add_shape(layout, TAV_KIND_TEXT, 40, 50, 150, 30);
    colour(layout.at(field), off::fill_r, 0xFFFFFF);
    layout.at(field).set(off::text_record, 1);
    layout.texts.emplace_back(field, "Wide Mountains");
    attach(layout, master, field);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    screen.open_font();
    set_lines(ctx, field, {"Wide Mountains"});
    show_active(ctx, {master});
    int tw = text_width(ctx->font, "Wide Mountains");
    int fh = TTF_FontHeight(ctx->font);

    paint_background(ctx);
    tav_draw_all_objects(ctx, 0, 0);
    std::vector<uint32_t> whole;
    for (int y = 50; y < 50 + fh; ++y)
        for (int x = 40; x < 40 + tw; ++x) whole.push_back(screen.pixel(x, y));

    ctx->objects[field].offset_x = -25;
    paint_background(ctx);
    tav_draw_all_objects(ctx, 0, 0);
    int differing = 0;
    for (int y = 50; y < 50 + fh; ++y)
        for (int x = 40; x < 40 + tw - 25; ++x) differing += screen.pixel(x, y) != whole[(y - 50) * tw + x + 25 - 40];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(count_other(screen, 30, 50, 40, 50 + fh, 0xFFFFFF), 0);  // nothing left of the field's text area
}

TEST(RenderCursor, IsClippedToTheTextArea)
{
    // Text area of the entry field: the open region (42, 137) x (42, 57).
    RawLayout layout;
    uint32_t field = add_shape(layout, TAV_KIND_ENTRY, 40, 40, 100, 20);
    margins(layout.at(field), 3);
    colour(layout.at(field), off::text_r, 0xC80064);
    Screen screen;
    tav_context *ctx = screen.start(layout);
    screen.open_font();
    int fh = TTF_FontHeight(ctx->font);
    ASSERT_GT(fh, 8);
    tav_object &o = ctx->objects[field];
    const uint32_t ink = 0xC80064;

    struct Case {
        int x, y, first, last;  // cursor position, expected rows (last < first: none)
    };
    const Case cases[] = {
        {50, 35, 43, std::min(35 + fh - 1, 56)},  // cut at the top
        {50, 50, 50, 56},                         // cut at the bottom
        {42, 45, 1, 0},                           // on the left bound
        {137, 45, 1, 0},                          // on the right bound
        {-5, 45, 1, 0},
    };
    for (const Case &c : cases) {
        paint_background(ctx);
        o.cursor_x = c.x, o.cursor_y = c.y;
        tav_draw_cursor(ctx, field);
        int x = std::max(c.x, 0);
        for (int y = 30; y < 70; ++y) {
            bool expected = y >= c.first && y <= c.last;
            EXPECT_EQ(screen.pixel(x, y) == ink, expected) << "cursor at " << c.x << "," << c.y << " row " << y;
        }
    }
}

namespace {

// The layout of the reference image: a background window, an active window
// with a centred title and dependents of every kind (a text field, one cut
// at the top, an entry field with the cursor, a panel with a refitted frame,
// a button, a bitmap cut at the right), two operators, loose labels and a
// loaded image, with border styles 1, 4 and 5. Red objects must not show: a
// label without width and a text field without master.
struct GoldenLayout {
    RawLayout layout;
    uint32_t image, front, behind, entry, bitmap, narrow;

    explicit GoldenLayout(const std::string &picture)
    {
        for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op) {
            layout.at(op).set(off::x, 40 + 16 * (op - 1)).set(off::y, 26).set(off::border_style, 4);
            colour(layout.at(op), off::fill_r, 0xC8C8C8);
            colour(layout.at(op), off::border_r, 0x404040);
        }
        hide_operators(layout, 2, 6);
        image = add_shape(layout, TAV_KIND_IMAGE_FILE, 280, 8, 1, 1);
        layout.at(image).str(off::image_file, picture);
        add_label(200, 205, 100, 24, "Loose", 0xB4DCB4).set(off::border_distance, 2);
        add_label(160, 8, 40, 12, "", 0xFFFFFF);
        add_label(210, 8, 0, 12, "a\nb", 0xFF0000);
        narrow = uint32_t(layout.objects.size());
        colour(layout.at(add_shape(layout, TAV_KIND_TEXT, 160, 25, 40, 10)), off::fill_r, 0xFF0000);

        behind = add_window(layout, 8, 20, 140, 100, 0xC8D2E6);
        layout.at(behind).set(off::border_style, 1).set(off::border_distance, 3);
        add_text(behind, "Behind: a window in the background whose text wraps over lines.");
        front = add_window(layout, 40, 50, 220, 150, 0xFAFAEB);
        margins(layout.at(front), 6).set(off::window_style, 1).set(off::text_format, 1);
        add_text(front, "Tavrin");

        uint32_t text = add_shape(layout, TAV_KIND_TEXT, 50, 72, 120, 56);
        margins(layout.at(text), 3).set(off::border_style, 1).set(off::border_distance, 1);
        colour(layout.at(text), off::fill_r, 0xFFFFFF);
        colour(layout.at(text), off::text_r, 0x202060);
        add_text(text, "A text field with several words that wrap over lines.");
        uint32_t cut_text = add_shape(layout, TAV_KIND_TEXT, 180, 45, 70, 40);
        colour(layout.at(cut_text), off::fill_r, 0xFFE0E0);
        add_text(cut_text, "Cut at the top edge");
        add_label(50, 140, 150, 20, "entry", 0xFFFFFF).set(off::kind, TAV_KIND_ENTRY).set(off::margin_left, 3);
        entry = uint32_t(layout.objects.size());
        uint32_t panel = add_shape(layout, TAV_KIND_BOX, 205, 135, 40, 30);
        colour(margins(layout.at(panel), 4), off::fill_r, 0xE6E6FA);
        uint32_t frame = add_shape(layout, TAV_KIND_BOX, 0, 0, 1, 1);
        layout.at(frame).set(off::border_style, 5).set(off::border_distance, 1);
        colour(layout.at(frame), off::fill_r, 0xE6E6FA);
        colour(layout.at(frame), off::border_r, 0x8080C0);
        attach(layout, panel, frame);
        add_label(190, 170, 50, 20, "OK", 0xDCDCDC).set(off::border_distance, 1);
        uint32_t button = uint32_t(layout.objects.size());
        bitmap = add_shape(layout, TAV_KIND_BITMAP, 230, 100, 40, 30);
        for (uint32_t d : {text, cut_text, entry, panel, button, bitmap}) attach(layout, front, d);
    }

    RawObject &add_label(int x, int y, int w, int h, const std::string &text, uint32_t fill)
    {
        RawObject &o = layout.at(add_shape(layout, TAV_KIND_LABEL, x, y, w, h));
        colour(o.str(off::text, text).set(off::border_style, 4), off::fill_r, fill);
        return o;
    }

    void add_text(uint32_t owner, const std::string &text)
    {
        layout.texts.emplace_back(owner, text);
        layout.at(owner).set(off::text_record, uint32_t(layout.texts.size()));
    }
};

// Number of screen pixels that differ from the image in a PNG file, or -1
// when the file cannot be read or has another size.
int pixels_differing(const Screen &screen, const std::string &png, int *first_x, int *first_y)
{
    SurfacePtr loaded(IMG_Load(png.c_str()), SDL_FreeSurface);
    if (!loaded) return -1;
    SurfacePtr image(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0), SDL_FreeSurface);
    if (!image || image->w != screen.ctx->screen->w || image->h != screen.ctx->screen->h) return -1;
    int differing = 0;
    for (int y = 0; y < image->h; ++y) {
        const uint32_t *row = reinterpret_cast<const uint32_t *>(static_cast<const uint8_t *>(image->pixels) + y * image->pitch);
        for (int x = 0; x < image->w; ++x) {
            if (screen.pixel(x, y) == (row[x] & 0xFFFFFF)) continue;
            if (differing++ == 0) *first_x = x, *first_y = y;
        }
    }
    return differing;
}

}  // namespace

TEST(RenderGolden, LayoutMatchesTheReferenceImage)
{
    Screen screen;
    std::string picture = temp_name(".bmp");
    ASSERT_EQ(SDL_SaveBMP(gradient_bitmap(24, 16).get(), picture.c_str()), 0);
    GoldenLayout golden(picture);
    SurfacePtr pixels = gradient_bitmap(40, 30);
    tav_context *ctx = screen.start(golden.layout);
    std::remove(picture.c_str());
    screen.open_font();
    ASSERT_EQ(ctx->objects[golden.image].kind, uint32_t(TAV_KIND_IMAGE));
    ctx->objects[golden.bitmap].image = pixels.get();
    show_active(ctx, {golden.front, golden.behind});
    ctx->cursor_object = golden.entry;
    paint_background(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    EXPECT_STREQ(ctx->objects[golden.narrow].text, "a\nb");  // never formatted
    const tav_object &behind = ctx->objects[golden.behind];
    EXPECT_EQ(behind.x, 11);  // pulled on screen
    EXPECT_EQ(behind.y, 25);
    int title = text_width(ctx->font, "Tavrin");
    EXPECT_EQ(ctx->objects[golden.front].offset_x, (220 - 12 - title) / 2);
    // The cursor after the entry's text, drawn over the finished layout.
    tav_object &e = ctx->objects[golden.entry];
    e.cursor_x = e.x + e.margin_left + text_width(ctx->font, "entry");
    e.cursor_y = e.y + e.margin_top;
    tav_draw_cursor(ctx, golden.entry);

    std::string reference = std::string(TAVRIN_TEST_SOURCE_DIR) + "/data/render_golden.png";
    SurfacePtr drawn(SDL_ConvertSurfaceFormat(ctx->screen, SDL_PIXELFORMAT_RGB24, 0), SDL_FreeSurface);
    ASSERT_NE(drawn, nullptr);
    const char *regenerate = std::getenv("TAVRIN_REGENERATE_GOLDEN");
    if (regenerate && std::string(regenerate) == "1") {
        ASSERT_EQ(IMG_SavePNG(drawn.get(), reference.c_str()), 0) << IMG_GetError();
        GTEST_SKIP() << "reference image written to " << reference;
    }
    int first_x = -1, first_y = -1;
    int differing = pixels_differing(screen, reference, &first_x, &first_y);
    ASSERT_GE(differing, 0) << "no reference image of the screen's size in " << reference
                            << "; run with TAVRIN_REGENERATE_GOLDEN=1 to write it";
    if (differing) IMG_SavePNG(drawn.get(), "render_golden_actual.png");
    EXPECT_EQ(differing, 0) << "first difference at " << first_x << "," << first_y
                            << "; the drawing is in render_golden_actual.png of the test folder";
}

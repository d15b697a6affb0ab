// An arbitrary record text and object geometry: the text is laid out into a
// text field of a window and, cut to a short text, into a button and an entry
// line, and everything is drawn.
#include "fuzz_common.h"

#include <cstring>

namespace off = tavtest::off;

namespace {

enum : uint32_t { WINDOW = 8, TEXT = 9, BUTTON = 10, ENTRY = 11 };

tavtest::RawLayout text_layout()
{
    tavtest::RawLayout layout;
    layout.add(TAV_KIND_WINDOW).set(off::x, 20).set(off::y, 30).set(off::w, 280).set(off::h, 200)
        .set(off::text_record, 1).dep(0, TEXT).dep(1, BUTTON).dep(2, ENTRY);
    layout.add(TAV_KIND_TEXT).set(off::master, WINDOW).set(off::text_record, 2);
    layout.add(TAV_KIND_LABEL).set(off::master, WINDOW);
    layout.add(TAV_KIND_ENTRY).set(off::master, WINDOW);
    layout.texts.emplace_back(WINDOW, "Window");
    layout.texts.emplace_back(TEXT, "");
    return layout;
}

void shape(tav_object &o, tavfuzz::Input &in)
{
    o.x = in.range(-40, 360), o.y = in.range(-40, 280);
    o.w = in.range(0, 400), o.h = in.range(0, 300);
    o.margin_left = in.range(-10, 60), o.margin_right = in.range(-10, 60);
    o.margin_top = in.range(-10, 60), o.margin_bottom = in.range(-10, 60);
    o.line_width = in.range(0, 420);
    o.line_spacing = in.range(-5, 20);
    o.text_format = in.range(0, 2);
    o.border_style = in.range(0, 5), o.border_distance = in.range(-3, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tavfuzz::Input in(data, size);
    tav_context *ctx = tavfuzz::new_context(320, 240);
    tavfuzz::start_layout(ctx, text_layout(), 0, 0);
    ctx->convert_umlauts = in.byte() & 1;
    int32_t font_size = in.range(1, 40);
    for (uint32_t n : {WINDOW, TEXT, BUTTON, ENTRY}) shape(ctx->objects[n], in);
    tav_object &text = ctx->objects[TEXT];
    if (font_size != 12) {
        text.own_font = TTF_OpenFont(TAVRIN_FUZZ_FONT, font_size);
        text.font_state = text.own_font ? 2 : 0;
    }
    std::string body = in.rest();
    std::strncpy(ctx->text_records[2].text, body.c_str(), TAV_RECORD_TEXT_SIZE - 1);
    std::strncpy(ctx->objects[BUTTON].text, body.c_str(), TAV_SHORT_TEXT_SIZE - 1);
    std::strncpy(ctx->objects[ENTRY].text, body.c_str(), TAV_SHORT_TEXT_SIZE - 1);
    tav_format_object_text(ctx, TEXT);
    tav_format_small_obj(ctx, BUTTON);
    tav_format_small_obj(ctx, ENTRY);
    ctx->decided_object = WINDOW;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    tavfuzz::close_context(ctx, 0);
    return 0;
}

// An arbitrary stream over a chain of members of arbitrary sizes inside a
// window: the chain is laid out and everything is drawn.
#include "fuzz_common.h"

#include <algorithm>
#include <cstring>

namespace off = tavtest::off;

namespace {

enum : uint32_t { WINDOW = 8, MOTHER = 9, FIRST_MEMBER = 10, MEMBERS = 5 };

tavtest::RawLayout chain_layout()
{
    tavtest::RawLayout layout;
    layout.add(TAV_KIND_WINDOW).set(off::x, 20).set(off::y, 30).set(off::w, 280).set(off::h, 200).dep(0, MOTHER);
    layout.add(TAV_KIND_CHAIN).set(off::master, WINDOW);
    for (uint32_t k = 0; k < MEMBERS; ++k) {
        layout.add(TAV_KIND_CHAIN).set(off::master, MOTHER).set(off::text_record, k + 1);
        layout.at(MOTHER).dep(int(k), FIRST_MEMBER + k);
        layout.texts.emplace_back(FIRST_MEMBER + k, "");
    }
    return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tavfuzz::Input in(data, size);
    tav_context *ctx = tavfuzz::new_context(320, 240);
    tavfuzz::start_layout(ctx, chain_layout(), 0, 0);
    tav_object &mother = ctx->objects[MOTHER];
    mother.x = in.range(0, 300), mother.y = in.range(0, 220), mother.w = in.range(0, 300), mother.h = in.range(0, 300);
    mother.text_format = in.range(0, 2);
    for (uint32_t k = 0; k < MEMBERS; ++k) {
        tav_object &m = ctx->objects[FIRST_MEMBER + k];
        m.x = in.range(-20, 330), m.y = in.range(-20, 250), m.w = in.range(0, 300), m.h = in.range(0, 300);
        m.margin_left = in.range(-5, 30), m.margin_right = in.range(-5, 30);
        m.margin_top = in.range(-5, 30), m.margin_bottom = in.range(-5, 30);
        m.line_width = in.range(0, 320), m.line_spacing = in.range(-3, 10), m.text_format = in.range(0, 1);
    }
    uint32_t capacity = uint32_t(in.range(1, 30000));
    std::string stream = in.rest();
    tav_prepare_chain_mother(ctx, MOTHER, capacity);
    if (mother.stream) {
        size_t n = std::min<size_t>(stream.size(), capacity - 1);
        std::memcpy(mother.stream, stream.data(), n);
        mother.text_length = int32_t(std::strlen(mother.stream));
    }
    ctx->decided_object = WINDOW;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    tavfuzz::close_context(ctx, 0);
    return 0;
}

// An arbitrary sequence of key and mouse events fed the way the programs
// feed them through decoding, editing, the window operators and hit testing,
// over a fixed layout of input lines, record texts, a chain and nested
// windows. The only modal loop reached, moving a window, always finds the
// press that ends it already queued.
#include "fuzz_common.h"

#include <cstring>

namespace off = tavtest::off;

namespace {

enum : uint32_t {
    MAIN_WINDOW = 8, ENTRY = 9, NUMBER = 10, NOTE = 11, INNER_WINDOW = 12, INNER_TEXT = 13,
    SIDE_WINDOW = 14, MOTHER = 15, FIRST_MEMBER = 16, MEMBERS = 3
};

tavtest::RawObject &box(tavtest::RawLayout &l, uint32_t kind, uint32_t master, int x, int y, int w, int h)
{
    return l.add(kind).set(off::master, master).set(off::x, uint32_t(x)).set(off::y, uint32_t(y))
        .set(off::w, uint32_t(w)).set(off::h, uint32_t(h)).set(off::margin_left, 3).set(off::margin_right, 3)
        .set(off::margin_top, 2).set(off::margin_bottom, 2).set(off::editable, 1).set(off::capacity, 20)
        .set(off::fill_r, 250).set(off::fill_g, 250).set(off::fill_b, 250).set(off::border_style, 1);
}

tavtest::RawLayout input_layout()
{
    tavtest::RawLayout l;
    box(l, TAV_KIND_WINDOW, 0, 20, 40, 300, 220).set(off::text_record, 1).dep(0, ENTRY).dep(1, NUMBER)
        .dep(2, NOTE).dep(3, INNER_WINDOW);
    box(l, TAV_KIND_ENTRY, MAIN_WINDOW, 30, 70, 120, 20);
    box(l, TAV_KIND_NUMBER, MAIN_WINDOW, 160, 70, 60, 20).set(off::capacity, 6);
    box(l, TAV_KIND_TEXT, MAIN_WINDOW, 30, 100, 130, 60).set(off::text_record, 2);
    box(l, TAV_KIND_WINDOW, MAIN_WINDOW, 170, 100, 140, 150).set(off::text_record, 3).dep(0, INNER_TEXT);
    box(l, TAV_KIND_TEXT, INNER_WINDOW, 180, 130, 100, 200).set(off::text_record, 4);
    box(l, TAV_KIND_WINDOW, 0, 200, 60, 240, 170).dep(0, MOTHER);
    box(l, TAV_KIND_CHAIN, SIDE_WINDOW, 205, 65, 230, 160).set(off::editable, 0);
    for (uint32_t k = 0; k < MEMBERS; ++k) {
        box(l, TAV_KIND_CHAIN, MOTHER, 210, 70 + 50 * int(k), 220, 45).set(off::text_record, 5 + k);
        l.at(MOTHER).dep(int(k), FIRST_MEMBER + k);
    }
    const char *texts[] = {"Main window", "A note that wraps over several lines.", "Inner", "Inner text"};
    uint32_t owners[] = {MAIN_WINDOW, NOTE, INNER_WINDOW, INNER_TEXT};
    for (int i = 0; i < 4; ++i) l.texts.emplace_back(owners[i], texts[i]);
    for (uint32_t k = 0; k < MEMBERS; ++k) l.texts.emplace_back(FIRST_MEMBER + k, "");
    return l;
}

const SDL_Keycode keys[] = {SDLK_a, SDLK_q, SDLK_z, SDLK_SPACE, SDLK_0, SDLK_7, SDLK_PLUS, SDLK_LESS, 228, 223,
                            SDLK_BACKSPACE, SDLK_DELETE, SDLK_RETURN, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT,
                            SDLK_INSERT, SDLK_F1, SDLK_LSHIFT, SDLK_HOME, SDLK_END, SDLK_TAB, SDLK_c, SDLK_v};
const Uint16 mods[] = {KMOD_NONE, KMOD_LSHIFT, KMOD_RSHIFT, KMOD_LALT, KMOD_RALT | KMOD_LCTRL, KMOD_CAPS, KMOD_LCTRL};

// Up to `most` bytes of the input as a terminated text, any bytes at all.
void fill_text(tavfuzz::Input &in, char *text, size_t most)
{
    const size_t n = in.byte() % most;
    for (size_t i = 0; i < n; ++i) text[i] = char(in.byte());
    text[n] = 0;
}

void type_key(tav_context *ctx, tavfuzz::Input &in)
{
    SDL_Keycode key = keys[in.byte() % (sizeof keys / sizeof *keys)];
    Uint16 mod = mods[in.byte() % (sizeof mods / sizeof *mods)];
    std::memset(&ctx->event, 0, sizeof ctx->event);
    ctx->event.type = SDL_KEYDOWN;
    ctx->event.key.keysym.sym = key;
    ctx->event.key.keysym.mod = mod;
    tav_getfirstkeyinformation(ctx);
    if (in.byte() % 2) {  // the text input of the key press, as SDL would send it
        ctx->event.type = SDL_TEXTINPUT;
        fill_text(in, ctx->event.text.text, sizeof ctx->event.text.text);
        tav_getfirstkeyinformation(ctx);
    }
    ctx->event.type = SDL_KEYUP;
    tav_getfinalkeyinformation(ctx);
    tav_get_text(ctx);
}

void push_mouse(Uint32 type, int x, int y)
{
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = x, e.motion.y = y;
    } else {
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x, e.button.y = y;
    }
    SDL_PushEvent(&e);
}

void release_click(tav_context *ctx, tavfuzz::Input &in)
{
    int x = in.range(0, 330), y = in.range(0, 250);
    std::memset(&ctx->event, 0, sizeof ctx->event);
    ctx->event.type = SDL_MOUSEBUTTONUP;  // a click places the text cursor where it points
    ctx->event.button.button = SDL_BUTTON_LEFT;
    ctx->event.button.x = x, ctx->event.button.y = y;
    ctx->decided_object = tav_test_all_objects(ctx, x, y);
    if (ctx->decided_object == 1) {  // the move operator waits for a motion and the next press
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        push_mouse(SDL_MOUSEMOTION, in.range(0, 330), in.range(0, 250));
        push_mouse(SDL_MOUSEBUTTONDOWN, 0, 0);
    }
    if (ctx->decided_object >= 1 && ctx->decided_object <= 7)
        tav_exa_left_released(ctx);
    else
        tav_select_window(ctx);
    ctx->decided_object = 0;
}

void held_press(tav_context *ctx, tavfuzz::Input &in)
{
    ctx->decided_object = tav_test_all_objects(ctx, in.range(0, 330), in.range(0, 250));
    tav_exa_left_pressed(ctx);
    tav_select_window(ctx);
    ctx->decided_object = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tavfuzz::Input in(data, size);
    tav_context *ctx = tavfuzz::new_context(340, 260);
    tavfuzz::start_layout(ctx, input_layout(), 0, 0);
    tav_prepare_chain_mother(ctx, MOTHER, 400);
    std::strcpy(ctx->objects[MOTHER].stream, "A chain of three members shares this text.");
    ctx->objects[MOTHER].text_length = int32_t(std::strlen(ctx->objects[MOTHER].stream));
    tav_set_operators(ctx);
    ctx->decided_object = MAIN_WINDOW;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    for (int steps = 0; in.left() > 0 && steps < 400; ++steps) {
        switch (in.byte() % 6) {
        case 0:
        case 1: type_key(ctx, in); break;
        case 2: release_click(ctx, in); break;
        case 3: held_press(ctx, in); break;
        case 4:
            if (in.byte() % 4 == 0) {  // what Ctrl+V pastes
                char clip[80];
                fill_text(in, clip, sizeof clip);
                SDL_SetClipboardText(clip);
            } else {
                ctx->cursor_object = uint32_t(in.range(0, FIRST_MEMBER + MEMBERS));
            }
            break;
        default: tav_draw_all_objects(ctx, 1, 0); break;
        }
    }
    tavfuzz::close_context(ctx, 0);
    return 0;
}

// Keyboard decoding: the German table with its Shift and Left-Alt columns,
// the editing keys, the digit rule of number fields and the hand-over from
// key-down to key-up.
#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/keys.h"

using namespace tavtest;

namespace {

constexpr uint32_t entry_field = 8;
constexpr uint32_t number_field = 9;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RawLayout layout;
        layout.add(TAV_KIND_ENTRY).set(off::w, 80).set(off::h, 20).set(off::editable, 1);
        layout.add(TAV_KIND_NUMBER).set(off::w, 80).set(off::h, 20).set(off::editable, 1);
        ctx = screen.start(layout);
        ctx->cursor_object = entry_field;
    }

    void key_event(uint32_t type, SDL_Keycode sym, uint16_t mod = KMOD_NONE)
    {
        ctx->event.type = type;
        ctx->event.key.keysym.sym = sym;
        ctx->event.key.keysym.mod = mod;
    }

    // Presses a key on a fresh state and returns the pending code.
    uint32_t press(SDL_Keycode sym, uint16_t mod = KMOD_NONE)
    {
        ctx->pending_key = 0;
        ctx->key_is_char = -1;
        key_event(SDL_KEYDOWN, sym, mod);
        tav_getfirstkeyinformation(ctx);
        return ctx->pending_key;
    }

    Screen screen;
    tav_context *ctx = nullptr;
};

}  // namespace

TEST_F(KeyboardTest, DecodesThroughTheColumnTheExactModifiersSelect)
{
    struct Stroke {
        SDL_Keycode sym;
        uint16_t mod;
        uint32_t code;
        int32_t is_char;
    };
    const Stroke strokes[] = {
        {SDLK_a, KMOD_LSHIFT, 'A', 1},
        {SDLK_z, KMOD_RSHIFT, 'Z', 1},
        {SDLK_a, KMOD_LSHIFT | KMOD_NUM, 'a', 1},  // Num Lock on: plain
        {SDLK_a, KMOD_CAPS, 'a', 1},               // Caps Lock makes no capitals
        {SDLK_q, KMOD_LALT, '@', 1},
        {SDLK_q, KMOD_RALT | KMOD_LCTRL, 'q', 1},  // AltGr
        {SDLK_w, KMOD_LALT, 'w', 1},               // no Alt variant: plain
        {SDLK_3, KMOD_LSHIFT, 167, 1},
        {SDLK_7, KMOD_LALT, '{', 1},
        {223, KMOD_LSHIFT, '?', 1},
        {223, KMOD_LALT, '\\', 1},
        {228, KMOD_RSHIFT, 196, 1},
        {SDLK_LESS, KMOD_LSHIFT, '<', 1},          // no Shift variant
        {SDLK_LESS, KMOD_LALT, '|', 1},
        {SDLK_ESCAPE, KMOD_NONE, 27, 1},           // other Latin-1 keycodes pass through
        {SDLK_BACKSPACE, KMOD_NONE, TAV_KEY_BACKSPACE, 0},
        {SDLK_DELETE, KMOD_NONE, TAV_KEY_DELETE, 0},
        {SDLK_KP_ENTER, KMOD_NONE, TAV_KEY_RETURN, 0},
        {SDLK_LEFT, KMOD_LSHIFT, TAV_KEY_LEFT, 0},
        {SDLK_INSERT, KMOD_NONE, TAV_KEY_INSERT, 0},
        {SDLK_HOME, KMOD_NONE, TAV_KEY_HOME, 0},
        {SDLK_END, KMOD_LCTRL, TAV_KEY_END, 0},
        {SDLK_c, KMOD_LCTRL, TAV_KEY_COPY, 0},
        {SDLK_v, KMOD_RCTRL | KMOD_LSHIFT, TAV_KEY_PASTE, 0},
    };
    for (const Stroke &s : strokes) {
        EXPECT_EQ(press(s.sym, s.mod), s.code) << "keycode " << s.sym << " mod " << s.mod;
        EXPECT_EQ(ctx->key_is_char, s.is_char) << "keycode " << s.sym;
        EXPECT_EQ(ctx->event.type, 0u);  // the key press is consumed
        EXPECT_EQ(ctx->event.key.keysym.sym, 0);
    }
}

TEST_F(KeyboardTest, NumberFieldsAndKeysWithoutCode)
{
    ctx->cursor_object = number_field;
    EXPECT_EQ(press(SDLK_a), uint32_t('a'));
    EXPECT_EQ(ctx->key_is_char, 0);
    EXPECT_EQ(press(SDLK_7, KMOD_LSHIFT), uint32_t('/'));
    EXPECT_EQ(ctx->key_is_char, 1);

    // F1, a lone Shift or a keypad digit give nothing and leave the event;
    // a digit still waiting for its key-up keeps counting as a character.
    EXPECT_EQ(press(SDLK_5), uint32_t('5'));
    for (SDL_Keycode sym : {SDL_Keycode(SDLK_F1), SDL_Keycode(SDLK_LSHIFT), SDL_Keycode(SDLK_KP_5)}) {
        key_event(SDL_KEYDOWN, sym, KMOD_LSHIFT);
        tav_getfirstkeyinformation(ctx);
        EXPECT_EQ(ctx->event.type, uint32_t(SDL_KEYDOWN));
        EXPECT_EQ(ctx->event.key.keysym.sym, sym);
        EXPECT_EQ(ctx->pending_key, uint32_t('5'));
        EXPECT_EQ(ctx->key_is_char, 1);
    }

    for (uint32_t cursor : {0u, 500u}) {  // no cursor object, and one beyond the array
        ctx->cursor_object = cursor;
        EXPECT_EQ(press(SDLK_a), 0u);
        EXPECT_EQ(ctx->event.key.keysym.sym, SDLK_a);
    }
}

// With text input on, the character the user's own layout typed replaces
// the table's for that key press; without it the table decides as before.
TEST_F(KeyboardTest, TextInputTypesTheCharacterOfTheUsersLayout)
{
    tav_object &entry = ctx->objects[entry_field];
    entry.capacity = 64;
    tavtest::press_typed(ctx, SDLK_2, KMOD_LSHIFT, "@");           // US Shift+2
    tavtest::press_typed(ctx, SDLK_SEMICOLON, KMOD_RSHIFT, ":");   // US Shift+;
    tavtest::press_typed(ctx, SDLK_o, KMOD_RALT, "\xC3\xB6");      // an o umlaut composed by the system
    tavtest::press_typed(ctx, SDLK_e, KMOD_RALT | KMOD_LCTRL, "\xE2\x82\xAC");  // the euro sign: beyond Latin-1
    tavtest::press_typed(ctx, SDLK_KP_1, KMOD_NUM, "1");           // the table has no keypad digits
    tavtest::press_typed(ctx, SDLK_q, KMOD_RALT | KMOD_LCTRL, "@"); // AltGr reported as Ctrl+Alt
    tavtest::press(ctx, SDLK_a, KMOD_LCTRL);                        // a command, not a letter
    EXPECT_STREQ(entry.text, "@:\xF6" "1@");
    EXPECT_EQ(ctx->key, 0u);
    EXPECT_EQ(ctx->pending_key, 0u);
    tavtest::press(ctx, SDLK_2, KMOD_LSHIFT);  // no text input: the German table
    EXPECT_STREQ(entry.text, "@:\xF6" "1@\"");

    // A number field takes the digits the layout types, and nothing else.
    ctx->cursor_object = number_field;
    ctx->objects[number_field].capacity = 64;
    tavtest::press_typed(ctx, SDLK_AMPERSAND, KMOD_LSHIFT, "1");  // a French layout's 1
    tavtest::press_typed(ctx, SDLK_1, KMOD_LSHIFT, "!");
    EXPECT_STREQ(ctx->objects[number_field].text, "1");
}

TEST_F(KeyboardTest, KeyUpDeliversThePendingKeyOnce)
{
    // Through SDL's own queue, as an application's loop receives them.
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RETURN;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    e.type = SDL_KEYUP;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    ASSERT_EQ(SDL_PollEvent(&ctx->event), 1);
    tav_getfirstkeyinformation(ctx);
    EXPECT_EQ(ctx->key, 0u);
    ASSERT_EQ(SDL_PollEvent(&ctx->event), 1);
    EXPECT_EQ(tav_getfinalkeyinformation(ctx), ctx);
    EXPECT_EQ(ctx->key, uint32_t(TAV_KEY_RETURN));
    EXPECT_EQ(ctx->key_is_char, 0);
    EXPECT_EQ(ctx->pending_key, 0u);

    // A repeated key-down replaces the pending code; the key-up of any key
    // delivers it once; other events leave it pending.
    ctx->key = 0;
    press(SDLK_b);
    key_event(SDL_MOUSEMOTION, 0);
    tav_getfinalkeyinformation(ctx);
    EXPECT_EQ(ctx->key, 0u);
    key_event(SDL_KEYDOWN, SDLK_c);
    tav_getfirstkeyinformation(ctx);
    key_event(SDL_KEYUP, SDLK_LSHIFT);
    tav_getfinalkeyinformation(ctx);
    EXPECT_EQ(ctx->key, uint32_t('c'));
    ctx->key = 0;
    tav_getfinalkeyinformation(ctx);
    EXPECT_EQ(ctx->key, 0u);
}

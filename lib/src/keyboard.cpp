// Keyboard decoding: key-down events are turned into one key code through a
// fixed German keyboard table and held as pending; the key-up delivers it to
// the text editor. When the application enables SDL's text input, the
// SDL_TEXTINPUT event that follows a key-down carries the character of the
// user's own keyboard layout, which then takes the table's place.
#include "internal.h"
#include "latin1.h"
#include "tavrin.h"

namespace {

// Which column of the table a modifier state selects. Only an exact left or
// right Shift and an exact Left Alt count; any other combination (Caps Lock
// or Num Lock on, AltGr, Ctrl) falls back to the plain column.
enum class Column { plain, shift, alt };

Column column_for(uint16_t mod)
{
    if (mod == KMOD_LSHIFT || mod == KMOD_RSHIFT) return Column::shift;
    if (mod == KMOD_LALT) return Column::alt;
    return Column::plain;
}

// One row of the character table; 0 marks a column the key does not have.
struct KeyRow {
    SDL_Keycode keycode;
    uint8_t plain, shift, alt;
};

// Keys of the German layout that are not plain letters.
constexpr KeyRow character_rows[] = {
    {SDLK_SPACE, ' ', 0, 0},
    {228, 228, 196, 0},  // a umlaut
    {246, 246, 214, 0},  // o umlaut
    {252, 252, 220, 0},  // u umlaut
    {223, 223, '?', '\\'},  // sharp s
    {180, 180, '`', 0},  // acute accent
    {SDLK_1, '1', '!', 0},
    {SDLK_2, '2', '"', 0},
    {SDLK_3, '3', 167, 0},  // section sign
    {SDLK_4, '4', '$', 0},
    {SDLK_5, '5', '%', 0},
    {SDLK_6, '6', '&', 0},
    {SDLK_7, '7', '/', '{'},
    {SDLK_8, '8', '(', '['},
    {SDLK_9, '9', ')', ']'},
    {SDLK_0, '0', '=', '}'},
    {SDLK_PLUS, '+', '*', '~'},
    {SDLK_HASH, '#', '\'', 0},
    {SDLK_COMMA, ',', ';', 0},
    {SDLK_PERIOD, '.', ':', 0},
    {SDLK_MINUS, '-', '_', 0},
    {SDLK_LESS, '<', 0, '|'},
};

// The row of a keycode; letters are built on the fly.
bool find_row(SDL_Keycode k, KeyRow *row)
{
    if (k >= SDLK_a && k <= SDLK_z) {
        uint8_t letter = uint8_t(k);
        *row = {k, letter, uint8_t(letter - 'a' + 'A'), uint8_t(k == SDLK_q ? '@' : 0)};
        return true;
    }
    for (const KeyRow &r : character_rows) {
        if (r.keycode == k) {
            *row = r;
            return true;
        }
    }
    return false;
}

uint32_t pick(const KeyRow &row, Column column)
{
    if (column == Column::shift && row.shift) return row.shift;
    if (column == Column::alt && row.alt) return row.alt;
    return row.plain;
}

// Code of an editing key, or 0 for any other keycode.
uint32_t editing_code(SDL_Keycode k)
{
    switch (k) {
    case SDLK_BACKSPACE: return TAV_KEY_BACKSPACE;
    case SDLK_DELETE: return TAV_KEY_DELETE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return TAV_KEY_RETURN;
    case SDLK_UP: return TAV_KEY_UP;
    case SDLK_DOWN: return TAV_KEY_DOWN;
    case SDLK_RIGHT: return TAV_KEY_RIGHT;
    case SDLK_LEFT: return TAV_KEY_LEFT;
    case SDLK_INSERT: return TAV_KEY_INSERT;
    case SDLK_HOME: return TAV_KEY_HOME;
    case SDLK_END: return TAV_KEY_END;
    default: return 0;
    }
}

// Ctrl without Alt: a command, never a character. Ctrl together with Alt is
// how some systems report AltGr, which keeps its characters.
bool is_ctrl_combination(uint16_t mod)
{
    return (mod & KMOD_CTRL) != 0 && (mod & KMOD_ALT) == 0;
}

// The clipboard commands Ctrl+C and Ctrl+V; 0 for any other Ctrl key.
uint32_t ctrl_code(SDL_Keycode k)
{
    if (k == SDLK_c) return TAV_KEY_COPY;
    if (k == SDLK_v) return TAV_KEY_PASTE;
    return 0;
}

// Decodes one key stroke into a code (0 for none) and whether it is a
// character to insert.
uint32_t decode(SDL_Keycode k, uint16_t mod, int32_t *is_char)
{
    KeyRow row;
    *is_char = 0;
    if (uint32_t code = editing_code(k)) return code;
    if (is_ctrl_combination(mod)) return ctrl_code(k);
    *is_char = 1;
    if (find_row(k, &row)) return pick(row, column_for(mod));
    // Other keys of the Latin-1 range pass through; function, modifier and
    // keypad keys (keycodes above 255) give nothing.
    return k > 0 && k <= 255 ? uint32_t(k) : 0;
}

}  // namespace

namespace {

void decode_key_down(tav_context *ctx, const tav_object *cursor)
{
    SDL_Keycode k = ctx->event.key.keysym.sym;
    int32_t is_char = 0;
    uint32_t code = decode(k, ctx->event.key.keysym.mod, &is_char);
    // A number field takes only the digit keys as characters; the test is
    // on the key, so Shift+1 still counts.
    if (cursor->kind == TAV_KIND_NUMBER) is_char = k >= SDLK_0 && k <= SDLK_9;
    if (code == 0) return;
    // A key without a code (a lone Shift, say) must not disturb the key that
    // is still pending, so both fields change together.
    ctx->pending_key = code;
    ctx->key_is_char = is_char;
    ctx->event.type = 0;
    ctx->event.key.keysym.sym = 0;
}

// The character a key press typed in the user's layout replaces the
// table's guess for that press. One that Latin-1 cannot hold is not typed
// at all, so the table's character for that key is dropped as well. A
// number field takes only digits.
void take_text_input(tav_context *ctx, const tav_object *cursor)
{
    const uint8_t ch = tav::first_latin1_char(ctx->event.text.text);
    ctx->event.type = 0;
    if (ch == 0) {
        const bool table_char = ctx->pending_key <= 255 && ctx->pending_key != TAV_KEY_BACKSPACE &&
                                ctx->pending_key != TAV_KEY_DELETE;
        if (table_char) ctx->pending_key = 0;
        return;
    }
    ctx->pending_key = ch;
    ctx->key_is_char = cursor->kind != TAV_KIND_NUMBER || (ch >= '0' && ch <= '9');
}

}  // namespace

void tav_getfirstkeyinformation(tav_context *ctx)
{
    if (!ctx) return;
    const tav_object *cursor = tav::object_at(ctx, ctx->cursor_object);
    if (!cursor) return;
    if (ctx->event.type == SDL_KEYDOWN)
        decode_key_down(ctx, cursor);
    else if (ctx->event.type == SDL_TEXTINPUT)
        take_text_input(ctx, cursor);
}

tav_context *tav_getfinalkeyinformation(tav_context *ctx)
{
    if (!ctx) return ctx;
    if (ctx->event.type == SDL_KEYUP && ctx->pending_key != 0) {
        ctx->key = ctx->pending_key;
        ctx->pending_key = 0;
    }
    return ctx;
}

// The three mouse dispatchers of the editor (left button released, left
// button held, right button released), the menus of the menu bar, the
// preview of the design and the quit question.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "creator.h"
#include "resources.h"
#include "selection.h"

namespace creator {

namespace {

// The largest lock number whose stored value (three times it) still fits
// the signed slot of the design file; a larger one would lock the design
// for good.
constexpr int32_t LARGEST_LOCK_THIRD = INT32_MAX / 3;

void show_number(Editor &ed, uint32_t field, uint32_t value)
{
    tav_transform_num_to_str(&value, ui(ed, field).text);
    tav_format_small_obj(ed.ctx, field);
}

uint32_t typed_number(Editor &ed, uint32_t field)
{
    int32_t value = 0;
    tav_transform_str_to_num(ui(ed, field).text, &value);
    return value < 0 ? 0 : uint32_t(value);
}

// ---------------------------------------------------------------------------
// Menus of the menu bar
// ---------------------------------------------------------------------------

void program_menu(Editor &ed, uint32_t item)
{
    redraw(ed);
    if (item == ITEM_ABOUT) open_window(ed, WINDOW_ABOUT);
    if (item == ITEM_QUIT) ask_quit(ed);
}

void objects_menu(Editor &ed, uint32_t item)
{
    switch (item) {
    case ITEM_STAGE: open_window(ed, STAGE_WINDOW); break;
    case ITEM_PREVIEW: preview_design(ed); break;
    case ITEM_ADD: open_window(ed, ADD_WINDOW); break;
    case ITEM_TAKE_AWAY: open_window(ed, TAKE_AWAY_WINDOW); break;
    case ITEM_COPY: open_window(ed, COPY_WINDOW); break;
    case ITEM_ERASE: open_window(ed, ERASE_WINDOW); break;
    default: break;
    }
    redraw(ed);
}

void forms_menu(Editor &ed, uint32_t item)
{
    switch (item) {
    case ITEM_BEHAVIOUR:
        load_and_show_form(ed, BEHAVIOUR_FORM);
        open_window(ed, BEHAVIOUR_WINDOW);
        break;
    case ITEM_GEOMETRY:
        load_and_show_form(ed, GEOMETRY_FORM);
        open_window(ed, GEOMETRY_WINDOW);
        break;
    case ITEM_COLOUR:
        load_and_show_form(ed, COLOUR_FORM);
        open_window(ed, COLOUR_WINDOW);
        break;
    case ITEM_SELECTION:
        refresh_selection_panel(ed, 0);
        open_window(ed, SELECTION_WINDOW);
        break;
    default: break;
    }
    ed.ctx->decided_object = 0;
    redraw(ed);
}

void text_menu(Editor &ed, uint32_t item)
{
    switch (item) {
    case ITEM_EDIT_TEXT:
        if (const tav_object *selected = object_at(ed, ed.state.selected_index)) {
            switch (selected->kind) {
            case TAV_KIND_WINDOW:
            case TAV_KIND_TEXT:
            case TAV_KIND_CHAIN: open_stream_editor(ed); break;
            case TAV_KIND_LABEL:
            case TAV_KIND_ENTRY: open_short_text_editor(ed); break;
            default: break;
            }
        }
        break;
    case ITEM_TEXT_FORM:
        load_and_show_form(ed, TEXT_FORM);
        open_window(ed, TEXT_FORM_WINDOW);
        break;
    default: break;
    }
    redraw(ed);
}

// The save selector starts in the folder of the design's file (where it
// was opened from or last saved to), so that a save lands beside it even
// after the selector went elsewhere for an image or a font. A new design is
// saved from the working folder.
void enter_design_folder(Editor &ed)
{
    const std::string &folder = ed.state.design_folder;
    if (!folder.empty() && chdir(folder.c_str()) != 0) std::printf("Can't change directory.\n");
}

void file_menu(Editor &ed, uint32_t item)
{
    switch (item) {
    case ITEM_OPEN:
        if (ed.state.file_open == 0)
            open_selector(ed, PURPOSE_OPEN, "Open");
        else
            refuse_second_design(ed);
        break;
    case ITEM_CLOSE:
        if (ed.state.file_open == 1) {
            close_definition_file(ed);
            if (ed.state.file_open == 0) {  // a new design now, in no file
                ed.state.design_folder.clear();
                ed.state.saved_files = DesignFiles{};
            }
        }
        break;
    case ITEM_SAVE:
        enter_design_folder(ed);
        open_selector(ed, PURPOSE_SAVE, "Save");
        break;
    default: break;
    }
    redraw(ed);
}

void lock_menu(Editor &ed, uint32_t item)
{
    if (item == ITEM_LOCK && ed.state.number_of_working_objects >= 1) {
        // The field starts empty, so that what is typed is the whole number:
        // a shown "0" before which the cursor stands would turn 5 into 50.
        set_caption(ed, LOCK_FIELD, "");
        tav_reset_textobject(ed.ctx, 0, LOCK_FIELD);
        open_window(ed, LOCK_WINDOW);
    }
    redraw(ed);
}

}  // namespace

void refuse_second_design(Editor &ed)
{
    show_notice(ed, "Actual file must be closed before.", "OK");
}

void menu_choice(Editor &ed, uint32_t menu, uint32_t item)
{
    switch (menu) {
    case MENU_PROGRAM: program_menu(ed, item); break;
    case MENU_OBJECTS: objects_menu(ed, item); break;
    case MENU_FORMS: forms_menu(ed, item); break;
    case MENU_TEXT: text_menu(ed, item); break;
    case MENU_FILE: file_menu(ed, item); break;
    case MENU_LOCK: lock_menu(ed, item); break;
    default: break;
    }
}

void store_lock(Editor &ed)
{
    const uint32_t third = typed_number(ed, LOCK_FIELD);
    if (third > uint32_t(LARGEST_LOCK_THIRD)) {
        // Too large to keep: the field shows the lock that stays.
        show_number(ed, LOCK_FIELD, ed.state.design_lock / 3);
        tav_draw_and_screenup_selected_window(ed.ctx);
        return;
    }
    ed.state.design_lock = third * 3;
    close_top_window(ed);
}

namespace {

// Pops up the menu under a title of the menu bar and acts on the choice.
void pull_down(Editor &ed, uint32_t menu)
{
    menu_choice(ed, menu, tav_move_out_menu(ed.ctx, menu, 1));
}

// Buttons 256 and 257: the short text goes back into the selected object.
void apply_short_text(Editor &ed, bool close)
{
    if (tav_object *selected = object_at(ed, ed.state.selected_index)) {
        copy_short_text(selected->text, ui(ed, SHORT_TEXT_FIELD).text);
        tav_format_small_obj(ed.ctx, ed.state.selected_index);
    }
    if (close) tav_close_win(ed.ctx, 0);
    redraw(ed);
}

void notice_button(Editor &ed)
{
    tav_close_win(ed.ctx, 0);
    if (notice_origin(ed.ctx) == NOTICE_BEHAVIOUR)
        open_window(ed, BEHAVIOUR_WINDOW);
    else
        redraw(ed);
    ed.ctx->decided_object = 0;
}

// Navigation buttons of the selection panel: a working number of 0 is none.
void select_if_any(Editor &ed, int32_t number)
{
    if (number > 0) select_working_object(ed, uint32_t(number), 1);
    ed.ctx->decided_object = 0;
}

void form_buttons(Editor &ed, Form form, uint32_t h, uint32_t apply_close, uint32_t apply, uint32_t reset)
{
    if (h == reset) {
        reset_form(ed, form);
        return;
    }
    if (h == apply_close) tav_close_win(ed.ctx, 0);
    if (h == apply_close || h == apply) apply_form(ed, form);
    redraw(ed);
}

bool is_choice_field(uint32_t h)
{
    switch (h) {
    case 160: case 168: case 173: case 178: case 183: case 187: case 192: case 276: case 279: return true;
    default: return false;
    }
}

bool closes_window(uint32_t h)
{
    switch (h) {
    case 159: case 240: case 249: case 251: case 274: case 322: case 366: case 384: case 389: case 394: case 404:
        return true;
    default: return false;
    }
}

// Stage 3: the command of the pressed object.
void run_command(Editor &ed, uint32_t h)
{
    creator_state &s = ed.state;
    if (is_choice_field(h)) {
        choice_field_pressed(ed, h);
        return;
    }
    if (closes_window(h)) {
        close_top_window(ed);
        return;
    }
    if (h >= 336 && h <= 353) {
        colour_stepper(ed, h, false);
        return;
    }
    switch (h) {
    case SELECTOR_PARENT: enter_parent_directory(ed); break;
    case TITLE_OBJECTS: pull_down(ed, MENU_OBJECTS); break;
    case TITLE_LOCK: pull_down(ed, MENU_LOCK); break;
    case TITLE_FORMS: pull_down(ed, MENU_FORMS); break;
    case TITLE_TEXT: pull_down(ed, MENU_TEXT); break;
    case TITLE_FILE: pull_down(ed, MENU_FILE); break;
    case IMAGE_FILE_FIELD: open_selector(ed, PURPOSE_IMAGE, "Open"); break;
    case FONT_FILE_FIELD: open_selector(ed, PURPOSE_FONT, "Open"); break;
    case TITLE_PROGRAM: pull_down(ed, MENU_PROGRAM); break;
    case BEHAVIOUR_APPLY_CLOSE:
        tav_close_win(ed.ctx, 0);
        apply_form(ed, BEHAVIOUR_FORM);
        tav_draw_all_objects(ed.ctx, 1, 1);
        break;
    case BEHAVIOUR_APPLY:
        apply_form(ed, BEHAVIOUR_FORM);
        tav_draw_all_objects(ed.ctx, 1, 1);
        break;
    case BEHAVIOUR_RESET: reset_form(ed, BEHAVIOUR_FORM); break;
    case MASTER_BUTTON: select_if_any(ed, s.saved_master != 0 ? s.master_number : 0); break;
    case PREVIOUS_BUTTON: select_if_any(ed, s.previous_number); break;
    case NEXT_BUTTON: select_if_any(ed, s.next_number); break;
    case FIRST_DEPENDENT_BUTTON: select_if_any(ed, s.first_dependent_number); break;
    case GO_TO_BUTTON:
        go_to_object_number(ed);
        ed.ctx->decided_object = 0;
        break;
    case MODE_BUTTON:
        toggle_master_mode(ed, 1);
        ed.ctx->decided_object = 0;
        break;
    case 237: case 238: case 239: form_buttons(ed, GEOMETRY_FORM, h, 237, 238, 239); break;
    case 245: case 246: case 247: case 248: stream_editor_button(ed, h); break;
    case SHORT_TEXT_APPLY_CLOSE: apply_short_text(ed, true); break;
    case SHORT_TEXT_APPLY: apply_short_text(ed, false); break;
    case NOTICE_BUTTON: notice_button(ed); break;
    case 271: case 272: case 273: form_buttons(ed, TEXT_FORM, h, 271, 272, 273); break;
    case 319: case 320: case 321: form_buttons(ed, COLOUR_FORM, h, 319, 320, 321); break;
    case COPY_BUTTON: copy_object_data(ed); break;
    case ERASE_BUTTON: erase_objects(ed); break;
    case ADD_BUTTON: add_working_objects(ed); break;
    case TAKE_AWAY_BUTTON: take_away_working_objects(ed); break;
    case LOCK_BUTTON: store_lock(ed); break;
    case RESIZE_BUTTON:
        resize_with_mouse(ed);
        s.last_mouse_tool = 1;
        break;
    case MOVE_BUTTON:
        move_with_mouse(ed);
        s.last_mouse_tool = 2;
        break;
    case CENTRE_BUTTON: centre_in_master(ed); break;
    case UNDO_BUTTON: undo_last_mouse_tool(ed); break;
    default: break;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Dispatchers
// ---------------------------------------------------------------------------

void on_left_release(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    creator_state &s = ed.state;

    // In master mode a press on anything inside the staged master selects it.
    uint32_t h = ctx->decided_object;
    if (s.master_mode == 1 && h != 0 && is_in_dependents_tree(ed, s.selected_master)) {
        s.selected_number = h - ctx->object_count;
        ctx->decided_object = 0;
        select_working_object(ed, s.selected_number, 1);
    }

    h = ctx->decided_object;
    if (ctx->active_window == SELECTOR_WINDOW && h != 0) {
        if (entry_index(ed, SELECTOR_LIST, h) >= 0) selector_entry_pressed(ed, h);
        if (h == SELECTOR_ACTION) selector_action(ed);
        if (h == SELECTOR_CANCEL) close_top_window(ed);
    }

    h = ctx->decided_object;
    if (h != 0) run_command(ed, h);
}

void on_left_held(Editor &ed)
{
    const uint32_t h = ed.ctx->decided_object;
    if (h >= 296 && h <= 335) colour_stepper(ed, h, true);
}

void on_right_release(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    const creator_state &s = ed.state;
    const tav_object *master = object_at(ed, s.selected_master);
    if (s.master_mode != 1 || !master || ctx->decided_object == 0) return;
    bool found = false;
    for (uint32_t entry : master->dependents) found = found || entry == ctx->decided_object;
    if (!found) return;

    tav_object &menu = ui(ed, CONTEXT_MENU);
    const int32_t dx = wrapped_sub(ctx->event.button.x - 2, menu.x), dy = wrapped_sub(ctx->event.button.y - 2, menu.y);
    menu.x = wrapped_add(menu.x, dx);
    menu.y = wrapped_add(menu.y, dy);
    tav_update_dep_objs_after_move(ctx, CONTEXT_MENU, dx, dy);
    const uint32_t choice = tav_move_out_menu(ctx, CONTEXT_MENU, 0);
    redraw(ed);
    switch (choice) {
    case ITEM_RESIZE: resize_with_mouse(ed); break;
    case ITEM_MOVE: move_with_mouse(ed); break;
    case ITEM_CENTRE: centre_in_master(ed); break;
    case ITEM_UNDO_MOVE: undo_move(ed); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Preview and quit
// ---------------------------------------------------------------------------

namespace {

bool drawable(const tav_object &o)
{
    return o.hidden == 0 && o.w != 0 && o.h != 0;
}

void lay_out_text(tav_context *ctx, uint32_t n, const tav_object &o)
{
    if (o.w == 0 || o.h == 0) return;
    if (o.kind == TAV_KIND_WINDOW || o.kind == TAV_KIND_TEXT) tav_format_object_text(ctx, n);
    if (o.kind == TAV_KIND_LABEL || o.kind == TAV_KIND_ENTRY) tav_format_small_obj(ctx, n);
}

void draw_with_dependents(tav_context *ctx, uint32_t n, const tav_object &o)
{
    tav_evoke_object(ctx, n);
    if (n == ctx->cursor_object) tav_draw_cursor(ctx, n);
    if (o.dependents[0] != 0) tav_draw_dep_objs(ctx, n);
}

// Waits for the button release that ends the preview; everything before it
// is swallowed, so that no key or click reaches the editor behind. A
// request to quit ends the preview too and is handed on to the main loop.
void wait_for_release()
{
    SDL_Event event;
    for (;;) {
        if (SDL_WaitEventTimeout(&event, 100) != 1) continue;
        if (event.type == SDL_MOUSEBUTTONUP) return;
        if (event.type == SDL_QUIT) {
            SDL_PushEvent(&event);
            return;
        }
    }
}

}  // namespace

void preview_design(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    // The staged object is shown where the saved design puts it.
    const StagePlace staged = lift_from_stage(ed);
    paint_background(ctx);
    const uint32_t first = ctx->object_count + 1;
    const uint32_t saved_count = ctx->object_count;
    const uint32_t last = saved_count + ed.state.number_of_working_objects;
    ctx->object_count = last;

    for (uint32_t n = first; n <= last; ++n)
        if (const tav_object *o = object_at(ed, n)) lay_out_text(ctx, n, *o);
    // Loose objects first (windows draw their own), then the windows above them.
    for (uint32_t n = first; n <= last; ++n) {
        const tav_object *o = object_at(ed, n);
        if (o && drawable(*o) && o->master == 0 && o->kind != TAV_KIND_WINDOW && o->kind != TAV_KIND_TEXT &&
            n - saved_count > TAV_OPERATOR_COUNT)
            draw_with_dependents(ctx, n, *o);
    }
    for (uint32_t n = first; n <= last; ++n) {
        const tav_object *o = object_at(ed, n);
        if (o && drawable(*o) && o->kind == TAV_KIND_WINDOW) {
            tav_evoke_object(ctx, n);
            tav_draw_dep_objs(ctx, n);
        }
    }
    tav_screenupdate(ctx);
    wait_for_release();

    ctx->object_count = saved_count;
    ctx->event.type = 0;
    put_back_on_stage(ed, staged);
    paint_background(ctx);
    redraw(ed);
}

// The design's fonts and images, then the texture, the renderer and the
// window go first: they are the editor's. tav_close frees the rest.
[[noreturn]] void shut_down(Editor &ed, int status)
{
    if (tav_context *ctx = ed.ctx) {
        if (ctx->objects) release_design_resources(ed);
        if (ctx->texture) SDL_DestroyTexture(ctx->texture);
        if (ctx->renderer) SDL_DestroyRenderer(ctx->renderer);
        if (ctx->window) SDL_DestroyWindow(ctx->window);
        ctx->texture = nullptr;
        ctx->renderer = nullptr;
        ctx->window = nullptr;
        tav_close(ctx);
    }
    std::free(ed.ctx);
    ed.ctx = nullptr;
    std::exit(status);
}

void ask_quit(Editor &ed)
{
    // Nothing to lose: the design is as it was last opened or saved.
    if (design_is_saved(ed)) shut_down(ed, 0);
    tav_context *ctx = ed.ctx;
    const int32_t answer = ask_yes_no(ed,
                                      "Do you really want to close Tavrin Creator? \n Please keep in mind that unsaved "
                                      "data will be lost.");
    if (answer == int32_t(YES_BUTTON)) shut_down(ed, 0);
    if (answer == int32_t(NO_BUTTON)) tav_close_win(ctx, QUESTION_WINDOW);
    redraw(ed);
}

}  // namespace creator

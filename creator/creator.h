// tavrin_creator: the layout editor. Its own user interface is the layout
// "6495.tav"/"6495.taw"; every button, field, menu and window of the editor
// is an object of that layout, known here by its number. The design being
// edited lives behind the editor's objects in the same object array: working
// object n is object object_count + n.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms.h"
#include "pacing.h"
#include "tavrin.h"

namespace creator {

// Room asked of the toolkit for the design behind the editor's own objects.
constexpr uint32_t MAX_WORKING_OBJECTS = 2000;
constexpr uint32_t MAX_WORKING_STREAMS = 500;
constexpr uint32_t NEW_DESIGN_OBJECTS = 100;   // size of a new, empty design
constexpr uint32_t SELECTOR_ROWS = 99;         // rows built after the list's template row
constexpr uint32_t HIGHEST_UI_OBJECT = 430;    // the editor's layout must reach this number

constexpr int SCREEN_W = 1280, SCREEN_H = 720;

// Object numbers of the editor's layout.
enum UiObject : uint32_t {
    SELECTOR_WINDOW = 8,
    SELECTOR_LIST = 9,
    SELECTOR_NAME = 10,
    SELECTOR_ACTION = 11,
    SELECTOR_CANCEL = 12,
    TITLE_PROGRAM = 26,
    MENU_PROGRAM = 27,
    ITEM_ABOUT = 28,
    ITEM_QUIT = 29,
    TITLE_OBJECTS = 30,
    MENU_OBJECTS = 31,
    ITEM_STAGE = 32,
    ITEM_PREVIEW = 33,
    ITEM_ADD = 34,
    ITEM_TAKE_AWAY = 35,
    ITEM_COPY = 36,
    TITLE_FORMS = 51,
    MENU_FORMS = 52,
    ITEM_BEHAVIOUR = 53,
    ITEM_GEOMETRY = 54,
    ITEM_COLOUR = 55,
    SELECTOR_PARENT = 56,
    TITLE_TEXT = 58,
    MENU_TEXT = 59,
    ITEM_EDIT_TEXT = 60,
    ITEM_TEXT_FORM = 61,
    TITLE_FILE = 62,
    MENU_FILE = 63,
    ITEM_OPEN = 64,
    ITEM_CLOSE = 65,
    ITEM_SAVE = 66,
    ITEM_SELECTION = 67,
    RETRY_WINDOW = 140,
    RETRY_BUTTON = 141,
    QUIT_BUTTON = 142,
    STAGE_WINDOW = 143,
    BEHAVIOUR_WINDOW = 145,
    BEHAVIOUR_APPLY_CLOSE = 156,
    BEHAVIOUR_APPLY = 157,
    BEHAVIOUR_RESET = 158,
    IMAGE_FILE_FIELD = 177,
    SELECTION_WINDOW = 199,
    MASTER_BUTTON = 202,
    PREVIOUS_BUTTON = 204,
    NEXT_BUTTON = 206,
    FIRST_DEPENDENT_BUTTON = 208,
    GO_TO_BUTTON = 210,
    MODE_BUTTON = 214,
    FILE_NAME_LABEL = 215,
    GEOMETRY_WINDOW = 219,
    STREAM_WINDOW = 241,
    WINDOW_ABOUT = 250,
    SHORT_TEXT_WINDOW = 253,
    SHORT_TEXT_FIELD = 255,
    SHORT_TEXT_APPLY_CLOSE = 256,
    SHORT_TEXT_APPLY = 257,
    NOTICE_WINDOW = 258,
    NOTICE_BUTTON = 259,
    TEXT_FORM_WINDOW = 260,
    FONT_FILE_FIELD = 281,
    COLOUR_WINDOW = 290,
    TITLE_LOCK = 355,
    MENU_LOCK = 356,
    ITEM_LOCK = 357,
    ITEM_ERASE = 358,
    COPY_WINDOW = 359,
    COPY_BUTTON = 365,
    ERASE_WINDOW = 377,
    ERASE_BUTTON = 383,
    ADD_WINDOW = 385,
    ADD_BUTTON = 388,
    TAKE_AWAY_WINDOW = 390,
    TAKE_AWAY_FIELD = 392,
    TAKE_AWAY_BUTTON = 393,
    QUESTION_WINDOW = 395,
    YES_BUTTON = 397,
    NO_BUTTON = 398,
    LOCK_WINDOW = 400,
    LOCK_FIELD = 402,
    LOCK_BUTTON = 403,
    LOCK_QUESTION_WINDOW = 406,
    LOCK_QUESTION_FIELD = 408,
    LOCK_QUESTION_BUTTON = 409,
    RESIZE_BUTTON = 412,
    MOVE_BUTTON = 413,
    CENTRE_BUTTON = 414,
    UNDO_BUTTON = 415,
    CONTEXT_MENU = 424,
    ITEM_RESIZE = 425,
    ITEM_MOVE = 426,
    ITEM_CENTRE = 427,
    ITEM_UNDO_MOVE = 428,
    DIRECTORY_LABEL = 429,
};

// Why the file selector is open.
enum SelectorPurpose : int32_t {
    PURPOSE_NONE = 0,
    PURPOSE_OPEN = 1,
    PURPOSE_SAVE = 2,
    PURPOSE_IMAGE = 3,
    PURPOSE_FONT = 4,
};

// Which form raised the notice window 258, kept in the context's
// application area: the notice button returns to that form.
enum NoticeOrigin : int32_t { NOTICE_NONE = 0, NOTICE_BEHAVIOUR = 1, NOTICE_TEXT = 2 };
constexpr int APP_NOTICE_ORIGIN = 0;  // index into tav_context::app_area

// The bytes of a design's object file and text file (empty without texts).
struct DesignFiles {
    std::vector<uint8_t> objects, texts;
};

// The editor's program-wide state. The selection, the forms and the text
// editors add their own values as they are built.
struct creator_state {
    uint32_t number_of_working_objects = NEW_DESIGN_OBJECTS;
    uint32_t selected_index = 0;   // object index of the selected working object; 0 none yet
    uint32_t selected_number = 1;  // working number of the selected object
    uint32_t saved_master = 0;     // master of the selected object in the design
    uint32_t selected_master = 0;  // topmost master of the selected object
    int32_t master_mode = 0;       // 0 the selected object is staged, 1 its master is
    int32_t master_number = 0, previous_number = 0, next_number = 0, first_dependent_number = 0;
    uint32_t streams_assigned = 0;
    uint32_t highest_stream = 0;
    int32_t selector_purpose = PURPOSE_NONE;
    int32_t file_open = 0;
    int32_t saved_once = 0;
    char file_name[TAV_SHORT_TEXT_SIZE] = {};
    uint32_t design_lock = 0;
    int32_t last_mouse_tool = 0;   // 1 after a resize with the mouse, 2 after a move
    std::string design_folder;     // folder of the design's file, opened or saved; empty for a new design
    DesignFiles saved_files;       // the design as last opened or saved; empty for a new design
    int32_t design_x = 0, design_y = 0; // the selected object's position in the design
    int32_t saved_border_style = 0, saved_border_distance = 0; // border under the master-mode marking
    int32_t saved_border_r = 0, saved_border_g = 0, saved_border_b = 0;
    int32_t stage_dx = 0, stage_dy = 0;  // how far the stage moved the staged object
    int32_t master_design_x = 0, master_design_y = 0;  // the staged master's position in the design
    int32_t saved_hidden = 0, saved_pinned = 0, saved_master_hidden = 0;  // design values while staged
    int32_t stream_number = 0;     // the selected object's stream; 0 none
    FormValues form, form_saved;    // working and saved copies of the property forms
    char stream_backup[STREAM_BACKUP_SIZE] = {}; // record text before the last stream apply
    uint32_t typing_field = 0;      // number field the user is typing into; 0 none
    char typing_text[TAV_SHORT_TEXT_SIZE] = {};  // its text after the last key
    char form_titles[6][TAV_SHORT_TEXT_SIZE] = {}; // the layout's captions of the forms' headers
    int32_t form_titles_taken = 0;  // 1 once those captions are remembered
};

// The running editor: the toolkit's context and the editor's own state.
struct Editor {
    tav_context *ctx = nullptr;
    creator_state state;
    uint32_t object_capacity = 0;  // highest object number the array holds
};

// ---------------------------------------------------------------------------
// Objects and small helpers (editor.cpp)
// ---------------------------------------------------------------------------

// Sums and differences of coordinates wrap around like the library's: a
// design may hold any 32-bit value, and no value may make the editor's
// arithmetic overflow.
inline int32_t wrapped_add(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}
inline int32_t wrapped_sub(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) - uint32_t(b));
}

// The object with number n, or nullptr when n is 0 or beyond the array that
// the start-up asked for.
tav_object *object_at(const Editor &ed, uint32_t n);
// One of the editor's own objects; start-up has made sure they all exist.
tav_object &ui(const Editor &ed, uint32_t n);
int32_t &notice_origin(tav_context *ctx);

void redraw(Editor &ed);                   // whole screen, texts as they are
void open_window(Editor &ed, uint32_t window);  // to the top, then redraw
void close_top_window(Editor &ed);         // close the top window, then redraw
void set_caption(Editor &ed, uint32_t object, const char *text);  // short text, laid out
// Copies a short text field (text, font or image name) and ends it inside the field.
void copy_short_text(char (&to)[TAV_SHORT_TEXT_SIZE], const char (&from)[TAV_SHORT_TEXT_SIZE]);
void paint_background(tav_context *ctx);
// Shows `message` in the notice window 258 with `caption` on its button,
// waits for the button, closes the notice again and redraws.
void show_notice(Editor &ed, const char *message, const char *caption);

// ---------------------------------------------------------------------------
// File selector (selector.cpp)
// ---------------------------------------------------------------------------

// Caption of the action button after an entry was pressed: "Open Dir" for a
// directory, "Load" or "Save" for a file by purpose; nullptr leaves it.
const char *entry_caption(int32_t file_type, int32_t purpose);
// Index in the list's dependents of the entry object `object`; -1 when the
// object is no entry of the list.
int entry_index(const Editor &ed, uint32_t list, uint32_t object);

void show_directory(Editor &ed);           // the working directory into 429
void relist(Editor &ed, const char *caption);
void open_selector(Editor &ed, int32_t purpose, const char *caption);
void selector_entry_pressed(Editor &ed, uint32_t entry);
void selector_action(Editor &ed);
void ask_retry_directory(Editor &ed);
// Changes into a directory chosen in the selector and lists its names;
// 0 done, -1 when it cannot be entered (nothing is shown then).
int32_t enter_directory(Editor &ed, const char *name);

// ---------------------------------------------------------------------------
// Start-up and event loop (main.cpp), dispatch (dispatch.cpp), preview
// ---------------------------------------------------------------------------

// Start-up: the context, SDL, the editor's layout and its first drawing.
// Returns false after printing why when the editor cannot run.
bool start_editor(Editor &ed);
[[noreturn]] void run_event_loop(Editor &ed);

// What the event loop remembers between passes. The held handler waits for
// the first press of the left button: before it there is no position to
// repeat.
struct Loop {
    tavapp::LeftButton left;
    tavapp::PacedClock clock;
};

// One pass's reaction to the event in the context: keys to the text
// editing, button releases to the dispatchers (each release once: the event
// is cleared after it).
void handle_event(Editor &ed, Loop &loop);

void on_left_release(Editor &ed);
void on_left_held(Editor &ed);
void on_right_release(Editor &ed);
void preview_design(Editor &ed);
// Acts on `item` chosen from one of the menu bar's menus.
void menu_choice(Editor &ed, uint32_t menu, uint32_t item);
// A design is open already: it must be closed before another one opens.
void refuse_second_design(Editor &ed);
// Button 403: the lock number typed into field 402, stored three times.
void store_lock(Editor &ed);
// Asks whether to quit unless the design is saved; "Yes" shuts the toolkit
// down and ends the process.
void ask_quit(Editor &ed);
[[noreturn]] void shut_down(Editor &ed, int status);

// ---------------------------------------------------------------------------
// Opening and saving designs (files.cpp)
// ---------------------------------------------------------------------------

// The design's files as a save would write them now.
DesignFiles design_files(const Editor &ed);
// True when the design is what it was when last opened or saved: quitting
// loses nothing then.
bool design_is_saved(const Editor &ed);
void open_definition_file(Editor &ed, uint32_t max_objects, uint32_t max_text_records, const char *name);
int32_t save_definition_file(Editor &ed, const char *name);
void close_definition_file(Editor &ed);
void take_away_working_objects(Editor &ed);
void enter_parent_directory(Editor &ed);
void show_retry_quit(Editor &ed);
// Shows `message` in window 140 with "Retry" and "Quit" and waits for the
// answer (show_retry_quit).
void ask_retry(Editor &ed, const char *message);
// Asks `question` in window 395 with "Yes" and "No"; returns the button
// pressed, or 7 when the window was closed with its close operator.
int32_t ask_yes_no(Editor &ed, const char *question);

// ---------------------------------------------------------------------------
// Selection and the edit stage (selection.cpp)
// ---------------------------------------------------------------------------

void select_working_object(Editor &ed, uint32_t number, int32_t redraw);
int32_t is_in_dependents_tree(const Editor &ed, uint32_t object);
void toggle_master_mode(Editor &ed, int32_t redraw);
void refresh_selection_panel(Editor &ed, int32_t load_forms);
void go_to_object_number(Editor &ed);
void add_working_objects(Editor &ed);
void move_with_mouse(Editor &ed);
void resize_with_mouse(Editor &ed);
void centre_in_master(Editor &ed);
void undo_move(Editor &ed);
void undo_last_mouse_tool(Editor &ed);

// ---------------------------------------------------------------------------
// Property forms and text editors (forms.cpp)
// ---------------------------------------------------------------------------

enum Form { GEOMETRY_FORM, BEHAVIOUR_FORM, TEXT_FORM, COLOUR_FORM };

void load_and_show_form(Editor &ed, Form form);
void apply_form(Editor &ed, Form form);
void reset_form(Editor &ed, Form form);
// A press on a choice field of a form; false when `object` is none.
bool choice_field_pressed(Editor &ed, uint32_t object);
// A colour stepper; `held` is true for the repeating steppers while the
// left button is down, false for the single steppers on release.
bool colour_stepper(Editor &ed, uint32_t object, bool held);
void open_stream_editor(Editor &ed);
void open_short_text_editor(Editor &ed);
// Fill the stream editor (field 244, and the text its reset brings back) or
// the short-text editor (field 255) with the selected object's text; the
// stream editor answers false when the object has no text record.
bool load_stream_editor(Editor &ed);
void load_short_text_editor(Editor &ed);
// Stream editor buttons 245 to 248.
void stream_editor_button(Editor &ed, uint32_t button);
// The headers of the four forms and the two text editors name the selected
// object: "<the layout's caption> of object <working number>".
void show_form_titles(Editor &ed);
// Applies a decoded key to the cursor object. The first key that reaches
// one of the editor's number fields after the cursor arrived there, or
// after the program wrote the field, replaces what it showed: a field
// showing "0000" is full, and typing must not have to delete it first.
void type_key(Editor &ed);
// Once a pass: a number field the cursor has left takes typing afresh.
void follow_typing_cursor(Editor &ed);
// Fonts and images of a design just opened, behind the editor's objects,
// called while object_count reaches the design. The fonts' result is that
// of open_shared_fonts: -1 when a font failed, FONTS_EXHAUSTED when the
// descriptors ran short; the caller says so once the design is in place.
int32_t load_design_fonts(Editor &ed);
void load_design_images(Editor &ed);
// Load fills both copies of a form from the selected object; show writes
// the working copy into the form's fields.
void load_form(Editor &ed, Form form);
void show_form(Editor &ed, Form form);
// Why a master number typed into the behaviour form cannot be taken; nullptr
// when it can (0 takes the object out of any master).
const char *master_refusal(const Editor &ed, int32_t number);

// ---------------------------------------------------------------------------
// Copying and erasing working objects (copy_erase.cpp)
// ---------------------------------------------------------------------------

void copy_object_data(Editor &ed);
void erase_objects(Editor &ed);
// Erases working object `n` (an object index). keep_forms 1 leaves reloading
// the forms to the caller. True when the selection panel must be refreshed.
bool erase_object(Editor &ed, uint32_t n, int32_t keep_forms);
// The highest design text record that has an owner; 0 when none has.
uint32_t highest_used_stream(const Editor &ed);
// Moves the highest records into the holes below them so that the design's
// texts occupy text_record_count + 1 .. highest_stream without gaps.
void compact_text_records(Editor &ed);
// A design text record free to hand out after compacting; 0 when all are taken.
uint32_t find_free_stream(Editor &ed);

}  // namespace creator

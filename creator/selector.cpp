// The file selector (window 8): list 9 of the working directory's names,
// name field 10, action button 11 whose caption says what it will do,
// cancel button 12 and the directory caption 429. One selector serves four
// purposes: opening and saving designs, choosing an image and a font file.
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "creator.h"

namespace creator {

namespace {

constexpr int32_t LIST_BELOW_WINDOW_TOP = 100;  // list 9 starts this far below the top of window 8

// Puts list 9 back at its place under the top of window 8 (the window may
// have been moved), taking its rows along.
void place_list(Editor &ed)
{
    tav_object &list = ui(ed, SELECTOR_LIST);
    const int32_t dy = ui(ed, SELECTOR_WINDOW).y + LIST_BELOW_WINDOW_TOP - list.y;
    list.y += dy;
    tav_update_dep_objs_after_move(ed.ctx, SELECTOR_LIST, 0, dy);
}

// The names of the working directory into the rows of list 9.
void read_directory(Editor &ed)
{
    tav_read_app_dir(ed.ctx);
    tav_load_dir_entries(ed.ctx, SELECTOR_LIST);
}

}  // namespace

const char *entry_caption(int32_t file_type, int32_t purpose)
{
    if (file_type == TAV_FILE_DIRECTORY) return "Open Dir";
    if (file_type != TAV_FILE_REGULAR) return nullptr;
    switch (purpose) {
    case PURPOSE_SAVE: return "Save";
    case PURPOSE_OPEN:
    case PURPOSE_IMAGE:
    case PURPOSE_FONT: return "Load";
    default: return nullptr;
    }
}

int entry_index(const Editor &ed, uint32_t list, uint32_t object)
{
    const tav_object *l = object_at(ed, list);
    if (!l || object == 0) return -1;
    for (int i = 0; i < TAV_MAX_DEPENDENTS && l->dependents[i] != 0; ++i)
        if (l->dependents[i] == object) return i;
    return -1;
}

// A path longer than the caption shows its end, where the folder's own name
// is, behind "...".
void show_directory(Editor &ed)
{
    char path[TAV_PATH_SIZE] = "";
    if (!getcwd(path, sizeof path)) path[0] = '\0';
    tav_object &label = ui(ed, DIRECTORY_LABEL);
    const size_t room = TAV_DIR_ENTRY_SIZE - 1;  // at most 65 bytes with the terminator
    const size_t length = std::strlen(path);
    if (length <= room) {
        std::memcpy(label.text, path, length + 1);
    } else {
        std::memcpy(label.text, "...", 3);
        std::memcpy(label.text + 3, path + length - (room - 3), room - 3 + 1);
    }
    tav_format_small_obj(ed.ctx, DIRECTORY_LABEL);
}

void relist(Editor &ed, const char *caption)
{
    place_list(ed);
    show_directory(ed);
    if (caption) set_caption(ed, SELECTOR_ACTION, caption);
    tav_draw_and_screenup_selected_window(ed.ctx);
}

void open_selector(Editor &ed, int32_t purpose, const char *caption)
{
    ed.state.selector_purpose = purpose;
    set_caption(ed, SELECTOR_ACTION, caption);
    read_directory(ed);
    show_directory(ed);
    place_list(ed);
    open_window(ed, SELECTOR_WINDOW);
}

// Pressing an entry only prepares the action: the name goes into field 10
// and button 11 says what pressing it will do.
void selector_entry_pressed(Editor &ed, uint32_t entry)
{
    tav_object *row = object_at(ed, entry);
    if (!row) return;
    tav_object &action = ui(ed, SELECTOR_ACTION);
    if (const char *caption = entry_caption(tav_check_file_type(ed.ctx, row->text), ed.state.selector_purpose))
        tav_copy_st_last_part(caption, action.text);
    tav_object &name = ui(ed, SELECTOR_NAME);
    static_assert(sizeof name.text == sizeof row->text, "entry texts fit the name field");
    std::memcpy(name.text, row->text, sizeof name.text);
    name.text[sizeof name.text - 1] = '\0';
    tav_reset_textobject(ed.ctx, 0, SELECTOR_NAME);
    tav_format_small_obj(ed.ctx, SELECTOR_ACTION);
    tav_draw_and_screenup_selected_window(ed.ctx);
}

void ask_retry_directory(Editor &ed)
{
    ask_retry(ed, "Can't open directory. Try again or quit ?");
}

int32_t enter_directory(Editor &ed, const char *name)
{
    if (chdir(name) != 0) return -1;
    read_directory(ed);
    return 0;
}

namespace {

// The folder of the file `name`, as an absolute path ending in "/"; empty
// when the working folder cannot be told.
std::string folder_of(const char *name)
{
    std::string folder;
    if (name[0] != '/') {
        char *cwd = getcwd(nullptr, 0);
        if (!cwd) return folder;
        folder = cwd;
        std::free(cwd);
        folder += '/';
    }
    folder += name;
    folder.erase(folder.rfind('/') + 1);
    return folder;
}

void open_design(Editor &ed, const char *name)
{
    // The selector opens only while no design is open; should it still be
    // up after an open, it must not replace the design that came in.
    if (ed.state.file_open == 1) {
        refuse_second_design(ed);
        close_top_window(ed);
        return;
    }
    open_definition_file(ed, MAX_WORKING_OBJECTS, MAX_WORKING_STREAMS, name);
    if (ed.state.file_open != 1) {
        relist(ed, "Load");
        return;
    }
    ed.state.design_folder = folder_of(name);
    ed.state.saved_files = design_files(ed);
    tav_close_win(ed.ctx, 0);
    open_window(ed, STAGE_WINDOW);
    refresh_selection_panel(ed, 0);
    open_window(ed, SELECTION_WINDOW);
}

void save_design(Editor &ed, const char *name)
{
    if (save_definition_file(ed, name) != 1) {
        relist(ed, "Save");
        return;
    }
    ed.state.saved_once = 1;
    ed.state.design_folder = folder_of(name);
    ed.state.saved_files = design_files(ed);
    tav_close_win(ed.ctx, 0);
    tav_copy_st_last_part(name, ed.state.file_name);
    refresh_selection_panel(ed, 0);
    redraw(ed);
}

// An image or font file goes into its form's field; a directory is
// entered.
void choose_resource(Editor &ed, const char *name)
{
    const bool image = ed.state.selector_purpose == PURPOSE_IMAGE;
    switch (tav_check_file_type(ed.ctx, name)) {
    case TAV_FILE_REGULAR: {
        const uint32_t field = image ? IMAGE_FILE_FIELD : FONT_FILE_FIELD;
        tav_copy_st_last_part(name, ui(ed, field).text);
        tav_format_small_obj(ed.ctx, field);
        tav_close_win(ed.ctx, 0);
        open_window(ed, image ? BEHAVIOUR_WINDOW : TEXT_FORM_WINDOW);
        break;
    }
    case TAV_FILE_DIRECTORY:
        if (enter_directory(ed, name) != 0)
            ask_retry_directory(ed);
        else
            relist(ed, "Load");
        break;
    default: break;
    }
}

}  // namespace

void selector_action(Editor &ed)
{
    // A copy: the operations below rewrite the field while they work.
    char name[TAV_SHORT_TEXT_SIZE];
    std::memcpy(name, ui(ed, SELECTOR_NAME).text, sizeof name);
    name[sizeof name - 1] = '\0';
    switch (ed.state.selector_purpose) {
    case PURPOSE_OPEN: open_design(ed, name); break;
    case PURPOSE_SAVE: save_design(ed, name); break;
    case PURPOSE_IMAGE:
    case PURPOSE_FONT: choose_resource(ed, name); break;
    default: break;
    }
}

}  // namespace creator

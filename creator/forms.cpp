// The property forms of the selected object (geometry 219, behaviour 145,
// text 260, colour 290) with their choice menus and colour steppers, and
// the two text editors (stream editor 241, short-text editor 253).
#include "creator.h"

namespace creator {

void load_and_show_form(Editor &ed, Form form)
{
    (void)ed, (void)form;
}

void apply_form(Editor &ed, Form form)
{
    (void)ed, (void)form;
}

void reset_form(Editor &ed, Form form)
{
    (void)form;
    tav_draw_and_screenup_selected_window(ed.ctx);
}

bool choice_field_pressed(Editor &ed, uint32_t object)
{
    (void)object;
    tav_draw_and_screenup_selected_window(ed.ctx);
    return false;
}

bool colour_stepper(Editor &ed, uint32_t object, bool held)
{
    (void)ed, (void)object, (void)held;
    return false;
}

void open_stream_editor(Editor &ed)
{
    (void)ed;
}

void stream_editor_button(Editor &ed, uint32_t button)
{
    (void)button;
    redraw(ed);
}

}  // namespace creator

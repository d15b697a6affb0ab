// tavrin_creator: the layout editor. It takes no arguments; it runs until
// the user quits through the program menu or closes its window.
#include "creator.h"

int main(int, char **)
{
    creator::Editor editor;
    if (!creator::start_editor(editor)) creator::shut_down(editor, 1);
    creator::run_event_loop(editor);
}

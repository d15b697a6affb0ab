// Access to the editor's objects and the few ways it opens, closes and
// redraws its windows.
#include <cstring>

#include "creator.h"

namespace creator {

tav_object *object_at(const Editor &ed, uint32_t n)
{
    if (!ed.ctx || !ed.ctx->objects || n == 0 || n > ed.object_capacity) return nullptr;
    return &ed.ctx->objects[n];
}

tav_object &ui(const Editor &ed, uint32_t n)
{
    return ed.ctx->objects[n];
}

int32_t &notice_origin(tav_context *ctx)
{
    return ctx->app_area[APP_NOTICE_ORIGIN];
}

void redraw(Editor &ed)
{
    tav_draw_all_objects(ed.ctx, 0, 1);
}

void open_window(Editor &ed, uint32_t window)
{
    ed.ctx->decided_object = window;
    tav_activate_window(ed.ctx);
    redraw(ed);
}

void close_top_window(Editor &ed)
{
    tav_close_win(ed.ctx, 0);
    redraw(ed);
}

void set_caption(Editor &ed, uint32_t object, const char *text)
{
    tav_object &o = ui(ed, object);
    std::strncpy(o.text, text, sizeof o.text - 1);
    o.text[sizeof o.text - 1] = '\0';
    tav_format_small_obj(ed.ctx, object);
}

void copy_short_text(char (&to)[TAV_SHORT_TEXT_SIZE], const char (&from)[TAV_SHORT_TEXT_SIZE])
{
    std::memcpy(to, from, sizeof to);
    to[sizeof to - 1] = '\0';
}

void show_notice(Editor &ed, const char *message, const char *caption)
{
    notice_origin(ed.ctx) = NOTICE_NONE;
    tav_load_window_text(ed.ctx, NOTICE_WINDOW, message);
    set_caption(ed, NOTICE_BUTTON, caption);
    tav_notice_window(ed.ctx, NOTICE_WINDOW, NOTICE_BUTTON);
    redraw(ed);
}

void paint_background(tav_context *ctx)
{
    tav_draw_box(ctx, 0, 0, int32_t(ctx->screen_width), int32_t(ctx->screen_height), ctx->background_r,
                 ctx->background_g, ctx->background_b);
}

}  // namespace creator

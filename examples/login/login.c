/*
 * login: runs the login window that docs/editor.md builds in the layout
 * editor. The window asks for a user name and a password; its "Log in"
 * button prints the name and the length of the password and ends the
 * program, and so does its close operator.
 *
 * It runs in the folder that holds the editor's "login.tav" and
 * "login.taw" (or the pair packed from login.json, the same design as
 * text) and a TrueType font named "DroidSans.ttf".
 */
#include <stdio.h>
#include <string.h>

#include "tavrin_app.h"

/* Object numbers of the design, as the editor's selection panel shows them. */
enum { WINDOW_LOGIN = 8, FIELD_USER = 10, FIELD_PASSWORD = 12, BUTTON_LOG_IN = 13 };

/* Called for every click; returns 0 to end the program. */
static int on_click(tav_context *ctx, uint32_t object, void *data)
{
    (void)data;
    if (object == BUTTON_LOG_IN) {
        printf("user ");
        tav_app_print_latin1(stdout, ctx->objects[FIELD_USER].text);
        printf(", password of %zu characters\n", strlen(ctx->objects[FIELD_PASSWORD].text));
        return 0;
    }
    return ctx->active_window != 0; /* the close operator took the window away */
}

int main(void)
{
    tav_context *ctx = tav_app_start("Login", 480, 300, "login.tav", "login.taw", "DroidSans.ttf", 12);
    if (!ctx) return 1;
    /* The window comes to the front; its first editable object, the user
     * name field, takes the text cursor. */
    tav_app_show(ctx, WINDOW_LOGIN);
    tav_app_run(ctx, on_click, NULL);
    tav_app_close(ctx);
    return 0;
}

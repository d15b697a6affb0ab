/*
 * hello: the smallest useful Tavrin program. One window asks for a name in
 * an entry field; its OK button prints a greeting and ends the program.
 *
 * It runs in a folder that holds its packed layout ("hello.tav",
 * "hello.taw", made from hello.json at build time) and a TrueType font
 * named "DroidSans.ttf". docs/getting-started.md walks through it.
 */
#include <stdio.h>

#include "tavrin_app.h"

/* Object numbers of hello.json. */
enum { WINDOW_HELLO = 8, ENTRY_NAME = 10, BUTTON_OK = 11 };

/* Called for every click: OK greets and ends the program, and so does
 * closing the only window. Returns 0 to end. */
static int on_click(tav_context *ctx, uint32_t object, void *data)
{
    (void)data;
    if (object == BUTTON_OK) {
        const char *name = ctx->objects[ENTRY_NAME].text;
        printf("Hello, ");
        tav_app_print_latin1(stdout, name[0] ? name : "stranger");
        printf("!\n");
        return 0;
    }
    return ctx->active_window != 0;
}

int main(void)
{
    tav_context *ctx = tav_app_start("Hello", 480, 300, "hello.tav", "hello.taw", "DroidSans.ttf", 11);
    if (!ctx) return 1;
    tav_app_show(ctx, WINDOW_HELLO);
    tav_app_run(ctx, on_click, NULL);
    tav_app_close(ctx);
    return 0;
}

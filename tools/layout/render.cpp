// render: starts a layout without a display, the way the programs start
// theirs, and writes the drawn screen as a PNG picture.
#include "layout.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>

#include <SDL2/SDL_image.h>

#include "tavrin.h"

namespace tavlayout {

namespace {

constexpr uint32_t window_kind = 1;
constexpr uint32_t operator_count = 7;
constexpr const char *default_font = "DroidSans.ttf";

std::vector<uint8_t> file_bytes(const std::string &path)
{
    std::vector<uint8_t> bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
        std::fclose(f);
    }
    return bytes;
}

// The library ends the process when a file it needs is missing, so what it
// will need is made sure of here, where it can still be reported.
std::string startable(const std::string &tav, const std::string &taw, const RenderOptions &options)
{
    Layout layout = layout_from_files(file_bytes(tav), {});
    if (layout.object_count() < operator_count) return tav + ": a layout begins with the 7 window operators";
    bool needs_texts = false;
    for (uint32_t n = 1; n <= layout.object_count(); ++n) needs_texts = needs_texts || object_u32(layout, n, "text_record");
    if (needs_texts && access(taw.c_str(), R_OK) != 0) return taw + ": the layout's text records cannot be read";
    for (uint32_t w : options.open_windows)
        if (w > layout.object_count() || object_u32(layout, w, "kind") != window_kind)
            return "object " + std::to_string(w) + " is not a window of " + tav;
    return "";
}

// The screen, renderer and texture set up as the programs set them up, with
// the layout editor's colours.
tav_context *start_screen(const RenderOptions &o)
{
    auto *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
    if (!ctx) return nullptr;
    SDL_Init(SDL_INIT_VIDEO);
    ctx->window = SDL_CreateWindow("tavrin_layout", 0, 0, o.width, o.height, SDL_WINDOW_HIDDEN);
    ctx->screen = SDL_CreateRGBSurface(0, o.width, o.height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (ctx->screen) SDL_SetSurfaceBlendMode(ctx->screen, SDL_BLENDMODE_NONE);
    ctx->renderer = ctx->window ? SDL_CreateRenderer(ctx->window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    ctx->texture = ctx->renderer ? SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, o.width, o.height) : nullptr;
    TTF_Init();
    ctx->window_width = ctx->screen_width = uint32_t(o.width);
    ctx->window_height = ctx->screen_height = uint32_t(o.height);
    ctx->background_r = ctx->background_g = ctx->background_b = 240;
    ctx->mark0_r = 250, ctx->mark0_g = 150, ctx->mark0_b = 0;
    ctx->mark1_r = 110, ctx->mark1_g = 187, ctx->mark1_b = 245;
    ctx->scroll_step = 4;
    ctx->convert_umlauts = 1;
    return ctx;
}

// Releases what tav_close leaves to the application, then the rest.
void stop_screen(tav_context *ctx, bool started)
{
    if (ctx->texture) SDL_DestroyTexture(ctx->texture);
    if (ctx->renderer) SDL_DestroyRenderer(ctx->renderer);
    if (ctx->window) SDL_DestroyWindow(ctx->window);
    if (started) {
        tav_close(ctx);
    } else {
        SDL_FreeSurface(ctx->screen);
        TTF_Quit();
        SDL_Quit();
    }
    std::free(ctx);
}

// The programs' default font is a file in their run folder; outside one
// the font that the build copies there serves as well.
TTF_Font *open_default_font(const RenderOptions &o)
{
    if (!o.font_file.empty()) return TTF_OpenFont(o.font_file.c_str(), o.font_size);
    TTF_Font *font = TTF_OpenFont(default_font, o.font_size);
    return font ? font : TTF_OpenFont(TAVRIN_FALLBACK_FONT, o.font_size);
}

std::string save_png(SDL_Surface *screen, const std::string &png)
{
    std::string temp = png + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return png + ": cannot be written";
    close(fd);
    if (IMG_SavePNG(screen, temp.c_str()) != 0 || std::rename(temp.c_str(), png.c_str()) != 0) {
        std::remove(temp.c_str());
        return png + ": cannot be written: " + SDL_GetError();
    }
    return "";
}

}  // namespace

std::string render_layout(const std::string &tav, const std::string &taw, const std::string &png,
                          const RenderOptions &options)
{
    std::string error = startable(tav, taw, options);
    if (!error.empty()) return error;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    tav_context *ctx = start_screen(options);
    if (!ctx) return "out of memory";
    if (!ctx->screen || !ctx->renderer || !ctx->texture) {
        error = std::string("no screen: ") + SDL_GetError();
        stop_screen(ctx, false);
        return error;
    }
    tav_start_tavrin(ctx, 0, 0, tav.c_str(), taw.c_str());
    ctx->font = open_default_font(options);
    if (!ctx->font) {
        error = (options.font_file.empty() ? std::string(default_font) : options.font_file) + ": " + TTF_GetError();
        stop_screen(ctx, true);
        return error;
    }
    tav_set_operators(ctx);
    tav_draw_box(ctx, 0, 0, options.width, options.height, ctx->background_r, ctx->background_g, ctx->background_b);
    for (uint32_t w : options.open_windows) {
        ctx->decided_object = w;
        tav_activate_window(ctx);
    }
    tav_draw_all_objects(ctx, 1, 0);
    error = save_png(ctx->screen, png);
    stop_screen(ctx, true);
    return error;
}

}  // namespace tavlayout

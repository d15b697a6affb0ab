#include "fuzz_common.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tavfuzz {

std::string scratch(const char *suffix)
{
    return "/tmp/tavrin-fuzz-" + std::to_string(getpid()) + suffix;
}

tav_context *new_context(int width, int height)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_EVENTS);
    TTF_Init();
    return tavtest::new_context(width, height);
}

static void open_default_font(tav_context *ctx)
{
    ctx->font = TTF_OpenFont(TAVRIN_FUZZ_FONT, 12);
    if (!ctx->font) {
        std::fprintf(stderr, "cannot open %s\n", TAVRIN_FUZZ_FONT);
        std::abort();
    }
}

void start_layout(tav_context *ctx, const tavtest::RawLayout &layout, uint32_t extra_objects, uint32_t extra_streams)
{
    std::string tav = scratch(".tav"), taw = scratch(".taw");
    layout.write(tav, taw);
    tav_start_tavrin(ctx, extra_objects, extra_streams, tav.c_str(), taw.c_str());
    open_default_font(ctx);
}

void start_files(tav_context *ctx, const std::string &tav_bytes, const std::string &taw_bytes)
{
    std::string tav = scratch(".tav"), taw = scratch(".taw");
    tavtest::write_file(tav, std::vector<uint8_t>(tav_bytes.begin(), tav_bytes.end()));
    tavtest::write_file(taw, std::vector<uint8_t>(taw_bytes.begin(), taw_bytes.end()));
    tav_start_tavrin(ctx, 0, 0, tav.c_str(), taw.c_str());
    open_default_font(ctx);
}

void close_context(tav_context *ctx, uint32_t extra_objects)
{
    for (uint32_t i = 1; i <= ctx->object_count + extra_objects; ++i) {
        std::free(ctx->objects[i].stream);
        ctx->objects[i].stream = nullptr;
    }
    tav_close(ctx);
    std::free(ctx);
}

void activate_every_window(tav_context *ctx)
{
    for (uint32_t i = 1; i <= ctx->object_count; ++i) {
        const tav_object &o = ctx->objects[i];
        if (o.kind != TAV_KIND_WINDOW || o.master != 0) continue;
        ctx->decided_object = i;
        tav_activate_window(ctx);
        tav_draw_all_objects(ctx, 0, 0);
    }
}

void hit_test_grid(tav_context *ctx, int step)
{
    for (int y = 0; y < int(ctx->screen_height); y += step)
        for (int x = 0; x < int(ctx->screen_width); x += step) tav_test_all_objects(ctx, x, y);
}

}  // namespace tavfuzz

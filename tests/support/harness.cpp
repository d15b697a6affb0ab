#include "support/harness.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace tavtest {

std::string temp_name(const std::string &suffix)
{
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "test";
    for (char &c : name)
        if (c == '/') c = '_';
    return "tmp_" + name + suffix;
}

Screen::Screen(int width, int height)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) ADD_FAILURE() << SDL_GetError();
    ctx = new_context(width, height);
    ctx->window = SDL_CreateWindow("Tavrin Test", 0, 0, width, height, SDL_WINDOW_HIDDEN);
    ctx->renderer = SDL_CreateRenderer(ctx->window, -1, SDL_RENDERER_SOFTWARE);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    ctx->texture = SDL_CreateTexture(ctx->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (TTF_Init() != 0) ADD_FAILURE() << TTF_GetError();
}

tav_context *Screen::start(const RawLayout &layout, uint32_t extra_objects, uint32_t extra_streams)
{
    std::string tav = temp_name(".tav"), taw = temp_name(".taw");
    if (!layout.write(tav, taw)) ADD_FAILURE() << "cannot write " << tav;
    tav_start_tavrin(ctx, extra_objects, extra_streams, tav.c_str(), taw.c_str());
    std::remove(tav.c_str());
    std::remove(taw.c_str());
    started_ = true;
    extra_objects_ = extra_objects;
    return ctx;
}

void Screen::open_font(int size)
{
    ctx->font = TTF_OpenFont("DroidSans.ttf", size);
    ASSERT_NE(ctx->font, nullptr) << TTF_GetError();
}

uint32_t Screen::pixel(int x, int y) const
{
    const SDL_Surface *s = ctx->screen;
    const uint8_t *row = static_cast<const uint8_t *>(s->pixels) + y * s->pitch;
    uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v & 0x00FFFFFF;
}

void Screen::close()
{
    if (closed_) return;
    closed_ = true;
    // Tests may also call tav_start_tavrin themselves: whatever loaded a
    // layout is closed with tav_close.
    if (started_ || ctx->objects) {
        // The application owns the streams of chain mothers: release them as
        // a program does before it closes the toolkit.
        for (size_t i = 1; i <= ctx->object_count + extra_objects_; ++i) std::free(ctx->objects[i].stream);
        // tav_close frees the screen and the default font and quits SDL.
        SDL_DestroyTexture(ctx->texture);
        SDL_DestroyRenderer(ctx->renderer);
        SDL_DestroyWindow(ctx->window);
        tav_close(ctx);
    } else {
        if (ctx->font) TTF_CloseFont(ctx->font);
        SDL_FreeSurface(ctx->screen);
        SDL_DestroyTexture(ctx->texture);
        SDL_DestroyRenderer(ctx->renderer);
        SDL_DestroyWindow(ctx->window);
        TTF_Quit();
        SDL_Quit();
    }
}

Screen::~Screen()
{
    close();
    std::free(ctx);
}

}  // namespace tavtest

// Benchmarks of the toolkit and its programs' screens. Every case runs
// twice, on a scene started with the fast paths switched off and on one
// started with them on, so that one run shows both side by side:
//
//   LoadEditorLayout        tav_start_tavrin of the editor's layout with
//                           2000 extra objects and 500 extra streams
//   EditorDrawAll/layout0   tav_draw_all_objects(ctx, 0, 0) of the editor
//   EditorDrawAll/layout1   tav_draw_all_objects(ctx, 1, 0) of the editor
//   EditorDrawSelected      tav_draw_selected_window of the colour form
//   ScreenUpdate1280x720    tav_screenupdate of the editor's screen
//   EditorHitTests10000     10000 tav_test_all_objects over the editor
//   RecordText999           tav_format_object_text of 999 characters
//   ChainStream20000        tav_format_stream_to_linked_objects of 19999
//                           bytes over five members
//   DemoStep/<mode>         one animation step of the demo: the bitmap
//                           drawn as the mode draws it, then
//                           tav_draw_and_screenup_selected_window
//
// The editor's scene has a 100-object design, the file selector and the
// four property forms open (bench/scenes.h). The program runs in the
// editor's run folder and starts SDL with the dummy video driver.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "scenes.h"

namespace {

constexpr const char *way_name[] = {"fast_paths_off", "fast_paths_on"};

// Scenes are started on first use, after the loading case, whose
// tav_close shuts SDL down after every load.
struct Scenes {
    creator::Editor editor[2];
    tav_context *demo[2] = {};
    tav_context *text[2] = {};

    Scenes()
    {
        for (int fast = 0; fast < 2; ++fast) {
            if (!scenes::open_editor(editor[fast], TAVRIN_CREATOR_RUN_DIR, fast == 1)) fail("the editor");
            demo[fast] = scenes::open_demo(TAVRIN_DEMO_RUN_DIR, fast == 1);
            if (!demo[fast]) fail("the demo");
            text[fast] = scenes::open_text_layout(TAVRIN_CREATOR_RUN_DIR, fast == 1);
            if (!text[fast]) fail("the text layout");
        }
    }

    ~Scenes()
    {
        // Every display goes before the first tav_close, which quits SDL.
        for (int fast = 0; fast < 2; ++fast)
            for (tav_context *ctx : {editor[fast].ctx, demo[fast], text[fast]}) scenes::close_display(ctx);
        for (int fast = 0; fast < 2; ++fast) {
            scenes::close_editor(editor[fast]);
            scenes::close_demo(demo[fast]);
            scenes::close_text_layout(text[fast]);
        }
    }

    [[noreturn]] static void fail(const char *what)
    {
        std::fprintf(stderr, "Cannot start %s: %s\n", what, SDL_GetError());
        std::exit(1);
    }
};

std::unique_ptr<Scenes> all_scenes;

Scenes &scenes_of()
{
    if (!all_scenes) all_scenes = std::make_unique<Scenes>();
    return *all_scenes;
}

tav_context *editor_of(int fast)
{
    return scenes_of().editor[fast].ctx;
}

void load_editor_layout(benchmark::State &state, int fast)
{
    setenv("TAVRIN_FAST_PATHS", fast ? "1" : "0", 1);
    for (auto _ : state) {
        auto *ctx = static_cast<tav_context *>(std::calloc(1, sizeof(tav_context)));
        TTF_Init();
        const auto start = std::chrono::steady_clock::now();
        tav_start_tavrin(ctx, creator::MAX_WORKING_OBJECTS, creator::MAX_WORKING_STREAMS, "6495.tav", "6495.taw");
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        tav_close(ctx);
        std::free(ctx);
    }
    unsetenv("TAVRIN_FAST_PATHS");
}

// Pseudo-random points over the editor's screen, the same in every run.
void hit_tests(benchmark::State &state, tav_context *ctx)
{
    for (auto _ : state) {
        uint32_t seed = 7, found = 0;
        for (int i = 0; i < 10000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            found += tav_test_all_objects(ctx, int32_t((seed >> 8) % 1280), int32_t((seed >> 20) % 720)) != 0;
        }
        benchmark::DoNotOptimize(found);
    }
}

// The demo's animation modes, reduced to their drawing: 20 boxes, a closed
// polyline through 100 points, or 100 single pixels, moved one pixel a step.
enum class Mode { boxes, polyline, pixels };

struct Points {
    uint32_t x[100], y[100];

    Points()
    {
        for (uint32_t i = 0; i < 100; ++i) x[i] = 1 + (i * 37) % 250, y[i] = 1 + (i * 53) % 190;
    }

    void move()
    {
        for (uint32_t i = 0; i < 100; ++i) x[i] = 1 + (x[i] + 1) % 250, y[i] = 1 + (y[i] + 1) % 190;
    }
};

void demo_step(benchmark::State &state, tav_context *ctx, Mode mode)
{
    const uint32_t bitmap = scenes::DEMO_BITMAP;
    const int32_t w = ctx->objects[bitmap].w, h = ctx->objects[bitmap].h;
    Points p;
    for (auto _ : state) {
        p.move();
        SDL_Surface *image = ctx->objects[bitmap].image;
        if (mode != Mode::pixels) tav_draw_box_bm(ctx, bitmap, 0, 0, w, h, 255, 255, 255);
        tav_lock(image);
        for (int i = 0; i < 100; ++i) {
            const uint8_t c = uint8_t(i * 2);
            if (mode == Mode::boxes && i < 20)
                tav_draw_box_bm(ctx, bitmap, int32_t(p.x[i]), int32_t(p.y[i]), 20, 20, c, 100, 200);
            else if (mode == Mode::polyline)
                tav_draw_line_bm(ctx, bitmap, p.x[i], p.y[i], p.x[(i + 1) % 100], p.y[(i + 1) % 100], c, 100, 200);
            else if (mode == Mode::pixels)
                tav_draw_pixel_bm(ctx, bitmap, p.x[i], p.y[i], c, 100, 200);
        }
        tav_unlock(image);
        tav_draw_and_screenup_selected_window(ctx);
    }
}

template <typename Body>
void both_ways(const std::string &name, Body body)
{
    for (int fast = 0; fast < 2; ++fast)
        benchmark::RegisterBenchmark((name + "/" + way_name[fast]).c_str(),
                                     [body, fast](benchmark::State &state) { body(state, fast); })
            ->Unit(benchmark::kMicrosecond);
}

void register_all()
{
    for (int fast = 0; fast < 2; ++fast)
        benchmark::RegisterBenchmark((std::string("LoadEditorLayout/") + way_name[fast]).c_str(),
                                     [fast](benchmark::State &state) { load_editor_layout(state, fast); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    both_ways("EditorDrawAll/layout0", [](benchmark::State &state, int fast) {
        for (auto _ : state) tav_draw_all_objects(editor_of(fast), 0, 0);
    });
    both_ways("EditorDrawAll/layout1", [](benchmark::State &state, int fast) {
        for (auto _ : state) tav_draw_all_objects(editor_of(fast), 1, 0);
    });
    both_ways("EditorDrawSelected", [](benchmark::State &state, int fast) {
        for (auto _ : state) tav_draw_selected_window(editor_of(fast));
    });
    both_ways("ScreenUpdate1280x720", [](benchmark::State &state, int fast) {
        for (auto _ : state) tav_screenupdate(editor_of(fast));
    });
    both_ways("EditorHitTests10000", [](benchmark::State &state, int fast) { hit_tests(state, editor_of(fast)); });
    both_ways("RecordText999", [](benchmark::State &state, int fast) {
        tav_context *ctx = scenes_of().text[fast];
        for (auto _ : state) benchmark::DoNotOptimize(tav_format_object_text(ctx, scenes::TEXT_WINDOW));
    });
    both_ways("ChainStream20000", [](benchmark::State &state, int fast) {
        tav_context *ctx = scenes_of().text[fast];
        for (auto _ : state) benchmark::DoNotOptimize(tav_format_stream_to_linked_objects(ctx, scenes::CHAIN_MOTHER));
    });
    const std::pair<const char *, Mode> modes[] = {
        {"boxes", Mode::boxes}, {"polyline", Mode::polyline}, {"pixels", Mode::pixels}};
    for (const auto &m : modes) {
        const Mode mode = m.second;
        both_ways(std::string("DemoStep/") + m.first, [mode](benchmark::State &state, int fast) {
            demo_step(state, scenes_of().demo[fast], mode);
        });
    }
}

}  // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (chdir(TAVRIN_CREATOR_RUN_DIR) != 0) {
        std::perror(TAVRIN_CREATOR_RUN_DIR);
        return 1;
    }
    register_all();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    all_scenes.reset();
    return 0;
}

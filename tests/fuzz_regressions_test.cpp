// Inputs that the fuzz targets once found troublesome, replayed the way the
// layout target feeds them: the first two bytes times 8 is the length of the
// .tav part, the rest is the .taw part. Each must load, draw, activate its
// windows, hit-test and close quickly and without a sanitizer report.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/harness.h"

using namespace tavtest;

namespace {

void replay_layout(const std::string &name)
{
    std::vector<uint8_t> input = read_file(std::string(TAVRIN_TEST_SOURCE_DIR) + "/data/fuzz/" + name);
    ASSERT_GE(input.size(), 2u) << name;
    size_t tav_size = std::min<size_t>((input[0] | input[1] << 8) * 8u, input.size() - 2);
    write_file(temp_name(".tav"), std::vector<uint8_t>(input.begin() + 2, input.begin() + 2 + tav_size));
    write_file(temp_name(".taw"), std::vector<uint8_t>(input.begin() + 2 + tav_size, input.end()));
    Screen screen;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    tav_context *ctx = tav_start_tavrin(screen.ctx, 0, 0, temp_name(".tav").c_str(), temp_name(".taw").c_str());
    screen.open_font();
    tav_set_operators(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    for (uint32_t i = 1; i <= ctx->object_count; ++i) {
        if (ctx->objects[i].kind != TAV_KIND_WINDOW || ctx->objects[i].master != 0) continue;
        ctx->decided_object = i;
        tav_activate_window(ctx);
        tav_draw_all_objects(ctx, 0, 0);
    }
    for (int y = 0; y < int(ctx->screen_height); y += 16)
        for (int x = 0; x < int(ctx->screen_width); x += 16) tav_test_all_objects(ctx, x, y);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(FuzzRegressions, WindowFarOffTheScreenDrawsItsMarksQuickly)
{
    auto start = std::chrono::steady_clock::now();
    replay_layout("layout-far-window-line");
    // The marks' lines once walked billions of pixels off the screen.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(FuzzRegressions, WildCoordinatesWrapInsteadOfOverflowing)
{
    // A window near INT32_MAX whose margins push its cursor past the range.
    replay_layout("layout-wild-cursor-sum");
}

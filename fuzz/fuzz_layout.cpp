// Arbitrary bytes as a layout: the first two bytes say how many of the rest
// form the .tav file, the others form the .taw file. The layout is started,
// laid out and drawn, every window is activated in turn, a grid of points is
// hit-tested and the layout is closed.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tavfuzz::Input in(data, size);
    size_t tav_size = in.u16() * 8;
    std::string rest = in.rest();
    if (tav_size > rest.size()) tav_size = rest.size();
    tav_context *ctx = tavfuzz::new_context(320, 240);
    tavfuzz::start_files(ctx, rest.substr(0, tav_size), rest.substr(tav_size));
    tav_set_operators(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    tavfuzz::activate_every_window(ctx);
    tavfuzz::hit_test_grid(ctx, 16);
    tavfuzz::close_context(ctx, 0);
    return 0;
}

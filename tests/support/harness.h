// Test support: a headless SDL screen with a context set up the way the
// programs set theirs up, and a writer of .tav/.taw files byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/raw_layout.h"
#include "tavrin.h"

namespace tavtest {

// A headless screen as the programs create it: window, software renderer,
// streaming ARGB texture and a 32-bit surface of the logical size.
class Screen {
public:
    explicit Screen(int width = 320, int height = 240);
    ~Screen();
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    tav_context *ctx;        // zero-filled, with handles, colours and modes set
    // Starts a layout written to unique files; returns the context.
    tav_context *start(const RawLayout &layout, uint32_t extra_objects = 0, uint32_t extra_streams = 0);
    // Opens DroidSans.ttf at the given size as the default font.
    void open_font(int size = 12);
    // The 32-bit pixel at (x, y) of the screen surface, as 0xRRGGBB.
    uint32_t pixel(int x, int y) const;
    // Releases the layout with tav_close (done by the destructor otherwise),
    // after freeing the streams of chain mothers as an application does.
    void close();

private:
    bool started_ = false;
    bool closed_ = false;
    uint32_t extra_objects_ = 0;
};

// A unique file name in the working directory for one test.
std::string temp_name(const std::string &suffix);

}  // namespace tavtest

// Test support for the layout editor's code: a headless screen with a
// layout of the editor's numbers loaded with the editor's room for working
// objects and streams, and an Editor on it.
#pragma once

#include <gtest/gtest.h>

#include "creator.h"
#include "resources.h"
#include "support/harness.h"

namespace tavtest {

class CreatorFixture : public ::testing::Test {
protected:
    Screen screen{creator::SCREEN_W, creator::SCREEN_H};
    creator::Editor ed;
    tav_context *ctx = nullptr;

    // The design's fonts and images are the editor's to free, as at quit;
    // the screen's tav_close frees the rest.
    ~CreatorFixture() override
    {
        if (ed.ctx && ed.ctx->objects) creator::release_design_resources(ed);
    }

    // Loads `layout` as the editor loads its own and opens the default font.
    void start_editor(const RawLayout &layout)
    {
        ctx = screen.start(layout, creator::MAX_WORKING_OBJECTS, creator::MAX_WORKING_STREAMS);
        screen.open_font(12);
        ed.ctx = ctx;
        ed.object_capacity = ctx->object_count + creator::MAX_WORKING_OBJECTS;
    }
};

}  // namespace tavtest

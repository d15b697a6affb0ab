// The edit stage's own operations, used by the selection and by the
// copying and erasing of working objects.
#pragma once

#include <cstddef>

#include "creator.h"

namespace creator {

// Objects of the stage window 143 and the selection panel 199.
enum StageObject : uint32_t {
    LISTING_FIRST = 212,
    LISTING_SECOND = 213,
    LISTING_THIRD = 354,
    PANEL_MASTER = 201,
    PANEL_PREVIOUS = 203,
    PANEL_SELECTED = 205,
    PANEL_NEXT = 207,
    PANEL_FIRST_DEPENDENT = 209,
    PANEL_WORKING_COUNT = 218,
    GEOMETRY_X = 225,
    GEOMETRY_Y = 226,
    GEOMETRY_W = 227,
    GEOMETRY_H = 228,
    ADD_COUNT_FIELD = 387,
    STAGE_X = 417,
    STAGE_Y = 419,
    STAGE_W = 421,
    STAGE_H = 423,
};

constexpr int32_t STAGE_LEFT = 70, STAGE_TOP = 120;  // where the staged object stands in 143
constexpr int32_t UNDO_SHIFT = 140;  // the undo button's move to the right in master mode
constexpr uint32_t LISTING_LINE_LIMIT = 999;  // characters a listing field's record holds

void stage_selected(Editor &ed);
void unstage_selected(Editor &ed);
void stage_master(Editor &ed);
void unstage_master(Editor &ed);
void highlight_selected(Editor &ed);
void restore_selected_border(Editor &ed);
void enter_master_layout(Editor &ed);
void leave_master_layout(Editor &ed);
void sync_text_editors(Editor &ed);

// Where the staged object (the selected one, or its master in master mode)
// stood on the stage.
struct StagePlace {
    uint32_t object;
    int32_t x, y;
};
// Puts the staged object back at its design place, with its own master,
// visibility and border, for as long as the design is shown alone;
// put_back_on_stage returns it to the stage as it was, and changes nothing
// else (captions, readouts, the text cursor).
StagePlace lift_from_stage(Editor &ed);
void put_back_on_stage(Editor &ed, const StagePlace &place);

// Writes one line of the dependents listing, "move_with <position>
// <working number>" and a line feed; returns its length.
int listing_line(char *out, size_t size, uint32_t position, uint32_t working_number);

}  // namespace creator

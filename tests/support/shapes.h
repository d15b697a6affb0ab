// Test support: short-hands for building layouts object by object.
#pragma once

#include <cstdint>

#include "support/harness.h"

namespace tavtest {

// Appends an object of a kind with its rectangle; returns its number.
uint32_t add_shape(RawLayout &layout, uint32_t kind, int x, int y, int w, int h);

// Makes `dependent` depend on `master`: sets its master field and appends it
// to the master's dependents list.
void attach(RawLayout &layout, uint32_t master, uint32_t dependent);

// The centre of an object's rectangle.
struct Point {
    int x, y;
};
Point centre(const tav_object &o);

}  // namespace tavtest

// Repairs of a loaded layout. A layout file is input from outside: whatever
// its bytes, the objects and text records the loader leaves behind must keep
// every later walk inside the arrays and finite. Each repair prints one line
// on standard error naming the file, the object and the field.
#pragma once

#include "tavrin.h"

namespace tav {

// Cuts unterminated strings and drops master and dependents numbers beyond
// the object array, then cuts master chains and dependents lists that loop.
void repair_objects(tav_context *ctx, const char *tav_path);

// Cuts unterminated record texts and drops text_record numbers beyond the
// text-record array (all of them when no text records were loaded).
void repair_text_references(tav_context *ctx, const char *tav_path, const char *taw_path);

}  // namespace tav

// Repairs of the records of a .tav/.taw pair. A layout file is input from
// outside: whatever its bytes, the records left behind must keep every later
// walk inside the arrays and finite. The library's loader and the layout
// editor's opening both run these on the records they read (element 0 of
// each array is unused). Each repair prints one line on standard error
// naming the file, the object or text record and the field.
#pragma once

#include <cstdint>

#include "tavrin.h"

namespace tav {

// Records 1..count: cuts unterminated strings, drops master and dependents
// numbers above `highest` (numbers above `count` up to it name empty
// objects), then cuts master chains and dependents lists that loop.
void repair_object_records(tav_object_record *records, uint32_t count, uint32_t highest, const char *tav_path);

// Text records 1..text_count: cuts unterminated texts, and drops the
// text_record numbers of records 1..count above `highest_text`.
void repair_text_records(tav_object_record *records, uint32_t count, tav_text_record *texts, uint32_t text_count,
                         uint32_t highest_text, const char *tav_path, const char *taw_path);

// Makes an already repaired pair agree with itself, as a pair that is saved
// must: kinds 0 to 10 with a loaded image stored as 4, font_state 0 or 1,
// dependents lists that hold exactly the objects naming their owner as
// master (each once, nothing after the first 0), and text records owned by
// the one object that shows them.
void agree_design_records(tav_object_record *records, uint32_t count, tav_text_record *texts, uint32_t text_count,
                          const char *tav_path, const char *taw_path);

}  // namespace tav

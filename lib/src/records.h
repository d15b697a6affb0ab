// Decoding of the records of .tav and .taw files. The files are little-endian
// and read field by field at fixed offsets, whatever the compiler's layout of
// the record structs.
#pragma once

#include <cstdint>

#include "tavrin.h"

namespace tav {

uint32_t read_u32(const uint8_t *bytes);
int32_t read_i32(const uint8_t *bytes);

// Fills a record from the 776 bytes of one .tav record.
void decode_object_record(const uint8_t *bytes, tav_object_record *record);

// Fills a text record from the 1008 bytes of one .taw record.
void decode_text_record(const uint8_t *bytes, tav_text_record *record);

}  // namespace tav

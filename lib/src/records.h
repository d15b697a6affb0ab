// Decoding and encoding of the records of .tav and .taw files. The files are
// little-endian and read and written field by field at fixed offsets,
// whatever the compiler's layout of the record structs. The library reads
// them; the layout editor, which compiles this file in as well, writes them.
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

// Writes a record as the 776 bytes of one .tav record.
void encode_object_record(const tav_object_record *record, uint8_t *bytes);

// Writes a text record as the 1008 bytes of one .taw record.
void encode_text_record(const tav_text_record *record, uint8_t *bytes);

}  // namespace tav

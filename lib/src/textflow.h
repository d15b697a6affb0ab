// The line writer that word wrap is built on. A record text flows through
// the 40 lines of its own line buffer; a big stream flows through the lines
// of one chain member after another. Both use the same word placement and
// differ only in what "the next line" is.
#pragma once

#include <cstdint>

#include "tavrin.h"

namespace tav {

constexpr uint32_t last_line = TAV_MAX_LINES - 1;     // 39
constexpr uint32_t full_column = TAV_LINE_SIZE - 1;   // 99: a line holds 99 characters
constexpr uint32_t word_capacity = 70;                // characters collected per word

// Where layout writes next: a line and a column in the line buffer of the
// object whose font and line width apply.
struct LineFlow {
    tav_context *ctx;
    uint32_t number;          // object number of `object`
    tav_object *object;
    tav_line_buffer *buffer;
    uint32_t line, column;
    // Moves to column 0 of a fresh, empty line; false when none is left
    // (the position then stays where it was).
    bool (*next_line)(LineFlow *flow);
    void *chain;              // the chain walk behind next_line, if any
};

// A flow over the lines of one object's own line buffer; false when the
// object has no line buffer or the position lies outside it.
bool open_record_flow(LineFlow *flow, tav_context *ctx, uint32_t object, uint32_t line, uint32_t column);

// next_line for a flow that ends with the buffer's line 39.
bool next_line_in_buffer(LineFlow *flow);

// Clears lines 0..39 (first byte 0).
void clear_lines(tav_line_buffer *buffer);

// The object's line width; 0 is first replaced by the inner width of its box.
int32_t line_width_of(tav_object *o);

// Writes a zero at the current column.
void terminate_line(LineFlow *flow);

// Appends one character at the current column (which must be at most 98)
// and reports whether the line is still no wider than the line width. A
// character that does not fit is taken off again.
bool append_if_fits(LineFlow *flow, char ch);

// Appends one character at the current column (at most 98) whatever its width.
void append_char(LineFlow *flow, char ch);

// Measures a word against the current line: 1 fits, 2 fits on a fresh line,
// 3 must be split.
int32_t measure_word(LineFlow *flow, const char *word, uint32_t length);

// Places a word of `length` characters: 0 placed whole, 1 split over lines,
// -1 no line left (the rest of the word is dropped). With force_break, or
// when the line is full, the flow moves on to a fresh line afterwards.
int32_t place_word(LineFlow *flow, const char *word, uint32_t length, bool force_break);

// The byte as the lines show it: the code-page 437 umlauts become Latin-1
// when the context asks for it.
char shown_byte(const tav_context *ctx, char ch);

// One pass of word wrap over a text of `length` bytes (the terminator at
// index `length` included): words are collected up to word_capacity
// characters and placed, line feeds break lines, spaces go through
// lay_out_space. A single space that would begin a wrapped line is dropped
// when the object's text_format is 0 and a non-space follows.
struct TextWalk {
    LineFlow *flow;
    const char *text;
    uint32_t length;
    char word[word_capacity + 1];
    uint32_t word_length;
    bool after_space;
    // Lays out the space at *i (and may consume the bytes after it); false
    // when the lines ran out.
    bool (*lay_out_space)(TextWalk *walk, uint32_t *i);
};

enum class WalkEnd { text_ended, lines_full };

WalkEnd walk_text(TextWalk *walk);

}  // namespace tav

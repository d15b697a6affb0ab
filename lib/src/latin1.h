// Texts cross into the toolkit from SDL as UTF-8 (text input, the system
// clipboard) while the toolkit keeps every text in Latin-1. These helpers
// convert between the two and reach the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tav {

// The character that a UTF-8 text begins with, when it is a printable
// Latin-1 character; 0 for an empty text, a control character, a character
// beyond Latin-1 or a broken sequence.
uint8_t first_latin1_char(const char *utf8);

// The clipboard's text in Latin-1, at most `most` characters: characters
// beyond Latin-1 and control characters other than Tab and line feed are
// left out, so a carriage return and line feed end a line as one line feed.
std::string clipboard_latin1(size_t most);

// Puts a Latin-1 text of at most `size` bytes on the clipboard.
void copy_to_clipboard(const char *latin1, size_t size);

}  // namespace tav

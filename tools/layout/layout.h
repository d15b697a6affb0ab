// tavrin_layout: the text form of a layout and the commands that pack it
// into a .tav/.taw pair, unpack a pair, check a pair and render it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavlayout {

constexpr size_t object_record_size = 776;
constexpr size_t text_record_size = 1008;

// How a field of a record is stored and written in the text form.
enum class FieldType {
    Int,       // int32
    Unsigned,  // uint32
    Kind,      // uint32, written by name for the known kinds
    Colour,    // three int32 channels, written as [r, g, b]
    String,    // zero-terminated Latin-1 text in `size` bytes
    List,      // `size` uint32 object numbers
};

struct Field {
    const char *name;
    size_t offset;
    FieldType type;
    size_t size;  // bytes of a string, entries of a list; unused otherwise
};

// The fields of an object record and of a text record, in file order. Every
// command reads and writes records through these two tables only.
const std::vector<Field> &object_fields();
const std::vector<Field> &text_fields();
const Field *find_field(const std::vector<Field> &fields, const std::string &name);

// A .tav/.taw pair held as the bytes of the files. A trailing partial record
// of either file is kept apart so that it survives a round trip.
struct Layout {
    std::vector<uint8_t> objects;
    std::vector<uint8_t> texts;
    std::vector<uint8_t> object_tail;
    std::vector<uint8_t> text_tail;

    uint32_t object_count() const { return uint32_t(objects.size() / object_record_size); }
    uint32_t text_count() const { return uint32_t(texts.size() / text_record_size); }
    // Start of record n (counted from 1) in the files' bytes.
    uint8_t *object(uint32_t n) { return objects.data() + (n - 1) * object_record_size; }
    const uint8_t *object(uint32_t n) const { return objects.data() + (n - 1) * object_record_size; }
    uint8_t *text(uint32_t n) { return texts.data() + (n - 1) * text_record_size; }
    const uint8_t *text(uint32_t n) const { return texts.data() + (n - 1) * text_record_size; }
};

// Little-endian access to a record's bytes.
uint32_t read_u32(const uint8_t *record, size_t offset);
void write_u32(uint8_t *record, size_t offset, uint32_t value);
uint32_t object_u32(const Layout &layout, uint32_t n, const char *field);

// Splits file contents into whole records and a tail.
Layout layout_from_files(const std::vector<uint8_t> &tav, const std::vector<uint8_t> &taw);

// The text of a string field: the bytes up to the terminator, or the whole
// field when it has none, as UTF-8.
std::string string_field_utf8(const uint8_t *field, size_t size, bool *terminated);
// Latin-1 bytes of UTF-8 text; throws SourceError for a character above 255.
std::string utf8_to_latin1(const std::string &utf8);

// A mistake in a layout source, with its place already in the message.
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One problem that `check` finds. `number` is the object or text record,
// 0 for the file as a whole.
struct Problem {
    bool in_texts;
    uint32_t number;
    std::string field;
    std::string message;
    // A master or dependents entry that names an object the layout does
    // not have: `pack` refuses to write such a layout.
    bool names_missing_object = false;
};

std::vector<Problem> check_layout(const Layout &layout);
std::string format_problem(const Problem &p, const std::string &tav_name, const std::string &taw_name);

// The text form of a pair (the normalised form: no styles, every text
// record in the texts section, dependents lists only where they differ from
// the list built from the masters).
std::string unpack_layout(const Layout &layout);

// Builds a pair from a text form; `source_name` prefixes error messages.
Layout pack_source(const std::string &text, const std::string &source_name);

// The dependents lists that packing builds for objects whose source does
// not write one: entry m holds the objects naming m as master, in
// object-number order (entry 0 and masters out of range stay empty).
std::vector<std::vector<uint32_t>> dependents_from_masters(const Layout &layout);

// Kind names of the text form; nullptr for a code without a name.
const char *kind_name(uint32_t kind);
bool kind_from_name(const std::string &name, uint32_t *kind);

// Draws the layout headless and writes a PNG; returns an error message or "".
struct RenderOptions {
    int width = 1024, height = 600;
    std::string font_file;  // empty: DroidSans.ttf here, else the build's font
    int font_size = 12;
    std::vector<uint32_t> open_windows;
};
std::string render_layout(const std::string &tav, const std::string &taw, const std::string &png,
                          const RenderOptions &options);

}  // namespace tavlayout

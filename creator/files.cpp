// Opening, saving and closing designs, taking objects away from the end of
// the design, and the two services of the file selector: the parent folder
// and the "Retry"/"Quit" question after a failure.
//
// On disk a design is numbered from 1: record i of the object file is
// working object i, and the numbers stored in records (masters, dependents,
// text records, owners) are design numbers. In memory the design lies behind
// the editor's own objects and text records, so opening adds object_count
// and text_record_count to every number and saving takes them off again.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "creator.h"
#include "records.h"
#include "repair.h"
#include "resources.h"
#include "selection.h"

namespace creator {

namespace {

const char *const NAME_ERROR = "Error. Select again or quit ?";
const char *const NOT_A_TAV_FILE = "No tav-file. Select again or quit ?";
const char *const TAV_FILE_FAILED = "Can't open tav-file. Try again or quit ?";
const char *const TAW_FILE_FAILED = "Can't open taw-file. Try again or quit ?";
const char *const NO_ROOM = "Not enough memory. Select again or quit ?";
const char *const WRONG_LOCK = "Wrong lock number.";
const char *const FONT_FAILED = "Can't open font file. Please check name and path.";

constexpr uint32_t CLOSE_OPERATOR = 7;
constexpr uint32_t WORKING_WINDOWS[] = {STAGE_WINDOW,      BEHAVIOUR_WINDOW, SELECTION_WINDOW, GEOMETRY_WINDOW,
                                        STREAM_WINDOW,     SHORT_TEXT_WINDOW, TEXT_FORM_WINDOW, COLOUR_WINDOW};

// Records of a design numbered as in its files: element 0 is unused.
using ObjectRecords = std::vector<tav_object_record>;
using TextRecords = std::vector<tav_text_record>;

// ---------------------------------------------------------------------------
// Numbers and names
// ---------------------------------------------------------------------------

// The design number of index n in a range that starts after `base` and holds
// `count` numbers; 0 for none and for anything outside the range.
uint32_t design_number(uint32_t n, uint32_t base, uint32_t count)
{
    return n > base && n - base <= count ? n - base : 0;
}

// The index of design number n behind `base`; 0 stays 0.
uint32_t index_of(uint32_t n, uint32_t base)
{
    return n != 0 ? n + base : 0;
}

bool ends_in_tav(const char *name)
{
    const size_t length = std::strlen(name);
    return length >= 3 && tav_strcmp(name + length - 3, "tav", 2) == 1;
}

// The text file that pairs with an object file: the name up to and
// including the first "." of its last part, then "taw" (layout.old.tav pairs
// with layout.taw). A name without a dot has its final "tav" replaced.
std::string text_file_name(const char *name)
{
    const std::string object_file(name);
    const size_t slash = object_file.rfind('/');
    const size_t dot = object_file.find('.', slash == std::string::npos ? 0 : slash + 1);
    if (dot == std::string::npos) return object_file.substr(0, object_file.size() - 3) + "taw";
    return object_file.substr(0, dot + 1) + "taw";
}

// The record-level rule of the loader: `hidden` counts only for an object of
// a kind that is not 0 which is independent or a plain box.
bool hidden_is_stored(uint32_t kind, uint32_t master)
{
    return kind != TAV_KIND_EMPTY && (kind == TAV_KIND_BOX || master == 0);
}

// ---------------------------------------------------------------------------
// Dialogs
// ---------------------------------------------------------------------------

// Failures of saving, and of the text file when opening, take the file
// selector away before the message; "Retry" brings it back.
void leave_selector(Editor &ed)
{
    tav_close_win(ed.ctx, SELECTOR_WINDOW);
    ui(ed, SELECTOR_WINDOW).hidden = 1;
}

// A locked design opens only for the third of its lock number, typed into
// window 406; a wrong number is said. A negative lock never opens.
bool unlocked(Editor &ed, int32_t lock)
{
    if (lock == 0) return true;
    if (lock < 0) {
        show_notice(ed, WRONG_LOCK, "OK");
        return false;
    }
    // The field starts empty: an answer typed for an earlier design must
    // not open this one.
    set_caption(ed, LOCK_QUESTION_FIELD, "");
    tav_reset_textobject(ed.ctx, 0, LOCK_QUESTION_FIELD);
    tav_notice_window(ed.ctx, LOCK_QUESTION_WINDOW, LOCK_QUESTION_BUTTON);
    redraw(ed);
    int32_t typed = 0;
    tav_transform_str_to_num(ui(ed, LOCK_QUESTION_FIELD).text, &typed);
    if (typed == lock / 3) return true;
    show_notice(ed, WRONG_LOCK, "OK");
    return false;
}

// ---------------------------------------------------------------------------
// Reading the files of a design
// ---------------------------------------------------------------------------

// The whole records of an open file, read into elements 1..count of
// `records`; false when the file cannot be measured or read. Nothing is read
// when the file holds more than `room` records: `count` tells how many.
template <typename Record>
bool read_records(FILE *f, size_t record_size, void (*decode)(const uint8_t *, Record *), uint32_t room,
                  std::vector<Record> &records, uint32_t &count)
{
    if (std::fseek(f, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f);
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return false;
    const uint64_t whole = uint64_t(size) / record_size;
    count = whole > UINT32_MAX ? UINT32_MAX : uint32_t(whole);
    if (count > room) return true;
    records.assign(size_t(count) + 1, Record{});
    std::vector<uint8_t> bytes(record_size);
    for (uint32_t i = 1; i <= count; ++i) {
        if (std::fread(bytes.data(), 1, record_size, f) != record_size) return false;
        decode(bytes.data(), &records[i]);
    }
    return true;
}

// Reads a file of records; the answer is the message for a failure, or
// nullptr when `records` holds its `count` records.
template <typename Record>
const char *read_design_file(const char *path, size_t record_size, void (*decode)(const uint8_t *, Record *),
                             uint32_t room, const char *open_failed, std::vector<Record> &records, uint32_t &count)
{
    FILE *f = std::fopen(path, "rb");
    if (!f) return open_failed;
    const bool read = read_records(f, record_size, decode, room, records, count);
    std::fclose(f);
    if (!read) return open_failed;
    return count > room ? NO_ROOM : nullptr;
}

// ---------------------------------------------------------------------------
// Keeping an opened design sound
// ---------------------------------------------------------------------------

// Text records that objects name beyond those a short or damaged text file
// holds become empty records, so that the objects keep their links and a
// save writes them back; numbers beyond the room for texts are dropped. The
// answer is how many texts were missing.
uint32_t keep_missing_texts(ObjectRecords &records, TextRecords &texts, uint32_t room)
{
    const uint32_t read = uint32_t(texts.size() > 0 ? texts.size() - 1 : 0);
    std::set<uint32_t> missing;
    uint32_t highest = read;
    for (tav_object_record &r : records) {
        if (r.text_record <= read) continue;
        missing.insert(r.text_record);
        if (r.text_record > room)
            r.text_record = 0;
        else if (r.text_record > highest)
            highest = r.text_record;
    }
    if (highest > read) texts.resize(size_t(highest) + 1, tav_text_record{});
    return uint32_t(missing.size());
}

// ---------------------------------------------------------------------------
// Objects and records
// ---------------------------------------------------------------------------

// A working object from its record; the record's numbers are design numbers
// inside the design.
void object_from_record(const Editor &ed, const tav_object_record &r, tav_object &o)
{
    const uint32_t objects = ed.ctx->object_count;
    o.x = r.x, o.y = r.y, o.w = r.w, o.h = r.h;
    o.fill_r = r.fill_r, o.fill_g = r.fill_g, o.fill_b = r.fill_b;
    std::memcpy(o.text, r.text, sizeof o.text);
    o.font_state = r.font_state;
    o.font_size = r.font_size;
    std::memcpy(o.font_file, r.font_file, sizeof o.font_file);
    o.text_record = index_of(r.text_record, ed.ctx->text_record_count);
    o.text_r = r.text_r, o.text_g = r.text_g, o.text_b = r.text_b;
    o.margin_left = r.margin_left, o.margin_right = r.margin_right;
    o.margin_top = r.margin_top, o.margin_bottom = r.margin_bottom;
    o.text_format = r.text_format, o.line_width = r.line_width, o.line_spacing = r.line_spacing;
    if (hidden_is_stored(r.kind, r.master)) o.hidden = r.hidden;
    o.kind = r.kind;
    o.window_style = r.window_style;
    o.editable = r.editable;
    o.text_length = r.text_length;  // saved as is, so it must come back as well
    o.capacity = r.capacity;
    o.border_style = r.border_style, o.border_distance = r.border_distance;
    o.border_r = r.border_r, o.border_g = r.border_g, o.border_b = r.border_b;
    o.master = index_of(r.master, objects);
    if (r.dependents[0] != 0)
        for (int i = 0; i < TAV_MAX_DEPENDENTS; ++i) o.dependents[i] = index_of(r.dependents[i], objects);
    o.scroll_extent_w = r.scroll_extent_w, o.scroll_extent_h = r.scroll_extent_h;
    std::memcpy(o.image_file, r.image_file, sizeof o.image_file);
    o.pinned = r.pinned;
}

// The record of a working object as it stands in memory. An open font is
// stored as one to open and a loaded image as one to load; numbers become
// design numbers, and masters, dependents and text records outside the
// design (objects taken away, records beyond the text file) are left out.
tav_object_record record_from_object(const Editor &ed, const tav_object &o, uint32_t objects, uint32_t texts)
{
    const uint32_t base = ed.ctx->object_count;
    tav_object_record r{};
    r.x = o.x, r.y = o.y, r.w = o.w, r.h = o.h;
    r.fill_r = o.fill_r, r.fill_g = o.fill_g, r.fill_b = o.fill_b;
    std::memcpy(r.text, o.text, sizeof r.text);
    r.font_state = o.font_state == 2 ? 1 : o.font_state;
    r.font_size = o.font_size;
    std::memcpy(r.font_file, o.font_file, sizeof r.font_file);
    r.text_record = design_number(o.text_record, ed.ctx->text_record_count, texts);
    r.text_r = o.text_r, r.text_g = o.text_g, r.text_b = o.text_b;
    r.margin_left = o.margin_left, r.margin_right = o.margin_right;
    r.margin_top = o.margin_top, r.margin_bottom = o.margin_bottom;
    r.text_format = o.text_format, r.line_width = o.line_width, r.line_spacing = o.line_spacing;
    if (hidden_is_stored(o.kind, o.master)) r.hidden = o.hidden;
    r.kind = o.kind == TAV_KIND_IMAGE ? TAV_KIND_IMAGE_FILE : o.kind;
    r.window_style = o.window_style;
    r.editable = o.editable;
    r.text_length = o.text_length;
    r.capacity = o.capacity;
    r.border_style = o.border_style, r.border_distance = o.border_distance;
    r.border_r = o.border_r, r.border_g = o.border_g, r.border_b = o.border_b;
    r.master = design_number(o.master, base, objects);
    int kept = 0;
    for (int i = 0; i < TAV_MAX_DEPENDENTS && o.dependents[i] != 0; ++i)
        if (const uint32_t d = design_number(o.dependents[i], base, objects)) r.dependents[kept++] = d;
    r.scroll_extent_w = o.scroll_extent_w, r.scroll_extent_h = o.scroll_extent_h;
    std::memcpy(r.image_file, o.image_file, sizeof r.image_file);
    r.pinned = o.pinned;
    return r;
}

// Shifts the records of r's dependents, and theirs, by (dx, dy): all of
// them, of zero size too, since putting an object on the edit stage moved
// them all. A list that leads back into the walk is not followed again.
void shift_dependents(ObjectRecords &records, uint32_t r, int32_t dx, int32_t dy, std::vector<uint8_t> &on_path)
{
    on_path[r] = 1;
    for (uint32_t d : records[r].dependents) {
        if (d == 0) break;
        if (d >= records.size() || on_path[d]) continue;
        tav_object_record &dependent = records[d];
        dependent.x = wrapped_add(dependent.x, dx);
        dependent.y = wrapped_add(dependent.y, dy);
        shift_dependents(records, d, dx, dy, on_path);
    }
    on_path[r] = 0;
}

void shift_record_dependents(ObjectRecords &records, uint32_t r, int32_t dx, int32_t dy)
{
    std::vector<uint8_t> on_path(records.size(), 0);
    shift_dependents(records, r, dx, dy, on_path);
}

// The staged object, or in master mode its master, stands on the edit stage
// with stage values; its records get the values it has in the design.
void put_staged_back(const Editor &ed, ObjectRecords &records)
{
    const creator_state &s = ed.state;
    const uint32_t base = ed.ctx->object_count, count = uint32_t(records.size() - 1);
    const uint32_t selected = design_number(s.selected_index, base, count);
    if (selected == 0) return;
    const tav_object &o = ed.ctx->objects[s.selected_index];
    tav_object_record &r = records[selected];
    if (s.master_mode == 0) {
        r.master = design_number(s.saved_master, base, count);
        r.pinned = s.saved_pinned;
        r.hidden = hidden_is_stored(o.kind, r.master) ? s.saved_hidden : 0;
        r.x = s.design_x;
        r.y = s.design_y;
        shift_record_dependents(records, selected, wrapped_sub(s.design_x, o.x), wrapped_sub(s.design_y, o.y));
        return;
    }
    // Master mode: the selected object keeps its own master, hidden and
    // pinned values (master mode leaves them alone) and wears the marking
    // border over its own; its master is the one on the stage.
    r.border_style = s.saved_border_style;
    r.border_distance = s.saved_border_distance;
    r.border_r = s.saved_border_r, r.border_g = s.saved_border_g, r.border_b = s.saved_border_b;
    const uint32_t master = design_number(s.selected_master, base, count);
    if (master == 0) return;
    const tav_object &m = ed.ctx->objects[s.selected_master];
    tav_object_record &mr = records[master];
    mr.x = s.master_design_x;
    mr.y = s.master_design_y;
    mr.master = 0;
    mr.hidden = hidden_is_stored(m.kind, 0) ? s.saved_master_hidden : 0;
    shift_record_dependents(records, master, wrapped_sub(s.master_design_x, m.x),
                            wrapped_sub(s.master_design_y, m.y));
}

// ---------------------------------------------------------------------------
// The design in memory
// ---------------------------------------------------------------------------

// Text record r of the design's range, or nullptr outside it.
tav_text_record *design_record(const Editor &ed, uint32_t r)
{
    const tav_context *ctx = ed.ctx;
    if (!ctx->text_records || design_number(r, ctx->text_record_count, MAX_WORKING_STREAMS) == 0) return nullptr;
    return &ctx->text_records[r];
}

// How many text records the design's text file holds: every record handed
// out, and never fewer than reach up to the highest one in use.
uint32_t design_text_count(const Editor &ed)
{
    if (!ed.ctx->text_records) return 0;
    const uint32_t used = design_number(ed.state.highest_stream, ed.ctx->text_record_count, MAX_WORKING_STREAMS);
    const uint32_t texts = ed.state.streams_assigned > used ? ed.state.streams_assigned : used;
    return texts < MAX_WORKING_STREAMS ? texts : MAX_WORKING_STREAMS;
}

// Takes the selected object (or in master mode its master) off the edit
// stage and back to its place in the design, and empties the stage's
// entries that held them; afterwards nothing is selected.
void take_off_stage(Editor &ed)
{
    creator_state &s = ed.state;
    if (s.selected_index != 0) {
        if (s.master_mode == 1) {
            restore_selected_border(ed);
            unstage_master(ed);
        } else {
            unstage_selected(ed);
        }
    }
    s.master_mode = 0;
    s.selected_index = 0;
    leave_master_layout(ed);  // the normal tool row; entries 12 and 13 now hold nothing
    ui(ed, STAGE_WINDOW).dependents[14] = 0;
}

// Clears working object `n` (an index) with its text record: the fields go
// to 0 and the strings become empty; its font and image are let go.
void clear_working_object(Editor &ed, uint32_t n)
{
    tav_object &o = ed.ctx->objects[n];
    if (tav_text_record *record = design_record(ed, o.text_record)) {
        record->owner = 0;
        record->text[0] = '\0';
    }
    release_font(ed, o);
    release_image(ed, o);
    const uint32_t line_count = o.line_count;
    char *stream = o.stream;
    const int32_t stream_cursor = o.stream_cursor;
    o = tav_object{};
    // A chain mother's big stream stays with the object: the toolkit owns
    // those buffers.
    o.line_count = line_count;
    o.stream = stream;
    o.stream_cursor = stream_cursor;
}

// Empties every text record of the design's range.
void clear_design_records(Editor &ed)
{
    const uint32_t first = ed.ctx->text_record_count + 1;
    for (uint32_t r = first; r < first + MAX_WORKING_STREAMS; ++r) {
        tav_text_record *record = design_record(ed, r);
        if (!record) break;
        record->owner = 0;
        record->cursor_position = 0;
        record->text[0] = '\0';
    }
    ed.state.streams_assigned = 0;
    ed.state.highest_stream = 0;
}

// Empties the whole room behind the editor's objects, not only the current
// design: objects taken away, or left by a larger design, would otherwise
// come back into the next design (through "Add objects", the preview or a
// save). The staged object leaves the stage first.
void clear_design(Editor &ed)
{
    take_off_stage(ed);
    for (uint32_t n = ed.ctx->object_count + 1; n <= ed.object_capacity; ++n) clear_working_object(ed, n);
    clear_design_records(ed);
}

// The first independent object after the seven window operators, where
// the editor starts on an opened design; working object 1 when there is none.
uint32_t first_top_level(const ObjectRecords &records)
{
    for (uint32_t i = TAV_OPERATOR_COUNT + 1; i < records.size(); ++i)
        if (records[i].master == 0) return i;
    return 1;
}

// Puts the design's texts into the records behind the editor's own; their
// owners become object indices.
void place_texts(Editor &ed, const TextRecords &texts)
{
    tav_context *ctx = ed.ctx;
    for (uint32_t t = 1; t < texts.size(); ++t) {
        tav_text_record &record = ctx->text_records[ctx->text_record_count + t];
        record = texts[t];
        record.owner = index_of(texts[t].owner, ctx->object_count);
    }
}

// Lays out the texts of the working objects 1..count.
void lay_out_texts(Editor &ed, uint32_t count)
{
    for (uint32_t n = ed.ctx->object_count + 1; n <= ed.ctx->object_count + count; ++n) {
        const tav_object &o = ed.ctx->objects[n];
        if (o.kind == TAV_KIND_EMPTY) continue;
        if (o.text_record != 0)
            tav_format_object_text(ed.ctx, n);
        else if (o.kind == TAV_KIND_LABEL || o.kind == TAV_KIND_ENTRY)
            tav_format_small_obj(ed.ctx, n);
    }
}

// How many text records a design may have behind the editor's own.
uint32_t text_room(const Editor &ed, uint32_t max_text_records)
{
    if (!ed.ctx->text_records) return 0;
    return max_text_records < MAX_WORKING_STREAMS ? max_text_records : MAX_WORKING_STREAMS;
}

// Reads the text file of a design whose records name text records; the
// answer is the message of a failure, or nullptr.
const char *read_texts(const char *name, uint32_t room, TextRecords &texts)
{
    uint32_t count = 0;
    return read_design_file(text_file_name(name).c_str(), TAV_TEXT_RECORD_SIZE, tav::decode_text_record, room,
                            TAW_FILE_FAILED, texts, count);
}

void tell_missing_texts(Editor &ed, uint32_t missing)
{
    char message[80];
    std::snprintf(message, sizeof message, "%u %s missing from the taw-file.", missing,
                  missing == 1 ? "text" : "texts");
    show_notice(ed, message, "OK");
}

// Turns the records of an opened design into the working objects. Both
// files are read before anything changes, so a failure leaves the previous
// design as it was; then the previous design leaves the stage and the
// memory, the new one's images, fonts and texts are loaded and its first
// independent object is selected. A font that failed and texts that were
// missing are said once the design is in place.
void load_design(Editor &ed, ObjectRecords &records, const char *name, uint32_t max_text_records)
{
    tav_context *ctx = ed.ctx;
    creator_state &s = ed.state;
    const uint32_t count = uint32_t(records.size() - 1);
    bool has_texts = false;
    for (const tav_object_record &r : records) has_texts = has_texts || r.text_record != 0;

    TextRecords texts;
    uint32_t missing = 0;
    if (has_texts) {
        const uint32_t room = text_room(ed, max_text_records);
        if (const char *failure = read_texts(name, room, texts)) {
            leave_selector(ed);
            ask_retry(ed, failure);
            return;
        }
        missing = keep_missing_texts(records, texts, room);
    }
    const uint32_t text_count = uint32_t(texts.size() > 0 ? texts.size() - 1 : 0);
    // The pair is repaired as the library's loader repairs a layout, and made
    // to agree with itself, so that what is saved again is a sound pair.
    const std::string text_name = text_file_name(name);
    tav_text_record *text_array = text_count > 0 ? texts.data() : nullptr;
    tav::repair_text_records(records.data(), count, text_array, text_count, text_count, name, text_name.c_str());
    tav::agree_design_records(records.data(), count, text_array, text_count, name, text_name.c_str());

    clear_design(ed);
    for (uint32_t i = 1; i <= count; ++i) object_from_record(ed, records[i], ctx->objects[ctx->object_count + i]);
    s.design_lock = uint32_t(records[1].offset_y);
    s.number_of_working_objects = count;
    // The library's loaders reach only objects up to object_count; nothing
    // is drawn while it reaches the design.
    ctx->object_count += count;
    load_design_images(ed);
    const int32_t fonts = load_design_fonts(ed);
    ctx->object_count -= count;

    if (text_count > 0) {
        ctx->text_records_loaded = 1;
        place_texts(ed, texts);
    }
    lay_out_texts(ed, count);
    select_working_object(ed, first_top_level(records), 0);
    s.streams_assigned = text_count;
    s.highest_stream = text_count + ctx->text_record_count;
    std::snprintf(s.file_name, sizeof s.file_name, "%s", name);
    s.file_open = 1;
    if (fonts == FONTS_EXHAUSTED)
        show_notice(ed, "Too many fonts open", "OK");
    else if (fonts == -1)
        show_notice(ed, FONT_FAILED, "Okey");
    if (missing > 0) tell_missing_texts(ed, missing);
}

// ---------------------------------------------------------------------------
// Writing the files of a design
// ---------------------------------------------------------------------------

// Permissions of a file written in place of `target`: those it has, or
// those a new file gets.
mode_t new_file_mode(const std::string &target)
{
    struct stat st;
    if (stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Temporary files of a save stand beside the file they are to replace,
// named after it with this mark and six characters of their own.
const char *const SAVING_MARK = ".saving-";
constexpr size_t UNIQUE_CHARACTERS = 6;
constexpr int MOST_LINKS_FOLLOWED = 40;

// The folder part of a path, with its final "/"; empty for a bare name.
std::string folder_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save replaces: `name` itself, or the file its symbolic links
// lead to, so that saving through a link writes the link's target and the
// link stays a link. A link that leads nowhere names the file to create.
std::string link_target(const std::string &name)
{
    std::string path = name;
    for (int hop = 0; hop < MOST_LINKS_FOLLOWED; ++hop) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> to(size_t(st.st_size > 0 ? st.st_size : 0) + 1);
        const ssize_t length = readlink(path.c_str(), to.data(), to.size());
        if (length <= 0 || size_t(length) >= to.size()) return path;
        const std::string target(to.data(), size_t(length));
        path = target[0] == '/' ? target : folder_of(path) + target;
    }
    return path;
}

// Removes what an earlier save of `target` that was killed left beside it:
// regular files of this user named after it with the saving mark.
void remove_left_temporaries(const std::string &target)
{
    const std::string folder = folder_of(target);
    const std::string prefix = target.substr(folder.size()) + SAVING_MARK;
    DIR *d = opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return;
    while (const dirent *e = readdir(d)) {
        const std::string entry = e->d_name;
        if (entry.size() != prefix.size() + UNIQUE_CHARACTERS || entry.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string path = folder + entry;
        struct stat st;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid()) unlink(path.c_str());
    }
    closedir(d);
}

// A temporary file of a save; it is removed when it goes out of scope
// unless it has taken the place of the file it was written for.
struct Temporary {
    std::string path;
    Temporary() = default;
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;
    ~Temporary()
    {
        if (!path.empty()) unlink(path.c_str());
    }
    // Renames the temporary file to `target`; true when it took its place.
    bool replace(const std::string &target)
    {
        if (path.empty() || std::rename(path.c_str(), target.c_str()) != 0) return false;
        path.clear();
        return true;
    }
};

// Writes `bytes` into a new temporary file beside `target`; false, with no
// file left behind, when any step fails. A file that exists but may not be
// written is not replaced either.
bool write_beside(const std::string &target, const std::vector<uint8_t> &bytes, Temporary &temporary)
{
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) return false;
    std::string name = target + SAVING_MARK + std::string(UNIQUE_CHARACTERS, 'X');
    const int fd = mkstemp(&name[0]);
    if (fd < 0) return false;
    temporary.path = name;
    FILE *f = fdopen(fd, "wb");
    if (!f) {
        close(fd);
        return false;
    }
    bool ok = fchmod(fd, new_file_mode(target)) == 0;
    ok = ok && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    ok = std::fflush(f) == 0 && ok;
    ok = ok && fsync(fd) == 0;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

// The bytes of a whole file; false when it cannot be read to its end.
bool read_whole(const std::string &path, std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    uint8_t block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.insert(bytes.end(), block, block + n);
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

// Keeps a copy of the file `target` beside it, for putting it back; none
// is needed when there is no such file yet.
bool keep_copy(const std::string &target, Temporary &copy, bool &existed)
{
    struct stat st;
    existed = stat(target.c_str(), &st) == 0;
    if (!existed) return errno == ENOENT;
    std::vector<uint8_t> bytes;
    return read_whole(target, bytes) && write_beside(target, bytes, copy);
}

template <typename Record>
std::vector<uint8_t> encode_all(const std::vector<Record> &records, size_t record_size,
                                void (*encode)(const Record *, uint8_t *))
{
    std::vector<uint8_t> bytes((records.size() - 1) * record_size);
    for (size_t i = 1; i < records.size(); ++i) encode(&records[i], bytes.data() + (i - 1) * record_size);
    return bytes;
}

// The design's text records 1..count as the text file holds them: owners
// are design numbers.
TextRecords text_records_of(const Editor &ed, uint32_t count, uint32_t objects)
{
    TextRecords texts(size_t(count) + 1, tav_text_record{});
    for (uint32_t t = 1; t <= count; ++t) {
        texts[t] = ed.ctx->text_records[ed.ctx->text_record_count + t];
        texts[t].owner = design_number(texts[t].owner, ed.ctx->object_count, objects);
    }
    return texts;
}

// The records of the design as its object file holds them: the staged
// object at its place in the design, the lock number in record 1.
ObjectRecords design_records(const Editor &ed, uint32_t text_count)
{
    const creator_state &s = ed.state;
    const uint32_t room = ed.object_capacity - ed.ctx->object_count;
    const uint32_t count = s.number_of_working_objects < room ? s.number_of_working_objects : room;
    ObjectRecords records(size_t(count) + 1, tav_object_record{});
    for (uint32_t i = 1; i <= count; ++i)
        records[i] = record_from_object(ed, ed.ctx->objects[ed.ctx->object_count + i], count, text_count);
    put_staged_back(ed, records);
    if (count >= 1) records[1].offset_y = int32_t(s.design_lock);
    return records;
}

// Writes the pair: both files go to temporary files first and replace the
// old ones only when both are complete. Until the text file has taken its
// place a copy of the old object file is kept, and put back when the text
// file cannot replace the old one, so a failed save leaves the pair that
// was there whole. Links are followed to the files they lead to. The answer
// is the message of a failure, or nullptr.
const char *write_design(const Editor &ed, const char *name, const ObjectRecords &records, uint32_t text_count)
{
    const std::string objects_file = link_target(name);
    const std::string texts_file = link_target(text_file_name(name));
    remove_left_temporaries(objects_file);
    Temporary new_objects;
    if (!write_beside(objects_file, encode_all(records, TAV_OBJECT_RECORD_SIZE, tav::encode_object_record),
                      new_objects))
        return TAV_FILE_FAILED;
    if (text_count == 0) return new_objects.replace(objects_file) ? nullptr : TAV_FILE_FAILED;

    remove_left_temporaries(texts_file);
    const TextRecords texts = text_records_of(ed, text_count, uint32_t(records.size() - 1));
    Temporary new_texts, old_objects;
    if (!write_beside(texts_file, encode_all(texts, TAV_TEXT_RECORD_SIZE, tav::encode_text_record), new_texts))
        return TAW_FILE_FAILED;
    bool had_objects = false;
    if (!keep_copy(objects_file, old_objects, had_objects) || !new_objects.replace(objects_file))
        return TAV_FILE_FAILED;
    if (new_texts.replace(texts_file)) return nullptr;
    // The old text file stays, so the old object file comes back to it (or
    // the new one goes when there was none). A copy that cannot be put back
    // stays beside the file rather than being lost.
    if (!had_objects)
        unlink(objects_file.c_str());
    else if (!old_objects.replace(objects_file))
        old_objects.path.clear();
    return TAW_FILE_FAILED;
}

}  // namespace

DesignFiles design_files(const Editor &ed)
{
    const uint32_t text_count = design_text_count(ed);
    const ObjectRecords records = design_records(ed, text_count);
    DesignFiles files;
    files.objects = encode_all(records, TAV_OBJECT_RECORD_SIZE, tav::encode_object_record);
    if (text_count > 0)
        files.texts = encode_all(text_records_of(ed, text_count, uint32_t(records.size() - 1)), TAV_TEXT_RECORD_SIZE,
                                 tav::encode_text_record);
    return files;
}

bool design_is_saved(const Editor &ed)
{
    const DesignFiles &saved = ed.state.saved_files;
    if (saved.objects.empty()) return false;
    const DesignFiles now = design_files(ed);
    return now.objects == saved.objects && now.texts == saved.texts;
}

// ---------------------------------------------------------------------------
// Operations
// ---------------------------------------------------------------------------

void ask_retry(Editor &ed, const char *message)
{
    tav_copy_st_last_part("Retry", ui(ed, RETRY_BUTTON).text);
    tav_copy_st_last_part("Quit", ui(ed, QUIT_BUTTON).text);
    tav_load_window_text_buttons(ed.ctx, RETRY_WINDOW, message, RETRY_BUTTON, QUIT_BUTTON);
    show_retry_quit(ed);
}

int32_t ask_yes_no(Editor &ed, const char *question)
{
    tav_copy_st_last_part("Yes", ui(ed, YES_BUTTON).text);
    tav_copy_st_last_part("No", ui(ed, NO_BUTTON).text);
    tav_load_window_text_buttons(ed.ctx, QUESTION_WINDOW, question, YES_BUTTON, NO_BUTTON);
    return tav_decide_window(ed.ctx, QUESTION_WINDOW, YES_BUTTON, NO_BUTTON);
}

void open_definition_file(Editor &ed, uint32_t max_objects, uint32_t max_text_records, const char *name)
{
    switch (tav_check_file_type(ed.ctx, name)) {
    case TAV_FILE_DIRECTORY: {
        const int32_t result = enter_directory(ed, name);
        std::printf("6331 test %d filename %s \n", result, name);
        if (result != 0) ask_retry_directory(ed);
        return;
    }
    case TAV_FILE_REGULAR: break;
    default: ask_retry(ed, NAME_ERROR); return;
    }
    if (std::strlen(name) < 4) {
        ask_retry(ed, NAME_ERROR);
        return;
    }
    if (!ends_in_tav(name)) {
        ask_retry(ed, NOT_A_TAV_FILE);
        return;
    }
    // The design must fit into the room behind the editor's own objects.
    const uint32_t capacity = ed.object_capacity - ed.ctx->object_count;
    const uint32_t room = max_objects < capacity ? max_objects : capacity;
    ObjectRecords records;
    uint32_t count = 0;
    const char *failure = read_design_file(name, TAV_OBJECT_RECORD_SIZE, tav::decode_object_record, room,
                                           TAV_FILE_FAILED, records, count);
    // An empty file holds no design: not even the window operators.
    if (!failure && count == 0) failure = NAME_ERROR;
    if (failure) {
        ask_retry(ed, failure);
        return;
    }
    if (!unlocked(ed, records[1].offset_y)) return;
    tav::repair_object_records(records.data(), count, count, name);
    load_design(ed, records, name, max_text_records);
}

int32_t save_definition_file(Editor &ed, const char *name)
{
    if (tav_check_file_type(ed.ctx, name) == TAV_FILE_DIRECTORY) {
        if (enter_directory(ed, name) != 0) ask_retry_directory(ed);
        return 0;
    }
    // A name too short to end in ".tav" is refused like an empty one.
    const char *refusal = std::strlen(name) < 4 ? NAME_ERROR : !ends_in_tav(name) ? NOT_A_TAV_FILE : nullptr;
    if (!refusal) {
        compact_text_records(ed);
        const uint32_t text_count = design_text_count(ed);
        refusal = write_design(ed, name, design_records(ed, text_count), text_count);
    }
    if (!refusal) return 1;
    leave_selector(ed);
    ask_retry(ed, refusal);
    return 0;
}

void close_definition_file(Editor &ed)
{
    const int32_t answer = ask_yes_no(ed, "Do you really want to close file without saving?");
    if (answer == int32_t(NO_BUTTON)) redraw(ed);
    if (answer != int32_t(YES_BUTTON)) return;

    tav_context *ctx = ed.ctx;
    creator_state &s = ed.state;
    clear_design(ed);
    s.number_of_working_objects = NEW_DESIGN_OBJECTS;
    s.file_open = 0;
    // A new design has no name and no lock yet.
    s.file_name[0] = '\0';
    s.design_lock = 0;
    for (uint32_t window : WORKING_WINDOWS) tav_close_win(ctx, window);
    if (ctx->cursor_object > ctx->object_count) ctx->cursor_object = 0;
    s.selected_number = 0;
    redraw(ed);
}

void take_away_working_objects(Editor &ed)
{
    creator_state &s = ed.state;
    int32_t typed = 0;
    tav_transform_str_to_num(ui(ed, TAKE_AWAY_FIELD).text, &typed);
    if (typed <= 0) return;
    // One working object always remains.
    const uint32_t most = s.number_of_working_objects > 0 ? s.number_of_working_objects - 1 : 0;
    const uint32_t count = uint32_t(typed) < most ? uint32_t(typed) : most;
    tav_close_win(ed.ctx, 0);
    if (ask_yes_no(ed, "Do you really want to take away and erase objects?") == int32_t(YES_BUTTON)) {
        s.number_of_working_objects -= count;
        // A selection that left the design moves to its last object.
        if (s.selected_index > ed.ctx->object_count + s.number_of_working_objects)
            select_working_object(ed, s.number_of_working_objects, 0);
        else
            refresh_selection_panel(ed, 0);
    }
    redraw(ed);
}

void enter_parent_directory(Editor &ed)
{
    if (enter_directory(ed, "..") != 0) {
        ask_retry_directory(ed);
        return;
    }
    relist(ed, nullptr);
}

// "Retry" goes back to the file selector, "Quit" closes it too; the close
// operator of the question leaves it open on top.
void show_retry_quit(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    open_window(ed, RETRY_WINDOW);
    switch (tav_get_mouse_selection(ctx, RETRY_BUTTON, QUIT_BUTTON)) {
    case RETRY_BUTTON:
        tav_close_win(ctx, 0);
        open_window(ed, SELECTOR_WINDOW);
        break;
    case QUIT_BUTTON:
        tav_close_win(ctx, RETRY_WINDOW);
        tav_close_win(ctx, SELECTOR_WINDOW);
        redraw(ed);
        break;
    default: break;
    }
}

}  // namespace creator

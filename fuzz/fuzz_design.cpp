// Arbitrary bytes as a design for the layout editor: the first two bytes
// times 8 give the length of the .tav file, the rest is the .taw file. The
// design is opened with the editor's own code and saved; the saved pair is
// opened again and saved once more. Both saves must write the same pair,
// and the second opening must give the design the first save left in memory.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "creator.h"
#include "fuzz_common.h"
#include "resources.h"
#include "support/creator_layout.h"
#include "support/input.h"

namespace {

constexpr uint32_t LOCK_OFFSET = 692;  // the lock number in record 1
constexpr int ANSWERS = 6;             // more than any opening or saving asks

// Every question the file operations can ask is answered by a click on
// the spot of "Quit", the lock question's button and the notice's button.
void queue_answers()
{
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int i = 0; i < ANSWERS; ++i) tavtest::push_left_release(740 + 42, 374 + 12);
}

// What the design in memory is: every field a save writes, and the texts.
std::vector<std::string> design_of(const creator::Editor &ed)
{
    const tav_context *ctx = ed.ctx;
    std::vector<std::string> design;
    for (uint32_t i = 1; i <= ed.state.number_of_working_objects; ++i) {
        const tav_object &o = ctx->objects[ctx->object_count + i];
        const int32_t numbers[] = {o.x, o.y, o.w, o.h, int32_t(o.kind), int32_t(o.master), int32_t(o.text_record),
                                   o.font_state == 2 ? 1 : o.font_state, o.font_size, int32_t(o.hidden),
                                   int32_t(o.pinned), o.border_style, int32_t(o.capacity), o.text_length};
        std::string entry(reinterpret_cast<const char *>(numbers), sizeof numbers);
        entry.append(reinterpret_cast<const char *>(o.dependents), sizeof o.dependents);
        entry += std::string(o.text) + '\n' + o.font_file + '\n' + o.image_file;
        if (o.text_record != 0) {
            const tav_text_record &t = ctx->text_records[o.text_record];
            entry += '\n' + std::to_string(t.owner) + '\n' + t.text;
        }
        design.push_back(entry);
    }
    return design;
}

// A text file holds the same as another, or, when the other was not
// written, only free records: a design whose objects show no text reads no
// text file when it opens.
bool same_texts(const std::string &first, const std::string &second)
{
    const std::vector<uint8_t> a = tavtest::read_file(first);
    if (access(second.c_str(), F_OK) == 0) return a == tavtest::read_file(second);
    for (size_t r = 0; r + TAV_TEXT_RECORD_SIZE <= a.size(); r += TAV_TEXT_RECORD_SIZE)
        if (a[r] | a[r + 1] | a[r + 2] | a[r + 3]) return false;
    return true;
}

void open_design(creator::Editor &ed, const std::string &name)
{
    queue_answers();
    creator::open_definition_file(ed, creator::MAX_WORKING_OBJECTS, creator::MAX_WORKING_STREAMS, name.c_str());
}

bool save_design(creator::Editor &ed, const std::string &name, const std::string &text_name)
{
    unlink(name.c_str());
    unlink(text_name.c_str());
    queue_answers();
    return creator::save_definition_file(ed, name.c_str()) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tavfuzz::Input in(data, size);
    size_t tav_size = in.u16() * 8;
    std::string rest = in.rest();
    if (tav_size > rest.size()) tav_size = rest.size();
    std::string tav = rest.substr(0, tav_size);
    // A locked design waits for its number; the lock is fuzzed no further.
    if (tav.size() >= LOCK_OFFSET + 4) std::memset(&tav[LOCK_OFFSET], 0, 4);
    const std::string name = tavfuzz::scratch("-design.tav"), text_name = tavfuzz::scratch("-design.taw");
    tavtest::write_file(name, std::vector<uint8_t>(tav.begin(), tav.end()));
    tavtest::write_file(text_name, std::vector<uint8_t>(rest.begin() + long(tav_size), rest.end()));

    tav_context *ctx = tavfuzz::new_context(creator::SCREEN_W, creator::SCREEN_H);
    tavfuzz::start_layout(ctx, tavtest::files_layout(), creator::MAX_WORKING_OBJECTS, creator::MAX_WORKING_STREAMS);
    creator::Editor ed;
    ed.ctx = ctx;
    ed.object_capacity = ctx->object_count + creator::MAX_WORKING_OBJECTS;
    creator::select_working_object(ed, 1, 0);

    open_design(ed, name);
    if (ed.state.file_open == 1) {
        const std::string first = tavfuzz::scratch("-first.tav"), first_texts = tavfuzz::scratch("-first.taw");
        const std::string second = tavfuzz::scratch("-second.tav"), second_texts = tavfuzz::scratch("-second.taw");
        if (!save_design(ed, first, first_texts)) std::abort();
        const std::vector<std::string> saved = design_of(ed);
        open_design(ed, first);
        if (ed.state.file_open != 1 || design_of(ed) != saved) std::abort();
        if (!save_design(ed, second, second_texts)) std::abort();
        if (tavtest::read_file(first) != tavtest::read_file(second) || !same_texts(first_texts, second_texts)) std::abort();
    }
    creator::release_design_resources(ed);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    tavfuzz::close_context(ctx, creator::MAX_WORKING_OBJECTS);
    return 0;
}

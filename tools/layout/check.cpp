// check: every problem of a pair that the library would trip over or that
// shows the two files have drifted apart.
#include "layout.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace tavlayout {

namespace {

constexpr uint32_t operator_count = 7;
constexpr uint32_t highest_kind = 10;
constexpr uint32_t loaded_image_kind = 9;

class Checker {
public:
    explicit Checker(const Layout &layout) : l_(layout), count_(layout.object_count()) {}
    std::vector<Problem> run();

private:
    void object_problem(uint32_t n, const std::string &field, const std::string &message)
    {
        problems_.push_back({false, n, field, message});
    }
    void missing_object(uint32_t n, const std::string &field, const std::string &entry, uint32_t named)
    {
        problems_.push_back({false, n, field, entry + std::to_string(named) + " is out of range (1 to " + std::to_string(count_) + ")", true});
    }
    uint32_t get(uint32_t n, const char *field) const { return object_u32(l_, n, field); }
    bool in_range(uint32_t n) const { return n >= 1 && n <= count_; }
    // The dependents the library reads: up to the first 0 or the 100th entry.
    std::vector<uint32_t> list_of(uint32_t n) const;
    void check_strings(const uint8_t *record, const std::vector<Field> &fields, bool in_texts, uint32_t n);
    void check_values(uint32_t n);
    void check_master(uint32_t n);
    void check_list(uint32_t n);
    void check_text_link(uint32_t n);
    void check_text_record(uint32_t r);

    const Layout &l_;
    uint32_t count_;
    std::vector<Problem> problems_;
};

std::vector<uint32_t> Checker::list_of(uint32_t n) const
{
    const Field *f = find_field(object_fields(), "dependents");
    std::vector<uint32_t> list;
    for (size_t i = 0; i < f->size; ++i) {
        uint32_t d = read_u32(l_.object(n), f->offset + 4 * i);
        if (!d) break;
        list.push_back(d);
    }
    return list;
}

void Checker::check_strings(const uint8_t *record, const std::vector<Field> &fields, bool in_texts, uint32_t n)
{
    for (const Field &f : fields)
        if (f.type == FieldType::String && !std::memchr(record + f.offset, 0, f.size))
            problems_.push_back({in_texts, n, f.name, "no terminating zero in its " + std::to_string(f.size) + " bytes"});
}

void Checker::check_values(uint32_t n)
{
    uint32_t kind = get(n, "kind");
    if (kind > highest_kind) object_problem(n, "kind", std::to_string(kind) + " is not a kind (0 to 10)");
    if (kind == loaded_image_kind) object_problem(n, "kind", "9 (a loaded image) is stored as 4 in files");
    uint32_t font_state = get(n, "font_state");
    if (font_state > 1) object_problem(n, "font_state", std::to_string(int32_t(font_state)) + " is not stored in files (0 or 1)");
}

void Checker::check_master(uint32_t n)
{
    uint32_t m = get(n, "master");
    if (!m) return;
    if (!in_range(m)) {
        missing_object(n, "master", "", m);
        return;
    }
    std::vector<uint32_t> list = list_of(m);
    if (std::find(list.begin(), list.end(), n) == list.end())
        object_problem(n, "master", "object " + std::to_string(m) + " does not list it among its dependents");
    // Follow the chain of masters until it ends or comes round; a loop that
    // does not pass this object is reported at the objects on it.
    std::set<uint32_t> passed;
    for (uint32_t at = m; in_range(at) && passed.insert(at).second; at = get(at, "master")) {
        if (at == n) {
            object_problem(n, "master", "the chain of masters loops back to this object");
            return;
        }
    }
}

void Checker::check_list(uint32_t n)
{
    std::vector<uint32_t> list = list_of(n);
    std::set<uint32_t> seen;
    for (size_t i = 0; i < list.size(); ++i) {
        uint32_t d = list[i];
        std::string entry = "entry " + std::to_string(i + 1) + ": ";
        if (!in_range(d)) {
            missing_object(n, "dependents", entry, d);
            continue;
        }
        if (!seen.insert(d).second) object_problem(n, "dependents", entry + "object " + std::to_string(d) + " is listed twice");
        uint32_t m = get(d, "master");
        if (m != n) object_problem(n, "dependents", entry + "object " + std::to_string(d) + " names " + (m ? "object " + std::to_string(m) : "no master") + " as its master");
    }
    // Walking the lists downwards must never come back to this object.
    std::vector<uint32_t> todo(list.begin(), list.end());
    std::set<uint32_t> reached;
    while (!todo.empty()) {
        uint32_t d = todo.back();
        todo.pop_back();
        if (!in_range(d) || !reached.insert(d).second) continue;
        if (d == n) {
            object_problem(n, "dependents", "the lists lead back to this object");
            return;
        }
        for (uint32_t e : list_of(d)) todo.push_back(e);
    }
}

void Checker::check_text_link(uint32_t n)
{
    uint32_t r = get(n, "text_record");
    if (!r) return;
    if (r > l_.text_count()) {
        object_problem(n, "text_record", std::to_string(r) + " is out of range (" + (l_.text_count() ? "1 to " + std::to_string(l_.text_count()) : std::string("no text records")) + ")");
        return;
    }
    uint32_t owner = read_u32(l_.text(r), find_field(text_fields(), "owner")->offset);
    if (owner != n) object_problem(n, "text_record", "text record " + std::to_string(r) + " names object " + std::to_string(owner) + " as its owner");
}

void Checker::check_text_record(uint32_t r)
{
    check_strings(l_.text(r), text_fields(), true, r);
    uint32_t owner = read_u32(l_.text(r), find_field(text_fields(), "owner")->offset);
    if (!owner) return;
    if (!in_range(owner)) {
        problems_.push_back({true, r, "owner", std::to_string(owner) + " is out of range (1 to " + std::to_string(count_) + ")"});
        return;
    }
    uint32_t shown = get(owner, "text_record");
    if (shown != r)
        problems_.push_back({true, r, "owner", "object " + std::to_string(owner) + (shown ? " shows text record " + std::to_string(shown) : std::string(" has no text record"))});
}

std::vector<Problem> Checker::run()
{
    if (!l_.object_tail.empty())
        problems_.push_back({false, 0, "", std::to_string(l_.object_tail.size()) + " bytes of a partial record after the last whole record"});
    if (!l_.text_tail.empty())
        problems_.push_back({true, 0, "", std::to_string(l_.text_tail.size()) + " bytes of a partial record after the last whole record"});
    if (count_ < operator_count)
        problems_.push_back({false, 0, "", std::to_string(count_) + " objects; a layout begins with the 7 window operators"});
    for (uint32_t n = 1; n <= count_; ++n) {
        check_strings(l_.object(n), object_fields(), false, n);
        check_values(n);
        check_master(n);
        check_list(n);
        check_text_link(n);
    }
    for (uint32_t r = 1; r <= l_.text_count(); ++r) check_text_record(r);
    return problems_;
}

}  // namespace

std::vector<Problem> check_layout(const Layout &layout)
{
    return Checker(layout).run();
}

std::string format_problem(const Problem &p, const std::string &tav_name, const std::string &taw_name)
{
    std::string out = p.in_texts ? taw_name : tav_name;
    if (p.number) out += std::string(p.in_texts ? ": text record " : ": object ") + std::to_string(p.number);
    if (!p.field.empty()) out += ": " + p.field;
    return out + ": " + p.message;
}

}  // namespace tavlayout

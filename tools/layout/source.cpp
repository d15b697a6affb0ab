// pack: reading the text form of a layout into the bytes of a pair.
#include "layout.h"

#include <algorithm>
#include <climits>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

namespace tavlayout {

using json = nlohmann::ordered_json;

namespace {

// Record numbers beyond this are taken for typing mistakes: they would make
// files of hundreds of megabytes.
constexpr uint32_t max_records = 100000;

// A field value together with where it was written: the object itself or a
// style it inherits.
struct Entry {
    json value;
    std::string origin;
};
using Fields = std::map<std::string, Entry>;

// An inline text record, placed once the numbered ones are known.
struct InlineText {
    uint32_t owner;
    uint32_t number;  // 0: the next free number
    json record;      // its fields but the owner
    std::string where;
};

// The JSON reader keeps the last of two equal keys in one object; a field
// written twice is a mistake in a layout, so it is reported instead.
json parse_without_repeats(const std::string &text)
{
    std::vector<std::set<std::string>> open_objects;
    std::vector<std::string> path;
    auto watch = [&](int, json::parse_event_t event, json &parsed) {
        if (event == json::parse_event_t::object_start) {
            open_objects.emplace_back();
            path.resize(open_objects.size());
        } else if (event == json::parse_event_t::object_end) {
            open_objects.pop_back();
        } else if (event == json::parse_event_t::key && !open_objects.empty()) {
            std::string key = parsed.get<std::string>();
            path[open_objects.size() - 1] = key;
            if (!open_objects.back().insert(key).second) {
                std::string where;
                for (size_t i = 0; i < open_objects.size(); ++i) where += (i ? " / " : "") + path[i];
                throw SourceError("\"" + where + "\" is written twice");
            }
        }
        return true;
    };
    return json::parse(text, watch);
}

class Packer {
public:
    explicit Packer(const std::string &file) : file_(file) {}
    Layout run(const std::string &text);

private:
    [[noreturn]] void fail(const std::string &where, const std::string &message) const
    {
        throw SourceError(file_ + ": " + (where.empty() ? "" : where + ": ") + message);
    }
    int64_t integer(const json &v, int64_t lo, int64_t hi, const std::string &where) const;
    uint32_t record_number(const std::string &key, const char *what) const;
    void flatten_style(const std::string &name, std::set<std::string> *visiting, Fields *out) const;
    Fields object_fields_of(const json &object, const std::string &where) const;
    void write_field(uint8_t *record, const Field &f, const json &v, const std::string &where) const;
    void write_object(uint32_t n, const json &object);
    void write_text(uint32_t n, const json &record, const std::string &where);
    void place_inline_texts();
    void build_dependents();
    std::vector<uint8_t> tail(const json &v, size_t record_size, const char *key) const;
    void ensure_objects(uint32_t count) { layout_.objects.resize(std::max<size_t>(layout_.objects.size(), count * object_record_size)); }
    void ensure_texts(uint32_t count) { layout_.texts.resize(std::max<size_t>(layout_.texts.size(), count * text_record_size)); }

    std::string file_;
    json styles_ = json::object();
    Layout layout_;
    std::vector<InlineText> inline_texts_;
    std::set<uint32_t> explicit_lists_;
    std::set<uint32_t> numbered_texts_;
};

std::string where_of(const std::string &record, const std::string &field, const std::string &origin)
{
    std::string w = record + ": field \"" + field + "\"";
    return origin.empty() ? w : w + " (from " + origin + ")";
}

int64_t Packer::integer(const json &v, int64_t lo, int64_t hi, const std::string &where) const
{
    if (!v.is_number_integer()) fail(where, "expected an integer, found " + v.dump());
    int64_t n = v.is_number_unsigned() && v.get<uint64_t>() > uint64_t(INT64_MAX) ? INT64_MAX : v.get<int64_t>();
    if (n < lo || n > hi)
        fail(where, v.dump() + " is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
    return n;
}

uint32_t Packer::record_number(const std::string &key, const char *what) const
{
    bool digits = !key.empty() && key.size() <= 9 && key[0] != '0';
    for (char c : key) digits = digits && c >= '0' && c <= '9';
    if (!digits) fail("", std::string(what) + " \"" + key + "\": expected a number from 1 to " + std::to_string(max_records));
    uint32_t n = uint32_t(std::stoul(key));
    if (n > max_records) fail("", std::string(what) + " " + key + ": numbers go up to " + std::to_string(max_records));
    return n;
}

void Packer::flatten_style(const std::string &name, std::set<std::string> *visiting, Fields *out) const
{
    std::string where = "style \"" + name + "\"";
    if (!styles_.contains(name)) fail("", "unknown " + where);
    if (!visiting->insert(name).second) fail(where, "inherits itself");
    const json &style = styles_[name];
    if (!style.is_object()) fail(where, "expected an object of fields");
    if (style.contains("style")) {
        if (!style["style"].is_string()) fail(where, "field \"style\": expected a style name");
        flatten_style(style["style"].get<std::string>(), visiting, out);
    }
    for (auto it = style.begin(); it != style.end(); ++it)
        if (it.key() != "style" && it.key() != "comment") (*out)[it.key()] = Entry{it.value(), where};
}

Fields Packer::object_fields_of(const json &object, const std::string &where) const
{
    if (!object.is_object()) fail(where, "expected an object of fields");
    Fields fields;
    if (object.contains("style")) {
        if (!object["style"].is_string()) fail(where, "field \"style\": expected a style name");
        std::set<std::string> visiting;
        flatten_style(object["style"].get<std::string>(), &visiting, &fields);
    }
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key() != "style" && it.key() != "comment") fields[it.key()] = Entry{it.value(), ""};
    return fields;
}

void Packer::write_field(uint8_t *record, const Field &f, const json &v, const std::string &where) const
{
    switch (f.type) {
    case FieldType::Int:
        write_u32(record, f.offset, uint32_t(integer(v, INT32_MIN, INT32_MAX, where)));
        return;
    case FieldType::Unsigned:
        write_u32(record, f.offset, uint32_t(integer(v, 0, UINT32_MAX, where)));
        return;
    case FieldType::Kind: {
        uint32_t kind = 0;
        if (v.is_string()) {
            if (!kind_from_name(v.get<std::string>(), &kind)) fail(where, "unknown kind " + v.dump());
        } else {
            kind = uint32_t(integer(v, 0, UINT32_MAX, where));
        }
        write_u32(record, f.offset, kind);
        return;
    }
    case FieldType::Colour:
        if (!v.is_array() || v.size() != 3) fail(where, "expected a colour [r, g, b], found " + v.dump());
        for (size_t c = 0; c < 3; ++c) write_u32(record, f.offset + 4 * c, uint32_t(integer(v[c], INT32_MIN, INT32_MAX, where)));
        return;
    case FieldType::String: {
        if (!v.is_string()) fail(where, "expected a string, found " + v.dump());
        std::string bytes;
        try {
            bytes = utf8_to_latin1(v.get<std::string>());
        } catch (const SourceError &e) {
            fail(where, e.what());
        }
        if (bytes.find('\0') != std::string::npos) fail(where, "a string cannot hold a zero character");
        if (bytes.size() > f.size)
            fail(where, "the text has " + std::to_string(bytes.size()) + " characters, the field holds " + std::to_string(f.size));
        std::fill(record + f.offset, record + f.offset + f.size, 0);
        std::copy(bytes.begin(), bytes.end(), record + f.offset);
        return;
    }
    case FieldType::List:
        if (!v.is_array()) fail(where, "expected a list of object numbers, found " + v.dump());
        if (v.size() > f.size) fail(where, "the list has " + std::to_string(v.size()) + " entries, at most " + std::to_string(f.size) + " fit");
        for (size_t i = 0; i < f.size; ++i)
            write_u32(record, f.offset + 4 * i, i < v.size() ? uint32_t(integer(v[i], 0, UINT32_MAX, where)) : 0);
        return;
    }
}

void Packer::write_object(uint32_t n, const json &object)
{
    std::string record = "object " + std::to_string(n);
    for (const auto &[name, entry] : object_fields_of(object, record)) {
        std::string where = where_of(record, name, entry.origin);
        const Field *f = find_field(object_fields(), name);
        if (!f) fail(where, "unknown field name");
        if (name == "text_record" && (entry.value.is_string() || entry.value.is_object())) {
            // A text written with its object: the record is placed later.
            InlineText t{n, 0, entry.value.is_string() ? json{{"text", entry.value}} : entry.value, where};
            if (t.record.contains("number")) {
                t.number = uint32_t(integer(t.record["number"], 1, max_records, where + ": number"));
                t.record.erase("number");
            }
            if (t.record.contains("owner")) fail(where, "an inline text record belongs to its object; \"owner\" is not written");
            inline_texts_.push_back(t);
            continue;
        }
        if (name == "dependents") explicit_lists_.insert(n);
        write_field(layout_.object(n), *f, entry.value, where);
    }
}

void Packer::write_text(uint32_t n, const json &record, const std::string &where)
{
    json fields = record.is_string() ? json{{"text", record}} : record;
    if (!fields.is_object()) fail(where, "expected a text or an object of fields");
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        if (it.key() == "comment") continue;
        const Field *f = find_field(text_fields(), it.key());
        std::string field_where = where + ": field \"" + it.key() + "\"";
        if (!f) fail(field_where, "unknown field name");
        write_field(layout_.text(n), *f, it.value(), field_where);
    }
}

void Packer::place_inline_texts()
{
    std::set<uint32_t> taken = numbered_texts_;
    for (const InlineText &t : inline_texts_)
        if (t.number && !taken.insert(t.number).second) fail(t.where, "text record " + std::to_string(t.number) + " is written twice");
    uint32_t next = 1;
    for (InlineText &t : inline_texts_) {
        if (!t.number) {
            while (taken.count(next)) ++next;
            t.number = next;
            taken.insert(next);
        }
        ensure_texts(t.number);
        uint8_t *record = layout_.object(t.owner);
        write_u32(record, find_field(object_fields(), "text_record")->offset, t.number);
        t.record["owner"] = t.owner;
        write_text(t.number, t.record, t.where);
    }
}

void Packer::build_dependents()
{
    const Field *list = find_field(object_fields(), "dependents");
    std::vector<std::vector<uint32_t>> from_masters = dependents_from_masters(layout_);
    for (uint32_t m = 1; m <= layout_.object_count(); ++m) {
        if (explicit_lists_.count(m)) continue;
        const std::vector<uint32_t> &deps = from_masters[m];
        if (deps.size() > list->size)
            fail("object " + std::to_string(m) + ": field \"dependents\"",
                 std::to_string(deps.size()) + " objects name it as master, more than a list holds; write the list out");
        for (size_t i = 0; i < deps.size(); ++i) write_u32(layout_.object(m), list->offset + 4 * i, deps[i]);
    }
}

std::vector<uint8_t> Packer::tail(const json &v, size_t record_size, const char *key) const
{
    std::string where = std::string("\"") + key + "\"";
    if (!v.is_string()) fail(where, "expected a string of hexadecimal digits");
    std::string hex = v.get<std::string>();
    auto digit = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        fail(where, "expected a string of hexadecimal digits");
    };
    if (hex.size() % 2) fail(where, "expected an even number of hexadecimal digits");
    if (hex.size() / 2 >= record_size) fail(where, "a partial record is shorter than " + std::to_string(record_size) + " bytes");
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2) bytes.push_back(uint8_t(digit(hex[i]) << 4 | digit(hex[i + 1])));
    return bytes;
}

Layout Packer::run(const std::string &text)
{
    json doc;
    try {
        doc = parse_without_repeats(text);
    } catch (const json::parse_error &e) {
        std::string message = e.what();
        size_t start = message.find("] ");
        fail("", start == std::string::npos ? message : message.substr(start + 2));
    } catch (const SourceError &e) {
        fail("", e.what());
    }
    if (!doc.is_object()) fail("", "expected an object with \"objects\" and \"texts\"");
    static const std::set<std::string> known = {"objects", "texts", "styles", "object_count", "text_record_count", "tav_tail", "taw_tail", "comment"};
    for (auto it = doc.begin(); it != doc.end(); ++it)
        if (!known.count(it.key())) fail("", "unknown entry \"" + it.key() + "\"");

    if (doc.contains("styles")) {
        styles_ = doc["styles"];
        if (!styles_.is_object()) fail("\"styles\"", "expected an object of named styles");
    }
    const json objects = doc.value("objects", json::object());
    const json texts = doc.value("texts", json::object());
    if (!objects.is_object()) fail("\"objects\"", "expected an object of numbered objects");
    if (!texts.is_object()) fail("\"texts\"", "expected an object of numbered text records");

    // Sizes first: the records are written in place.
    std::map<uint32_t, const json *> by_number;
    for (auto it = objects.begin(); it != objects.end(); ++it)
        if (!by_number.emplace(record_number(it.key(), "object"), &it.value()).second) fail("", "object " + it.key() + " is written twice");
    std::map<uint32_t, const json *> texts_by_number;
    for (auto it = texts.begin(); it != texts.end(); ++it)
        if (!texts_by_number.emplace(record_number(it.key(), "text record"), &it.value()).second) fail("", "text record " + it.key() + " is written twice");
    uint32_t object_count = by_number.empty() ? 0 : by_number.rbegin()->first;
    if (doc.contains("object_count")) {
        uint32_t given = uint32_t(integer(doc["object_count"], 0, max_records, "\"object_count\""));
        if (given < object_count) fail("\"object_count\"", std::to_string(given) + " is less than the highest object number " + std::to_string(object_count));
        object_count = given;
    }
    uint32_t text_count = texts_by_number.empty() ? 0 : texts_by_number.rbegin()->first;
    if (doc.contains("text_record_count")) {
        uint32_t given = uint32_t(integer(doc["text_record_count"], 0, max_records, "\"text_record_count\""));
        if (given < text_count) fail("\"text_record_count\"", std::to_string(given) + " is less than the highest text record number " + std::to_string(text_count));
        text_count = given;
    }
    ensure_objects(object_count);
    ensure_texts(text_count);

    for (const auto &[n, object] : by_number) write_object(n, *object);
    for (const auto &[n, record] : texts_by_number) {
        write_text(n, *record, "text record " + std::to_string(n));
        numbered_texts_.insert(n);
    }
    place_inline_texts();
    build_dependents();
    if (doc.contains("tav_tail")) layout_.object_tail = tail(doc["tav_tail"], object_record_size, "tav_tail");
    if (doc.contains("taw_tail")) layout_.text_tail = tail(doc["taw_tail"], text_record_size, "taw_tail");
    return layout_;
}

}  // namespace

Layout pack_source(const std::string &text, const std::string &source_name)
{
    return Packer(source_name).run(text);
}

}  // namespace tavlayout

// unpack: the text form of an existing pair. Every non-zero field of every
// record is written exactly as stored, so that packing the text again gives
// the same bytes.
#include "layout.h"

#include <nlohmann/json.hpp>

namespace tavlayout {

using json = nlohmann::ordered_json;

static json hex_of(const std::vector<uint8_t> &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// The value of one field as the text form writes it; null when every byte
// of the field is zero, so that the field is left out.
static json field_value(const uint8_t *record, const Field &f)
{
    switch (f.type) {
    case FieldType::Int: {
        int32_t v = int32_t(read_u32(record, f.offset));
        return v ? json(v) : json();
    }
    case FieldType::Unsigned: {
        uint32_t v = read_u32(record, f.offset);
        return v ? json(v) : json();
    }
    case FieldType::Kind: {
        uint32_t v = read_u32(record, f.offset);
        if (!v) return json();
        const char *name = kind_name(v);
        return name ? json(name) : json(v);
    }
    case FieldType::Colour: {
        json rgb = json::array();
        bool any = false;
        for (size_t c = 0; c < 3; ++c) {
            int32_t v = int32_t(read_u32(record, f.offset + 4 * c));
            any = any || v != 0;
            rgb.push_back(v);
        }
        return any ? rgb : json();
    }
    case FieldType::String: {
        if (record[f.offset] == 0) return json();
        return string_field_utf8(record + f.offset, f.size, nullptr);
    }
    case FieldType::List: {
        // Entries after the first 0 are kept too: they are part of the file.
        size_t used = f.size;
        while (used > 0 && read_u32(record, f.offset + 4 * (used - 1)) == 0) --used;
        if (!used) return json();
        json list = json::array();
        for (size_t i = 0; i < used; ++i) list.push_back(read_u32(record, f.offset + 4 * i));
        return list;
    }
    }
    return json();
}

static json record_value(const uint8_t *record, const std::vector<Field> &fields)
{
    json out = json::object();
    for (const Field &f : fields) {
        json v = field_value(record, f);
        if (!v.is_null()) out[f.name] = v;
    }
    return out;
}

// A dependents list equal to the one packing builds from the masters is
// left out, so that a layout written with masters only unpacks the same way.
static void drop_derived_dependents(const std::vector<uint32_t> &from_masters, json *object)
{
    json derived = json::array();
    for (uint32_t d : from_masters) derived.push_back(d);
    json stored = object->contains("dependents") ? (*object)["dependents"] : json::array();
    if (stored == derived) object->erase("dependents");
}

// Small values on one line each, so that a layout reads and diffs as one
// line per object.
static std::string inline_text(const json &v)
{
    std::string out;
    if (v.is_object()) {
        out = "{";
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (it != v.begin()) out += ", ";
            out += json(it.key()).dump() + ": " + inline_text(it.value());
        }
        return out + "}";
    }
    if (v.is_array()) {
        out = "[";
        for (size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + inline_text(v[i]);
        return out + "]";
    }
    return v.dump();
}

static std::string section_text(const json &records)
{
    if (records.empty()) return "{}";
    std::string out = "{\n";
    for (auto it = records.begin(); it != records.end(); ++it) {
        out += "    " + json(it.key()).dump() + ": " + inline_text(it.value());
        out += std::next(it) == records.end() ? "\n" : ",\n";
    }
    return out + "  }";
}

std::string unpack_layout(const Layout &layout)
{
    json objects = json::object();
    std::vector<std::vector<uint32_t>> from_masters = dependents_from_masters(layout);
    for (uint32_t n = 1; n <= layout.object_count(); ++n) {
        json o = record_value(layout.object(n), object_fields());
        drop_derived_dependents(from_masters[n], &o);
        if (!o.empty()) objects[std::to_string(n)] = o;
    }
    json texts = json::object();
    for (uint32_t n = 1; n <= layout.text_count(); ++n) {
        json t = record_value(layout.text(n), text_fields());
        if (!t.empty()) texts[std::to_string(n)] = t;
    }

    std::vector<std::string> parts;
    parts.push_back("  \"object_count\": " + std::to_string(layout.object_count()));
    parts.push_back("  \"objects\": " + section_text(objects));
    if (layout.text_count()) {
        parts.push_back("  \"text_record_count\": " + std::to_string(layout.text_count()));
        parts.push_back("  \"texts\": " + section_text(texts));
    }
    if (!layout.object_tail.empty()) parts.push_back("  \"tav_tail\": " + hex_of(layout.object_tail).dump());
    if (!layout.text_tail.empty()) parts.push_back("  \"taw_tail\": " + hex_of(layout.text_tail).dump());

    std::string out = "{\n";
    for (size_t i = 0; i < parts.size(); ++i) out += parts[i] + (i + 1 < parts.size() ? ",\n" : "\n");
    return out + "}\n";
}

}  // namespace tavlayout

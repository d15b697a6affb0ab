// tavrin_layout: packs layout sources into .tav/.taw pairs, unpacks and
// checks pairs, and renders them into pictures.
#include "layout.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace tavlayout {
namespace {

enum Exit { exit_ok = 0, exit_problems = 1, exit_usage = 2 };

const char *const program_help =
    "usage: tavrin_layout COMMAND ARGUMENTS...\n"
    "\n"
    "Works with Tavrin layouts: .tav/.taw pairs and their text form.\n"
    "\n"
    "commands:\n"
    "  pack SOURCE OUT.tav OUT.taw      write the pair a layout source describes\n"
    "  unpack IN.tav [IN.taw]           print the text form of a pair\n"
    "  check IN.tav [IN.taw]            list the problems of a pair\n"
    "  render IN.tav [IN.taw] OUT.png   draw a layout into a PNG picture\n"
    "\n"
    "options:\n"
    "  --help      this text; 'tavrin_layout COMMAND --help' describes a command\n"
    "  --version   the version of the tool\n"
    "\n"
    "When IN.taw is left out it is IN.tav with the extension taw; a missing one\n"
    "counts as empty. 'man tavrin_layout' has the whole description.\n";

const char *const pack_help =
    "usage: tavrin_layout pack [--force] SOURCE OUT.tav OUT.taw\n"
    "\n"
    "Writes the object file and the text file that the layout source describes.\n"
    "No text file is written when the layout has no text records. A master or a\n"
    "dependents entry that names an object the layout does not have is an error:\n"
    "it is reported as 'check' reports it and nothing is written. Other problems\n"
    "that 'check' would report are written as warnings on standard error and the\n"
    "pair is written all the same. A source that cannot be read leaves no file\n"
    "behind, and a failed pack leaves earlier files as they were.\n"
    "\n"
    "options:\n"
    "  --force   write the pair also when it names objects that do not exist,\n"
    "            with warnings, so that the text form of any pair packs back\n"
    "            into the same files\n"
    "\n"
    "Exit status: 0 written, 1 mistake in the source or an object named that does\n"
    "not exist, 2 bad usage or a file that cannot be read or written.\n";

const char *const unpack_help =
    "usage: tavrin_layout unpack IN.tav [IN.taw]\n"
    "\n"
    "Prints the text form of a pair on standard output: every field of every\n"
    "record that is not zero, exactly as stored, so that 'pack' gives the same\n"
    "files back. Malformed pairs unpack too; 'pack --force' packs them back.\n"
    "Exit status: 0 printed, 2 bad usage or a file that cannot be read.\n";

const char *const check_help =
    "usage: tavrin_layout check IN.tav [IN.taw]\n"
    "\n"
    "Lists every problem of a pair, one line each with the record and field:\n"
    "masters and dependents out of range, looping or out of step with each\n"
    "other, text records out of range or with another owner, strings without\n"
    "terminator, unknown kinds, partial records, fewer than seven objects.\n"
    "Exit status: 0 no problems, 1 problems found, 2 bad usage or a file that\n"
    "cannot be read.\n";

const char *const render_help =
    "usage: tavrin_layout render IN.tav [IN.taw] OUT.png [options]\n"
    "\n"
    "Starts the layout without a display, opens the listed windows in order,\n"
    "draws everything with its texts laid out and writes the screen as a PNG.\n"
    "\n"
    "options:\n"
    "  --size WxH         screen size (default 1024x600)\n"
    "  --font FILE SIZE   default font (default DroidSans.ttf 12; without that\n"
    "                     file here, the font the build copies under that name)\n"
    "  --open N,M,...     windows to open, the last one in front\n"
    "\n"
    "Fonts and images that the layout names are looked up in the current\n"
    "directory, as the programs look them up.\n"
    "Exit status: 0 written; 1 the layout cannot be drawn (a listed object is\n"
    "no window, the text file or the font is missing) or the picture cannot be\n"
    "written; 2 bad usage or a file that cannot be read.\n";

bool read_file(const std::string &path, std::vector<uint8_t> *bytes)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes->insert(bytes->end(), buffer, buffer + got);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string sibling_taw(const std::string &tav)
{
    size_t slash = tav.find_last_of('/');
    size_t dot = tav.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return tav + ".taw";
    return tav.substr(0, dot + 1) + "taw";
}

// Writes files so that each one either keeps its old contents or has all of
// its new ones: the bytes go to a temporary file next to it, which is renamed
// over it only when every file has been written.
bool write_files(const std::vector<std::pair<std::string, const std::vector<uint8_t> *>> &files, std::string *error)
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    std::vector<std::string> temps;
    auto give_up = [&](const std::string &path) {
        *error = path + ": " + std::strerror(errno);
        for (const std::string &t : temps) std::remove(t.c_str());
        return false;
    };
    for (const auto &[path, bytes] : files) {
        std::string temp = path + ".XXXXXX";
        int fd = ::mkstemp(temp.data());
        if (fd < 0) return give_up(path);
        temps.push_back(temp);
        FILE *f = ::fdopen(fd, "wb");
        if (!f) {
            ::close(fd);
            return give_up(path);
        }
        ::fchmod(fd, 0666 & ~mask);
        bool ok = bytes->empty() || std::fwrite(bytes->data(), 1, bytes->size(), f) == bytes->size();
        ok = std::fclose(f) == 0 && ok;
        if (!ok) return give_up(path);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (std::rename(temps[i].c_str(), files[i].first.c_str()) != 0) {
            temps.erase(temps.begin(), temps.begin() + long(i));
            return give_up(files[i].first);
        }
    }
    return true;
}

std::vector<uint8_t> joined(const std::vector<uint8_t> &records, const std::vector<uint8_t> &tail)
{
    std::vector<uint8_t> out = records;
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

bool wants_help(const std::vector<std::string> &args)
{
    for (const std::string &a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

int usage_error(const char *help, const std::string &message)
{
    std::fprintf(stderr, "tavrin_layout: %s\n\n%s", message.c_str(), help);
    return exit_usage;
}

// Reads a pair named on the command line; the text file may be left out.
bool load_pair(const std::string &tav, const std::string *taw, Layout *layout, std::string *taw_name)
{
    std::vector<uint8_t> objects, texts;
    if (!read_file(tav, &objects)) {
        std::fprintf(stderr, "tavrin_layout: %s: %s\n", tav.c_str(), std::strerror(errno));
        return false;
    }
    *taw_name = taw ? *taw : sibling_taw(tav);
    if ((taw || exists(*taw_name)) && !read_file(*taw_name, &texts)) {
        std::fprintf(stderr, "tavrin_layout: %s: %s\n", taw_name->c_str(), std::strerror(errno));
        return false;
    }
    *layout = layout_from_files(objects, texts);
    return true;
}

int run_pack(const std::vector<std::string> &args)
{
    if (wants_help(args)) return std::fputs(pack_help, stdout), exit_ok;
    bool force = false;
    std::vector<std::string> names;
    for (const std::string &a : args) {
        if (a == "--force")
            force = true;
        else if (a.size() > 1 && a[0] == '-')
            return usage_error(pack_help, "unknown option " + a);
        else
            names.push_back(a);
    }
    if (names.size() != 3) return usage_error(pack_help, "pack takes a source and two output files");
    const std::string &source = names[0], &tav = names[1], &taw = names[2];
    std::vector<uint8_t> text;
    if (!read_file(source, &text)) {
        std::fprintf(stderr, "tavrin_layout: %s: %s\n", source.c_str(), std::strerror(errno));
        return exit_usage;
    }
    Layout layout;
    try {
        layout = pack_source(std::string(text.begin(), text.end()), source);
    } catch (const SourceError &e) {
        std::fprintf(stderr, "tavrin_layout: %s\n", e.what());
        return exit_problems;
    }
    // A master or dependent that does not exist is a mistake in the source
    // (a typed number, a deleted object): what was meant by it would be lost
    // without a word at run time. --force keeps it, for repairs.
    bool names_missing = false;
    for (const Problem &p : check_layout(layout)) {
        bool error = p.names_missing_object && !force;
        std::fprintf(stderr, "%s: %s\n", error ? "error" : "warning", format_problem(p, tav, taw).c_str());
        names_missing = names_missing || error;
    }
    if (names_missing) {
        std::fprintf(stderr, "tavrin_layout: %s names objects that do not exist; nothing written\n", source.c_str());
        return exit_problems;
    }

    std::vector<uint8_t> tav_bytes = joined(layout.objects, layout.object_tail);
    std::vector<uint8_t> taw_bytes = joined(layout.texts, layout.text_tail);
    std::vector<std::pair<std::string, const std::vector<uint8_t> *>> files = {{tav, &tav_bytes}};
    if (!taw_bytes.empty()) files.push_back({taw, &taw_bytes});
    std::string error;
    if (!write_files(files, &error)) {
        std::fprintf(stderr, "tavrin_layout: %s\n", error.c_str());
        return exit_usage;
    }
    if (taw_bytes.empty()) std::printf("%s not written: the layout has no text records\n", taw.c_str());
    return exit_ok;
}

// unpack and check take the same arguments: IN.tav and maybe IN.taw.
int on_pair(const std::vector<std::string> &args, const char *help, const std::string &command,
            const std::function<int(const Layout &, const std::string &, const std::string &)> &act)
{
    if (wants_help(args)) return std::fputs(help, stdout), exit_ok;
    if (args.empty() || args.size() > 2) return usage_error(help, command + " takes a .tav file and maybe a .taw file");
    Layout layout;
    std::string taw_name;
    if (!load_pair(args[0], args.size() > 1 ? &args[1] : nullptr, &layout, &taw_name)) return exit_usage;
    return act(layout, args[0], taw_name);
}

int run_unpack(const std::vector<std::string> &args)
{
    return on_pair(args, unpack_help, "unpack", [](const Layout &layout, const std::string &, const std::string &) {
        std::fputs(unpack_layout(layout).c_str(), stdout);
        return int(exit_ok);
    });
}

int run_check(const std::vector<std::string> &args)
{
    return on_pair(args, check_help, "check", [](const Layout &layout, const std::string &tav, const std::string &taw) {
        std::vector<Problem> problems = check_layout(layout);
        for (const Problem &p : problems) std::printf("%s\n", format_problem(p, tav, taw).c_str());
        return int(problems.empty() ? exit_ok : exit_problems);
    });
}

bool parse_int(const std::string &s, int lo, int hi, int *out)
{
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end || errno || v < lo || v > hi) return false;
    *out = int(v);
    return true;
}

bool parse_size(const std::string &s, int *w, int *h)
{
    size_t x = s.find('x');
    return x != std::string::npos && parse_int(s.substr(0, x), 1, 16384, w) && parse_int(s.substr(x + 1), 1, 16384, h);
}

bool parse_window_list(const std::string &s, std::vector<uint32_t> *out)
{
    size_t start = 0;
    while (start <= s.size()) {
        size_t comma = s.find(',', start);
        std::string item = s.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int n;
        if (!parse_int(item, 1, INT32_MAX, &n)) return false;
        out->push_back(uint32_t(n));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

int run_render(const std::vector<std::string> &args)
{
    if (wants_help(args)) return std::fputs(render_help, stdout), exit_ok;
    RenderOptions options;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--size") {
            if (i + 1 >= args.size() || !parse_size(args[++i], &options.width, &options.height))
                return usage_error(render_help, "--size takes WIDTHxHEIGHT, for example 1024x600");
        } else if (a == "--font") {
            if (i + 2 >= args.size() || !parse_int(args[i + 2], 1, 1000, &options.font_size))
                return usage_error(render_help, "--font takes a file and a point size");
            options.font_file = args[i + 1];
            i += 2;
        } else if (a == "--open") {
            if (i + 1 >= args.size() || !parse_window_list(args[++i], &options.open_windows))
                return usage_error(render_help, "--open takes window numbers separated by commas");
        } else if (a.size() > 1 && a[0] == '-') {
            return usage_error(render_help, "unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 2 || files.size() > 3) return usage_error(render_help, "render takes a .tav file, maybe a .taw file, and a .png file");
    // The library ends the process on a file it cannot read: find out first.
    std::string taw = files.size() == 3 ? files[1] : sibling_taw(files[0]);
    std::vector<uint8_t> ignored;
    for (const std::string &path : files.size() == 3 ? std::vector<std::string>{files[0], taw} : std::vector<std::string>{files[0]})
        if (!read_file(path, &ignored)) {
            std::fprintf(stderr, "tavrin_layout: %s: %s\n", path.c_str(), std::strerror(errno));
            return exit_usage;
        }
    std::string error = render_layout(files[0], taw, files.back(), options);
    if (!error.empty()) {
        std::fprintf(stderr, "tavrin_layout: %s\n", error.c_str());
        return exit_problems;
    }
    return exit_ok;
}

}  // namespace
}  // namespace tavlayout

int main(int argc, char **argv)
{
    using namespace tavlayout;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage_error(program_help, "no command given");
    std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") return std::fputs(program_help, stdout), exit_ok;
    if (command == "--version") return std::printf("tavrin_layout %s\n", TAVRIN_VERSION), exit_ok;
    if (command == "pack") return run_pack(args);
    if (command == "unpack") return run_unpack(args);
    if (command == "check") return run_check(args);
    if (command == "render") return run_render(args);
    return usage_error(program_help, "unknown command " + command);
}

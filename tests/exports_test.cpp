// The library's dynamic symbol table holds the exported tav_ functions only.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "tavrin.h"

namespace {

std::set<std::string> defined_symbols(const std::string &library)
{
    std::set<std::string> names;
    std::string command = "nm -D --defined-only '" + library + "' 2>/dev/null";
    FILE *p = popen(command.c_str(), "r");
    if (!p) return names;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.insert(name);
    }
    pclose(p);
    return names;
}

std::string library_path()
{
    Dl_info info{};
    return dladdr(reinterpret_cast<void *>(&tav_start_tavrin), &info) && info.dli_fname ? info.dli_fname : "";
}

}  // namespace

TEST(Exports, OnlyTavFunctionsLeaveTheLibrary)
{
    std::string lib = library_path();
    ASSERT_FALSE(lib.empty());
    std::set<std::string> names = defined_symbols(lib);
    ASSERT_FALSE(names.empty()) << "nm found no symbols in " << lib;
    std::set<std::string> allowed{"_init", "_fini", "_edata", "_end", "__bss_start"};
    int tav = 0;
    for (const std::string &n : names) {
        if (allowed.count(n)) continue;
        EXPECT_EQ(n.rfind("tav_", 0), 0u) << "exported symbol not ours to export: " << n;
        ++tav;
    }
    EXPECT_EQ(tav, 108);
}

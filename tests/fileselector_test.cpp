// The file selector: rows made from a template, the directory read in
// first-byte order with its limits, and the names put into the rows.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

// Makes a fresh directory with the given files and works inside it for the
// lifetime of the object.
class InDirectory {
public:
    explicit InDirectory(const std::vector<std::string> &files)
    {
        char here[4096];
        if (!getcwd(here, sizeof here)) ADD_FAILURE() << "getcwd";
        home_ = here;
        char pattern[] = "/tmp/tavrin_dirXXXXXX";
        const char *dir = mkdtemp(pattern);
        if (!dir) ADD_FAILURE() << "mkdtemp";
        path_ = dir ? dir : "/tmp";
        for (const std::string &f : files) write_file(path_ + "/" + f, {});
        files_ = files;
        if (chdir(path_.c_str()) != 0) ADD_FAILURE() << "chdir";
    }
    ~InDirectory()
    {
        if (chdir(home_.c_str()) != 0) ADD_FAILURE() << "chdir back";
        for (const std::string &f : files_) std::remove((path_ + "/" + f).c_str());
        rmdir(path_.c_str());
    }

private:
    std::string home_, path_;
    std::vector<std::string> files_;
};

std::vector<std::string> numbered(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("f" + std::to_string(1000 + i) + ".tav");
    return names;
}

std::vector<std::string> names_in_order(const tav_context *ctx)
{
    std::vector<std::string> names;
    for (uint32_t i = 0; i <= ctx->dir_entry_last; ++i) names.push_back(ctx->dir_entries[ctx->dir_entry_order[i]]);
    return names;
}

// A list object 8 whose template row is object 9, followed by 99 spare
// objects for the rows.
struct FileList {
    Screen s;
    uint32_t list = 0, templ = 0;
    tav_context *ctx;
    explicit FileList(int spare = 99)
    {
        RawLayout layout;
        list = add_shape(layout, TAV_KIND_BOX, 20, 30, 240, 100);
        templ = add_shape(layout, TAV_KIND_LABEL, 25, 40, 150, 14);
        layout.at(templ).set(off::fill_r, 200).set(off::text_b, 90).set(off::margin_top, 2).set(off::margin_left, 3);
        attach(layout, list, templ);
        for (int i = 0; i < spare; ++i) add_shape(layout, TAV_KIND_EMPTY, 0, 0, 0, 0);
        ctx = s.start(layout);
    }
    const tav_object &row(int k) const { return ctx->objects[ctx->objects[list].dependents[k]]; }
};

}  // namespace

TEST(FileSelector, RowsAreMadeFromTheTemplate)
{
    FileList f;
    tav_prepare_fileselector(f.ctx, f.list, 99);
    const tav_object &l = f.ctx->objects[f.list];
    for (uint32_t k = 1; k <= 99; ++k) {
        ASSERT_EQ(l.dependents[k], f.templ + k);
        const tav_object &r = f.ctx->objects[f.templ + k];
        EXPECT_EQ(r.y, 40 + 17 * int32_t(k));
        EXPECT_TRUE(r.x == 25 && r.w == 150 && r.kind == TAV_KIND_LABEL && r.master == f.list) << k;
        EXPECT_TRUE(r.fill_r == 200 && r.text_b == 90 && r.margin_top == 2 && r.margin_left == 3) << k;
    }

    // Rows stop at the end of the layout, and at the end of the list.
    FileList few(5);
    tav_prepare_fileselector(few.ctx, few.list, 99);
    EXPECT_EQ(few.ctx->objects[few.list].dependents[6], 0u);
    FileList many(150);
    tav_prepare_fileselector(many.ctx, many.list, 140);
    EXPECT_EQ(many.ctx->objects[many.templ + 100].master, 0u);
    EXPECT_EQ(many.ctx->objects[many.list].offset_x, 0);  // the field just past the list
}

TEST(FileSelector, NamesAreSortedByTheirFirstByteOnly)
{
    FileList f;
    InDirectory dir({"b.tav", "A.taw", "a.tav", "_x", "9.txt"});
    tav_read_app_dir(f.ctx);
    EXPECT_EQ(names_in_order(f.ctx), (std::vector<std::string>{"..", "9.txt", "A.taw", "_x", "a.tav", "b.tav"}));
    char here[TAV_PATH_SIZE];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    EXPECT_STREQ(f.ctx->app_dir, here);
}

TEST(FileSelector, RowsShowTheNamesAndTheRestAreSwitchedOff)
{
    FileList f;
    tav_prepare_fileselector(f.ctx, f.list, 99);
    for (int files : {150, 11}) {  // with ".." 151 and 12 names
        {
            InDirectory dir(numbered(files));
            tav_read_app_dir(f.ctx);
        }
        tav_load_dir_entries(f.ctx, f.list);
        const int shown = files > 99 ? 100 : files + 1;
        EXPECT_EQ(f.ctx->dir_entry_last, uint32_t(shown - 1));
        for (int k = 0; k < 100; ++k) EXPECT_EQ(f.row(k).w, k < shown ? 220 : 0) << files << ": " << k;
        for (int k = 0; k < 100; ++k) EXPECT_EQ(f.row(k).hidden, k < shown ? 0 : 1) << files << ": " << k;
        EXPECT_STREQ(f.row(0).text, "..");
        EXPECT_EQ(f.ctx->objects[f.list].h, shown * 17 + 40);
    }
    std::vector<std::string> names;
    for (int k = 1; k < 12; ++k) names.push_back(f.row(k).text);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, numbered(11));
}

TEST(FileSelector, LongNamesAreCutAndAnEmptyDirectoryShowsOnlyItsParent)
{
    FileList f;
    tav_prepare_fileselector(f.ctx, f.list, 99);
    const std::string long_name(100, 'x');
    {
        InDirectory dir({long_name, "y"});
        tav_read_app_dir(f.ctx);
    }
    tav_load_dir_entries(f.ctx, f.list);
    EXPECT_EQ(std::string(f.row(1).text), long_name.substr(0, 64));
    EXPECT_EQ(std::string(f.row(2).text), "y");

    // No names of the directory shown before may stay in the list.
    {
        InDirectory dir({});
        tav_read_app_dir(f.ctx);
    }
    tav_load_dir_entries(f.ctx, f.list);
    EXPECT_STREQ(f.row(0).text, "..");
    EXPECT_EQ(f.row(0).w, 220);
    EXPECT_EQ(f.row(1).hidden, 1);
    EXPECT_EQ(f.row(1).w, 0);
    EXPECT_EQ(f.ctx->objects[f.list].h, 17 + 40);
}

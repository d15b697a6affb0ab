#include "platform.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace tav::platform {

FileKind file_kind(const char *path)
{
    struct stat st;
    if (!path || stat(path, &st) != 0) return FileKind::other;
    if (S_ISREG(st.st_mode)) return FileKind::regular;
    if (S_ISDIR(st.st_mode)) return FileKind::directory;
    return FileKind::other;
}

bool current_directory(char *buf, size_t size)
{
    return buf && size > 0 && getcwd(buf, size) != nullptr;
}

bool change_directory(const char *path)
{
    return path && chdir(path) == 0;
}

// readdir() gives "." and ".." wherever the file system keeps them; the
// listing puts them in front, as the file selector expects, and the other
// names follow in the order the system delivers them.
struct DirListing {
    std::vector<std::string> names;
    size_t next = 0;
};

DirListing *dir_open(const char *path)
{
    DIR *dir = opendir(path ? path : ".");
    if (!dir) return nullptr;
    DirListing *listing = new (std::nothrow) DirListing;
    if (!listing) {
        closedir(dir);
        return nullptr;
    }
    listing->names = {".", ".."};
    while (const dirent *e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        listing->names.emplace_back(e->d_name);
    }
    closedir(dir);
    return listing;
}

const char *dir_next(DirListing *listing)
{
    if (!listing || listing->next >= listing->names.size()) return nullptr;
    return listing->names[listing->next++].c_str();
}

void dir_close(DirListing *listing)
{
    delete listing;
}

long file_size(std::FILE *f)
{
    if (!f || std::fseek(f, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    return size;
}

}  // namespace tav::platform

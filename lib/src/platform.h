// The platform layer: the few operating-system services the library uses,
// behind functions of our own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tav::platform {

enum class FileKind { regular, directory, other };

// What a path names; `other` also when it cannot be examined.
FileKind file_kind(const char *path);

// Writes the current directory into buf (size bytes); false on failure.
bool current_directory(char *buf, size_t size);

// Changes the current directory; false on failure.
bool change_directory(const char *path);

// A listing of the current directory, name by name, in the system's order:
// the directory's own entry "." first and ".." second, then the other names.
struct DirListing;
DirListing *dir_open(const char *path);
// The next name, or nullptr at the end. The pointer lives until the next call.
const char *dir_next(DirListing *listing);
void dir_close(DirListing *listing);

// Size of an open file in bytes, by seeking to its end and back; -1 on failure.
long file_size(std::FILE *f);

}  // namespace tav::platform

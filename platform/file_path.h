#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace plotvik {

// File names travel through the program as std::string: on Linux the file system's own bytes,
// whatever their encoding; on Windows UTF-8, converted to UTF-16 at every system call. These
// turn such a name into a path and back without passing through a code page.
std::filesystem::path PathOf(const std::string& name);
std::string NameOf(const std::filesystem::path& path);

// A name's length as the system counts it against its limit on names: characters on Linux (a
// byte that is not part of valid UTF-8 counts as one, so no byte escapes the count), UTF-16
// units on Windows.
std::size_t FileNameLength(const std::string& name);

// fopen(path, "wb"), for a path in any script; null with errno set when it fails.
std::FILE* OpenForWriting(const std::filesystem::path& path);

}  // namespace plotvik

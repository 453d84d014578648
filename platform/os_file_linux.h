#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/os_file.h"

namespace plotvik {

// Opens `name` read-only, the one way every reader of the program opens a file. Only a regular
// file is accepted: a directory, a FIFO, a socket or a device gives kErrorAccessDenied, so that
// nothing can block the window thread waiting for a writer or feed it an endless stream. An
// empty name, one with a NUL byte inside, or one whose folder does not exist gives
// kErrorPathNotFound. Returns 0 with the descriptor (blocking, closed on exec) in `fd` and its
// status in `status`, or a code.
int OpenRegularFile(const std::string& name, int& fd, struct stat& status);

}  // namespace plotvik

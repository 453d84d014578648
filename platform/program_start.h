#pragma once

#include <string>
#include <vector>

namespace plotvik {

// The program's arguments, argv[0] first, each as a file name is held (platform/file_path.h): on
// Windows from the wide command line, so that a name in any script survives the ANSI code page
// argv was made with.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the standard streams carry the program's bytes unchanged: on Windows no CR is put before
// each LF, and the console shows UTF-8, so the tools print what they print on Linux.
void UseStandardStreamsAsTheyAre();

// argv for code that wants one, pointing into `arguments`, which must outlive it; ends in a null.
std::vector<char*> ArgvOf(std::vector<std::string>& arguments);

}  // namespace plotvik

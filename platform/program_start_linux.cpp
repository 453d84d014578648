#include "platform/program_start.h"

namespace plotvik {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + (argc > 0 ? argc : 0));
}

void UseStandardStreamsAsTheyAre() {}

}  // namespace plotvik

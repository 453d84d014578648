#include "platform/program_start.h"

namespace plotvik {

std::vector<char*> ArgvOf(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace plotvik

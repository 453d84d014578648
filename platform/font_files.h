#pragma once

#include <filesystem>

namespace plotvik {

// The folder that holds the chart's font files (Liberation 1.07: Sans, Serif and Mono, each
// regular, bold, italic and bold italic). Each system has its own answer, in its own file.
std::filesystem::path FontFolder();

}  // namespace plotvik

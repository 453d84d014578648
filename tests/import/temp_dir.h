#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plotvik::testing {

// A private folder under the system's temp dir, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    // A name nobody has taken: create_directory says whether this call made the folder.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const auto candidate = std::filesystem::temp_directory_path() /
                             ("plotvik-" + std::to_string(random() % 1000000000000ULL));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) {
        std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("no temporary folder could be made");
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  std::string Write(const std::string& name, std::string_view bytes) const {
    std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace plotvik::testing

#pragma once

// What a test needs to run under other number separators: the program's separators set for the
// test alone, and a locale compiled from the system's locale sources into a private folder, so
// that no installed locale is needed.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/locale_settings.h"

namespace plotvik::testing {

// Sets the program's separators for the life of the object and puts the previous ones back.
class SeparatorsScope {
 public:
  explicit SeparatorsScope(char decimal, std::string thousands = LocaleThousandsChar)
      : savedDecimal_(LocaleDecimalChar), savedThousands_(LocaleThousandsChar) {
    LocaleDecimalChar = decimal;
    LocaleThousandsChar = std::move(thousands);
  }
  ~SeparatorsScope() {
    LocaleDecimalChar = savedDecimal_;
    LocaleThousandsChar = savedThousands_;
  }
  SeparatorsScope(const SeparatorsScope&) = delete;
  SeparatorsScope& operator=(const SeparatorsScope&) = delete;

 private:
  char savedDecimal_;
  std::string savedThousands_;
};

// Compiles the UTF-8 locale `name` ("de_DE.UTF-8") into `folder` unless it is there already;
// true when it can then be loaded with LOCPATH set to `folder`.
inline bool CompileLocale(const std::filesystem::path& folder, const std::string& name) {
  const std::filesystem::path target = folder / name;
  if (std::filesystem::exists(target)) return true;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string command = "localedef -i " + name.substr(0, name.find('.')) + " -f UTF-8 " +
                              target.string() + " >/dev/null 2>&1";
  // localedef may warn (status 1) about a source and still write the locale.
  return std::system(command.c_str()) >= 0 && std::filesystem::exists(target);
}

// The environment of a tool run in a locale compiled into `folder`. glibc keeps the LOCPATH it
// parsed for good, which the leak checker is told to overlook.
inline std::vector<std::string> LocaleEnvironment(const std::filesystem::path& folder,
                                                  const std::string& name) {
  return {"LSAN_OPTIONS=suppressions=" PLOTVIK_TEST_DATA "/../lsan.supp",
          "LOCPATH=" + folder.string(), "LC_ALL=" + name};
}

}  // namespace plotvik::testing

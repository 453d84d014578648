#include "platform/locale_settings.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "tests/import/temp_dir.h"
#include "tests/support/locale_separators.h"

#if defined(__SANITIZE_ADDRESS__)
#define PLOTVIK_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLOTVIK_LSAN 1
#endif
#endif
#ifdef PLOTVIK_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace plotvik {
namespace {

// glibc keeps the LOCPATH it parsed for good; the leak checker must not count that.
void ReadLocaleSettingsQuietly(const std::string& name) {
#ifdef PLOTVIK_LSAN
  __lsan::ScopedDisabler disabler;
#endif
  ReadLocaleSettings(name);
}

struct LocaleCase {
  const char* locale;
  char decimal;
  const char* thousands;
  friend void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.locale; }
};

// Locales are compiled from the system's sources into a private folder, each when first needed
// (under ctest every test is its own process, so each compiles at most the one it uses).
class LocaleSeparators : public ::testing::TestWithParam<LocaleCase> {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testing::TempDir>();
    ::setenv("LOCPATH", dir_->Path().c_str(), 1);
  }
  static void TearDownTestSuite() {
    ::unsetenv("LOCPATH");
    dir_.reset();
  }
  // True when the named UTF-8 locale ("de_DE.UTF-8") can be loaded from the private folder;
  // names that are not of that form need nothing.
  static bool Provide(const std::string& locale) {
    if (locale.find(".UTF-8") == std::string::npos || locale.rfind("xx_", 0) == 0) return true;
    return testing::CompileLocale(dir_->Path(), locale);
  }

  static inline std::unique_ptr<testing::TempDir> dir_;
  // Each test starts from the defaults and leaves the separators as it found them.
  testing::SeparatorsScope separators_{'.', ","};
};

TEST_P(LocaleSeparators, AreOneCharacterOrTheDefault) {
  const LocaleCase& c = GetParam();
  if (!Provide(c.locale)) GTEST_SKIP() << "cannot compile " << c.locale;
  std::string processLocale = ::setlocale(LC_ALL, nullptr);
  LocaleDecimalChar = 'x';
  LocaleThousandsChar = "x";
  ReadLocaleSettingsQuietly(c.locale);
  EXPECT_EQ(LocaleDecimalChar, c.decimal);
  EXPECT_EQ(LocaleThousandsChar, c.thousands);
  EXPECT_EQ(::setlocale(LC_ALL, nullptr), processLocale);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleSeparators,
    ::testing::Values(
        LocaleCase{"C",             '.', ","},  // no thousands separator at all
        LocaleCase{"xx_NOPE.UTF-8", '.', ","},
        LocaleCase{"de_DE.UTF-8",   ',', "."},
        // narrow no-break spaces, drawn as no-break spaces
        LocaleCase{"fr_FR.UTF-8",   ',', "\u00A0"},
        LocaleCase{"ru_RU.UTF-8",   ',', "\u00A0"},
        // an apostrophe of three bytes, taken as it is
        LocaleCase{"de_CH.UTF-8",   '.', "\u2019"},
        // Arabic: the decimal separator takes two bytes, the thousands one is kept
        LocaleCase{"ps_AF.UTF-8",   '.', "\u066C"}),
    [](const auto& info) {
      std::string name = info.param.locale;
      return name.substr(0, name.find('.'));
    });
// clang-format on

TEST_F(LocaleSeparators, EmptyNameIsTheUsersLocale) {
  if (!Provide("de_DE.UTF-8")) GTEST_SKIP() << "cannot compile de_DE.UTF-8";
  const char* saved = std::getenv("LC_ALL");
  std::string savedValue = saved ? saved : "";
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  ReadLocaleSettingsQuietly("");
  if (saved) {
    ::setenv("LC_ALL", savedValue.c_str(), 1);
  } else {
    ::unsetenv("LC_ALL");
  }
  EXPECT_EQ(LocaleDecimalChar, ',');
  EXPECT_EQ(LocaleThousandsChar, ".");
}

}  // namespace
}  // namespace plotvik

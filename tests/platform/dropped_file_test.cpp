// What a window takes from a drop: the bytes of one local file's name, or nothing.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMimeData>
#include <optional>
#include <ostream>
#include <string>

#include "platform/gui/native_widgets.h"

namespace plotvik {
namespace {

struct DropCase {
  const char* name;
  const char* uriList;  // the drop's text/uri-list as the file manager sends it
  std::optional<std::string> file;
  friend void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }
};

class DroppedLocalFileTest : public ::testing::TestWithParam<DropCase> {};

TEST_P(DroppedLocalFileTest, TakesOneLocalFileByItsBytes) {
  const DropCase& c = GetParam();
  QMimeData data;
  data.setData(QStringLiteral("text/uri-list"), QByteArray(c.uriList));
  EXPECT_EQ(DroppedLocalFile(data), c.file);
}

const DropCase kDropCases[] = {
    {"NoHost", "file:///no/such/sweep.txt\r\n", "/no/such/sweep.txt"},
    {"Localhost", "file://localhost/no/such/sweep.txt\r\n", "/no/such/sweep.txt"},
    {"LocalhostInCapitals", "file://LocalHost/no/such/sweep.txt\r\n", "/no/such/sweep.txt"},
    {"NotUtf8", "file:///no/such/bad%FF.txt\r\n", "/no/such/bad\xff.txt"},
    {"Utf8AndBlank", "file:///no/such/%D0%BC%D0%BE%D0%B9%20x.txt\r\n", "/no/such/мой x.txt"},
    {"EscapedPercent", "file:///no/such/100%25.txt\r\n", "/no/such/100%.txt"},
    // A host's name is no folder of this machine.
    {"HostLikeAFolder", "file://tmp/x.txt\r\n", std::nullopt},
    {"OtherHost", "file://otherhost/x\r\n", std::nullopt},
    {"NulInTheName", "file:///tmp/x.txt%00.png\r\n", std::nullopt},
    {"Folder", "file:///\r\n", std::nullopt},
    {"NoPath", "file://localhost\r\n", std::nullopt},
    {"NotAFile", "https://example.org/sweep.txt\r\n", std::nullopt},
    {"TwoFiles", "file:///a.txt\r\nfile:///b.txt\r\n", std::nullopt},
    {"Nothing", "", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, DroppedLocalFileTest, ::testing::ValuesIn(kDropCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik

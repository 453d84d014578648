#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace plotvik {

namespace {

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string ToUtf8(const QString& s) {
  return s.toUtf8().toStdString();
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  QCommandLineParser parser;
  // "-abc" would otherwise read as three options; no option of ours is a single letter run.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  parser.addOption(help);
  // The parser expects the program's name first, as on a real command line.
  QStringList list{QStringLiteral("plotvik")};
  for (const std::string& argument : arguments) list.append(FromUtf8(argument));

  TCommandLine result;
  const bool understood = parser.parse(list);
  // Help wins over everything else on the line: whoever asks for it learns what went wrong.
  if (parser.isSet(help)) {
    result.help = true;
    return result;
  }
  if (!understood) {
    result.error = ToUtf8(parser.errorText());
    return result;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    result.error = "more than one file given";
  } else if (files.size() == 1) {
    if (files.front().isEmpty()) {
      result.error = "the file name is empty";
    } else {
      result.fileName = ToUtf8(files.front());
    }
  }
  return result;
}

std::string UsageLine(const std::string& program) {
  return "Usage: " + program + " [--] [FILE]";
}

std::string HelpText(const std::string& program) {
  return UsageLine(program) +
         "\n"
         "Shows a Korvel sweep file as six charts: SWR, R, jX, gain, F/B and elevation angle\n"
         "against the swept parameter.\n"
         "\n"
         "  FILE        loaded at start as File > Open would load it; a file can also be\n"
         "              dropped onto the window\n"
         "  --          ends the options: a FILE beginning with '-' follows it\n"
         "  -h, --help  shows this text and ends\n"
         "\n"
         "The window follows the desktop's scale factor (QT_SCALE_FACTOR,\n"
         "QT_SCREEN_SCALE_FACTORS or the screen's own). Resting the mouse on a point of a\n"
         "chart shows its values.\n";
}

}  // namespace plotvik

#pragma once

// The command-line handling both tools share: the toolkit's parser, fed the arguments as bytes.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/version.h"

namespace plotvik {

inline void Print(std::FILE* out, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
}

// File names are bytes, not text in some encoding: each byte goes through the parser as the
// character of the same number and comes back unchanged, whatever the locale. The option names
// are plain ASCII, so the parser sees them as it would in any encoding.
inline QStringList ArgumentsAsLatin1(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLatin1(argv[i]));
  return arguments;
}

inline std::string Latin1Bytes(const QString& text) {
  return text.toLatin1().toStdString();
}

// A parser set up the way both tools read their command line: `--help` (also `-h`), `--version`,
// `--` ending
// the options, and a word after one dash (`-x.txt`) taken as one unknown option rather than a
// row of one-letter ones.
class TToolCommandLine {
 public:
  TToolCommandLine() : help_(parser_.addHelpOption()), version_(QStringLiteral("version")) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(version_);
  }

  QCommandLineParser& Parser() { return parser_; }

  // Parses argv; on a refused command line prints the parser's reason and `usage` on standard
  // error and returns false.
  bool Parse(int argc, char** argv, std::string_view usage) {
    if (parser_.parse(ArgumentsAsLatin1(argc, argv))) return true;
    Print(stderr, Latin1Bytes(parser_.errorText()) + "\n");
    Print(stderr, usage);
    return false;
  }

  bool HelpWanted() const { return parser_.isSet(help_); }
  bool VersionWanted() const { return parser_.isSet(version_); }

  QStringList Positional() const { return parser_.positionalArguments(); }

 private:
  QCommandLineParser parser_;
  QCommandLineOption help_;
  QCommandLineOption version_;
};

// What `--version` prints: "plotvik-check 0.2.0".
inline std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + kVersion + "\n";
}

}  // namespace plotvik

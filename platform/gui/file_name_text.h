#pragma once

#include <QString>
#include <QUrl>
#include <optional>
#include <string>

namespace plotvik {

// A file name (see platform/file_path.h) as the toolkit's text and back, without losing it:
// on Linux the toolkit's own decoding of file system bytes, on Windows UTF-8.
QString FileNameText(const std::string& name);
std::string FileNameOfText(const QString& text);

// The name of the file on this machine that a dropped URL stands for; none for another host's
// file, another scheme, or a name the open call would cut short.
std::optional<std::string> FileNameOfUrl(const QUrl& url);

}  // namespace plotvik

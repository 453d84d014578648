#include <QDir>

#include "platform/gui/file_name_text.h"

namespace plotvik {

QString FileNameText(const std::string& name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::string FileNameOfText(const QString& text) {
  return QDir::toNativeSeparators(text).toUtf8().toStdString();
}

std::optional<std::string> FileNameOfUrl(const QUrl& url) {
  // A drive's file or a share's (file://server/share/...): both are files this machine opens.
  if (!url.isLocalFile()) return std::nullopt;
  const QString path = url.toLocalFile();
  // A NUL would cut the name short at the open call, naming another file.
  if (path.isEmpty() || path.contains(QChar(u'\0'))) return std::nullopt;
  return FileNameOfText(path);
}

}  // namespace plotvik

#include <QByteArray>
#include <QDir>
#include <QFile>

#include "platform/gui/file_name_text.h"

namespace plotvik {

QString FileNameText(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string FileNameOfText(const QString& text) {
  return QFile::encodeName(QDir::toNativeSeparators(text)).toStdString();
}

std::optional<std::string> FileNameOfUrl(const QUrl& url) {
  // Only this machine's files: a host's name is no folder here.
  const QString host = url.host();
  if (url.scheme() != QStringLiteral("file") ||
      (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)) {
    return std::nullopt;
  }
  // The path's bytes as the file system has them: decoded to text, a name that is not UTF-8
  // would become another name.
  const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  // A NUL would cut the name short at the open call, naming another file.
  if (!path.startsWith('/') || path.contains('\0')) return std::nullopt;
  return path.toStdString();
}

}  // namespace plotvik

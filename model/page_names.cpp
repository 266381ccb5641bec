#include "model/page_names.h"

#include <QDir>
#include <QFileInfo>

QString NumberedPageName(const QString& namePrefix, int counter) {
  return namePrefix + QStringLiteral("%1").arg(counter, 2, 10, QLatin1Char('0')) + QStringLiteral(".htm");
}

QString NewPageName(const QString& projectFolder, const QString& namePrefix, const FileExistsFn& fileExists) {
  const QDir folder(projectFolder);
  for (int counter = 1; counter <= kLastPageCounter; ++counter) {
    const QString candidate = NumberedPageName(namePrefix, counter);
    const QString path = folder.filePath(candidate);
    const bool taken = fileExists ? fileExists(path) : QFileInfo::exists(path);
    if (!taken) return candidate;
  }
  return {};
}

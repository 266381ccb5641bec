#include "settings/recent_projects.h"

#include "platform/profile.h"

namespace {

constexpr int kHistorySize = 5;
constexpr qsizetype kValueCapacity = 1023;  // a 1024-character buffer with its terminator

QString HistorySection() { return QStringLiteral("FileHistory"); }

QString SlotKey(int slot) { return QStringLiteral("File%1").arg(slot + 1); }

// File1.. in order, stopping after the first empty value.
QStringList ReadSlots(const QByteArray& fileText) {
  QStringList entries;
  for (int i = 0; i < kHistorySize; ++i) {
    const QString value =
        ProfileValue(fileText, HistorySection(), SlotKey(i), QString()).left(kValueCapacity);
    if (value.isEmpty()) break;
    entries.append(value);
  }
  return entries;
}

}  // namespace

QStringList ReadRecentProjects(const QString& settingsPath) {
  return ReadSlots(ReadProfileFile(settingsPath));
}

QStringList HistoryAfterSave(const QStringList& entriesRead, const QString& projectPath) {
  QStringList entries = entriesRead.mid(0, kHistorySize);
  while (entries.size() < kHistorySize) entries.append(QString());
  int match = -1;
  for (int i = 0; i < kHistorySize; ++i)
    if (!entries[i].isEmpty() && entries[i] == projectPath) match = i;
  const int last = match >= 0 ? match : kHistorySize - 1;
  for (int i = last; i > 0; --i) entries[i] = entries[i - 1];
  entries[0] = projectPath;
  return entries;
}

Status AddToHistory(const QString& settingsPath, const QString& projectPath) {
  // One line per entry: a path holding a line break cannot be kept there
  // (it would add lines of its own to the settings file).
  if (projectPath.contains(u'\r') || projectPath.contains(u'\n')) return {};
  QByteArray fileText = ReadProfileFile(settingsPath);
  const QStringList entries = HistoryAfterSave(ReadSlots(fileText), projectPath);
  for (int i = 0; i < kHistorySize; ++i)
    fileText = SetProfileValue(fileText, HistorySection(), SlotKey(i), entries[i]);
  return WriteProfileFile(settingsPath, fileText);
}

Status RemoveFromHistory(const QString& settingsPath, const QString& projectPath) {
  QByteArray fileText = ReadProfileFile(settingsPath);
  QStringList entries = ReadSlots(fileText);
  entries.removeAll(projectPath);
  for (int i = 0; i < kHistorySize; ++i)
    fileText = SetProfileValue(fileText, HistorySection(), SlotKey(i), entries.value(i));
  return WriteProfileFile(settingsPath, fileText);
}

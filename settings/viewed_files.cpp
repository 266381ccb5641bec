#include "settings/viewed_files.h"

#include <QList>

#include "platform/profile.h"

namespace {

const QString kSection = QStringLiteral("Viewed files");

QString Key(const char* name, int number) { return QLatin1String(name) + QString::number(number); }

bool OnOneLine(const QString& text) { return !text.contains(u'\n') && !text.contains(u'\r'); }

QList<ViewedFile> ReadAll(const QByteArray& settings) {
  QList<ViewedFile> all;
  for (int number = 1; number <= kViewedFilesKept; ++number) {
    const QString file = ProfileValue(settings, kSection, Key("File", number), QString());
    if (file.isEmpty()) break;
    all.append({file, ProfileValue(settings, kSection, Key("Topic", number), QString()),
                QByteArray::fromBase64(
                    ProfileValue(settings, kSection, Key("Window", number), QString()).toLatin1())});
  }
  return all;
}

}  // namespace

std::optional<ViewedFile> ReadViewedFile(const QString& settingsFile, const QString& file) {
  if (file.isEmpty()) return std::nullopt;
  for (const ViewedFile& viewed : ReadAll(ReadProfileFile(settingsFile)))
    if (viewed.file == file) return viewed;
  return std::nullopt;
}

Status RememberViewedFile(const QString& settingsFile, const ViewedFile& viewed) {
  if (viewed.file.isEmpty() || !OnOneLine(viewed.file) || !OnOneLine(viewed.topic)) return {};
  QByteArray settings = ReadProfileFile(settingsFile);
  QList<ViewedFile> all = ReadAll(settings);
  const qsizetype before = all.size();
  all.removeIf([&](const ViewedFile& other) { return other.file == viewed.file; });
  all.prepend(viewed);
  if (all.size() > kViewedFilesKept) all.resize(kViewedFilesKept);
  // The keys of an entry that moved out at the end are emptied.
  for (int number = 1; number <= qMax(before, all.size()); ++number) {
    const ViewedFile entry = all.value(number - 1);
    settings = SetProfileValue(settings, kSection, Key("File", number), entry.file);
    settings = SetProfileValue(settings, kSection, Key("Topic", number), entry.topic);
    settings = SetProfileValue(settings, kSection, Key("Window", number),
                               QString::fromLatin1(entry.window.toBase64()));
  }
  return WriteProfileFile(settingsFile, settings);
}

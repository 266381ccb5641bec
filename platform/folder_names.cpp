#include "platform/folder_names.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED | IN_Q_OVERFLOW;

}  // namespace

FolderNames& FolderNames::operator=(const FolderNames& other) {
  if (this != &other) Forget();
  return *this;
}

FolderNames::~FolderNames() { Forget(); }

void FolderNames::Forget() {
  if (changes >= 0) ::close(changes);
  changes = -1;
  folder.clear();
  names.clear();
}

void FolderNames::Look(const QString& path) {
  if (path == folder && changes >= 0 && ApplyChanges()) return;
  Forget();
  folder = path;
  // Watched before the listing, so that no change made meanwhile is missed:
  // a change reported again afterwards leaves the names as they are.
  changes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (changes >= 0 && inotify_add_watch(changes, QFile::encodeName(path).constData(),
                                        kNameChanges | IN_ONLYDIR | kFolderGone) < 0) {
    ::close(changes);
    changes = -1;
  }
  List();
}

void FolderNames::List() {
  names.clear();
  ++losses;
  const QStringList entries = QDir(folder).entryList(
      QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& entry : entries) names[entry.toCaseFolded()].append(entry);
}

bool FolderNames::ApplyChanges() {
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t size = ::read(changes, buffer, sizeof buffer);
    if (size < 0 && errno == EINTR) continue;
    if (size < 0) return errno == EAGAIN;  // nothing more reported
    if (size == 0) return false;
    for (ssize_t at = 0; at < size;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & kFolderGone) return false;
      if (event->len == 0) continue;
      const QString name = QFile::decodeName(event->name);
      if (event->mask & (IN_CREATE | IN_MOVED_TO)) Add(name);
      if (event->mask & (IN_DELETE | IN_MOVED_FROM)) Remove(name);
    }
  }
}

void FolderNames::Add(const QString& name) {
  QStringList& held = names[name.toCaseFolded()];
  const auto at = std::lower_bound(held.begin(), held.end(), name);
  if (at == held.end() || *at != name) held.insert(at, name);
}

void FolderNames::Remove(const QString& name) {
  const auto it = names.find(name.toCaseFolded());
  if (it == names.end() || !it->removeOne(name)) return;
  if (it->isEmpty()) names.erase(it);
  // Hidden names (a writer's part renamed to its target) do not count.
  if (!name.startsWith(u'.')) ++losses;
}

QString FolderNames::Find(const QString& name) const {
  const auto it = names.constFind(name.toCaseFolded());
  return it == names.constEnd() ? QString() : it->first();
}

// Where decompiled sources go: one folder, never left and never written
// through a link; the files already there and the compiled file being read
// are kept unless the user allows overwriting; and what is written is
// bounded by what it costs on disk, a block at least per file and folder.
#pragma once

#include <QSet>
#include <QString>

#include <functional>

#include "platform/result.h"

namespace orvex {

// The folder as the system resolves it: symbolic links followed in the part
// that exists, the rest appended. Absolute and clean.
QString ResolvedFolder(const QString& folder);

// True for a folder that may not take decompiled sources: empty, the root
// of the file system, or a system folder (/etc, /usr, ... and below),
// judged on the resolved path.
bool IsSystemFolder(const QString& resolvedFolder);

// The least a file or folder costs on disk.
constexpr quint64 kDiskBlock = 4096;

// What a file of length bytes costs on disk: whole blocks, one at least.
quint64 DiskCostOf(quint64 length);

using PieceSink = std::function<bool(const QByteArray&)>;
// Hands the content to the sink in pieces; the failure says why it could
// not be read (a failing sink ends it early, its own failure is kept apart).
using ContentSource = std::function<Status(const PieceSink&)>;

class DecompileOutput {
 public:
  // root: an existing folder, resolved. keep: the file that is never
  // replaced (the compiled file being read).
  DecompileOutput(QString root, quint64 limit, bool overwrite, const QString& keep);

  // Whether a file of length bytes under name (folder-relative, '/'
  // between parts) still fits the limit with the folders it needs.
  bool Fits(const QString& name, quint64 length) const;

  // Writes the file, creating its folders, and counts what it costs. The
  // failure says why, naming the file and the system's reason.
  Status Write(const QString& name, quint64 length, const ContentSource& content);

  const QString& Root() const { return root; }
  quint64 Limit() const { return limit; }

 private:
  Result<QString> MakeFolders(const QStringList& parts);
  quint64 FolderCost(const QStringList& parts) const;

  QString root;
  quint64 limit;
  bool overwrite;
  quint64 keepDevice = 0;
  quint64 keepInode = 0;
  bool hasKeep = false;
  quint64 used = 0;
  QSet<QString> folders;  // folders checked or made, full paths
};

}  // namespace orvex

// The names in one folder, looked up without letter case as Windows projects
// write them. The folder is listed once; after that the system reports each
// name made, removed or renamed there (by this program or any other), and the
// names are kept up to date from those reports, so that making many files one
// after the other does not list the folder each time. Where the system cannot
// report changes, the folder is listed at each look.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class FolderNames {
 public:
  FolderNames() = default;
  // A copy holds nothing and lists its folder at its first look.
  FolderNames(const FolderNames&) {}
  FolderNames& operator=(const FolderNames&);
  ~FolderNames();

  // Brings the names of `folder` up to date: the changes reported since the
  // last look, or a listing for a folder not held yet.
  void Look(const QString& folder);
  // The entry of the folder last looked at whose name equals `name` without
  // case (the first in sorted order when several do), or empty.
  QString Find(const QString& name) const;
  // How many times a name not beginning with "." went away or the folder was
  // listed again: while it stays the same, every such name taken at a look is
  // still taken.
  quint64 Losses() const { return losses; }

 private:
  void Forget();
  void List();
  // Applies the reported changes; false when they cannot tell what changed.
  bool ApplyChanges();
  void Add(const QString& name);
  void Remove(const QString& name);

  QString folder;
  int changes = -1;                   // the descriptor reporting the folder's changes
  QHash<QString, QStringList> names;  // case-folded name -> names on disk, sorted
  quint64 losses = 0;
};

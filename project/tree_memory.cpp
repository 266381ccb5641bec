#include "project/tree_memory.h"

#include <QAbstractItemModel>
#include <QCryptographicHash>
#include <QStringList>
#include <QTreeView>

#include "platform/profile.h"

namespace {

// One section per project: "Trees" and the start of the path's digest (a
// path may hold what a section name cannot); the path itself is kept to
// tell two projects apart.
QString SectionOf(const QString& projectFile) {
  return QStringLiteral("Trees ") +
         QString::fromLatin1(
             QCryptographicHash::hash(projectFile.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

// An item as the rows leading to it: "0/2/1".
QString RowPath(QModelIndex index) {
  QStringList rows;
  for (; index.isValid(); index = index.parent()) rows.prepend(QString::number(index.row()));
  return rows.join(u'/');
}

QModelIndex IndexAt(const QAbstractItemModel* model, const QString& rowPath) {
  QModelIndex index;
  for (const QString& row : rowPath.split(u'/', Qt::SkipEmptyParts)) {
    bool ok = false;
    const int number = row.toInt(&ok);
    if (!ok || number < 0 || number >= model->rowCount(index)) return {};
    index = model->index(number, 0, index);
  }
  return index;
}

void CollectExpanded(const QTreeView* tree, const QModelIndex& parent, QStringList& paths) {
  const QAbstractItemModel* model = tree->model();
  for (int row = 0; row < model->rowCount(parent); ++row) {
    const QModelIndex item = model->index(row, 0, parent);
    if (!tree->isExpanded(item)) continue;
    paths << RowPath(item);
    CollectExpanded(tree, item, paths);
  }
}

QString ExpandedItems(const QTreeView* tree) {
  QStringList paths;
  if (tree && tree->model()) CollectExpanded(tree, {}, paths);
  return paths.join(u';');
}

void Expand(QTreeView* tree, const QString& paths) {
  if (!tree || !tree->model()) return;
  for (const QString& path : paths.split(u';', Qt::SkipEmptyParts))
    if (const QModelIndex item = IndexAt(tree->model(), path); item.isValid()) tree->expand(item);
}

}  // namespace

Status RememberTrees(const QString& settingsFile, const QString& projectFile, const QTreeView* contentsTree,
                     const QTreeView* indexTree) {
  const QString section = SectionOf(projectFile);
  QByteArray settings = ReadProfileFile(settingsFile);
  settings = SetProfileValue(settings, section, QStringLiteral("Project"), projectFile);
  settings = SetProfileValue(settings, section, QStringLiteral("Contents"), ExpandedItems(contentsTree));
  settings = SetProfileValue(settings, section, QStringLiteral("Index"), ExpandedItems(indexTree));
  settings =
      SetProfileValue(settings, section, QStringLiteral("Selected"), RowPath(contentsTree->currentIndex()));
  return WriteProfileFile(settingsFile, settings);
}

bool RestoreTrees(const QString& settingsFile, const QString& projectFile, QTreeView* contentsTree,
                  QTreeView* indexTree) {
  const QString section = SectionOf(projectFile);
  const QByteArray settings = ReadProfileFile(settingsFile);
  if (ProfileValue(settings, section, QStringLiteral("Project"), QString()) != projectFile) return false;
  Expand(contentsTree, ProfileValue(settings, section, QStringLiteral("Contents"), QString()));
  Expand(indexTree, ProfileValue(settings, section, QStringLiteral("Index"), QString()));
  const QString selected = ProfileValue(settings, section, QStringLiteral("Selected"), QString());
  const QModelIndex item = IndexAt(contentsTree->model(), selected);
  if (selected.isEmpty() || !item.isValid()) return false;
  contentsTree->setCurrentIndex(item);
  return true;
}

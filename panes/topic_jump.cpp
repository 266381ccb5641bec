#include "panes/topic_jump.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeView>

#include "model/contents_model.h"

namespace {

QModelIndex FindBelow(const ContentsModel& contents, const QString& page, const QModelIndex& parent) {
  for (int row = 0; row < contents.rowCount(parent); ++row) {
    const QModelIndex node = contents.index(row, 0, parent);
    if (const TopicData* topic = contents.RecordAt(node)) {
      QString name = topic->fileName.section(u'#', 0, 0).trimmed();
      name.replace(u'\\', u'/');
      if (name.startsWith(QLatin1String("./"))) name = name.mid(2);
      if (name.compare(page, Qt::CaseInsensitive) == 0) return node;
    }
    const QModelIndex below = FindBelow(contents, page, node);
    if (below.isValid()) return below;
  }
  return {};
}

}  // namespace

QModelIndex FindTopicOfPage(const ContentsModel& contents, const QString& page) {
  QString wanted = page;
  wanted.replace(u'\\', u'/');
  return FindBelow(contents, wanted.section(u'#', 0, 0), QModelIndex());
}

bool OpenTopicAtLine(const TopicJumpViews& views, const QString& page, int line, int column) {
  const QModelIndex topic = page.isEmpty() ? QModelIndex() : FindTopicOfPage(*views.contents, page);
  if (!topic.isValid()) return false;
  views.contentsTree->setCurrentIndex(topic);
  views.contentsTree->scrollTo(topic);
  if (views.contentsTree->currentIndex() != topic) return false;
  views.editorTabs->setCurrentIndex(1);
  QPlainTextEdit* source = views.sourceView;
  const QTextBlock block = source->document()->findBlockByNumber(std::max(line, 1) - 1);
  if (block.isValid()) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::min(column, block.length() - 1));
    source->setTextCursor(cursor);
    source->centerCursor();
  }
  source->setFocus();
  return true;
}

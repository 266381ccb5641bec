#include "app/message_topics.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTreeView>

#include "app/compiler_messages.h"
#include "model/contents_model.h"
#include "panes/topic_editing.h"

namespace {

// Page names as the compiler writes them and as topics hold them compare
// without case, "\" and "/" alike.
QString PageKey(QString page) {
  page.replace(u'\\', u'/');
  if (page.startsWith(QLatin1String("./"))) page.remove(0, 2);
  return page.toCaseFolded();
}

QModelIndex TopicShowing(const ContentsModel* model, const QString& key, const QModelIndex& parent = {}) {
  for (int row = 0; row < model->rowCount(parent); ++row) {
    const QModelIndex item = model->index(row, 0, parent);
    if (const TopicData* topic = model->RecordAt(item); topic && PageKey(topic->fileName) == key) return item;
    if (const QModelIndex found = TopicShowing(model, key, item); found.isValid()) return found;
  }
  return {};
}

}  // namespace

void ConnectMessageTopics(CompilerMessagesWindow* messages, QTreeView* contentsTree, TopicEditing* topics,
                          QPlainTextEdit* sourceView) {
  const auto find = [contentsTree](const QString& page) {
    const auto* model = dynamic_cast<const ContentsModel*>(contentsTree->model());
    return model ? TopicShowing(model, PageKey(page)) : QModelIndex();
  };
  messages->topicTitleOf = [find](const QString& page) { return find(page).data().toString(); };
  messages->openTopic = [find, contentsTree, topics, sourceView](const QString& page, int line) {
    const QModelIndex topic = find(page);
    if (!topic.isValid()) return;
    contentsTree->setCurrentIndex(topic);
    if (line <= 0) {
      contentsTree->setFocus();
      return;
    }
    topics->ShowTab(1, [view = QPointer<QPlainTextEdit>(sourceView), line] {
      if (!view) return;
      const QTextBlock block = view->document()->findBlockByNumber(line - 1);
      if (block.isValid()) {
        QTextCursor cursor(block);
        view->setTextCursor(cursor);
        view->centerCursor();
      }
      view->activateWindow();
      view->setFocus();
    });
  };
}

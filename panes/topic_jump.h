// Opening a topic by its page from a list of findings (problems, matches):
// the topic is selected in the Contents tree and its page shown in the
// Source view at a line.
#pragma once

#include <QModelIndex>
#include <QString>

class ContentsModel;
class QPlainTextEdit;
class QTabWidget;
class QTreeView;

// The first Contents item (in tree order) whose page is `page`, relative to
// the project folder; letter case, "\" and "#anchor" do not count.
QModelIndex FindTopicOfPage(const ContentsModel& contents, const QString& page);

struct TopicJumpViews {
  QTreeView* contentsTree = nullptr;
  const ContentsModel* contents = nullptr;  // shown by contentsTree
  QTabWidget* editorTabs = nullptr;         // Editor / Source
  QPlainTextEdit* sourceView = nullptr;
};

// Selects the topic of `page` and shows its source with the caret at the
// start of `line` (1-based; `column` characters in). False when no topic
// has that page, or the selection could not move (the page being edited
// could not be stored).
bool OpenTopicAtLine(const TopicJumpViews& views, const QString& page, int line, int column = 0);

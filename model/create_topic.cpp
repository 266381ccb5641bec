// New topics and subtopics: a node, a numbered page from the template and a
// context number.
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/tree_nodes.h"
#include "project/page_template.h"

namespace {
// The input box of both commands; empty optional on Cancel.
std::optional<QString> AskTitle(QWidget* parent) {
  bool ok = false;
  const QString title =
      QInputDialog::getText(parent, " New topic ", "Title:", QLineEdit::Normal, QString(), &ok);
  if (!ok) return std::nullopt;
  return title;
}
}  // namespace

bool MainWindow::CreateTopic(const QString& title, bool asSubtopic) {
  QTreeWidgetItem* selected = contentsTree->currentItem();
  // 1. The page being left is stored; a failure keeps it and stops here.
  if (!StoreSelectedTopic(selected)) return true;
  // 2. The first free numbered page name.
  const QString fileName = project.NewPageName();
  if (fileName.isEmpty()) {
    const QString prefix = project.NamePrefix();
    QMessageBox::information(
        this, "Orvex",
        "No free page name is left: the pages " + prefix + "01.htm to " + prefix + "99.htm all exist.");
    return false;
  }
  auto record = std::make_unique<TopicData>();
  record->FileName = fileName;
  // 3. After the last sibling of the selected node, or as its last child.
  auto* node = new ContentsItem(title, std::move(record));
  if (asSubtopic && selected)
    selected->addChild(node);
  else if (selected && selected->parent())
    selected->parent()->addChild(node);
  else
    contentsTree->addTopLevelItem(node);
  // 4. Selecting it stores nothing more and loads nothing (no page yet).
  {
    const QSignalBlocker block(contentsTree);
    contentsTree->setCurrentItem(node);
  }
  LoadSelectedTopic(node);
  // 5.-8. The page from the template, in both views and on disk.
  if (!asSubtopic) {
    editor->NewDocument();
    WaitEditorIdle(editor);
  }
  const QString page = BuildTopicPage(title, project.ProjectFile(), project.ProjectLines());
  editor->SetBaseURL(project.Folder());
  editor->SetDocumentHTML(page);
  SetMemoText(page);
  WaitEditorIdle(editor);
  const Status stored = StoreEditorPage(project.PagePath(fileName));
  WaitEditorIdle(editor);
  if (!ReportFailure(stored)) return false;
  // 9.-10. The label shows the new number at once.
  project.AddContextEntries(fileName);
  project.SetModified();
  ShowContextNumber();
  return true;
}

void MainWindow::NewTopic() {
  if (const auto title = AskTitle(this)) {
    CreateTopic(*title);
    WaitEditorIdle(editor);
  }
}

void MainWindow::NewSubtopic() {
  if (const auto title = AskTitle(this)) {
    CreateTopic(*title, true);
    WaitEditorIdle(editor);
  }
}

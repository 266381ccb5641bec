// New topics and subtopics: a node, a numbered page from the template and a
// context number.
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTreeView>

#include "panes/contents_pane.h"

#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/page_names.h"
#include "model/topic_rules.h"
#include "panes/topic_editing.h"
#include "panes/tree_undo.h"
#include "formats/project/page_template.h"

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

bool ContentsPane::CreateTopic(const QString& title, bool asSubtopic) {
  if (!IsUsableTitle(title)) {
    QMessageBox::warning(views.window, "Orvex", kEmptyTitleMessage);
    return false;
  }
  const QModelIndex selected = views.contentsTree->currentIndex();
  // 1. The page being left is stored; a failure keeps it and stops here.
  if (!topics.StoreSelectedTopic(selected)) return true;
  // 2. The first free numbered page name.
  const QString fileName = project.NewPageName();
  if (fileName.isEmpty()) {
    const QString prefix = project.NamePrefix();
    QMessageBox::information(views.window, "Orvex",
                             "No free page name is left: the pages " + NumberedPageName(prefix, 1) + " to " +
                                 NumberedPageName(prefix, kLastPageCounter) + " are all taken.");
    return false;
  }
  // Undo puts the lines back; the Index is not touched.
  TreeUndo::Before before;
  before.lines = project.AllLines();
  // 3. Right after the selected node, or as its last child.
  const QModelIndex node = views.contents->CreateTopic(selected, title, fileName, asSubtopic);
  // 4. Selecting it stores nothing more and loads nothing (no page yet).
  {
    const TopicEditing::QuietSelection quiet(topics);
    views.contentsTree->setCurrentIndex(node);
  }
  topics.LoadSelectedTopic(node);
  // 5.-8. The page from the template, in both views and on disk.
  if (!asSubtopic) views.editor->NewDocument();
  const QString page = BuildTopicPage(title, project.ProjectFile(), project.ProjectLines());
  views.editor->SetBaseURL(project.Folder());
  views.editor->SetDocumentHTML(page);
  topics.SetSourceText(page);
  // The file gets the page as the template made it, which the editor shows.
  const Status stored = topics.StoreSourcePage(project.PagePath(fileName));
  if (!ReportFailure(views.window, stored)) return false;
  // 9.-10. The label shows the new number at once.
  project.AddContextEntries(fileName);
  project.SetModified();
  topics.ShowContextNumber();
  if (undo) undo->TopicCreated(node, std::move(before), {TopicPageFile{project.PagePath(fileName)}});
  return true;
}

void ContentsPane::NewTopic() {
  if (const auto title = AskTitle(views.window)) {
    const QString made = *title;
    views.editor->Settle(this, [this, made] { CreateTopic(made); });
  }
}

void ContentsPane::NewSubtopic() {
  if (const auto title = AskTitle(views.window)) {
    const QString made = *title;
    views.editor->Settle(this, [this, made] { CreateTopic(made, true); });
  }
}

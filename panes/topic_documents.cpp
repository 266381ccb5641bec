// How a topic's page travels between its file, the editor and the source
// view, also when the user switches between the two views.
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QTreeView>

#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "panes/topic_editing.h"
#include "platform/text_file.h"

bool ReportFailure(QWidget* parent, const Status& status) {
  if (!status) QMessageBox::critical(parent, "Error", status.Message());
  return status.Ok();
}

TopicEditing::TopicEditing(HelpProject& helpProject, Views paneViews, QObject* parent)
    : QObject(parent), project(helpProject), views(paneViews) {
  // An edit marks the helpProject changed at once, so the title shows "*": the
  // editor's pushed change count moved on a changed page, or the source
  // view took its first change.
  connect(views.editor, &EditingControl::OnDisplayChanged, this, [this] {
    const EditorState& state = views.editor->State();
    if (state.version == seenEditorVersion) return;
    seenEditorVersion = state.version;
    if (state.modified && !selectionOff) project.SetModified();
  });
  connect(views.sourceView->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
    if (changed && SourceInUse()) project.SetModified();
  });
  connect(views.editorTabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == currentTab) return;
    const int from = currentTab;
    // With nothing outstanding in the editor the page goes to the other view
    // at once; refused, the tab left comes back.
    if (views.editor->Settled() && (from != 0 || views.editor->HtmlCurrent())) {
      if (EditorTabChanging()) {
        currentTab = index;
        TabSwitchEnded(index, true);
        return;
      }
      const QSignalBlocker block(views.editorTabs);
      views.editorTabs->setCurrentIndex(currentTab);
      TabSwitchEnded(index, false);
      return;
    }
    // Otherwise the tab left stays until the editor has answered.
    {
      const QSignalBlocker block(views.editorTabs);
      views.editorTabs->setCurrentIndex(currentTab);
    }
    views.editor->Settle(
        this,
        [this, index, from] {
          if (currentTab != from || !EditorTabChanging()) {
            TabSwitchEnded(index, false);
            return;
          }
          currentTab = index;
          {
            const QSignalBlocker block(views.editorTabs);
            views.editorTabs->setCurrentIndex(index);
          }
          TabSwitchEnded(index, true);
        },
        from == 0);
  });
  connect(views.contentsTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TopicEditing::SelectionChanged);
  connect(views.copyContextButton, &QPushButton::clicked, this, &TopicEditing::CopyContextNumber);
  SetPageLoaded(false);
}

Status TopicEditing::LoadTopicPage(const QString& path) {
  const Result<QStringList> lines = ReadLinesFile(path, project.CodePage());
  if (!lines) return Fail(lines.Message());
  const QString text = JoinLines(*lines);
  // The base folder first, so the page is not served twice.
  views.editor->SetBaseURL(project.Folder());
  views.editor->SetDocumentHTML(CardObjectsToButtons(text));
  SetSourceText(text);
  // The editor finishes loading on its own: what is sent to it meanwhile
  // goes to the new page once it is there.
  return {};
}

Status TopicEditing::StoreEditorPage(const QString& path) {
  const std::optional<QStringList> lines = EditorPageLines();
  // Writing the page as it was loaded would silently drop the edits.
  if (!lines) return Fail("The editor did not answer: " + path + " was not stored.");
  return WriteLinesFile(path, *lines, project.CodePage());
}

std::optional<QStringList> TopicEditing::EditorPageLines() {
  if (!views.editor->HtmlCurrent()) return std::nullopt;
  return SplitLines(CardButtonsToObjects(views.editor->DocumentHTML()));
}

Status TopicEditing::StoreSourcePage(const QString& path) {
  // The source view already holds the stored form; its lines get CR LF ends.
  return WriteTextFile(path, SourceText(), project.CodePage());
}

void TopicEditing::SetSourceText(const QString& pageText) {
  // The view keeps lines apart with LF; SourceText gives the CR LF ends back.
  views.sourceView->setPlainText(QString(pageText).replace("\r\n", "\n").replace('\r', '\n'));
  views.sourceView->document()->setModified(false);
}

QString TopicEditing::SourceText() const {
  // QPlainTextEdit keeps lines apart with LF; the file's line ends are CR LF.
  QString text = views.sourceView->toPlainText();
  text.replace('\n', "\r\n");
  return text;
}

void TopicEditing::ShowTab(int index, std::function<void()> shown) {
  if (index == currentTab) {
    whenTabShown = nullptr;
    if (shown) shown();
    return;
  }
  whenTabShown = std::move(shown);
  tabAwaited = index;
  views.editorTabs->setCurrentIndex(index);
}

bool TopicEditing::TabsCanSwitch() const { return views.formatToolbar->isEnabled(); }

void TopicEditing::TabSwitchEnded(int index, bool done) {
  if (index != tabAwaited) return;
  tabAwaited = -1;
  std::function<void()> shown = std::move(whenTabShown);
  whenTabShown = nullptr;
  if (done && shown) shown();
}

bool TopicEditing::EditorTabChanging() {
  if (!TabsCanSwitch()) return false;
  const TopicData* topic = views.contents->RecordAt(views.contentsTree->currentIndex());
  if (currentTab == 0) {
    // Editor -> Source: the editor's changed page is stored and replaces the
    // source view's text; an unchanged page stays there as its file has it.
    if (views.editor->Modified()) {
      if (!topic) return true;
      if (!Report(StoreEditorPage(project.PagePath(topic->fileName)))) return false;
      SetSourceText(CardButtonsToObjects(views.editor->DocumentHTML()));
    } else if (views.sourceView->toPlainText().isEmpty()) {
      SetSourceText(CardButtonsToObjects(views.editor->DocumentHTML()));
    }
    return true;
  }
  // Source -> Editor: the source view's text replaces the page file (when it
  // differs from it, or there is none yet) and the editor's page.
  if (!topic) return true;
  const QString path = project.PagePath(topic->fileName);
  const Result<QStringList> stored = ReadLinesFile(path, project.CodePage());
  if (!stored || *stored != SplitLines(SourceText())) {
    if (!Report(StoreSourcePage(path))) return false;
    views.sourceView->document()->setModified(false);
  }
  if (QFileInfo(path).isFile()) {
    views.editor->SetBaseURL(project.Folder());
    views.editor->SetDocumentHTML(CardObjectsToButtons(SourceText()));
  }
  return true;
}

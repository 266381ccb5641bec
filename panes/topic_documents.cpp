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

TopicEditing::TopicEditing(HelpProject& project, Views views, QObject* parent)
    : QObject(parent), m_project(project), m_views(views) {
  // An edit marks the project changed at once, so the title shows "*": the
  // editor's pushed change count moved on a changed page, or the source
  // view took its first change.
  connect(m_views.editor, &EditingControl::OnDisplayChanged, this, [this] {
    const EditorState& state = m_views.editor->State();
    if (state.version == m_seenEditorVersion) return;
    m_seenEditorVersion = state.version;
    if (state.modified && !m_selectionOff) m_project.SetModified();
  });
  connect(m_views.sourceView->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
    if (changed && SourceInUse()) m_project.SetModified();
  });
  connect(m_views.editorTabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == m_currentTab) return;
    const int from = m_currentTab;
    // With nothing outstanding in the editor the page goes to the other view
    // at once; refused, the tab left comes back.
    if (m_views.editor->Settled() && (from != 0 || m_views.editor->HtmlCurrent())) {
      if (EditorTabChanging()) {
        m_currentTab = index;
        TabSwitchEnded(index, true);
        return;
      }
      const QSignalBlocker block(m_views.editorTabs);
      m_views.editorTabs->setCurrentIndex(m_currentTab);
      TabSwitchEnded(index, false);
      return;
    }
    // Otherwise the tab left stays until the editor has answered.
    {
      const QSignalBlocker block(m_views.editorTabs);
      m_views.editorTabs->setCurrentIndex(m_currentTab);
    }
    m_views.editor->Settle(
        this,
        [this, index, from] {
          if (m_currentTab != from || !EditorTabChanging()) {
            TabSwitchEnded(index, false);
            return;
          }
          m_currentTab = index;
          {
            const QSignalBlocker block(m_views.editorTabs);
            m_views.editorTabs->setCurrentIndex(index);
          }
          TabSwitchEnded(index, true);
        },
        from == 0);
  });
  connect(m_views.contentsTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TopicEditing::SelectionChanged);
  connect(m_views.copyContextButton, &QPushButton::clicked, this, &TopicEditing::CopyContextNumber);
  SetPageLoaded(false);
}

Status TopicEditing::LoadTopicPage(const QString& path) {
  const Result<QStringList> lines = ReadLinesFile(path, m_project.CodePage());
  if (!lines) return Fail(lines.Message());
  const QString text = JoinLines(*lines);
  // The base folder first, so the page is not served twice.
  m_views.editor->SetBaseURL(m_project.Folder());
  m_views.editor->SetDocumentHTML(CardObjectsToButtons(text));
  SetSourceText(text);
  // The editor finishes loading on its own: what is sent to it meanwhile
  // goes to the new page once it is there.
  return {};
}

Status TopicEditing::StoreEditorPage(const QString& path) {
  const std::optional<QStringList> lines = EditorPageLines();
  // Writing the page as it was loaded would silently drop the edits.
  if (!lines) return Fail("The editor did not answer: " + path + " was not stored.");
  return WriteLinesFile(path, *lines, m_project.CodePage());
}

std::optional<QStringList> TopicEditing::EditorPageLines() {
  if (!m_views.editor->HtmlCurrent()) return std::nullopt;
  return SplitLines(CardButtonsToObjects(m_views.editor->DocumentHTML()));
}

Status TopicEditing::StoreSourcePage(const QString& path) {
  // The source view already holds the stored form; its lines get CR LF ends.
  return WriteTextFile(path, SourceText(), m_project.CodePage());
}

void TopicEditing::SetSourceText(const QString& pageText) {
  // The view keeps lines apart with LF; SourceText gives the CR LF ends back.
  m_views.sourceView->setPlainText(QString(pageText).replace("\r\n", "\n").replace('\r', '\n'));
  m_views.sourceView->document()->setModified(false);
}

QString TopicEditing::SourceText() const {
  // QPlainTextEdit keeps lines apart with LF; the file's line ends are CR LF.
  QString text = m_views.sourceView->toPlainText();
  text.replace('\n', "\r\n");
  return text;
}

void TopicEditing::ShowTab(int index, std::function<void()> shown) {
  if (index == m_currentTab) {
    m_whenTabShown = nullptr;
    if (shown) shown();
    return;
  }
  m_whenTabShown = std::move(shown);
  m_tabAwaited = index;
  m_views.editorTabs->setCurrentIndex(index);
}

bool TopicEditing::TabsCanSwitch() const { return m_views.formatToolbar->isEnabled(); }

void TopicEditing::TabSwitchEnded(int index, bool done) {
  if (index != m_tabAwaited) return;
  m_tabAwaited = -1;
  std::function<void()> shown = std::move(m_whenTabShown);
  m_whenTabShown = nullptr;
  if (done && shown) shown();
}

bool TopicEditing::EditorTabChanging() {
  if (!TabsCanSwitch()) return false;
  const TopicData* topic = m_views.contents->RecordAt(m_views.contentsTree->currentIndex());
  if (m_currentTab == 0) {
    // Editor -> Source: the editor's changed page is stored and replaces the
    // source view's text; an unchanged page stays there as its file has it.
    if (m_views.editor->Modified()) {
      if (!topic) return true;
      if (!Report(StoreEditorPage(m_project.PagePath(topic->FileName)))) return false;
      SetSourceText(CardButtonsToObjects(m_views.editor->DocumentHTML()));
    } else if (m_views.sourceView->toPlainText().isEmpty()) {
      SetSourceText(CardButtonsToObjects(m_views.editor->DocumentHTML()));
    }
    return true;
  }
  // Source -> Editor: the source view's text replaces the page file (when it
  // differs from it, or there is none yet) and the editor's page.
  if (!topic) return true;
  const QString path = m_project.PagePath(topic->FileName);
  const Result<QStringList> stored = ReadLinesFile(path, m_project.CodePage());
  if (!stored || *stored != SplitLines(SourceText())) {
    if (!Report(StoreSourcePage(path))) return false;
    m_views.sourceView->document()->setModified(false);
  }
  if (QFileInfo(path).isFile()) {
    m_views.editor->SetBaseURL(m_project.Folder());
    m_views.editor->SetDocumentHTML(CardObjectsToButtons(SourceText()));
  }
  return true;
}

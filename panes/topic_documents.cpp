// How a topic's page travels between its file, the editor and the source
// view, also when the user switches between the two views.
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
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
  connect(m_views.editorTabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == m_currentTab) return;
    if (EditorTabChanging()) {
      m_currentTab = index;
      return;
    }
    // Refused: back to the tab that was left.
    const QSignalBlocker block(m_views.editorTabs);
    m_views.editorTabs->setCurrentIndex(m_currentTab);
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
  SetMemoText(text);
  // The editor finishes loading on its own: every later call on it waits
  // for that, so the selection does not have to.
  return {};
}

Status TopicEditing::StoreEditorPage(const QString& path) {
  const std::optional<QStringList> lines = EditorPageLines();
  // Writing the page as it was loaded would silently drop the edits.
  if (!lines) return Fail("The editor did not answer: " + path + " was not stored.");
  return WriteLinesFile(path, *lines, m_project.CodePage());
}

std::optional<QStringList> TopicEditing::EditorPageLines() {
  const std::optional<QString> html = m_views.editor->TryDocumentHTML();
  if (!html) return std::nullopt;
  return SplitLines(CardButtonsToObjects(*html));
}

Status TopicEditing::StoreSourcePage(const QString& path) {
  // The source view already holds the stored form; its lines get CR LF ends.
  return WriteTextFile(path, MemoText(), m_project.CodePage());
}

void TopicEditing::SetMemoText(const QString& pageText) {
  // The view keeps lines apart with LF; MemoText gives the CR LF ends back.
  m_views.sourceView->setPlainText(QString(pageText).replace("\r\n", "\n").replace('\r', '\n'));
  m_views.sourceView->document()->setModified(false);
}

QString TopicEditing::MemoText() const {
  // QPlainTextEdit keeps lines apart with LF; the file's line ends are CR LF.
  QString text = m_views.sourceView->toPlainText();
  text.replace('\n', "\r\n");
  return text;
}

bool TopicEditing::EditorTabChanging() {
  if (!m_views.formatToolbar->isEnabled()) return false;
  const TopicData* topic = m_views.contents->RecordAt(m_views.contentsTree->currentIndex());
  if (m_currentTab == 0) {
    // Editor -> Source: the editor's page replaces the memo's text.
    if (StatusEnabled(m_views.editor->QueryStatus(decmd::Undo))) {
      if (!topic) return true;
      if (!Report(StoreEditorPage(m_project.PagePath(topic->FileName)))) return false;
    }
    const QString stored = CardButtonsToObjects(m_views.editor->DocumentHTML());
    SetMemoText(stored);
    WaitEditorIdle(m_views.editor);
    return true;
  }
  // Source -> Editor: the memo's text replaces the page file and the editor's page.
  if (!topic) return true;
  const QString path = m_project.PagePath(topic->FileName);
  if (!Report(StoreSourcePage(path))) return false;
  if (QFileInfo(path).isFile()) {
    m_views.editor->SetBaseURL(m_project.Folder());
    m_views.editor->SetDocumentHTML(CardObjectsToButtons(MemoText()));
    WaitEditorIdle(m_views.editor);
  }
  return true;
}

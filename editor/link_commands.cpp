// Links and pictures: a link to another topic picked in "Select topic", links
// to outside pages and pictures through the control's own dialogs, and the
// picture file brought into the project folder.
#include <QAction>
#include <QMenu>

#include "editor/editor_commands.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/link_rules.h"

void EditorCommands::LinkToTopic() {
  LinkDialog* dialog = m_linkDialog;
  if (!dialog) return;
  dialog->SetContents(w.contents);
  if (dialog->exec() != QDialog::Accepted) return;
  // The selection, as plain text, becomes the link's text; without one the
  // topic's title is inserted at the caret. The anchor replaces the selection
  // in one step, so the clipboard keeps what it held and the blanks around
  // the selection stay plain blanks.
  TextRange range = w.editor->SelectionRange();
  const QString linkText = StatusEnabled(w.editor->QueryStatus(decmd::Cut)) ? range.text() : QString();
  range.pasteHTML(TopicAnchor(dialog->ChosenFile, linkText.isEmpty() ? dialog->ChosenCaption : linkText));
}

void EditorCommands::LinkToExternalPage() { EditorCommand(decmd::Hyperlink, decmd::PromptUser); }

void EditorCommands::RemoveLink() { EditorCommand(decmd::Unlink, decmd::Default); }

void EditorCommands::PrepareLinkMenu() {
  const bool on = StatusEnabled(w.editor->QueryStatus(decmd::Hyperlink));
  w.linkToTopicAction->setEnabled(on);
  w.linkToPageAction->setEnabled(on);
}

void EditorCommands::PrepareEditorLinkMenu() {
  w.removeLinkAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::Unlink)));
  const bool on = StatusEnabled(w.editor->QueryStatus(decmd::Hyperlink));
  w.editorLinkToTopicAction->setEnabled(on);
  w.editorLinkToPageAction->setEnabled(on);
}

void EditorCommands::InsertPicture() {
  QPointer<EditorCommands> self(this);
  EditorCommand(decmd::Image, decmd::PromptUser);
  if (!self) return;
  WaitEditorIdle(w.editor);
  if (!self) return;
  // The picture just inserted stands before the caret.
  TextRange range = w.editor->SelectionRange();
  range.moveStart("character", -1);
  const PictureSource src = FindPictureSrc(range.htmltext());
  if (!src.Found) return;
  // A picture from elsewhere is copied into the project folder; either way the
  // page refers to it relative to that folder.
  const Result<QString> adopted = AdoptPicture(src.Path, m_project.projectFolder());
  if (!adopted) {
    // The page would show the picture from where it lies now, outside the
    // project, and lose it once compiled: it is taken out again.
    range.pasteHTML(QString());
    m_project.reportFailure(Fail(adopted.Message() + QStringLiteral(". The picture was not inserted.")));
    return;
  }
  if (adopted->isEmpty() || *adopted == src.Path) return;
  range.pasteHTML(src.Head + *adopted + src.Tail);
}

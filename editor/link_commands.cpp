// Links and pictures: a link to another topic picked in "Select topic", links
// to outside pages and pictures through the control's own dialogs, and the
// picture file brought into the project folder.
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/link_rules.h"

void MainWindow::LinkToTopic() {
  LinkDialog* dialog = startupDialogs.linkDialog;
  if (!dialog) return;
  dialog->SetContentsTree(contentsTree);
  if (dialog->exec() != QDialog::Accepted) return;
  // The selection, as plain text, becomes the link's text; without one the
  // topic's title is inserted at the caret. The anchor replaces the selection
  // in one step, so the clipboard keeps what it held and the blanks around
  // the selection stay plain blanks.
  TextRange range = editor->SelectionRange();
  const QString linkText = StatusEnabled(editor->QueryStatus(decmd::Cut)) ? range.text() : QString();
  range.pasteHTML(TopicAnchor(dialog->ChosenFile, linkText.isEmpty() ? dialog->ChosenCaption : linkText));
}

void MainWindow::EditorLinkToTopic() { LinkToTopic(); }

void MainWindow::LinkToExternalPage() { EditorCommand(decmd::Hyperlink, decmd::PromptUser); }
void MainWindow::EditorLinkToExternalPage() { LinkToExternalPage(); }

void MainWindow::RemoveLink() { EditorCommand(decmd::Unlink, decmd::Default); }

void MainWindow::PrepareLinkMenu() {
  const bool on = StatusEnabled(editor->QueryStatus(decmd::Hyperlink));
  linkToTopicAction->setEnabled(on);
  linkToPageAction->setEnabled(on);
}

void MainWindow::PrepareEditorLinkMenu() {
  removeLinkAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Unlink)));
  const bool on = StatusEnabled(editor->QueryStatus(decmd::Hyperlink));
  editorLinkToTopicAction->setEnabled(on);
  editorLinkToPageAction->setEnabled(on);
}

void MainWindow::InsertPicture() {
  QPointer<MainWindow> self(this);
  EditorCommand(decmd::Image, decmd::PromptUser);
  if (!self) return;
  WaitEditorIdle(editor);
  if (!self) return;
  // The picture just inserted stands before the caret.
  TextRange range = editor->SelectionRange();
  range.moveStart("character", -1);
  WorkText = range.htmltext();
  const PictureSource src = FindPictureSrc(WorkText);
  if (!src.Found) return;
  // A picture from elsewhere is copied into the project folder; either way the
  // page refers to it relative to that folder.
  const QString adopted = AdoptPicture(src.Path, project.Folder());
  if (adopted.isEmpty() || adopted == src.Path) return;
  range.pasteHTML(src.Head + adopted + src.Tail);
}

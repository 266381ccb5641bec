// Links and pictures: a link to another topic picked in "Select topic", links
// to outside pages and pictures through the control's own dialogs, and the
// picture file brought into the project folder.
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/link_rules.h"

void TForm1::Toothertopic1Click() {
  TLinkDialog* dialog = Dlg.LinkDialog;
  if (!dialog) return;
  dialog->SetContentsTree(TreeView1);
  if (dialog->exec() != QDialog::Accepted) return;
  // The selection, as plain text, becomes the link's text; without one the
  // topic's title is inserted at the caret. The anchor replaces the selection
  // in one step, so the clipboard keeps what it held and the blanks around
  // the selection stay plain blanks.
  TTextRange range = DHTMLEdit1->SelectionRange();
  const QString linkText = StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Cut)) ? range.text() : QString();
  range.pasteHTML(TopicAnchor(dialog->ChosenFile, linkText.isEmpty() ? dialog->ChosenCaption : linkText));
}

void TForm1::inserttoothertopic1Click() { Toothertopic1Click(); }

void TForm1::Toexternalpage1Click() { EditorCommand(decmd::Hyperlink, decmd::PromptUser); }
void TForm1::createfromselectiontoexternalpage1Click() { Toexternalpage1Click(); }

void TForm1::remove1Click() { EditorCommand(decmd::Unlink, decmd::Default); }

void TForm1::Link1Click() {
  const bool on = StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Hyperlink));
  Toothertopic1->setEnabled(on);
  Toexternalpage1->setEnabled(on);
}

void TForm1::Link2Click() {
  remove1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Unlink)));
  const bool on = StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Hyperlink));
  inserttoothertopic1->setEnabled(on);
  createfromselectiontoexternalpage1->setEnabled(on);
}

void TForm1::Picture1Click() {
  QPointer<TForm1> self(this);
  EditorCommand(decmd::Image, decmd::PromptUser);
  if (!self) return;
  WaitEditorIdle(DHTMLEdit1);
  if (!self) return;
  // The picture just inserted stands before the caret.
  TTextRange range = DHTMLEdit1->SelectionRange();
  range.moveStart("character", -1);
  WorkText = range.htmltext();
  const TPictureSrc src = FindPictureSrc(WorkText);
  if (!src.Found) return;
  // A picture from elsewhere is copied into the project folder; either way the
  // page refers to it relative to that folder.
  const QString adopted = AdoptPicture(src.Path, ProjectFolder());
  if (adopted.isEmpty() || adopted == src.Path) return;
  range.pasteHTML(src.Head + adopted + src.Tail);
}

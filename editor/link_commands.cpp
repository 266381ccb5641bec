// Links and pictures: a link to another topic picked in "Select topic", links
// to outside pages and pictures through the control's own dialogs, and the
// picture file brought into the project folder.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <memory>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/link_rules.h"

namespace {

// A copy of every format on the clipboard (null when it was empty).
std::unique_ptr<QMimeData> CopyOfClipboard() {
  const QMimeData* now = QGuiApplication::clipboard()->mimeData();
  if (!now || now->formats().isEmpty()) return nullptr;
  auto copy = std::make_unique<QMimeData>();
  for (const QString& format : now->formats()) copy->setData(format, now->data(format));
  return copy;
}

}  // namespace

void TForm1::Toothertopic1Click() {
  TLinkDialog* dialog = Dlg.LinkDialog;
  if (!dialog) return;
  dialog->SetContentsTree(TreeView1);
  if (dialog->exec() != QDialog::Accepted) return;
  QPointer<TForm1> self(this);
  QClipboard* clipboard = QGuiApplication::clipboard();
  // The selection becomes the link's text through the clipboard; whatever the
  // clipboard held before comes back afterwards, in all its formats.
  std::unique_ptr<QMimeData> saved;
  bool cut = false;
  QString linkText;
  if (StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Cut))) {
    saved = CopyOfClipboard();
    clipboard->clear();
    CmdArg = 0;
    DHTMLEdit1->ExecCommand(decmd::Cut, decmd::Default, CmdArg);
    WaitEditorIdle(DHTMLEdit1);
    if (!self) return;
    cut = true;
    if (const QMimeData* mime = clipboard->mimeData(); mime && mime->hasText()) linkText = mime->text();
  }
  TTextRange range = DHTMLEdit1->SelectionRange();
  const QString anchor =
      TopicAnchor(dialog->ChosenFile, linkText.isEmpty() ? dialog->ChosenCaption : linkText);
  range.pasteHTML(anchor);
  if (!self) return;
  if (cut) {
    if (saved) clipboard->setMimeData(saved.release());
    else clipboard->clear();
  }
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

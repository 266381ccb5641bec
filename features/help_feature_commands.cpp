// The help features' commands on the main window: "Pop-up" and "Pop-up
// texts", "Splash", "Training cad" and "Style sheet", and the page script
// that makes their objects work in the help viewer.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTreeWidget>
#include <memory>

#include "app/main_window.h"
#include "model/tree_nodes.h"
#include "viewer/html_help.h"
#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "features/edit_dial.h"
#include "features/help_objects.h"
#include "features/popup_texts.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "features/viewer_objects.h"
#include "platform/text_file.h"

namespace {

// A copy of every format on the clipboard (null when it held nothing).
std::unique_ptr<QMimeData> ClipboardCopy() {
  const QMimeData* now = QGuiApplication::clipboard()->mimeData();
  if (!now || now->formats().isEmpty()) return nullptr;
  auto copy = std::make_unique<QMimeData>();
  for (const QString& format : now->formats()) copy->setData(format, now->data(format));
  return copy;
}

// Copies a picture into a folder under its own name, replacing a file of that
// name only once the copy is complete. False when it could not be copied.
bool CopyPictureInto(const QString& picture, const QString& folder) {
  const QString target = QDir(folder).filePath(QFileInfo(picture).fileName());
  const QString partial = target + QStringLiteral(".orvex-copy");
  QFile::remove(partial);
  if (!QFile::copy(picture, partial)) return false;
  QFile::remove(target);
  if (QFile::rename(partial, target)) return true;
  QFile::remove(partial);
  return false;
}

}  // namespace

void MainWindow::ConnectHelpFeatures() {
  connect(insertPopupAction, &QAction::triggered, this, &MainWindow::InsertPopupCommand);
  connect(popupTextsAction, &QAction::triggered, this, &MainWindow::EditPopupTexts);
  connect(insertSplashAction, &QAction::triggered, this, &MainWindow::InsertSplash);
  connect(insertTrainingCardAction, &QAction::triggered, this, &MainWindow::InsertTrainingCard);
  connect(styleSheetAction, &QAction::triggered, this, &MainWindow::EditStyleSheet);
  // Compiled topics shown by the viewer get working pop-ups, splash screens
  // and training cards; a pressed card reaches programHelp as a "tcard" command.
  if (helpViewer) helpViewer->AddPageScript(QString::fromLatin1(kHelpObjectsScriptName), HelpObjectsScript());
}

QString MainWindow::PopupScriptFile() const { return PopupScriptPath(project.ProjectFile()); }

void MainWindow::InsertPopupCommand() {
  QPointer<MainWindow> self(this);
  bool ok = false;
  const QString typed = QInputDialog::getText(this, "Text pop-up", "Text", QLineEdit::Normal, QString(), &ok);
  if (!self) return;
  WaitEditorIdle(editor);
  if (!self || !ok || typed.isEmpty()) return;
  ReportFailure([&] { InsertPopup(typed); });
}

void MainWindow::InsertPopup(const QString& typed) {
  QPointer<MainWindow> self(this);
  const int codePage = project.CodePage();
  const QString scriptPath = PopupScriptFile();
  QStringList lines = ReadLinesFile(scriptPath, codePage);

  // The selection becomes the link's text through the clipboard. What the
  // clipboard held comes back afterwards; an empty one keeps the cut text.
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Without a selection the typed text is the link's text (whatever the
  // clipboard holds stays out of the page).
  std::unique_ptr<QMimeData> saved;
  QString linkText;
  if (StatusEnabled(editor->QueryStatus(decmd::Cut))) {
    saved = ClipboardCopy();
    clipboard->clear();
    CmdArg = 0;
    editor->ExecCommand(decmd::Cut, decmd::Default, CmdArg);
    WaitEditorIdle(editor);
    if (!self) return;
    if (const QMimeData* mime = clipboard->mimeData(); mime && mime->hasText()) linkText = mime->text();
  }

  const QString name = NextPopupName(lines);
  lines.append(PopupScriptLine(name, typed, codePage));
  TextRange range = editor->SelectionRange();
  CmdArg = QVariant();
  range.pasteHTML(PopupLink(name, linkText.isEmpty() ? typed : linkText));
  if (!self) return;
  if (saved) clipboard->setMimeData(saved.release());

  WriteLinesFile(scriptPath, lines, codePage);

  // The page's head: the control object the links call and the script tag
  // that loads the texts, each added once.
  const std::optional<QString> html = editor->TryDocumentHTML();
  if (!self || !html) return;
  const QString withHead = WithPopupHead(*html, PopupScriptFileName(project.ProjectFile()));
  if (withHead == *html) return;
  WaitEditorIdle(editor);
  if (!self) return;
  editor->SetDocumentHTML(withHead);
  editor->SetBaseURL(project.Folder());
  WaitEditorIdle(editor);
  if (!self) return;
  // Setting the page clears the editor's record of changes, so the page is
  // stored now: otherwise leaving the topic would drop the new link while
  // its text stays in the script file.
  if (TopicData* topic = ContentsRecord(contentsTree->currentItem()); topic && !topic->FileName.isEmpty()) {
    StoreEditorPage(project.PagePath(topic->FileName));
    WaitEditorIdle(editor);
  }
}

void MainWindow::EditPopupTexts() {
  TextEditDialog* dialog = startupDialogs.textEditDialog;
  if (!dialog) return;
  dialog->setWindowTitle(" Pup-up texts");
  dialog->setProperty("HelpContext", 10010);
  const QString path = PopupScriptFile();
  const int codePage = project.CodePage();
  QStringList lines;
  if (!ReportFailure([&] { lines = ReadLinesFile(path, codePage); })) return;
  dialog->SetLines(lines);
  if (dialog->exec() != QDialog::Accepted || !dialog->Modified()) return;
  ReportFailure([&] { WriteLinesFile(path, dialog->Lines(), codePage); });
}

void MainWindow::InsertSplash() {
  SplashDialog* dialog = startupDialogs.splashDialog;
  if (!dialog) return;
  QPointer<MainWindow> self(this);
  if (dialog->exec() != QDialog::Accepted || !self) return;
  // The picture last chosen by browsing, not the text of the name box.
  const QString picture = dialog->PicturePath();
  if (picture.isEmpty() || !QFileInfo(picture).isFile()) return;
  const QFileInfo info(picture);
  const QString pictureFolder = info.absoluteDir().canonicalPath();
  const QString projectFolder = QDir(project.Folder()).canonicalPath();
  // A picture from elsewhere is copied into the project folder; a failed copy
  // still inserts the object.
  if (pictureFolder != projectFolder && !CopyPictureInto(picture, project.Folder()))
    qWarning("Orvex: cannot copy %s into %s", qPrintable(QDir::toNativeSeparators(picture)),
             qPrintable(QDir::toNativeSeparators(project.Folder())));
  TextRange range = editor->SelectionRange();
  range.pasteHTML(SplashObject(info.fileName(), qint64(dialog->Seconds()) * 1000));
}

void MainWindow::InsertTrainingCard() {
  TrainingCardDialog* dialog = startupDialogs.trainingCardDialog;
  if (!dialog) return;
  QPointer<MainWindow> self(this);
  if (dialog->exec() != QDialog::Accepted || !self) return;
  TextRange range = editor->SelectionRange();
  range.pasteHTML(
      TrainingCardButtonFor(dialog->Edit1->text(), dialog->MaskEdit1->text(), dialog->Edit2->text()));
}

void MainWindow::EditStyleSheet() {
  TextEditDialog* dialog = startupDialogs.textEditDialog;
  if (!dialog) return;
  QPointer<MainWindow> self(this);
  dialog->setWindowTitle(" Style sheet");
  dialog->setProperty("HelpContext", 10015);
  const QString path = project.FileWithExt(".css");
  const int codePage = project.CodePage();
  QStringList lines;
  if (!ReportFailure([&] { lines = ReadLinesFile(path, codePage); })) return;
  dialog->SetLines(lines);
  if (dialog->exec() != QDialog::Accepted || !self || !dialog->Modified()) return;
  if (!ReportFailure([&] { WriteLinesFile(path, dialog->Lines(), codePage); })) return;

  // On the Editor tab the current topic is stored and shown again with the
  // new styles; its file keeps the stored form (training-card objects).
  if (CurrentTab == 1) return;
  TopicData* topic = ContentsRecord(contentsTree->currentItem());
  if (!topic || topic->FileName.isEmpty()) return;
  const std::optional<QString> html = editor->TryDocumentHTML();
  if (!self) return;
  if (!html) {
    ReportFailure([] { throw FileError("The editor did not answer: the page was not refreshed."); });
    return;
  }
  const QStringList pageLines = SplitLines(CardButtonsToObjects(*html));
  CmdArg2 = 0;
  const QString pagePath = project.PagePath(topic->FileName);
  CmdArg = pagePath;
  ReportFailure([&] {
    WriteLinesFile(pagePath, pageLines, project.CodePage());
    LoadTopicPage(pagePath);
  });
}

// "New": a complete empty project on disk, opened at once.
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "platform/text_file.h"
#include "project/name_dialog.h"
#include "project/page_template.h"
#include "project/project_file.h"

void MainWindow::NewProject() {
  if (!AskToSaveProject()) return;
  QFileDialog dialog(this);
  dialog.setObjectName("OpenDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptSave);  // a new name may be typed; overwriting asks first
  dialog.setDefaultSuffix("hhp");
  dialog.setNameFilter("Help projects (*.hhp)");
  if (!ProjectFolder().isEmpty()) dialog.setDirectory(ProjectFolder());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();

  editor->NewDocument();
  WaitEditorIdle(editor);
  sourceView->clear();
  Modified = true;
  ResetProjectModel(path);

  NewProjectDialog* names = startupDialogs.newProjectDialog;
  names->titleEdit->setText(ProjectBaseName(path));
  std::optional<NewProjectChoice> choice;
  if (names->exec() == QDialog::Accepted)
    choice = NewProjectChoice{names->titleEdit->text(), names->languageBox->currentText()};
  ProjectLines = NewProjectLines(path, choice);

  const bool written = ReportFailure([&] {
    const int codePage = PageCodePage();
    WriteLinesFile(ProjectFile, ProjectLines, codePage);
    WriteTextFile(ProjectFileWithExt(".css"), DefaultStyleSheet(), codePage);
    WriteTextFile(ChangeFileExt(ProjectFile, "P.js"), "popfont=\"Courier,10\"\r\n", codePage);
  });
  if (!written) return;

  insertMenu->menuAction()->setEnabled(true);
  toolsMenu->menuAction()->setEnabled(true);
  editMenu->menuAction()->setEnabled(true);
  EnterProjectFolder();
  contextLabel->setText("Context=");
  SaveProject();
}

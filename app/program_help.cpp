// Help menu, F1 and the training-card messages, on the main window.
#include <QAction>
#include <QApplication>
#include <QMessageBox>

#include "app/keyboard_hook.h"
#include "app/main_window.h"
#include "app/about_box.h"
#include "app/hh_comp.h"
#include "viewer/html_help.h"
#include "app/tcard_message.h"
#include "editor/editing_control.h"

void MainWindow::ConnectProgramHelp() {
  QApplication::setWindowIcon(ProgramIcon());
  programHelp = new ProgramHelp(this, helpViewer);
  programHelp->setObjectName("programHelp");
  programHelp->SetHelpFile("Orvex.chm");
  // F1 in the editor is the keyboard hook's (context 10006).
  programHelp->F1TakenElsewhere = [this] {
    if (QApplication::activeWindow() != this) return false;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == editor || editor->isAncestorOf(focus));
  };
  if (keyboardHook)
    connect(keyboardHook, &KeyboardHook::HelpRequested, programHelp, [this](int context) {
      bool callHelp = false;
      programHelp->HelpHandler(HH_HELP_CONTEXT, static_cast<quint32>(context), callHelp);
    });
  connect(programHelp, &ProgramHelp::OnTCardMessage, this, &MainWindow::TrainingCardMessage);
  connect(helpContentsAction, &QAction::triggered, this, &MainWindow::ShowHelpContents);
  connect(aboutAction, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::ShowHelpContents() {
  if (programHelp) programHelp->ShowContents();
}

void MainWindow::ShowAbout() {
  if (startupDialogs.aboutBox) startupDialogs.aboutBox->exec();
}

void MainWindow::TrainingCardMessage(int wParam, const QString& lParam) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), TCardMessageText(wParam, lParam),
                  QMessageBox::Ok, this);
  box.exec();
}

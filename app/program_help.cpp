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

void TForm1::ConnectProgramHelp() {
  QApplication::setWindowIcon(ProgramIcon());
  HHComp1 = new THHComp(this, HtmlHelp);
  HHComp1->setObjectName("HHComp1");
  HHComp1->SetHelpFile("Orvex.chm");
  // F1 in the editor is the keyboard hook's (context 10006).
  HHComp1->F1TakenElsewhere = [this] {
    if (QApplication::activeWindow() != this) return false;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == DHTMLEdit1 || DHTMLEdit1->isAncestorOf(focus));
  };
  if (KeyboardHook)
    connect(KeyboardHook, &TEditKeyHook::HelpRequested, HHComp1, [this](int context) {
      bool callHelp = false;
      HHComp1->HelpHandler(HH_HELP_CONTEXT, static_cast<quint32>(context), callHelp);
    });
  connect(HHComp1, &THHComp::OnTCardMessage, this, &TForm1::HHComp1TCardMessage);
  connect(Contents1, &QAction::triggered, this, &TForm1::Contents1Click);
  connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::Contents1Click() {
  if (HHComp1) HHComp1->ShowContents();
}

void TForm1::About1Click() {
  if (Dlg.AboutBox) Dlg.AboutBox->exec();
}

void TForm1::HHComp1TCardMessage(int wParam, const QString& lParam) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), TCardMessageText(wParam, lParam),
                  QMessageBox::Ok, this);
  box.exec();
}

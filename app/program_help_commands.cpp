// Help menu, F1 and the training-card messages.
#include "app/program_help_commands.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>

#include "app/about_box.h"
#include "app/program_help.h"
#include "app/keyboard_hook.h"
#include "app/training_card_message.h"
#include "editor/editing_control.h"
#include "viewer/html_help_viewer.h"

ProgramHelpCommands::ProgramHelpCommands(QWidget* window, EditingControl* editor, HtmlHelpViewer* viewer,
                                         KeyboardHook* keyboardHook, QAction* contentsAction,
                                         QAction* aboutAction)
    : QObject(window), m_window(window) {
  QApplication::setWindowIcon(ProgramIcon());
  m_help = new ProgramHelp(window, viewer);
  m_help->setObjectName("programHelp");
  m_help->SetHelpFile("Orvex.chm");
  // F1 in the editor is the keyboard hook's (context 10006).
  QPointer<EditingControl> control(editor);
  m_help->F1TakenElsewhere = [window, control] {
    if (!control || QApplication::activeWindow() != window) return false;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
  };
  if (keyboardHook)
    connect(keyboardHook, &KeyboardHook::HelpRequested, m_help,
            [this](int context) { m_help->ShowContextHelp(static_cast<quint32>(context)); });
  connect(m_help, &ProgramHelp::TrainingCardMessageArrived, this, &ProgramHelpCommands::TrainingCardMessage);
  connect(contentsAction, &QAction::triggered, this, &ProgramHelpCommands::ShowHelpContents);
  connect(aboutAction, &QAction::triggered, this, &ProgramHelpCommands::ShowAbout);
}

void ProgramHelpCommands::SetAboutBox(AboutBox* aboutBox) { m_aboutBox = aboutBox; }

void ProgramHelpCommands::ShowHelpContents() { m_help->ShowContents(); }

void ProgramHelpCommands::ShowAbout() {
  if (m_aboutBox) m_aboutBox->exec();
}

void ProgramHelpCommands::TrainingCardMessage(int wParam, const QString& lParam) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                  TrainingCardMessageText(wParam, lParam), QMessageBox::Ok, m_window);
  box.exec();
}

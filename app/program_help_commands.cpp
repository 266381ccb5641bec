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
#include "widgets/action_registry.h"

ProgramHelpCommands::ProgramHelpCommands(QWidget* window, EditingControl* editor, HtmlHelpViewer* viewer,
                                         KeyboardHook* keyboardHook, ActionRegistry& registry)
    : QObject(window), window(window) {
  QApplication::setWindowIcon(ProgramIcon());
  help = new ProgramHelp(window, viewer);
  help->setObjectName("programHelp");
  help->SetHelpFile("Orvex.chm");
  // F1 in the editor is the keyboard hook's (context 10006).
  QPointer<EditingControl> control(editor);
  help->f1TakenElsewhere = [window, control] {
    if (!control || QApplication::activeWindow() != window) return false;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
  };
  if (keyboardHook)
    connect(keyboardHook, &KeyboardHook::HelpRequested, help,
            [this](int context) { help->ShowContextHelp(static_cast<quint32>(context)); });
  connect(help, &ProgramHelp::TrainingCardMessageArrived, this, &ProgramHelpCommands::TrainingCardMessage);
  connect(registry.Add("helpContentsAction", "&Contents"), &QAction::triggered, this,
          &ProgramHelpCommands::ShowHelpContents);
  connect(registry.Add("aboutAction", "&About ..."), &QAction::triggered, this,
          &ProgramHelpCommands::ShowAbout);
}

void ProgramHelpCommands::SetAboutBox(AboutBox* box) { aboutBox = box; }

void ProgramHelpCommands::ShowHelpContents() { help->ShowContents(); }

void ProgramHelpCommands::ShowAbout() {
  if (aboutBox) aboutBox->exec();
}

void ProgramHelpCommands::TrainingCardMessage(int wParam, const QString& lParam) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                  TrainingCardMessageText(wParam, lParam), QMessageBox::Ok, window);
  box.exec();
}

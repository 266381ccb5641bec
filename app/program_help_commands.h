// "Help" > "Contents" and "About", F1 in the editor, and the training-card
// messages that the viewer passes on.
#pragma once

#include <QObject>
#include <QPointer>

class AboutBox;
class ActionRegistry;
class EditingControl;
class HtmlHelpViewer;
class KeyboardHook;
class ProgramHelp;
class QAction;
class QWidget;

class ProgramHelpCommands : public QObject {
  Q_OBJECT
 public:
  // Makes the program's help (HelpFile "Orvex.chm" beside the program) on
  // the viewer; F1 in the editor comes from the keyboard hook. Registers
  // "helpContentsAction" and "aboutAction".
  ProgramHelpCommands(QWidget* window, EditingControl* editor, HtmlHelpViewer* viewer,
                      KeyboardHook* keyboardHook, ActionRegistry& registry);
  void SetAboutBox(AboutBox* box);
  ProgramHelp* Help() const { return help; }

  void ShowHelpContents();
  void ShowAbout();
  // A training-card message from the viewer: a message box with its values.
  void TrainingCardMessage(int wParam, const QString& lParam);

 private:
  QPointer<QWidget> window;
  ProgramHelp* help = nullptr;
  QPointer<AboutBox> aboutBox;
};

// The help features' commands: "Pop-up" and "Pop-up texts", "Splash",
// "Training cad" and "Style sheet".
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "platform/result.h"

class ActionRegistry;
class EditingControl;
class QAction;
class QWidget;
class SplashDialog;
class TextEditDialog;
class TrainingCardDialog;

class HelpFeatureCommands : public QObject {
  Q_OBJECT
 public:
  // What the commands need of the open project.
  struct Project {
    std::function<QString()> projectFile;
    std::function<QString()> projectFolder;  // with its trailing separator
    std::function<int()> codePage;           // of the project's text files
    std::function<bool()> sourceInUse;       // the Source tab is the view in use
    // The page file of the topic selected in Contents, made the current
    // topic; empty when none with a page is selected.
    std::function<QString()> selectedPage;
    // Writes the editor's page to a page file; loads a page file into both views.
    std::function<Status(const QString& path)> storeEditorPage;
    std::function<Status(const QString& path)> loadTopicPage;
    // Shows a failure in an error box; false when the status is one.
    std::function<bool(const Status& status)> reportFailure;
  };

  // Registers its items: "insertPopupAction", "insertSplashAction",
  // "insertTrainingCardAction" (Insert), and the "projectFilesMenu" with
  // "styleSheetAction" and "popupTextsAction" (Edit).
  HelpFeatureCommands(QWidget* window, EditingControl* editor, ActionRegistry& registry, Project project);
  void SetDialogs(TextEditDialog* textEditDialog, SplashDialog* splashDialog,
                  TrainingCardDialog* trainingCardDialog);

  // The pop-up script file: the project file with "P.js" for its extension.
  QString PopupScriptFile() const;
  void InsertPopupCommand();
  // Adds a pop-up with the typed text at the editor's selection (the body of
  // "Pop-up"): the failure of its script file is answered; the link and the
  // page's head follow as the editor answers, failures shown.
  Status InsertPopup(const QString& typed);
  void EditPopupTexts();
  void InsertSplash();
  void InsertTrainingCard();
  void EditStyleSheet();

 private:
  // Shows a text file of the project in the text dialog and writes it back
  // when it was changed; true when it was written.
  bool EditLinesFile(const QString& title, int helpContext, const QString& path);
  // Gives the page the pop-up script's head when it lacks it, and stores it.
  void AddPopupHead(const QString& name);
  QPointer<QWidget> window;
  QPointer<EditingControl> editor;
  Project project;
  QPointer<TextEditDialog> textEditDialog;
  QPointer<SplashDialog> splashDialog;
  QPointer<TrainingCardDialog> trainingCardDialog;
};

// The program's own help and the training-card messages of the help viewer:
// "Contents", F1 anywhere in the program, and the viewer's "tcard" command.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrlQuery>

#include <functional>

class QMenu;
class QWidget;
class HtmlHelpViewer;

class ProgramHelp : public QObject {
  Q_OBJECT
 public:
  // window: owner of the help windows; helpViewer: the viewer (may be null:
  // then "Contents" and F1 do nothing). Installs itself as the
  // application's F1 handler and listens to the viewer's messages.
  ProgramHelp(QWidget* window, HtmlHelpViewer* helpViewer);
  ~ProgramHelp() override;

  // The help file's name; HelpPath is the program's folder + this name.
  QString HelpFile() const { return helpFileName; }
  void SetHelpFile(const QString& name);
  QString HelpPath() const { return helpPath; }
  // The folder the help file is looked for in (the program's by default).
  void SetHelpFolder(const QString& folder);

  // The help file at its default topic.
  void ShowContents();
  // Shows the help at a context number (nothing without a help file).
  void ShowContextHelp(quint32 context);
  // A message of the viewer: a "tcard" command becomes TrainingCardMessageArrived.
  void HandlePageCommand(const QString& name, const QUrlQuery& arguments);

  // The help context of a widget: its own "HelpContext" property or that of
  // the nearest parent (up to its window) with one; 0 when none has one.
  static int HelpContextOf(const QWidget* widget);
  // The context for F1 while a menu is open: its highlighted item's, else the menu's own.
  static int HelpContextOfMenu(const QMenu* menu);

  // When it answers true for an F1 key press, the key is left to someone
  // else (the editor's own key handling).
  std::function<bool()> f1TakenElsewhere;

 signals:
  // A training-card message: wParam, and lParam as the viewer gave it.
  void TrainingCardMessageArrived(int wParam, const QString& lParam);
  // F1 asked for help at this context (before the help is shown).
  void HelpRequested(int context);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* HelpOwner() const;

  QPointer<QWidget> appWindow;
  QPointer<HtmlHelpViewer> viewer;
  QString helpFileName;
  QString helpFolder;
  QString helpPath;
};

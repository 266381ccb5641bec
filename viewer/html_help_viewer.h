// The help viewer as the program asks for it: show a compiled file at a
// topic or at a context number, close every window, begin and end the
// program's use of it; an object the main window owns.
#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QUrlQuery>
#include <optional>

class QWidget;
class ViewerWindow;

// The program's use of the viewer, from BeginSession to EndSession; a
// default one stands for no session.
struct HelpViewerSession {
  quint32 id = 0;
  bool IsOpen() const { return id != 0; }
};

class HtmlHelpViewer : public QObject {
  Q_OBJECT
 public:
  explicit HtmlHelpViewer(QObject* parent = nullptr);
  ~HtmlHelpViewer() override;

  // file: a compiled help file, optionally followed by "::/topic.htm" and/or
  // ">window" (the window name is ignored). Viewer windows belong to `owner`
  // (they close with it); one window per file, reused. Both give the viewer
  // window, or null when nothing was shown.
  // The file at its default topic, or at the topic after "::".
  ViewerWindow* ShowTopic(QWidget* owner, const QString& file);
  // The topic that the file maps the context number to; nothing when it maps none.
  ViewerWindow* ShowContext(QWidget* owner, const QString& file, quint32 context);
  // Closes every viewer window.
  void CloseAll();

  // The program's use of the viewer begins (again: windows open anew)...
  HelpViewerSession BeginSession();
  // ...and ends: every viewer window closes and no more open after it.
  void EndSession(HelpViewerSession session);

  // Scripts run in every topic of every viewer window once its document is
  // ready: the place where the page's HTML Help objects (pop-ups, splash
  // screens, training-card buttons) become working elements. A script
  // reaches the viewer by loading "orvex-chm:/$orvex/<command>?<arguments>";
  // the command "tcard" with the arguments wParam and lParam sends
  // TrainingCardMessage.
  void AddPageScript(const QString& name, const QString& source);

  // The viewer windows open now.
  QList<ViewerWindow*> Viewers() const;

  // Where viewer windows remember their size; none when empty.
  void SetSettingsFile(const QString& path) { settingsFile = path; }

  // Why the last file asked for was not shown (a damaged or hostile compiled
  // file); empty when it was shown or simply missing.
  QString LastError() const { return lastFailure; }

 signals:
  // A training-card button was pressed in a shown topic.
  void TrainingCardMessage(int wParam, int lParam);
  // Every command a page sent, "tcard" included.
  void PageCommand(const QString& name, const QUrlQuery& arguments);

 private:
  void HandlePageCommand(const QString& name, const QUrlQuery& arguments);
  ViewerWindow* ViewerFor(QWidget* owner, const QString& chmPath);
  // ShowTopic's and ShowContext's common body; no context: the topic.
  ViewerWindow* Show(QWidget* owner, const QString& file, std::optional<quint32> context);

  QList<QPointer<ViewerWindow>> windows;
  QList<QPair<QString, QString>> pageScripts;
  bool sessionEnded = false;
  QString lastFailure;
  QString settingsFile;
};

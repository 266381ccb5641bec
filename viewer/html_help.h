// The help viewer as the program asks for it: one call with a command, as
// the HTML Help library takes it, on an object the main window owns.
#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QUrlQuery>

class QWidget;
class ViewerWindow;

inline constexpr int HH_DISPLAY_TOPIC = 1;
inline constexpr int HH_HELP_CONTEXT = 15;
inline constexpr int HH_CLOSE_ALL = 18;
inline constexpr int HH_INITIALIZE = 28;
inline constexpr int HH_UNINITIALIZE = 29;

class HtmlHelpViewer : public QObject {
  Q_OBJECT
 public:
  explicit HtmlHelpViewer(QObject* parent = nullptr);
  ~HtmlHelpViewer() override;

  // file: a compiled help file, optionally followed by "::/topic.htm" and/or
  // ">window" (the window name is ignored).
  //   HH_DISPLAY_TOPIC: shows the file at its default topic (or at the topic
  //     after "::"); data is ignored.
  //   HH_HELP_CONTEXT: shows the topic that the file maps the context number
  //     `data` to; nothing when it maps none.
  //   HH_CLOSE_ALL: closes every viewer window.
  //   HH_INITIALIZE: stores a cookie at the address `data` (when not 0).
  //   HH_UNINITIALIZE: closes every viewer window; no more windows open after it.
  // Viewer windows belong to `owner` (they close with it); one window per
  // file, reused. Gives the viewer window (as a number) or 0 when nothing
  // was shown.
  quintptr HtmlHelpA(QWidget* owner, const QString& file, int command, quintptr data);

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
  void SetSettingsFile(const QString& path) { SettingsFile = path; }

  // Why the last file asked for was not shown (a damaged or hostile compiled
  // file); empty when it was shown or simply missing.
  QString LastError() const { return LastFailure; }

 signals:
  // A training-card button was pressed in a shown topic.
  void TrainingCardMessage(int wParam, int lParam);
  // Every command a page sent, "tcard" included.
  void PageCommand(const QString& name, const QUrlQuery& arguments);

 private:
  void HandlePageCommand(const QString& name, const QUrlQuery& arguments);
  ViewerWindow* ViewerFor(QWidget* owner, const QString& chmPath);
  void CloseAll();

  QList<QPointer<ViewerWindow>> Windows;
  QList<QPair<QString, QString>> PageScripts;
  bool Uninitialized = false;
  QString LastFailure;
  QString SettingsFile;
};

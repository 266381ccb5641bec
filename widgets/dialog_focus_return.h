// Where the keyboard goes when a dialog closes: back to the widget of the
// window that had it when the dialog opened (the editor, the source view, a
// tree), whichever way the dialog was closed (Esc, Cancel, OK), so the
// window's menus are that widget's again. Every dialog of the program gets
// this, message boxes and file dialogs included. Code that gives the
// keyboard to something else on purpose does so after the dialog is gone
// (opening a topic, a project), or, while the dialog is still open, moves
// the focus of the window below it: both win.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

class DialogFocusReturn : public QObject {
  Q_OBJECT
 public:
  // Watches every dialog of the application from now on (once, however
  // many windows ask); needs the QApplication.
  static void Install();

 private:
  explicit DialogFocusReturn(QObject* parent);

  bool eventFilter(QObject* watched, QEvent* event) override;
  void Opened(QWidget* dialog);
  void Closed(QWidget* dialog);
  // Gives `focus` the keyboard unless its window's focus or the active
  // window changed meanwhile; with `activate`, its window comes to the
  // front for it.
  static void Restore(QWidget* focus, bool activate);

  struct OpenDialog {
    QPointer<QWidget> dialog;
    QPointer<QWidget> focus;  // what had the keyboard before it
  };
  QList<OpenDialog> open;
  QPointer<QWidget> returning;  // what a dialog that just closed gives the keyboard back to
};

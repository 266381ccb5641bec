// The user's input to one widget (and the widgets inside it), watched: each
// keystroke, click or drop is counted, and while held it is kept and
// delivered in order when the hold ends, so what is typed while the editor
// waits for its page lands after the wait, not in the middle of it.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QEvent;
class QWidget;

class InputHold : public QObject {
 public:
  // Calls `input` for each input event to `target` that is let through.
  InputHold(QWidget* target, std::function<void()> input);
  ~InputHold() override;

  void Hold();
  // Ends one Hold(); the last one delivers what was kept.
  void Release();
  bool Holding() const { return holds > 0; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Kept {
    QPointer<QObject> receiver;
    QEvent* event = nullptr;
  };
  QWidget* target;
  std::function<void()> input;
  int holds = 0;
  QList<Kept> kept;
  // Delivering what was kept: those events pass.
  bool replaying = false;
};

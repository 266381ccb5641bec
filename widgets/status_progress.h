// A progress bar in a main window's status bar for the length of a scope:
// long work that can count its steps shows how far it is.
#pragma once

#include <QPointer>
#include <QString>

class QProgressBar;
class QWidget;

class StatusProgress {
 public:
  // Shows an empty bar named `name` (for screen readers) in the status bar
  // of `window`'s main window; nothing when it has none.
  StatusProgress(QWidget* window, const QString& name);
  ~StatusProgress();
  StatusProgress(const StatusProgress&) = delete;
  StatusProgress& operator=(const StatusProgress&) = delete;

  // `done` of `total` steps.
  void Set(qsizetype done, qsizetype total);

 private:
  QPointer<QProgressBar> bar;
};

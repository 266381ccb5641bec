#include "widgets/status_progress.h"

#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <limits>

StatusProgress::StatusProgress(QWidget* window, const QString& name) {
  auto* main = window ? qobject_cast<QMainWindow*>(window->window()) : nullptr;
  if (!main) return;
  bar = new QProgressBar(main->statusBar());
  bar->setAccessibleName(name);
  bar->setRange(0, 0);  // busy until the first step is counted
  bar->setMaximumWidth(200);
  main->statusBar()->addPermanentWidget(bar);
  bar->show();
}

StatusProgress::~StatusProgress() { delete bar.data(); }

void StatusProgress::Set(qsizetype done, qsizetype total) {
  if (!bar || total <= 0) return;
  // Counts past what a bar holds are scaled down alike.
  const qsizetype scale = total / std::numeric_limits<int>::max() + 1;
  bar->setRange(0, int(total / scale));
  bar->setValue(int(qBound<qsizetype>(0, done, total) / scale));
}

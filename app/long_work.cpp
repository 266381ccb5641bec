#include "app/long_work.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

void LongWork::AddStarter(QAction* action) { starters.append(action); }

void LongWork::SetEnabled(QAction* starter, bool on) {
  const qsizetype index = starters.indexOf(starter);
  if (Running() && index >= 0)
    wasEnabled[index] = on;
  else
    starter->setEnabled(on);
}

void LongWork::Begin(const QString& description) {
  what = description;
  wasEnabled.clear();
  for (const QPointer<QAction>& action : starters) {
    wasEnabled.append(action && action->isEnabled());
    if (action) action->setEnabled(false);
  }
  if (stateChanged) stateChanged();
}

void LongWork::End() {
  for (qsizetype i = 0; i < starters.size(); ++i)
    if (starters[i]) starters[i]->setEnabled(wasEnabled.value(i));
  what.clear();
  if (stateChanged) stateChanged();
}

LongWork::Run::Run(LongWork& longWork, const QString& what) : work(longWork) {
  if (work.Running()) {
    QApplication::beep();
    return;
  }
  started = true;
  work.Begin(what);
}

LongWork::Run::~Run() {
  if (started) work.End();
}

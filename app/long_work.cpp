#include "app/long_work.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

void LongWork::AddStarter(QAction* action) { m_starters.append(action); }

void LongWork::SetEnabled(QAction* starter, bool on) {
  const qsizetype index = m_starters.indexOf(starter);
  if (Running() && index >= 0)
    m_wasEnabled[index] = on;
  else
    starter->setEnabled(on);
}

void LongWork::Begin(const QString& what) {
  m_what = what;
  m_wasEnabled.clear();
  for (const QPointer<QAction>& action : m_starters) {
    m_wasEnabled.append(action && action->isEnabled());
    if (action) action->setEnabled(false);
  }
  if (m_stateChanged) m_stateChanged();
}

void LongWork::End() {
  for (qsizetype i = 0; i < m_starters.size(); ++i)
    if (m_starters[i]) m_starters[i]->setEnabled(m_wasEnabled.value(i));
  m_what.clear();
  if (m_stateChanged) m_stateChanged();
}

LongWork::Run::Run(LongWork& work, const QString& what) : m_work(work) {
  if (m_work.Running()) {
    QApplication::beep();
    return;
  }
  m_started = true;
  m_work.Begin(what);
}

LongWork::Run::~Run() {
  if (m_started) m_work.End();
}

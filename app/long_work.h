// One long run at a time: compiling, decompiling or an add-in. The program
// keeps answering while one runs, so the commands that would start another
// are disabled meanwhile, the window's title says what is going on, and a
// second start is refused.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;

class LongWork {
 public:
  // onStateChanged: called when a run begins and ends, so the window's title
  // can say what runs (What()).
  explicit LongWork(std::function<void()> onStateChanged) : stateChanged(std::move(onStateChanged)) {}
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // A command that starts a long run: disabled while any run goes on.
  void AddStarter(QAction* action);
  // Enables or disables a starter; during a run, from the run's end on.
  void SetEnabled(QAction* starter, bool on);
  bool Running() const { return !what.isEmpty(); }
  // What runs now ("Compiling"), empty when nothing does.
  QString What() const { return what; }

  // Marks a run for its scope. Started() is false when another run was
  // going on: the caller then does nothing (the user hears a beep).
  class Run {
   public:
    Run(LongWork& longWork, const QString& what);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    bool Started() const { return started; }

   private:
    LongWork& work;
    bool started = false;
  };

 private:
  void Begin(const QString& description);
  void End();

  std::function<void()> stateChanged;
  QList<QPointer<QAction>> starters;
  QList<bool> wasEnabled;
  QString what;
};

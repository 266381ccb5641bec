// Helpers for driving real windows in tests.
#pragma once

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

// What a message box showed, once it has been answered.
struct SeenBox {
  bool shown = false;
  QString title;
  QString text;
};

// Answers the next modal message box with `button` (polling for it, for at
// most `ms` milliseconds) and records what it said.
inline std::shared_ptr<SeenBox> AnswerNextMessageBox(QMessageBox::StandardButton button, int ms = 10000) {
  auto seen = std::make_shared<SeenBox>();
  auto* timer = new QTimer;
  auto left = std::make_shared<int>(ms / 20);
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, button, left] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen->shown = true;
      seen->title = box->windowTitle();
      seen->text = box->text();
      if (QAbstractButton* b = box->button(button))
        b->click();
      else
        box->reject();
      timer->stop();
      timer->deleteLater();
      return;
    }
    if (--*left <= 0) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
  return seen;
}

// Runs `answer` on the next modal dialog of type T (polling, bounded).
template <typename T>
void OnNextDialog(std::function<void(T*)> answer, int ms = 10000) {
  auto* timer = new QTimer;
  auto left = std::make_shared<int>(ms / 20);
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, left] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      answer(dialog);
      return;
    }
    if (--*left <= 0) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

// Answers the next file dialog with `path` (typed into its name box, as a user would).
inline void AnswerNextFileDialog(const QString& path, int ms = 10000) {
  OnNextDialog<QFileDialog>(
      [path](QFileDialog* dialog) {
        dialog->selectFile(path);
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
        static_cast<QDialog*>(dialog)->accept();
      },
      ms);
}

// Processes events until `done` answers true or `ms` have passed; the answer.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

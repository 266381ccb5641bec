// The window benchmarks run unattended: a question the window asks is said
// and answered with its default, any other dialog it opens is cancelled,
// instead of waiting for someone to press a button.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

// Looks for a question every 100 ms while `questions` lives.
inline void AnswerQuestionsWithDefaults(QTimer& questions) {
  QObject::connect(&questions, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::printf("(the window asked \"%s\"; answered with its default)\n", qPrintable(box->text()));
      box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      std::printf("(the window opened the dialog \"%s\"; cancelled)\n", qPrintable(dialog->windowTitle()));
      dialog->reject();
    }
  });
  questions.start(100);
}

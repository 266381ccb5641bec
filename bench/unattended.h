// The window benchmarks run unattended: a question the window asks is said
// and answered with its default instead of waiting for someone to press a
// button.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

// Looks for a question every 100 ms while `questions` lives.
inline void AnswerQuestionsWithDefaults(QTimer& questions) {
  QObject::connect(&questions, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::printf("(the window asked \"%s\"; answered with its default)\n", qPrintable(box->text()));
      box->reject();
    }
  });
  questions.start(100);
}

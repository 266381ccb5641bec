// A help project on disk, compiled by the real hhc, and waits for the viewer.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <memory>

#include "viewer/viewer_window.h"
#include "tests/unit/hhc_fixture.h"

namespace viewer_test {

// Processes events until `done` is true or ms have passed; gives `done`.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 20000) {
  const QDeadlineTimer deadline(ms);
  for (;;) {
    if (done()) return true;
    if (deadline.hasExpired()) return false;
    QTest::qWait(20);
  }
}

// Runs JavaScript in the page and waits for its result (invalid on timeout).
inline QVariant RunJs(QWebEnginePage* page, const QString& script, int ms = 10000) {
  auto result = std::make_shared<QVariant>();
  auto done = std::make_shared<bool>(false);
  page->runJavaScript(script, [result, done](const QVariant& v) {
    *result = v;
    *done = true;
  });
  WaitUntil([done] { return *done; }, ms);
  return *result;
}

// Waits until the viewer shows `entry` and the page has loaded.
inline bool WaitForTopic(ViewerWindow* viewer, const QString& entry, int ms = 20000) {
  return WaitUntil(
      [&] {
        if (viewer->CurrentEntry().compare(entry, Qt::CaseInsensitive) != 0) return false;
        // The page's URL changes before its document does: ask the document.
        const QString state = RunJs(viewer->topicView->page(),
                                    "decodeURIComponent(location.pathname) + '|' + document.readyState", 2000)
                                  .toString();
        return state.compare(entry + "|complete", Qt::CaseInsensitive) == 0;
      },
      ms);
}

// The sample project with a real picture and a style sheet that colours the text.
struct SampleProject {
  QTemporaryDir dir;
  orvex_test::HelpProject project;

  // Writes the project into "<temp>/my help" (a folder with a blank).
  void Write() {
    ASSERT_TRUE(dir.isValid());
    project.write(dir.filePath("my help"));
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(project.folder + "/pic.png", "PNG"));
    orvex_test::writeBytes(project.folder + "/My Guide.css",
                           "body { color: rgb(1, 2, 3); background: url(\"bg.png\"); }\r\n");
  }
  // Sets the language line of the project file.
  void SetLanguage(const QByteArray& line) {
    QByteArray hhp = orvex_test::readBytes(project.projectPath());
    hhp.replace("Language=0x0409 English (United States)", line);
    orvex_test::writeBytes(project.projectPath(), hhp);
  }
  // Compiles with the hhc built beside the tests; true when the file is there.
  bool Compile() {
    QByteArray output;
    const int code = orvex_test::runTool(orvex_test::tool("hhc"), {project.projectPath()},
                                         QProcessEnvironment::systemEnvironment(), &output);
    if (code != 0) ADD_FAILURE() << output.toStdString();
    return code == 0 && QFileInfo::exists(project.chmPath());
  }
};

}  // namespace viewer_test

// Figures for authoring a large manual in the real window, printed as plain
// lines: 2,000 topics made one after the other through the Contents pane
// (200 chapters of ten: a topic on the first level and nine under it, as
// "New topic" and "New subtopic" make them, the editor settled before each), then saving, opening the project
// again and compiling it with the hhc beside this program.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <unistd.h>

#include "app/program_window.h"
#include "bench/unattended.h"
#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "panes/contents_pane.h"
#include "platform/text_file.h"
#include "project/project_commands.h"
#include "tests/gui/editor_script.h"
#include "viewer/chm_scheme.h"
#include "tests/gui/window_parts.h"

namespace {

constexpr int kDefaultTopics = 2000;

void MustWrite(const Status& written) {
  if (!written) qFatal("%s", qPrintable(written.Message()));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterUrlSchemes();
  RegisterChmUrlScheme();
  QApplication app(argc, argv);
  // authoring_bench [TOPICS]
  const int kTopics = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : kDefaultTopics;

  QTimer questions;
  AnswerQuestionsWithDefaults(questions);

  QTemporaryDir dir;
  const QString hhp = dir.filePath("Manual.hhp");
  MustWrite(WriteLinesFile(hhp,
                           {"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=Manual.chm",
                            "Contents file=Manual.hhc", "Index file=Manual.hhk", "Title=Manual", ""},
                           1252));
  MustWrite(WriteTextFile(dir.filePath("Manual.hhc"), "<UL>\r\n</UL>\r\n", 1252));
  MustWrite(WriteTextFile(dir.filePath("Manual.hhk"), "<UL>\r\n</UL>\r\n", 1252));
  // The style sheet every new page names.
  MustWrite(WriteTextFile(dir.filePath("Manual.css"), "BODY { font-family: sans-serif }\r\n", 1252));

  const auto formWindow = NewProgramWindow();
  QMainWindow& form = *formWindow;
  Controller<ProjectCommands>(form)->SetSettingsFile(dir.filePath("orvex.ini"));
  CreateProgramDialogs(form);
  form.show();
  QTest::qWaitForWindowExposed(&form);
  Controller<ProjectCommands>(form)->OpenByName(hhp);
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));

  // Made as the commands make them: once the editor has settled.
  QElapsedTimer clock;
  clock.start();
  qint64 slowest = 0;
  for (int i = 0; i < kTopics; ++i) {
    QElapsedTimer one;
    one.start();
    bool made = false;
    // Ten at a time: a chapter on the first level, nine topics under it.
    if (i % 10 == 0 && i > 0)
      Widget<QTreeView>(form, "contentsTree")
          ->setCurrentIndex(ContentsModelOf(form)->index(ContentsModelOf(form)->rowCount() - 1, 0));
    const bool subtopic = i % 10 == 1;
    Widget<EditingControl>(form, "editor")->Settle(&form, [&] {
      if (!Controller<ContentsPane>(form)->CreateTopic(QString("Topic %1").arg(i + 1), subtopic))
        qFatal("topic %d was not made", i + 1);
      made = true;
    });
    while (!made) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    slowest = std::max(slowest, one.elapsed());
    if ((i + 1) % 500 == 0)
      std::printf("  %d topics made: %lld ms\n", i + 1, static_cast<long long>(clock.elapsed()));
  }
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  const qint64 create = clock.elapsed();
  std::printf("create %d topics through the Contents pane: %lld ms (%.1f ms a topic, slowest %lld ms)\n",
              kTopics, static_cast<long long>(create), double(create) / kTopics,
              static_cast<long long>(slowest));

  clock.restart();
  Controller<ProjectCommands>(form)->Save();
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  std::printf("save: %lld ms\n", static_cast<long long>(clock.elapsed()));
  if (ProjectOf(form).IsModified()) qFatal("the project was not saved");

  clock.restart();
  Controller<ProjectCommands>(form)->OpenByName(hhp);
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  const int topLevel = ContentsModelOf(form)->rowCount();
  std::printf("open again: %lld ms (%d topics on the first level)\n", static_cast<long long>(clock.elapsed()),
              topLevel);

  clock.restart();
  QProcess hhc;
  hhc.setWorkingDirectory(dir.path());
  hhc.start(QCoreApplication::applicationDirPath() + "/hhc", {hhp});
  hhc.waitForFinished(600000);
  std::printf("compile with hhc: %lld ms (exit code %d, %lld bytes)\n",
              static_cast<long long>(clock.elapsed()), hhc.exitCode(),
              static_cast<long long>(QFileInfo(dir.filePath("Manual.chm")).size()));
  if (hhc.exitCode() != 0)
    std::printf("%s%s\n", hhc.readAllStandardOutput().right(1500).constData(),
                hhc.readAllStandardError().right(1500).constData());
  ProjectOf(form).SetModified(false);
  return 0;
}

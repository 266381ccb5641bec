// Figures for the main window, printed as plain lines:
//  - start-up: from process start to the main window shown (run as a child
//    process several times, each measuring itself against its own start);
//  - open and save of projects with 5k, 10k and 20k contents items and as
//    many index entries, through the real window;
//  - selecting a topic whose page is 200 KB (store the edited page + load).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "app/program_window.h"
#include "bench/unattended.h"
#include "project/project_commands.h"
#include "viewer/chm_scheme.h"
#include "editor/editing_control.h"
#include "tests/gui/editor_script.h"
#include "model/contents_model.h"
#include "platform/text_file.h"
#include "tests/gui/window_parts.h"

namespace {

// Milliseconds since this process started (from /proc/self/stat).
double MsSinceProcessStart() {
  QFile stat("/proc/self/stat");
  stat.open(QIODevice::ReadOnly);
  const QList<QByteArray> fields = stat.readAll().split(' ');
  const double startTicks = fields.value(21).toDouble();
  QFile uptime("/proc/uptime");
  uptime.open(QIODevice::ReadOnly);
  const double up = uptime.readAll().split(' ').value(0).toDouble();
  return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

double Median(QList<double> figures) {
  if (figures.isEmpty()) return 0;
  std::sort(figures.begin(), figures.end());
  return figures[figures.size() / 2];
}

// The benchmark cannot go on without its files.
void MustWrite(const Status& written) {
  if (!written) qFatal("%s", qPrintable(written.Message()));
}

void WriteProject(const QString& folder, int items) {
  const QString hhp = folder + "/Big.hhp";
  MustWrite(WriteLinesFile(
      hhp, {"[OPTIONS]", "Title=Big", "Default topic=Big01.htm", "", "[FILES]", "Big01.htm"}, 1252));
  QString contents = "<HTML><BODY>\r\n<UL>\r\n";
  QString index = "<HTML><BODY>\r\n<UL>\r\n";
  for (int i = 0; i < items; ++i) {
    const QString page = QString("page%1.htm").arg(i);
    const bool nested = i % 10 != 0;
    if (i % 10 == 1) contents += "<UL>\r\n";
    contents += QString(
                    "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"Topic %1\">\r\n"
                    "<param name=\"Local\" value=\"%2\">\r\n</OBJECT>\r\n")
                    .arg(i)
                    .arg(page);
    if (nested && i % 10 == 9) contents += "</UL>\r\n";
    index += QString(
                 "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"word %1\">\r\n"
                 "<param name=\"Name\" value=\"Topic %1\">\r\n<param name=\"Local\" "
                 "value=\"%2\">\r\n</OBJECT>\r\n")
                 .arg(i)
                 .arg(page);
  }
  if (items % 10 > 1) contents += "</UL>\r\n";
  contents += "</UL>\r\n</BODY></HTML>\r\n";
  index += "</UL>\r\n</BODY></HTML>\r\n";
  MustWrite(WriteTextFile(folder + "/Big.hhc", contents, 1252));
  MustWrite(WriteTextFile(folder + "/Big.hhk", index, 1252));
}

int StartupChild() {
  RegisterUrlSchemes();
  RegisterChmUrlScheme();
  int argc = 1;
  char name[] = "window_bench";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  const auto formWindow = NewProgramWindow();
  QMainWindow& form = *formWindow;
  CreateProgramDialogs(form);
  form.show();
  QTest::qWaitForWindowExposed(&form);
  std::printf("%.1f\n", MsSinceProcessStart());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (argc > 1 && QByteArray(argv[1]) == "--startup-child") return StartupChild();
  // The runs read and write settings of their own, never the user's (the
  // start-up children inherit the folder).
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

  RegisterUrlSchemes();
  RegisterChmUrlScheme();
  QApplication app(argc, argv);

  std::printf("start-up to window shown (ms):");
  QList<double> startups;
  for (int run = 0; run < 5; ++run) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--startup-child"});
    child.waitForFinished(60000);
    const QByteArray figure = child.readAllStandardOutput().trimmed();
    std::printf(" %s", figure.isEmpty() ? "(failed)" : figure.constData());
    if (!figure.isEmpty()) startups << figure.toDouble();
  }
  std::printf("; median %.0f\n", Median(startups));

  QTimer questions;
  AnswerQuestionsWithDefaults(questions);

  const auto formWindow = NewProgramWindow();
  QMainWindow& form = *formWindow;
  QTemporaryDir settings;
  Controller<ProjectCommands>(form)->SetSettingsFile(settings.filePath("orvex.ini"));
  CreateProgramDialogs(form);
  form.show();
  QTest::qWaitForWindowExposed(&form);
  for (int items : {5000, 10000, 20000}) {
    QTemporaryDir dir;
    WriteProject(dir.path(), items);
    // Each until the window is done with it: the first topic shown, the files written.
    QElapsedTimer clock;
    clock.start();
    Controller<ProjectCommands>(form)->OpenByName(dir.filePath("Big.hhp"));
    ProcessEventsUntil([&] { return !Widget<EditingControl>(form, "editor")->Busy(); }, 60000);
    const qint64 open = clock.elapsed();
    WaitEditorIdle(Widget<EditingControl>(form, "editor"));
    clock.restart();
    Controller<ProjectCommands>(form)->Save();
    ProcessEventsUntil([&] { return !Widget<EditingControl>(form, "editor")->Busy(); }, 60000);
    const qint64 save = clock.elapsed();
    std::printf("%d contents items + %d index entries: open %lld ms, save %lld ms\n", items, items,
                static_cast<long long>(open), static_cast<long long>(save));
  }

  // Topic selection with 200 KB pages: the edited page is stored, the next loaded.
  QTemporaryDir dir;
  MustWrite(WriteLinesFile(dir.filePath("Sel.hhp"), {"[OPTIONS]", "Title=Sel"}, 1252));
  // Both trees' files are there, so opening asks nothing.
  MustWrite(WriteTextFile(dir.filePath("Sel.hhk"), "<UL>\r\n</UL>\r\n", 1252));
  QString body;
  while (body.size() < 200 * 1024) body += "<P>Some <B>text</B> of the page, and more of it.</P>\r\n";
  for (const char* name : {"Sel01.htm", "Sel02.htm"})
    MustWrite(WriteTextFile(dir.filePath(name),
                            "<HTML><HEAD><TITLE>Sel</TITLE></HEAD><BODY>\r\n" + body + "</BODY></HTML>\r\n",
                            1252));
  MustWrite(WriteTextFile(
      dir.filePath("Sel.hhc"),
      "<UL>\r\n<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"><param name=\"Local\" "
      "value=\"Sel01.htm\"></OBJECT>\r\n<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" "
      "value=\"B\"><param name=\"Local\" value=\"Sel02.htm\"></OBJECT>\r\n</UL>\r\n",
      1252));
  Controller<ProjectCommands>(form)->OpenByName(dir.filePath("Sel.hhp"));
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  const QModelIndex a = ContentsModelOf(form)->index(0, 0);
  const QModelIndex b = ContentsModelOf(form)->index(1, 0);
  // Two figures per switch: until the window takes input again (the page
  // stored, the next one on its way), and until the next page is shown.
  QStringList handed, shown;
  QList<double> shownTimes;
  for (int run = 0; run < 5; ++run) {
    // A small edit: a word typed where the caret is.
    TextRange range = Widget<EditingControl>(form, "editor")->SelectionRange();
    range.Collapse(true);
    range.pasteHTML("<B>typed</B>");
    WaitEditorIdle(Widget<EditingControl>(form, "editor"));
    QElapsedTimer clock;
    clock.start();
    Widget<QTreeView>(form, "contentsTree")
        ->setCurrentIndex(Widget<QTreeView>(form, "contentsTree")->currentIndex() == a ? b : a);
    handed << QString::number(clock.elapsed());
    ProcessEventsUntil([&] { return !Widget<EditingControl>(form, "editor")->Busy(); }, 60000);
    shown << QString::number(clock.elapsed());
    shownTimes << double(clock.elapsed());
  }
  std::printf("select a 200 KB topic, edited page stored first (ms): %s\n", qPrintable(handed.join(' ')));
  std::printf("  ... until the next page is shown (ms): %s; median %.0f\n", qPrintable(shown.join(' ')),
              Median(shownTimes));
  ProjectOf(form).SetModified(false);
  return 0;
}

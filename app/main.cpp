// Orvex: the program entry.
#include <QApplication>
#include <QTextStream>
#include <cstring>
#include <unistd.h>

#include "app/headless_build.h"
#include "checks/check_command.h"
#include "spelling/project_spelling.h"
#include "app/main_window.h"
#include "viewer/chm_scheme.h"
#include "chm/decompile_command.h"
#include "app/view_command.h"
#include "platform/settings_file.h"
#include "settings/recent_projects.h"
#include "chm/compiler.h"
#include "editor/editing_control.h"

namespace {

// Settings of older versions, beside the program, move to the user's folder once.
void MoveSettingsOfOlderVersions() {
  const Status moved =
      MoveOldSettings(SettingsFileBesideProgram(QCoreApplication::applicationFilePath()), UserSettingsFile());
  if (!moved) QTextStream(stderr) << moved.Message() << Qt::endl;
}

// Commands that run without a window on a project (--build, --check); -1
// when the arguments ask for none.
int RunWithoutWindow(int argc, char** argv) {
  if (argc < 2) return -1;
  const bool build = std::strcmp(argv[1], "--build") == 0;
  if (!build && std::strcmp(argv[1], "--check") != 0) return -1;
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (argc != 3) {
    err << "usage: orvex " << argv[1] << " PROJECT.hhp" << Qt::endl;
    return 2;
  }
  const QString project = QString::fromLocal8Bit(argv[2]);
  MoveSettingsOfOlderVersions();
  if (!build)
    return RunCheckCommand(project, out, err, [](const ProjectCheckInput& input) {
      return ProjectSpellingSource(input.projectFile, input.projectLines);
    });
  return RunHeadlessBuild(project, UserSettingsFile(), out, err, {});
}

}  // namespace

int main(int argc, char** argv) {
  // orvex --decompile FILE.chm FOLDER: no window.
  if (argc > 1 && qstrcmp(argv[1], "--decompile") == 0) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    return RunDecompileCommand(QCoreApplication::arguments().mid(2), err);
  }
  if (const int code = RunWithoutWindow(argc, argv); code >= 0) return code;
  // The editor's web engine refuses to start as root without this.
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterUrlSchemes();
  RegisterChmUrlScheme();
  QApplication app(argc, argv);
  MoveSettingsOfOlderVersions();
  QApplication::setApplicationName("Orvex");
  QApplication::setApplicationVersion(QStringLiteral(ORVEX_VERSION));
  const QStringList args = QApplication::arguments();
  // orvex --view FILE.chm: the help viewer only.
  if (args.value(1) == u"--view") {
    QTextStream err(stderr);
    return RunViewCommand(args.mid(2), err);
  }
  MainWindow form(args.value(1));
  form.CreateDialogs();
  form.show();
  return QApplication::exec();
}

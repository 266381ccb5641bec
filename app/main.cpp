// Orvex: the program entry.
#include <QApplication>
#include <unistd.h>

#include "app/main_window.h"
#include "editor/editing_control.h"

int main(int argc, char** argv) {
  // The editor's web engine refuses to start as root without this.
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterUrlSchemes();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orvex");
  QApplication::setApplicationVersion(QStringLiteral(ORVEX_VERSION));
  const QStringList args = QApplication::arguments();
  TForm1 form(args.value(1));
  form.CreateDialogs();
  form.show();
  return QApplication::exec();
}

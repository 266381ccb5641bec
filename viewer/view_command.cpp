#include "viewer/view_command.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "app/about_box.h"
#include "viewer/html_help.h"

int RunViewCommand(const QStringList& arguments, QTextStream& err) {
  if (arguments.size() != 1 || arguments.first().isEmpty()) {
    err << "usage: orvex --view FILE.chm" << Qt::endl;
    return 2;
  }
  QApplication::setWindowIcon(ProgramIcon());
  HtmlHelpViewer help;
  if (help.HtmlHelpA(nullptr, arguments.first(), HH_DISPLAY_TOPIC, 0) == 0) {
    err << "orvex: cannot show " << QDir::toNativeSeparators(arguments.first()) << Qt::endl;
    return 1;
  }
  QApplication::setQuitOnLastWindowClosed(true);
  return QApplication::exec();
}

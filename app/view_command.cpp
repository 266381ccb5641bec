#include "app/view_command.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTextStream>

#include "app/about_box.h"
#include "viewer/new_help_viewer.h"
#include "viewer/html_help_viewer.h"
#include "widgets/dialog_focus_return.h"

std::unique_ptr<HtmlHelpViewer> ShowViewCommand(const QString& file, QTextStream& err) {
  std::unique_ptr<HtmlHelpViewer> help(NewHelpViewer(nullptr));
  if (help->ShowTopic(nullptr, file)) return help;
  err << "orvex: cannot show " << QDir::toNativeSeparators(file) << Qt::endl;
  // Opened from the desktop there is no terminal: a refused file says why
  // in a window.
  if (!help->LastError().isEmpty()) {
    err << "orvex: " << help->LastError() << Qt::endl;
    QMessageBox::critical(nullptr, QStringLiteral("Orvex"), help->LastError());
  }
  return nullptr;
}

int RunViewCommand(const QStringList& arguments, QTextStream& err) {
  if (arguments.size() != 1 || arguments.first().isEmpty()) {
    err << "usage: orvex --view FILE.chm" << Qt::endl;
    return 2;
  }
  QApplication::setWindowIcon(ProgramIcon());
  DialogFocusReturn::Install();
  const std::unique_ptr<HtmlHelpViewer> help = ShowViewCommand(arguments.first(), err);
  if (!help) return 1;
  QApplication::setQuitOnLastWindowClosed(true);
  return QApplication::exec();
}

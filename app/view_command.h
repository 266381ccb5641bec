// orvex --view FILE.chm: the help viewer on its own, as the desktop opens
// compiled help files with it.
#pragma once

#include <QStringList>

#include <memory>

class HtmlHelpViewer;
class QTextStream;

// Shows the file in a viewer window and runs until it is closed. Needs a
// QApplication. 0 when the window was closed, 1 when the file cannot be
// shown, 2 on a wrong command line.
int RunViewCommand(const QStringList& arguments, QTextStream& err);

// The window RunViewCommand runs, before its event loop: the program's help
// viewer showing `file`. Null when the file cannot be shown (said on err and,
// with a reason, in a message box).
std::unique_ptr<HtmlHelpViewer> ShowViewCommand(const QString& file, QTextStream& err);

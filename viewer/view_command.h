// orvex --view FILE.chm: the help viewer on its own, as the desktop opens
// compiled help files with it.
#pragma once

#include <QStringList>

class QTextStream;

// Shows the file in a viewer window and runs until it is closed. Needs a
// QApplication. 0 when the window was closed, 1 when the file cannot be
// shown, 2 on a wrong command line.
int RunViewCommand(const QStringList& arguments, QTextStream& err);

// The viewer's side of the help features: the page script that gives compiled
// topics working pop-ups, splash screens and training-card buttons.
#pragma once

#include <QString>

class HtmlHelpViewer;
class QObject;

// Name under which the script is added to the viewer's page scripts.
inline constexpr char kHelpObjectsScriptName[] = "orvex-help-objects";

// The script's source (empty if the program's resources lack it).
QString HelpObjectsScript();

// The program's help viewer, in the main window and on its own alike: its
// topics run the help objects script, its windows remember their size in
// the program's settings file.
HtmlHelpViewer* NewHelpViewer(QObject* parent);

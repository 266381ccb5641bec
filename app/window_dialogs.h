#pragma once

class QWidget;
struct StartupDialogs;

// Makes the eight dialogs of the main window in their fixed order.
void CreateWindowDialogs(QWidget* owner, StartupDialogs& dialogs);

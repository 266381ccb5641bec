#pragma once

class QWidget;
struct TDialogs;

// Makes the eight dialogs of the main window in their fixed order.
void CreateWindowDialogs(QWidget* owner, TDialogs& dialogs);

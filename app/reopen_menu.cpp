// The "Reopen" submenu, rebuilt from the recent-project list whenever "File" opens.
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "app/recent_files.h"

void TForm1::BuildReopenMenu() {
  Reopen1->clear();
  const QStringList recent = ReadRecentProjects(SettingsFile());
  for (int i = 0; i < recent.size(); ++i) {
    const QString path = recent[i];
    QAction* item = Reopen1->addAction(path);
    item->setData(i + 1);
    connect(item, &QAction::triggered, this, [this, path] { OpenByName(path); });
  }
  Reopen1->menuAction()->setEnabled(!recent.isEmpty());
}

void TForm1::ConnectProjectCommands() {
  connect(File1, &QMenu::aboutToShow, this, &TForm1::BuildReopenMenu);
  connect(New1, &QAction::triggered, this, &TForm1::New1Click);
  connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
  connect(Save1, &QAction::triggered, this, &TForm1::Save1Click);
  connect(Newtopic1, &QAction::triggered, this, &TForm1::Newtopic1Click);
  connect(Newsubtopic1, &QAction::triggered, this, &TForm1::Newsubtopic1Click);
}

// "Tools" > "Add-ins": the add-ins found beside the program, and running one.
#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

#include "app/addin_library.h"
#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "editor/editing_control.h"

namespace {

// Menu captions take "&" as the mark of a mnemonic; an add-in's caption is
// shown as it gave it.
QString MenuCaption(const QString& caption) {
  QString text = caption;
  return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

void MainWindow::ScanAddins(const QString& folder) {
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString where = folder.isEmpty() ? programFolder : folder;
  AddinFiles.clear();
  addinsMenu->clear();
  addinsMenu->menuAction()->setEnabled(false);
  const QString probe = AddinProbeProgram(programFolder);
  for (const QString& path : AddinCandidates(where)) {
    const std::optional<QString> caption = ReadAddinName(probe, path);
    if (!caption) continue;  // not loadable, no "Name", or it failed
    // An empty caption would make an item nobody can see: the file's name then.
    const QString text = caption->isEmpty() ? QFileInfo(path).completeBaseName() : *caption;
    QAction* item = addinsMenu->addAction(MenuCaption(text));
    item->setData(static_cast<int>(AddinFiles.size()));
    AddinFiles.append(path);
    connect(item, &QAction::triggered, this, [this, item] { RunAddin(item); });
    addinsMenu->menuAction()->setEnabled(true);
  }
}

void MainWindow::RunAddin(QAction* item) {
  if (!item || !project.IsOpen()) return;
  bool isIndex = false;
  const int index = item->data().toInt(&isIndex);
  if (!isIndex || index < 0 || index >= AddinFiles.size()) return;
  const QString path = AddinFiles.at(index);
  BusyCursor busy;
  const std::optional<QList<AddinTopic>> topics =
      ReadAddinTopics(AddinProbeProgram(QCoreApplication::applicationDirPath()), path);
  if (!topics) return;  // not loadable now, or no topic exports
  for (const AddinTopic& topic : *topics) {
    WaitEditorIdle(editor);
    bool created = false;
    if (!ReportFailure([&] { created = CreateTopic(topic.Title); }) || !created) break;
    WaitEditorIdle(editor);
    // Texts of two characters or fewer are not inserted.
    if (topic.Html.size() <= 2) continue;
    // At the end of the new page, as an unsaved change of the topic; a
    // failure here leaves the topic as it is.
    try {
      TextRange range = editor->SelectionRange();
      if (!range.IsValid()) continue;
      range.moveEnd(QStringLiteral("word"), 99999);
      range.Collapse(false);
      range.pasteHTML(topic.Html);
      WaitEditorIdle(editor);
    } catch (...) {
    }
  }
}

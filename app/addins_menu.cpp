// "Tools" > "Add-ins": the add-ins found beside the program, and running one.
#include "app/addins_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <atomic>

#include "app/addin_library.h"
#include "widgets/busy_cursor.h"
#include "app/long_work.h"
#include "editor/editing_control.h"
#include "platform/profile.h"
#include "widgets/action_registry.h"

namespace {

// The settings section of the folders chosen for add-ins.
const QString kFolderSection = QStringLiteral("Add-in folders");

// Menu captions take "&" as the mark of a mnemonic; an add-in's caption is
// shown as it gave it.
QString MenuCaption(const QString& caption) {
  QString text = caption;
  return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

AddinsMenu::AddinsMenu(ActionRegistry& registry, EditingControl* editor, LongWork& work, Project project,
                       QObject* parent)
    : QObject(parent),
      menu(registry.AddMenu("addinsMenu", "&Add-ins")),
      editor(editor),
      work(work),
      project(std::move(project)),
      cancelled(std::make_shared<std::atomic_bool>(false)) {
  menu->menuAction()->setEnabled(false);
  work.AddStarter(menu->menuAction());
}

AddinsMenu::~AddinsMenu() {
  *cancelled = true;
  for (QThread* thread : threads) thread->wait();
}

void AddinsMenu::StartScan(const QString& folder) {
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString where = folder.isEmpty() ? programFolder : folder;
  const QString probe = AddinProbeProgram(programFolder);
  const int scan = ++generation;
  // Each library is asked for its caption in a helper process with a
  // deadline; that happens off the window's thread.
  std::shared_ptr<std::atomic_bool> stop = cancelled;
  QThread* thread = QThread::create([this, where, probe, scan, stop] {
    QList<Found> found;
    for (const QString& path : AddinCandidates(where)) {
      if (*stop) return;
      const std::optional<QString> caption = ReadAddinName(probe, path);
      if (!caption) continue;  // not loadable, no "Name", or it failed
      found.append({path, *caption});
    }
    if (*stop) return;
    QMetaObject::invokeMethod(
        this, [this, scan, found] { Fill(scan, found); }, Qt::QueuedConnection);
  });
  threads.append(thread);
  connect(thread, &QThread::finished, this, [this, thread] {
    threads.removeOne(thread);
    thread->deleteLater();
  });
  thread->start();
}

void AddinsMenu::Fill(int scan, const QList<Found>& found) {
  // An older listing gives way to the newer one.
  if (scan != generation || !menu) return;
  filled = scan;
  files.clear();
  menu->clear();
  work.SetEnabled(menu->menuAction(), !found.isEmpty());
  for (const Found& addin : found) {
    // An empty caption would make an item nobody can see: the file's name then.
    const QString text = addin.caption.isEmpty() ? QFileInfo(addin.path).completeBaseName() : addin.caption;
    QAction* item = menu->addAction(MenuCaption(text));
    item->setData(static_cast<int>(files.size()));
    files.append(addin.path);
    connect(item, &QAction::triggered, this, [this, item] { Run(item); });
  }
  emit Scanned();
}

void AddinsMenu::Run(QAction* item) {
  if (!item || !project.isOpen()) return;
  bool isIndex = false;
  const int index = item->data().toInt(&isIndex);
  if (!isIndex || index < 0 || index >= files.size()) return;
  auto run = std::make_shared<LongWork::Run>(
      work, QStringLiteral("Running ") + item->text().replace(QStringLiteral("&&"), "&"));
  if (!run->Started()) return;
  const QString path = files.at(index);
  const QString probe = AddinProbeProgram(QCoreApplication::applicationDirPath());
  QPointer<AddinsMenu> self(this);
  std::optional<QString> prompt;
  {
    BusyCursor busy;
    prompt = ReadAddinFolderPrompt(probe, path);
  }
  if (!self || !prompt) return;  // not loadable now
  QString folder;
  if (!prompt->isEmpty()) {
    const std::optional<QString> chosen = AskFolder(path, *prompt);
    if (!self || !chosen) return;
    folder = *chosen;
  }
  BusyCursor busy;
  const std::optional<QList<AddinTopic>> topics = ReadAddinTopics(probe, path, folder);
  if (!self || !topics) return;  // not loadable now, or no topic exports
  AddTopics(std::make_shared<QList<AddinTopic>>(*topics), 0, run);
}

void AddinsMenu::AddTopics(std::shared_ptr<QList<AddinTopic>> topics, qsizetype next,
                           std::shared_ptr<LongWork::Run> run) {
  if (next >= topics->size() || !editor) return;
  // Each topic once the editor has taken the text of the one before, which
  // creating the next topic stores; the run lasts until the last.
  editor->Settle(this, [this, topics, next, run] {
    const AddinTopic& topic = topics->at(next);
    if (!project.createTopic(topic.title) || !editor) return;
    // Texts of two characters or fewer are not inserted. The others go at
    // the end of the new page, as an unsaved change of the topic.
    if (topic.html.size() > 2) {
      TextRange range = editor->SelectionRange();
      if (range.IsValid()) {
        range.moveEnd(QStringLiteral("word"), 99999);
        range.Collapse(false);
        range.pasteHTML(topic.html);
      }
    }
    AddTopics(topics, next + 1, run);
  });
}

std::optional<QString> AddinsMenu::AskFolder(const QString& path, const QString& prompt) {
  // Kept per add-in, by its file name, in the settings file.
  const QString key = QFileInfo(path).fileName();
  const QString settings = project.settingsFile ? project.settingsFile() : QString();
  const QString last =
      settings.isEmpty() ? QString() : ReadProfileString(settings, kFolderSection, key, QString());
  QPointer<AddinsMenu> self(this);
  const QString chosen = QFileDialog::getExistingDirectory(qobject_cast<QWidget*>(parent()), prompt,
                                                           QDir(last).exists() ? last : QDir::homePath());
  if (!self || chosen.isEmpty()) return std::nullopt;
  if (!settings.isEmpty()) {
    // The run goes on with the folder; only the next question starts elsewhere.
    if (const Status kept = WriteProfileString(settings, kFolderSection, key, chosen); !kept)
      QMessageBox::warning(qobject_cast<QWidget*>(parent()), QStringLiteral("Add-ins"), kept.Message());
  }
  return chosen;
}

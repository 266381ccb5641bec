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
      m_menu(registry.AddMenu("addinsMenu", "&Add-ins")),
      m_editor(editor),
      m_work(work),
      m_project(std::move(project)),
      m_cancelled(std::make_shared<std::atomic_bool>(false)) {
  m_menu->menuAction()->setEnabled(false);
  m_work.AddStarter(m_menu->menuAction());
}

AddinsMenu::~AddinsMenu() {
  *m_cancelled = true;
  for (QThread* thread : m_threads) thread->wait();
}

void AddinsMenu::StartScan(const QString& folder) {
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString where = folder.isEmpty() ? programFolder : folder;
  const QString probe = AddinProbeProgram(programFolder);
  const int generation = ++m_generation;
  // Each library is asked for its caption in a helper process with a
  // deadline; that happens off the window's thread.
  std::shared_ptr<std::atomic_bool> cancelled = m_cancelled;
  QThread* thread = QThread::create([this, where, probe, generation, cancelled] {
    QList<Found> found;
    for (const QString& path : AddinCandidates(where)) {
      if (*cancelled) return;
      const std::optional<QString> caption = ReadAddinName(probe, path);
      if (!caption) continue;  // not loadable, no "Name", or it failed
      found.append({path, *caption});
    }
    if (*cancelled) return;
    QMetaObject::invokeMethod(
        this, [this, generation, found] { Fill(generation, found); }, Qt::QueuedConnection);
  });
  m_threads.append(thread);
  connect(thread, &QThread::finished, this, [this, thread] {
    m_threads.removeOne(thread);
    thread->deleteLater();
  });
  thread->start();
}

void AddinsMenu::Fill(int generation, const QList<Found>& found) {
  // An older listing gives way to the newer one.
  if (generation != m_generation || !m_menu) return;
  m_filled = generation;
  m_files.clear();
  m_menu->clear();
  m_work.SetEnabled(m_menu->menuAction(), !found.isEmpty());
  for (const Found& addin : found) {
    // An empty caption would make an item nobody can see: the file's name then.
    const QString text = addin.caption.isEmpty() ? QFileInfo(addin.path).completeBaseName() : addin.caption;
    QAction* item = m_menu->addAction(MenuCaption(text));
    item->setData(static_cast<int>(m_files.size()));
    m_files.append(addin.path);
    connect(item, &QAction::triggered, this, [this, item] { Run(item); });
  }
  emit Scanned();
}

void AddinsMenu::Run(QAction* item) {
  if (!item || !m_project.isOpen()) return;
  bool isIndex = false;
  const int index = item->data().toInt(&isIndex);
  if (!isIndex || index < 0 || index >= m_files.size()) return;
  auto run = std::make_shared<LongWork::Run>(
      m_work, QStringLiteral("Running ") + item->text().replace(QStringLiteral("&&"), "&"));
  if (!run->Started()) return;
  const QString path = m_files.at(index);
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
  if (next >= topics->size() || !m_editor) return;
  // Each topic once the editor has taken the text of the one before, which
  // creating the next topic stores; the run lasts until the last.
  m_editor->Settle(this, [this, topics, next, run] {
    const AddinTopic& topic = topics->at(next);
    if (!m_project.createTopic(topic.Title) || !m_editor) return;
    // Texts of two characters or fewer are not inserted. The others go at
    // the end of the new page, as an unsaved change of the topic.
    if (topic.Html.size() > 2) {
      TextRange range = m_editor->SelectionRange();
      if (range.IsValid()) {
        range.moveEnd(QStringLiteral("word"), 99999);
        range.Collapse(false);
        range.pasteHTML(topic.Html);
      }
    }
    AddTopics(topics, next + 1, run);
  });
}

std::optional<QString> AddinsMenu::AskFolder(const QString& path, const QString& prompt) {
  // Kept per add-in, by its file name, in the settings file.
  const QString key = QFileInfo(path).fileName();
  const QString settings = m_project.settingsFile ? m_project.settingsFile() : QString();
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

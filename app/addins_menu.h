// "Tools" > "Add-ins": the add-ins found beside the program, listed without
// holding up start-up, and running one on the open project.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "app/addin_library.h"
#include "app/long_work.h"

class ActionRegistry;
class EditingControl;
class QAction;
class QMenu;
class QThread;

class AddinsMenu : public QObject {
  Q_OBJECT
 public:
  // What running an add-in needs of the project.
  struct Project {
    std::function<bool()> isOpen;
    // Creates a topic with the title after the selected one and shows it in
    // the editor; false when it failed (the failure has been shown).
    std::function<bool(const QString& title)> createTopic;
    // The settings file, where the folders chosen for add-ins are kept.
    std::function<QString()> settingsFile;
  };

  // Registers the "addinsMenu" submenu (off until an add-in is listed).
  AddinsMenu(ActionRegistry& registry, EditingControl* editor, LongWork& work, Project project,
             QObject* parent);
  ~AddinsMenu() override;

  // Lists the add-ins of `folder` (the program's folder when empty) in the
  // background; Scanned() once the menu shows them. A newer scan replaces
  // the list of an older one.
  void StartScan(const QString& folder = QString());
  // The latest listing has not come in yet.
  bool Scanning() const { return filled != generation; }
  // The add-ins listed, in menu order: an item's data is its index here.
  const QStringList& Files() const { return files; }
  // Runs the add-in of an item: one topic per title it gives. An add-in
  // that reads a folder gets the one the user chooses.
  void Run(QAction* item);

 signals:
  void Scanned();

 private:
  struct Found {
    QString path;
    QString caption;
  };
  void Fill(int generation, const QList<Found>& found);
  // Asks for the folder an add-in reads, starting from the one chosen last
  // time, and keeps the answer. nullopt when the user cancelled.
  std::optional<QString> AskFolder(const QString& path, const QString& prompt);
  // Creates the topics from `next` on, one after the other as the editor
  // settles; the run lasts while the topics are made.
  void AddTopics(std::shared_ptr<QList<AddinTopic>> topics, qsizetype next,
                 std::shared_ptr<LongWork::Run> run);

  QPointer<QMenu> menu;
  QPointer<EditingControl> editor;
  LongWork& work;
  Project project;
  QStringList files;
  int generation = 0;
  int filled = 0;  // the generation the menu shows
  QList<QThread*> threads;
  // Set when the menu goes: a scan still running stops at its next library.
  std::shared_ptr<std::atomic_bool> cancelled;
};

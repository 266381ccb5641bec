// The keyword commands of the Index pane: "New keyword", "Add topic to
// keyword" and "Remove topic from keyword", for the topic being edited, on
// the main menu's "Index", the Index tree's pop-up and their keys.
#include <QAction>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMessageBox>
#include <QTreeView>

#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/index_model.h"
#include "model/index_rules.h"
#include "panes/index_pane.h"
#include "widgets/action_registry.h"

namespace {

QAction* Command(ActionRegistry& registry, QMenu* menu, const QString& id, const QString& caption,
                 const QKeySequence& key) {
  QAction* action = registry.Add(id, caption);
  action->setShortcut(key);
  menu->addAction(action);
  return action;
}

const QString kNoTopic = QStringLiteral(
    "Select the topic the keyword leads to in the Contents tree first: a keyword leads to a topic.");

}  // namespace

void IndexPane::MakeCommands(ActionRegistry& registry) {
  menu = registry.AddMenu("keywordMenu", "&Index");
  newKeywordAction = Command(registry, menu, "newKeywordAction", "New keyword...", QKeySequence("Ctrl+K"));
  addTopicAction = Command(registry, menu, "addTopicToKeywordAction", "Add topic to keyword",
                           QKeySequence("Ctrl+Shift+K"));
  removeTopicAction = Command(registry, menu, "removeTopicFromKeywordAction", "Remove topic from keyword",
                              QKeySequence("Ctrl+Alt+K"));
  // The keys work wherever the window has the keyboard, the editor too.
  for (QAction* action : {newKeywordAction, addTopicAction, removeTopicAction}) {
    action->setShortcutContext(Qt::WindowShortcut);
    views.window->addAction(action);
  }
  connect(newKeywordAction, &QAction::triggered, this, &IndexPane::NewKeyword);
  connect(addTopicAction, &QAction::triggered, this, &IndexPane::AddTopicToKeyword);
  connect(removeTopicAction, &QAction::triggered, this, &IndexPane::RemoveTopicFromKeyword);
  connect(menu, &QMenu::aboutToShow, this, &IndexPane::UpdateCommands);
  // The commands follow the selections and the trees.
  connect(views.contentsTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &IndexPane::UpdateCommands);
  connect(views.indexTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &IndexPane::UpdateCommands);
  for (const QAbstractItemModel* model : {static_cast<const QAbstractItemModel*>(views.index),
                                          static_cast<const QAbstractItemModel*>(views.contents)}) {
    connect(model, &QAbstractItemModel::modelReset, this, &IndexPane::UpdateCommands);
    connect(model, &QAbstractItemModel::rowsInserted, this, &IndexPane::UpdateCommands);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &IndexPane::UpdateCommands);
    connect(model, &QAbstractItemModel::dataChanged, this, &IndexPane::UpdateCommands);
  }
  UpdateCommands();
}

std::optional<IndexPane::Topic> IndexPane::TopicBeingEdited() const {
  const QModelIndex node = views.contentsTree->currentIndex();
  const TopicData* topic = views.contents->RecordAt(node);
  if (!project.IsOpen() || !topic || topic->fileName.isEmpty()) return std::nullopt;
  return Topic{topic->fileName, views.contents->CaptionAt(node)};
}

void IndexPane::UpdateCommands() {
  const std::optional<Topic> topic = TopicBeingEdited();
  const QModelIndex keyword = views.indexTree->currentIndex();
  const std::vector<const IndexEntryData*> topics = views.index->TopicsAt(keyword);
  bool leadsThere = false;
  for (const IndexEntryData* entry : topics)
    leadsThere = leadsThere || (topic && entry->fileName == topic->fileName);
  newKeywordAction->setEnabled(topic.has_value());
  addTopicAction->setEnabled(topic && keyword.isValid() && !leadsThere);
  removeTopicAction->setEnabled(project.IsOpen() && !topics.empty());
}

void IndexPane::NewKeyword() {
  const std::optional<Topic> topic = TopicBeingEdited();
  if (!topic) {
    QMessageBox::information(views.window, "Orvex", kNoTopic);
    return;
  }
  bool ok = false;
  const QString keyword = QInputDialog::getText(
      views.window, "New keyword", "Keyword for the topic \"" + topic->caption + "\":", QLineEdit::Normal,
      QString(), &ok);
  if (ok) AddKeywordForTopic(keyword);
}

bool IndexPane::AddKeywordForTopic(const QString& text) {
  const std::optional<Topic> topic = TopicBeingEdited();
  if (!topic) {
    QMessageBox::information(views.window, "Orvex", kNoTopic);
    return false;
  }
  const QString keyword = KeywordFromText(CutDroppedText(text));
  if (keyword.isEmpty()) {
    QMessageBox::warning(views.window, "Orvex", "A keyword cannot be blank.");
    return false;
  }
  std::vector<IndexNode> before = Snapshot();
  const QModelIndex node = views.index->AddKeyword({}, keyword, topic->fileName, topic->caption);
  views.indexTree->setCurrentIndex(node);
  Changed("New keyword \"" + keyword + "\"", std::move(before));
  return true;
}

void IndexPane::AddTopicToKeyword() {
  const std::optional<Topic> topic = TopicBeingEdited();
  const QModelIndex keyword = views.indexTree->currentIndex();
  if (!topic || !keyword.isValid()) return;
  std::vector<IndexNode> before = Snapshot();
  if (!views.index->AddTopic(keyword, topic->fileName, topic->caption)) return;
  Changed("Add topic to keyword \"" + keyword.data().toString() + "\"", std::move(before));
  UpdateCommands();
}

void IndexPane::RemoveTopicFromKeyword() {
  const QPersistentModelIndex keyword = views.indexTree->currentIndex();
  const std::vector<const IndexEntryData*> topics = views.index->TopicsAt(keyword);
  if (topics.empty()) return;
  int chosen = topics.size() == 1 ? 0 : -1;
  if (const std::optional<Topic> topic = TopicBeingEdited(); topic && chosen < 0) {
    for (int i = 0; i < int(topics.size()) && chosen < 0; ++i)
      if (topics[i]->fileName == topic->fileName) chosen = i;
  }
  if (chosen < 0) {
    // Several topics, none of them the one being edited: the user picks one.
    QStringList names;
    for (const IndexEntryData* entry : topics)
      names << (entry->topicCaption.isEmpty() ? entry->fileName
                                              : entry->topicCaption + " (" + entry->fileName + ")");
    bool ok = false;
    const QString name = QInputDialog::getItem(
        views.window, "Remove topic from keyword",
        "Topic no longer under \"" + keyword.data().toString() + "\":", names, 0, false, &ok);
    if (!ok || !keyword.isValid()) return;
    chosen = int(names.indexOf(name));
    if (chosen < 0) return;
  }
  const QString caption = keyword.data().toString();
  std::vector<IndexNode> before = Snapshot();
  if (!views.index->RemoveTopic(keyword, chosen)) return;
  Changed("Remove topic from keyword \"" + caption + "\"", std::move(before));
  UpdateCommands();
}

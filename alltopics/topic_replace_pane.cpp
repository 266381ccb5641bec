#include "alltopics/topic_replace_pane.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeView>
#include <QTreeWidget>

#include "model/contents_model.h"
#include "model/help_project.h"
#include "panes/topic_editing.h"
#include "widgets/action_registry.h"

namespace {

constexpr int kMatchRole = Qt::UserRole;

void CollectTopics(const ContentsModel& contents, const QModelIndex& parent, QList<TopicPageRef>& topics) {
  for (int row = 0; row < contents.rowCount(parent); ++row) {
    const QModelIndex node = contents.index(row, 0, parent);
    if (const TopicData* topic = contents.RecordAt(node); topic && !topic->fileName.isEmpty())
      topics.append(TopicPageRef{node.data().toString(), topic->fileName});
    CollectTopics(contents, node, topics);
  }
}

}  // namespace

TopicReplacePane::TopicReplacePane(const HelpProject& project, TopicEditing& topics, QWidget* window,
                                   TopicJumpViews views, QObject* parent)
    : QObject(parent), project(project), topics(topics), window(window), views(views) {
  dock = new QDockWidget(tr("Find and Replace in all topics"), window);
  dock->setObjectName("allTopicsDock");
  auto* body = new QWidget(dock);
  auto* layout = new QGridLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  phrase = new QLineEdit(body);
  phrase->setObjectName("allTopicsPhrase");
  replacement = new QLineEdit(body);
  replacement->setObjectName("allTopicsReplacement");
  auto* findLabel = new QLabel(tr("Fi&nd:"), body);
  findLabel->setBuddy(phrase);
  auto* replaceLabel = new QLabel(tr("Replace &with:"), body);
  replaceLabel->setBuddy(replacement);
  matchCase = new QCheckBox(tr("Match &case"), body);
  wholeWord = new QCheckBox(tr("Whole w&ords"), body);
  inSource = new QCheckBox(tr("In the &source (tags too)"), body);
  auto* findButton = new QPushButton(tr("&Find all"), body);
  replaceButton = new QPushButton(tr("&Replace"), body);
  replaceAllButton = new QPushButton(tr("Replace &all"), body);
  undoButton = new QPushButton(tr("&Undo replace"), body);
  status = new QLabel(body);
  status->setObjectName("allTopicsStatus");
  list = new QTreeWidget(body);
  list->setObjectName("allTopicsMatches");
  list->setColumnCount(2);
  list->setHeaderLabels({tr("Topic / line"), tr("Context")});
  list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list->setUniformRowHeights(true);

  layout->addWidget(findLabel, 0, 0);
  layout->addWidget(phrase, 0, 1);
  layout->addWidget(findButton, 0, 2);
  layout->addWidget(replaceLabel, 1, 0);
  layout->addWidget(replacement, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(replaceButton);
  buttons->addWidget(replaceAllButton);
  buttons->addWidget(undoButton);
  layout->addLayout(buttons, 1, 2);
  auto* options = new QHBoxLayout;
  options->addWidget(matchCase);
  options->addWidget(wholeWord);
  options->addWidget(inSource);
  options->addStretch();
  layout->addLayout(options, 2, 0, 1, 3);
  layout->addWidget(status, 3, 0, 1, 3);
  layout->addWidget(list, 4, 0, 1, 3);
  dock->setWidget(body);
  dock->hide();

  connect(findButton, &QPushButton::clicked, this, &TopicReplacePane::Find);
  connect(phrase, &QLineEdit::returnPressed, this, &TopicReplacePane::Find);
  connect(replaceButton, &QPushButton::clicked, this, &TopicReplacePane::ReplaceChosen);
  connect(replaceAllButton, &QPushButton::clicked, this, &TopicReplacePane::ReplaceAll);
  connect(undoButton, &QPushButton::clicked, this, &TopicReplacePane::Undo);
  connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenMatch(item); });
  connect(list, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
  UpdateButtons();
}

void TopicReplacePane::RegisterCommands(ActionRegistry& registry) {
  QAction* item = registry.Add("findInTopicsAction", tr("Find in all &topics..."));
  item->setShortcut(QKeySequence("Ctrl+Shift+F"));
  connect(item, &QAction::triggered, this, &TopicReplacePane::Show);
  // Works from every pane, also while the Edit menu is off (the trees have the focus).
  window->addAction(item);
}

void TopicReplacePane::Show() {
  dock->show();
  dock->raise();
  phrase->setFocus();
  phrase->selectAll();
}

AllTopicsQuery TopicReplacePane::Query() const {
  return AllTopicsQuery{phrase->text(), matchCase->isChecked(), wholeWord->isChecked(),
                        inSource->isChecked()};
}

QList<TopicPageRef> TopicReplacePane::Topics() const {
  QList<TopicPageRef> pages;
  CollectTopics(*views.contents, QModelIndex(), pages);
  return pages;
}

bool TopicReplacePane::StoreEditedPage() {
  if (!project.IsOpen()) {
    status->setText(tr("No project is open."));
    return false;
  }
  return topics.StoreCurrentTopic();
}

void TopicReplacePane::Find() {
  list->clear();
  matches.clear();
  if (phrase->text().isEmpty() || !StoreEditedPage()) {
    UpdateButtons();
    return;
  }
  const TopicSearch search = FindInTopics(project.Folder(), Topics(), Query(), project.CodePage());
  matches = search.matches;
  QTreeWidgetItem* group = nullptr;
  for (qsizetype i = 0; i < matches.size(); ++i) {
    const TopicMatch& match = matches.at(i);
    if (!group || group->data(0, kMatchRole).toString() != match.page) {
      group = new QTreeWidgetItem(list, {QStringLiteral("%1 (%2)").arg(match.title, match.page)});
      group->setData(0, kMatchRole, match.page);
      group->setFirstColumnSpanned(true);
      group->setExpanded(true);
    }
    auto* line = new QTreeWidgetItem(group, {tr("line %1").arg(match.line), match.context});
    line->setData(0, kMatchRole, static_cast<int>(i));
  }
  QString summaryText = tr("%n match(es)", nullptr, static_cast<int>(matches.size())) +
                        tr(" in %n topic(s).", nullptr, list->topLevelItemCount());
  if (!search.unreadable.isEmpty()) summaryText += u' ' + search.unreadable.join(u' ');
  status->setText(summaryText);
  if (QTreeWidgetItem* first = list->topLevelItem(0)) list->setCurrentItem(first->child(0));
  UpdateButtons();
}

void TopicReplacePane::ReplaceChosen() {
  const QTreeWidgetItem* item = list->currentItem();
  if (!item || !item->parent()) return;
  const TopicMatch match = matches.value(item->data(0, kMatchRole).toInt());
  Replace(&match);
}

void TopicReplacePane::ReplaceAll() { Replace(nullptr); }

void TopicReplacePane::Replace(const TopicMatch* only) {
  if (phrase->text().isEmpty() || !StoreEditedPage()) return;
  const Result<ReplaceStep> step =
      ReplaceInTopics(project.Folder(), Topics(), Query(), replacement->text(), project.CodePage(), only);
  if (!ReportFailure(window, step.Ok() ? Status() : Status(Fail(step.Message())))) return;
  if (step->pages.isEmpty()) {
    status->setText(tr("Nothing was replaced: the pages changed since they were searched."));
    return;
  }
  steps.append(*step);
  ReloadEditedPage(*step);
  Find();
  status->setText(tr("Replaced %1 in %2 page(s); Undo replace puts them back.")
                      .arg(step->replaced)
                      .arg(step->pages.size()));
}

void TopicReplacePane::Undo() {
  if (steps.isEmpty() || !StoreEditedPage()) return;
  if (!ReportFailure(window, UndoReplace(steps.last()))) return;
  const ReplaceStep step = steps.takeLast();
  ReloadEditedPage(step);
  Find();
  status->setText(tr("%1 page(s) put back as they were.").arg(step.pages.size()));
}

void TopicReplacePane::ReloadEditedPage(const ReplaceStep& step) {
  const TopicData* topic = views.contents->RecordAt(views.contentsTree->currentIndex());
  if (!topic || topic->fileName.isEmpty()) return;
  const QString path = project.PagePath(topic->fileName);
  const QString edited = QFileInfo(path).canonicalFilePath();
  for (const ReplaceStep::Page& page : step.pages) {
    if (QFileInfo(page.path).canonicalFilePath() == edited) {
      ReportFailure(window, topics.LoadTopicPage(path));
      return;
    }
  }
}

void TopicReplacePane::OpenMatch(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;
  const TopicMatch match = matches.value(item->data(0, kMatchRole).toInt());
  OpenTopicAtLine(views, match.page, match.line);
}

void TopicReplacePane::UpdateButtons() {
  const QTreeWidgetItem* item = list->currentItem();
  replaceButton->setEnabled(item && item->parent());
  replaceAllButton->setEnabled(!matches.isEmpty());
  undoButton->setEnabled(!steps.isEmpty());
}

#include "alltopics/topic_replace_pane.h"

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

namespace {

constexpr int kMatchRole = Qt::UserRole;

void CollectTopics(const ContentsModel& contents, const QModelIndex& parent, QList<TopicPageRef>& topics) {
  for (int row = 0; row < contents.rowCount(parent); ++row) {
    const QModelIndex node = contents.index(row, 0, parent);
    if (const TopicData* topic = contents.RecordAt(node); topic && !topic->FileName.isEmpty())
      topics.append(TopicPageRef{node.data().toString(), topic->FileName});
    CollectTopics(contents, node, topics);
  }
}

}  // namespace

TopicReplacePane::TopicReplacePane(const HelpProject& project, TopicEditing& topics, QWidget* window,
                                   TopicJumpViews views, QObject* parent)
    : QObject(parent), m_project(project), m_topics(topics), m_window(window), m_views(views) {
  m_dock = new QDockWidget(tr("Find and Replace in all topics"), window);
  m_dock->setObjectName("allTopicsDock");
  auto* body = new QWidget(m_dock);
  auto* layout = new QGridLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  m_phrase = new QLineEdit(body);
  m_phrase->setObjectName("allTopicsPhrase");
  m_replacement = new QLineEdit(body);
  m_replacement->setObjectName("allTopicsReplacement");
  auto* findLabel = new QLabel(tr("Fi&nd:"), body);
  findLabel->setBuddy(m_phrase);
  auto* replaceLabel = new QLabel(tr("Replace &with:"), body);
  replaceLabel->setBuddy(m_replacement);
  m_matchCase = new QCheckBox(tr("Match &case"), body);
  m_wholeWord = new QCheckBox(tr("Whole w&ords"), body);
  m_inSource = new QCheckBox(tr("In the &source (tags too)"), body);
  auto* findButton = new QPushButton(tr("&Find all"), body);
  m_replaceButton = new QPushButton(tr("&Replace"), body);
  m_replaceAllButton = new QPushButton(tr("Replace &all"), body);
  m_undoButton = new QPushButton(tr("&Undo replace"), body);
  m_status = new QLabel(body);
  m_status->setObjectName("allTopicsStatus");
  m_list = new QTreeWidget(body);
  m_list->setObjectName("allTopicsMatches");
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({tr("Topic / line"), tr("Context")});
  m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  m_list->setUniformRowHeights(true);

  layout->addWidget(findLabel, 0, 0);
  layout->addWidget(m_phrase, 0, 1);
  layout->addWidget(findButton, 0, 2);
  layout->addWidget(replaceLabel, 1, 0);
  layout->addWidget(m_replacement, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_replaceButton);
  buttons->addWidget(m_replaceAllButton);
  buttons->addWidget(m_undoButton);
  layout->addLayout(buttons, 1, 2);
  auto* options = new QHBoxLayout;
  options->addWidget(m_matchCase);
  options->addWidget(m_wholeWord);
  options->addWidget(m_inSource);
  options->addStretch();
  layout->addLayout(options, 2, 0, 1, 3);
  layout->addWidget(m_status, 3, 0, 1, 3);
  layout->addWidget(m_list, 4, 0, 1, 3);
  m_dock->setWidget(body);
  m_dock->hide();

  connect(findButton, &QPushButton::clicked, this, &TopicReplacePane::Find);
  connect(m_phrase, &QLineEdit::returnPressed, this, &TopicReplacePane::Find);
  connect(m_replaceButton, &QPushButton::clicked, this, &TopicReplacePane::ReplaceChosen);
  connect(m_replaceAllButton, &QPushButton::clicked, this, &TopicReplacePane::ReplaceAll);
  connect(m_undoButton, &QPushButton::clicked, this, &TopicReplacePane::Undo);
  connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenMatch(item); });
  connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
  UpdateButtons();
}

void TopicReplacePane::Show() {
  m_dock->show();
  m_dock->raise();
  m_phrase->setFocus();
  m_phrase->selectAll();
}

AllTopicsQuery TopicReplacePane::Query() const {
  return AllTopicsQuery{m_phrase->text(), m_matchCase->isChecked(), m_wholeWord->isChecked(),
                        m_inSource->isChecked()};
}

QList<TopicPageRef> TopicReplacePane::Topics() const {
  QList<TopicPageRef> topics;
  CollectTopics(*m_views.contents, QModelIndex(), topics);
  return topics;
}

bool TopicReplacePane::StoreEditedPage() {
  if (!m_project.IsOpen()) {
    m_status->setText(tr("No project is open."));
    return false;
  }
  return m_topics.StoreCurrentTopic();
}

void TopicReplacePane::Find() {
  m_list->clear();
  m_matches.clear();
  if (m_phrase->text().isEmpty() || !StoreEditedPage()) {
    UpdateButtons();
    return;
  }
  const TopicSearch search = FindInTopics(m_project.Folder(), Topics(), Query(), m_project.CodePage());
  m_matches = search.Matches;
  QTreeWidgetItem* group = nullptr;
  for (qsizetype i = 0; i < m_matches.size(); ++i) {
    const TopicMatch& match = m_matches.at(i);
    if (!group || group->data(0, kMatchRole).toString() != match.Page) {
      group = new QTreeWidgetItem(m_list, {QStringLiteral("%1 (%2)").arg(match.Title, match.Page)});
      group->setData(0, kMatchRole, match.Page);
      group->setFirstColumnSpanned(true);
      group->setExpanded(true);
    }
    auto* line = new QTreeWidgetItem(group, {tr("line %1").arg(match.Line), match.Context});
    line->setData(0, kMatchRole, static_cast<int>(i));
  }
  QString status = tr("%n match(es)", nullptr, static_cast<int>(m_matches.size())) +
                   tr(" in %n topic(s).", nullptr, m_list->topLevelItemCount());
  if (!search.Unreadable.isEmpty()) status += u' ' + search.Unreadable.join(u' ');
  m_status->setText(status);
  if (QTreeWidgetItem* first = m_list->topLevelItem(0)) m_list->setCurrentItem(first->child(0));
  UpdateButtons();
}

void TopicReplacePane::ReplaceChosen() {
  const QTreeWidgetItem* item = m_list->currentItem();
  if (!item || !item->parent()) return;
  const TopicMatch match = m_matches.value(item->data(0, kMatchRole).toInt());
  Replace(&match);
}

void TopicReplacePane::ReplaceAll() { Replace(nullptr); }

void TopicReplacePane::Replace(const TopicMatch* only) {
  if (m_phrase->text().isEmpty() || !StoreEditedPage()) return;
  const Result<ReplaceStep> step = ReplaceInTopics(m_project.Folder(), Topics(), Query(),
                                                   m_replacement->text(), m_project.CodePage(), only);
  if (!ReportFailure(m_window, step.Ok() ? Status() : Status(Fail(step.Message())))) return;
  if (step->Pages.isEmpty()) {
    m_status->setText(tr("Nothing was replaced: the pages changed since they were searched."));
    return;
  }
  m_steps.append(*step);
  ReloadEditedPage(*step);
  Find();
  m_status->setText(tr("Replaced %1 in %2 page(s); Undo replace puts them back.")
                        .arg(step->Replaced)
                        .arg(step->Pages.size()));
}

void TopicReplacePane::Undo() {
  if (m_steps.isEmpty() || !StoreEditedPage()) return;
  if (!ReportFailure(m_window, UndoReplace(m_steps.last()))) return;
  const ReplaceStep step = m_steps.takeLast();
  ReloadEditedPage(step);
  Find();
  m_status->setText(tr("%1 page(s) put back as they were.").arg(step.Pages.size()));
}

void TopicReplacePane::ReloadEditedPage(const ReplaceStep& step) {
  const TopicData* topic = m_views.contents->RecordAt(m_views.contentsTree->currentIndex());
  if (!topic || topic->FileName.isEmpty()) return;
  const QString path = m_project.PagePath(topic->FileName);
  const QString edited = QFileInfo(path).canonicalFilePath();
  for (const ReplaceStep::Page& page : step.Pages) {
    if (QFileInfo(page.Path).canonicalFilePath() == edited) {
      ReportFailure(m_window, m_topics.LoadTopicPage(path));
      return;
    }
  }
}

void TopicReplacePane::OpenMatch(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;
  const TopicMatch match = m_matches.value(item->data(0, kMatchRole).toInt());
  OpenTopicAtLine(m_views, match.Page, match.Line);
}

void TopicReplacePane::UpdateButtons() {
  const QTreeWidgetItem* item = m_list->currentItem();
  m_replaceButton->setEnabled(item && item->parent());
  m_replaceAllButton->setEnabled(!m_matches.isEmpty());
  m_undoButton->setEnabled(!m_steps.isEmpty());
}

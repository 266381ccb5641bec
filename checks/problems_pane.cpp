#include "checks/problems_pane.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/index_model.h"
#include "panes/topic_jump.h"
#include "widgets/action_registry.h"

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

QIcon SeverityIcon(CheckSeverity severity) {
  const QStyle::StandardPixmap pixmap = severity == CheckSeverity::Error ? QStyle::SP_MessageBoxCritical
                                        : severity == CheckSeverity::Warning
                                            ? QStyle::SP_MessageBoxWarning
                                            : QStyle::SP_MessageBoxInformation;
  return QApplication::style()->standardIcon(pixmap);
}

}  // namespace

ProblemsPane::ProblemsPane(const HelpProject& project, Views views, QObject* parent)
    : QObject(parent), project(project), views(views) {
  dock = new QDockWidget(tr("Problems"), views.window);
  dock->setObjectName("problemsDock");
  auto* body = new QWidget(dock);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  summary = new QLabel(body);
  summary->setObjectName("problemsSummary");
  list = new QTreeWidget(body);
  list->setObjectName("problemsList");
  list->setColumnCount(3);
  list->setHeaderLabels({tr("Topic or file"), tr("Line"), tr("Problem")});
  list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  list->setUniformRowHeights(true);
  layout->addWidget(summary);
  layout->addWidget(list);
  dock->setWidget(body);
  dock->hide();
  // Enter and double-click both activate a line.
  connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenProblem(item); });
}

ProblemsPane::~ProblemsPane() {
  if (worker) worker->wait();
}

void ProblemsPane::RegisterCommands(ActionRegistry& registry) {
  connect(registry.Add("checkProjectAction", tr("&Check project")), &QAction::triggered, this,
          &ProblemsPane::CheckProject);
}

void ProblemsPane::CheckProject() {
  if (checking || !project.IsOpen()) return;
  auto input = std::make_shared<ProjectCheckInput>();
  input->projectFile = project.ProjectFile();
  input->projectLines = project.ProjectLines();
  input->contents = views.contents->Forest();
  input->index = views.index->Forest();
  if (spelling) input->spelling = spelling();
  checking = true;
  summary->setText(tr("Checking %1 ...").arg(project.ProjectFile()));
  dock->show();
  dock->raise();

  auto result = std::make_shared<std::vector<CheckProblem>>();
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QThread* thread = QThread::create([input, result] { *result = ::CheckProject(*input); });
  worker = thread;
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  connect(thread, &QThread::finished, this, [this, input, result, clock] {
    checking = false;
    // A project opened meanwhile is not the one checked.
    if (project.ProjectFile() != input->projectFile) {
      summary->setText(tr("The check of %1 was left: another project is open.").arg(input->projectFile));
      return;
    }
    ShowProblems(*result, clock->elapsed());
    emit Checked(static_cast<int>(result->size()));
  });
  thread->start();
}

void ProblemsPane::ShowProblems(const std::vector<CheckProblem>& problems, qint64 milliseconds) {
  list->clear();
  int counts[3] = {0, 0, 0};
  std::vector<QTreeWidgetItem*> groups;
  for (const CheckProblem& problem : problems) {
    const int kind = static_cast<int>(problem.kind);
    if (groups.size() <= static_cast<size_t>(kind)) groups.resize(kind + 1, nullptr);
    QTreeWidgetItem*& group = groups[kind];
    if (!group) {
      group = new QTreeWidgetItem({CheckKindCaption(problem.kind)});
      group->setIcon(0, SeverityIcon(SeverityOf(problem.kind)));
      group->setFirstColumnSpanned(true);
    }
    ++counts[static_cast<int>(SeverityOf(problem.kind))];
    const QString where = problem.topicTitle.isEmpty()
                              ? (problem.page.isEmpty() ? problem.file : problem.page)
                              : QStringLiteral("%1 (%2)").arg(
                                    problem.topicTitle, problem.page.isEmpty() ? problem.file : problem.page);
    auto* line = new QTreeWidgetItem(group, {where, QString::number(problem.line), problem.text});
    line->setToolTip(2, ProblemLine(problem));
    // Only a problem on the topic's own page has a line in its source.
    line->setData(0, kPageRole, problem.page);
    line->setData(0, kLineRole, problem.page == problem.file ? problem.line : 1);
  }
  for (QTreeWidgetItem* group : groups) {
    if (!group) continue;
    group->setText(0, QStringLiteral("%1 (%2)").arg(group->text(0)).arg(group->childCount()));
    list->addTopLevelItem(group);
    group->setExpanded(true);
  }
  summary->setText(problems.empty() ? tr("No problems found (%1 ms).").arg(milliseconds)
                                    : tr("%1 errors, %2 warnings, %3 notes (%4 ms).")
                                          .arg(counts[0])
                                          .arg(counts[1])
                                          .arg(counts[2])
                                          .arg(milliseconds));
  if (QTreeWidgetItem* first = list->topLevelItem(0)) list->setCurrentItem(first->child(0));
}

void ProblemsPane::OpenProblem(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;
  const QString page = item->data(0, kPageRole).toString();
  const int line = item->data(0, kLineRole).toInt();
  if (OpenTopicAtLine({views.contentsTree, views.contents, views.editorTabs, views.sourceView}, page, line))
    return;
  if (!page.isEmpty() && FindTopicOfPage(*views.contents, page).isValid()) return;  // the selection stayed
  summary->setText(page.isEmpty() ? tr("%1 is no topic's page: open it from the project folder.")
                                        .arg(item->toolTip(2).section(u':', 0, 0))
                                  : tr("No Contents item leads to %1.").arg(page));
}

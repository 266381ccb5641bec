#include "checks/problems_pane.h"

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
    : QObject(parent), m_project(project), m_views(views) {
  m_dock = new QDockWidget(tr("Problems"), m_views.window);
  m_dock->setObjectName("problemsDock");
  auto* body = new QWidget(m_dock);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  m_summary = new QLabel(body);
  m_summary->setObjectName("problemsSummary");
  m_list = new QTreeWidget(body);
  m_list->setObjectName("problemsList");
  m_list->setColumnCount(3);
  m_list->setHeaderLabels({tr("Topic or file"), tr("Line"), tr("Problem")});
  m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  m_list->setUniformRowHeights(true);
  layout->addWidget(m_summary);
  layout->addWidget(m_list);
  m_dock->setWidget(body);
  m_dock->hide();
  // Enter and double-click both activate a line.
  connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenProblem(item); });
}

ProblemsPane::~ProblemsPane() {
  if (m_worker) m_worker->wait();
}

void ProblemsPane::CheckProject() {
  if (m_checking || !m_project.IsOpen()) return;
  auto input = std::make_shared<ProjectCheckInput>();
  input->ProjectFile = m_project.ProjectFile();
  input->ProjectLines = m_project.ProjectLines();
  input->Contents = m_views.contents->Forest();
  input->Index = m_views.index->Forest();
  if (m_spelling) input->Spelling = m_spelling();
  m_checking = true;
  m_summary->setText(tr("Checking %1 ...").arg(m_project.ProjectFile()));
  m_dock->show();
  m_dock->raise();

  auto result = std::make_shared<std::vector<CheckProblem>>();
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QThread* worker = QThread::create([input, result] { *result = ::CheckProject(*input); });
  m_worker = worker;
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  connect(worker, &QThread::finished, this, [this, input, result, clock] {
    m_checking = false;
    // A project opened meanwhile is not the one checked.
    if (m_project.ProjectFile() != input->ProjectFile) {
      m_summary->setText(tr("The check of %1 was left: another project is open.").arg(input->ProjectFile));
      return;
    }
    ShowProblems(*result, clock->elapsed());
    emit Checked(static_cast<int>(result->size()));
  });
  worker->start();
}

void ProblemsPane::ShowProblems(const std::vector<CheckProblem>& problems, qint64 milliseconds) {
  m_list->clear();
  int counts[3] = {0, 0, 0};
  std::vector<QTreeWidgetItem*> groups;
  for (const CheckProblem& problem : problems) {
    const int kind = static_cast<int>(problem.Kind);
    if (groups.size() <= static_cast<size_t>(kind)) groups.resize(kind + 1, nullptr);
    QTreeWidgetItem*& group = groups[kind];
    if (!group) {
      group = new QTreeWidgetItem({CheckKindCaption(problem.Kind)});
      group->setIcon(0, SeverityIcon(SeverityOf(problem.Kind)));
      group->setFirstColumnSpanned(true);
    }
    ++counts[static_cast<int>(SeverityOf(problem.Kind))];
    const QString where = problem.TopicTitle.isEmpty()
                              ? (problem.Page.isEmpty() ? problem.File : problem.Page)
                              : QStringLiteral("%1 (%2)").arg(
                                    problem.TopicTitle, problem.Page.isEmpty() ? problem.File : problem.Page);
    auto* line = new QTreeWidgetItem(group, {where, QString::number(problem.Line), problem.Text});
    line->setToolTip(2, ProblemLine(problem));
    // Only a problem on the topic's own page has a line in its source.
    line->setData(0, kPageRole, problem.Page);
    line->setData(0, kLineRole, problem.Page == problem.File ? problem.Line : 1);
  }
  for (QTreeWidgetItem* group : groups) {
    if (!group) continue;
    group->setText(0, QStringLiteral("%1 (%2)").arg(group->text(0)).arg(group->childCount()));
    m_list->addTopLevelItem(group);
    group->setExpanded(true);
  }
  m_summary->setText(problems.empty() ? tr("No problems found (%1 ms).").arg(milliseconds)
                                      : tr("%1 errors, %2 warnings, %3 notes (%4 ms).")
                                            .arg(counts[0])
                                            .arg(counts[1])
                                            .arg(counts[2])
                                            .arg(milliseconds));
  if (QTreeWidgetItem* first = m_list->topLevelItem(0)) m_list->setCurrentItem(first->child(0));
}

void ProblemsPane::OpenProblem(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;
  const QString page = item->data(0, kPageRole).toString();
  const int line = item->data(0, kLineRole).toInt();
  if (OpenTopicAtLine({m_views.contentsTree, m_views.contents, m_views.editorTabs, m_views.sourceView}, page,
                      line))
    return;
  if (!page.isEmpty() && FindTopicOfPage(*m_views.contents, page).isValid()) return;  // the selection stayed
  m_summary->setText(page.isEmpty() ? tr("%1 is no topic's page: open it from the project folder.")
                                          .arg(item->toolTip(2).section(u':', 0, 0))
                                    : tr("No Contents item leads to %1.").arg(page));
}

#include "checks/check_command.h"

#include <QFileInfo>

#include "checks/project_check.h"

int RunCheckCommand(const QString& projectPath, QTextStream& out, QTextStream& err,
                    const SpellingFor& spelling) {
  const QString path = QFileInfo(projectPath).absoluteFilePath();
  if (!QFileInfo(path).isFile()) {
    err << "orvex: project file not found: " << path << Qt::endl;
    return 2;
  }
  Result<ProjectCheckInput> input = ReadProjectCheckInput(path);
  if (!input) {
    err << "orvex: " << input.Message() << Qt::endl;
    return 2;
  }
  if (spelling) input->spelling = spelling(*input);
  int counts[3] = {0, 0, 0};
  for (const CheckProblem& problem : CheckProject(*input)) {
    out << ProblemLine(problem) << '\n';
    ++counts[static_cast<int>(SeverityOf(problem.kind))];
  }
  out.flush();
  err << QStringLiteral("%1 errors, %2 warnings, %3 notes").arg(counts[0]).arg(counts[1]).arg(counts[2])
      << Qt::endl;
  return counts[0] > 0 ? 1 : 0;
}

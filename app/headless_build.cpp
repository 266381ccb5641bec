#include "app/headless_build.h"

#include <QFileInfo>

#include "chm/compiler.h"
#include "model/help_project.h"
#include "project/recorded_save.h"

int RunHeadlessBuild(const QString& projectPath, const QString& settingsFile, QTextStream& out,
                     QTextStream& err, const orvex::CompileOptions& options) {
  const QString path = QFileInfo(projectPath).absoluteFilePath();
  if (!QFileInfo::exists(path)) {
    err << "orvex: project file not found: " << path << Qt::endl;
    return 2;
  }
  HelpProject project;
  Result<ProjectTrees> trees = project.Open(path);
  if (!trees) {
    err << "orvex: " << trees.Message() << Qt::endl;
    return 3;
  }
  for (const QString& problem : trees->problems) err << "orvex: " << problem << Qt::endl;
  Status history;
  if (const Status saved = SaveAndRecordRecent(project, std::move(trees->contents), std::move(trees->index),
                                               settingsFile, &history);
      !saved) {
    err << "orvex: " << saved.Message() << Qt::endl;
    return 3;
  }
  // The recent list is the program's, not the project's: the build goes on.
  if (!history)
    err << "orvex: warning: the recent-projects list was not updated: " << history.Message() << Qt::endl;
  const orvex::CompileResult result = orvex::CompileProject(path, options);
  for (const QString& line : result.messages) out << line << Qt::endl;
  if (!result.success) {
    err << "orvex: the compiled file was not written: " << result.compiledFile << Qt::endl;
    return 4;
  }
  if (result.errors > 0) {
    err << "orvex: the compiled file was written with " << result.errors << " errors: " << result.compiledFile
        << Qt::endl;
    return 1;
  }
  return 0;
}

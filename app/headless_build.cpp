#include "app/headless_build.h"

#include <QFileInfo>

#include "chm/compiler.h"
#include "model/project_reader.h"
#include "platform/text_file.h"
#include "project/project_saver.h"

int RunHeadlessBuild(const QString& projectPath, const QString& settingsFile, QTextStream& out,
                     QTextStream& err, const orvex::CompileOptions& options) {
  const QString path = QFileInfo(projectPath).absoluteFilePath();
  if (!QFileInfo(path).isFile()) {
    err << "orvex: project file not found: " << path << Qt::endl;
    return 2;
  }
  try {
    ProjectFiles files = ReadProjectFiles(path);
    for (const QString& problem : files.Problems) err << "orvex: " << problem << Qt::endl;
    ProjectSnapshot project{path, std::move(files.Contents), std::move(files.Index), files.MapLines,
                            files.AliasLines};
    SaveProjectFiles(project, files.ProjectLines, files.Sources, settingsFile);
  } catch (const FileError& e) {
    err << "orvex: " << e.message() << Qt::endl;
    return 3;
  }
  const orvex::CompileResult result = orvex::CompileProject(path, options);
  for (const QString& line : result.messages) out << line << Qt::endl;
  if (!result.success) {
    err << "orvex: the compiled file was not written: " << result.compiledFile << Qt::endl;
    return 4;
  }
  return 0;
}

#include "project/project_saver.h"

#include "app/recent_files.h"
#include "platform/text_file.h"
#include "project/map_alias.h"
#include "project/page_template.h"
#include "project/project_file.h"
#include "project/sitemap_writer.h"

void SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines,
                      const QString& settingsFile) {
  const int codePage = ProjectCodePage(projectLines);
  const QString& path = project.ProjectFile;
  WriteContentsFile(ChangeFileExt(path, ".hhc"), project.Contents, codePage);
  WriteIndexFile(ChangeFileExt(path, ".hhk"), project.Index, codePage);
  WriteMapFile(ChangeFileExt(path, ".h"), project.MapLines, codePage);
  WriteAliasFile(ChangeFileExt(path, ".ali"), project.AliasLines, codePage);
  std::optional<QString> firstTopic;
  if (!project.Contents.empty())
    firstTopic = project.Contents.front().Data ? project.Contents.front().Data->FileName : QString();
  projectLines = UpdateProjectLines(projectLines, firstTopic);
  WriteLinesFile(path, projectLines, codePage);
  AddToHistory(settingsFile, path);
}

#include "project/project_saver.h"

#include <QDir>
#include <QFileInfo>

#include "app/recent_files.h"
#include "platform/text_file.h"
#include "project/map_alias.h"
#include "project/page_template.h"
#include "project/project_file.h"
#include "project/sitemap_writer.h"

namespace {

// A link that leads out of the project folder would make Save write a file
// that is not the project's (a shared or a system file). Links inside the
// folder are written through as the user set them up.
void RefuseLinksOutOfTheFolder(const QStringList& files, const QString& projectFile) {
  const QString folder = QFileInfo(QFileInfo(projectFile).absolutePath()).canonicalFilePath();
  for (const QString& file : files) {
    const QFileInfo info(file);
    if (!info.isSymLink()) continue;
    const QString target = info.canonicalFilePath();
    const QString relative = QDir(folder).relativeFilePath(target.isEmpty() ? info.symLinkTarget() : target);
    if (folder.isEmpty() || relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative))
      throw FileError(
          QStringLiteral("Cannot create file %1: it is a symbolic link to %2, outside the project folder")
              .arg(file, QDir::toNativeSeparators(target.isEmpty() ? info.symLinkTarget() : target)));
  }
}

}  // namespace

QStringList ProjectFilesSaved(const QString& projectFile) {
  return {ChangeFileExt(projectFile, ".hhc"), ChangeFileExt(projectFile, ".hhk"),
          ChangeFileExt(projectFile, ".h"), ChangeFileExt(projectFile, ".ali"), projectFile};
}

Status SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines,
                        const QString& settingsFile) {
  const int codePage = ProjectCodePage(projectLines);
  const QString& path = project.ProjectFile;
  RefuseLinksOutOfTheFolder(ProjectFilesSaved(path), path);
  WriteContentsFile(ChangeFileExt(path, ".hhc"), project.Contents, codePage);
  WriteIndexFile(ChangeFileExt(path, ".hhk"), project.Index, codePage);
  WriteMapFile(ChangeFileExt(path, ".h"), project.MapLines, codePage);
  WriteAliasFile(ChangeFileExt(path, ".ali"), project.AliasLines, codePage);
  std::optional<QString> firstTopic;
  if (!project.Contents.empty())
    firstTopic = project.Contents.front().Data ? project.Contents.front().Data->FileName : QString();
  projectLines = OneLineEach(UpdateProjectLines(projectLines, firstTopic));
  WriteLinesFile(path, projectLines, codePage);
  try {
    AddToHistory(settingsFile, path);
  } catch (const FileError& e) {
    return Fail(e.message());
  }
  return {};
}

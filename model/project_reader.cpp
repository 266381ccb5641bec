#include "model/project_reader.h"

#include <QFileInfo>

#include "model/sitemap_reader.h"
#include "platform/codepage.h"
#include "platform/text_file.h"
#include "project/page_template.h"
#include "project/project_file.h"

namespace {

QStringList OptionalLines(const QString& path, int codePage) {
  if (!QFileInfo(path).isFile()) return {};
  return ReadLinesFile(path, codePage);
}

QString OptionalText(const QString& path, int codePage, QStringList& problems) {
  if (!QFileInfo(path).isFile()) {
    problems << "File not found: " + path;
    return {};
  }
  return ReadTextFile(path, codePage);
}

}  // namespace

ProjectFiles ReadProjectFiles(const QString& projectPath) {
  ProjectFiles files;
  // The "Language" line is plain ASCII: find it first, then read every file
  // in the project's code page.
  const QByteArray projectBytes = ReadFileBytes(projectPath);
  const int codePage = ProjectCodePage(SplitLines(DecodeCodePage(projectBytes, 1252)));
  files.ProjectLines = SplitLines(DecodeCodePage(projectBytes, codePage));
  files.AliasLines = OptionalLines(ChangeFileExt(projectPath, ".ali"), codePage);
  files.MapLines = OptionalLines(ChangeFileExt(projectPath, ".h"), codePage);
  // A project without a contents or index file opens with that tree empty.
  files.Contents =
      ReadContentsFile(OptionalText(ChangeFileExt(projectPath, ".hhc"), codePage, files.Problems));
  files.Index = ReadIndexFile(OptionalText(ChangeFileExt(projectPath, ".hhk"), codePage, files.Problems));
  return files;
}

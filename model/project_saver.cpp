#include "model/project_saver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <future>

#include "formats/sitemap/index_order.h"
#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"
#include "formats/context/context_map.h"
#include "formats/context/map_alias_writer.h"
#include "formats/project/page_template.h"
#include "formats/project/project_file.h"
#include "formats/project/project_sections.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

// A link that leads out of the project folder would make Save write a file
// that is not the project's (a shared or a system file). Links inside the
// folder are written through as the user set them up.
Status RefuseLinksOutOfTheFolder(const QStringList& files, const QString& projectFile) {
  const QString folder = QFileInfo(QFileInfo(projectFile).absolutePath()).canonicalFilePath();
  for (const QString& file : files) {
    const QFileInfo info(file);
    if (!info.isSymLink()) continue;
    const QString target = info.canonicalFilePath();
    const QString relative = QDir(folder).relativeFilePath(target.isEmpty() ? info.symLinkTarget() : target);
    if (folder.isEmpty() || relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative))
      return Fail(
          QStringLiteral("Cannot create file %1: it is a symbolic link to %2, outside the project folder")
              .arg(file, QDir::toNativeSeparators(target.isEmpty() ? info.symLinkTarget() : target)));
  }
  return {};
}

Status WriteSitemap(SitemapSource& source, const QString& text, int codePage, const QString& projectFile,
                    bool emptyTree) {
  if (!source.readOnlyReason.isEmpty()) return {};
  const QByteArray digest = SitemapDigest(text);
  if (digest == source.writtenForm && QFileInfo(source.path).isFile()) return {};
  // Nothing is created outside the project folder ("Contents file=..\x.hhc"):
  // an empty tree needs no file there, another stops the save.
  if (!QFileInfo::exists(source.path) && !InsideFolder(source.path, QFileInfo(projectFile).absolutePath())) {
    if (emptyTree) return {};
    return Fail(QStringLiteral("Cannot create file %1: it is outside the project folder").arg(source.path));
  }
  if (Status written = WriteTextFile(source.path, text, codePage); !written) return written;
  source.writtenForm = digest;
  return {};
}

IndexNode CopyIndexNode(const IndexNode& node) {
  IndexNode copy;
  copy.caption = node.caption;
  if (node.data) copy.data = std::make_unique<IndexEntryData>(*node.data);
  for (const IndexNode& child : node.children) copy.children.push_back(CopyIndexNode(child));
  return copy;
}

// The project file keeps its bytes when its lines are what it holds, and
// its line breaks (LF as generators write them, else CR LF) when they change.
Status WriteProjectFile(const QString& path, const QStringList& lines, int codePage) {
  QFile file(path);
  const QByteArray current = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  file.close();
  if (!current.isEmpty() && SplitLines(DecodeCodePage(current, codePage)) == lines) return {};
  const bool lineFeeds = current.contains('\n') && !current.contains("\r\n");
  if (!lineFeeds) return WriteLinesFile(path, lines, codePage);
  return WriteTextFile(path, lines.join(u'\n') + u'\n', codePage);
}

// Whether an [ALIAS] or [MAP] line of the project includes the file.
bool ProjectIncludes(const QString& projectFile, const QStringList& projectLines, const QString& file) {
  const QString folder = QFileInfo(projectFile).absolutePath();
  const QString target = QFileInfo(file).absoluteFilePath();
  for (const QString& section : {QStringLiteral("ALIAS"), QStringLiteral("MAP")}) {
    for (const QString& line : HhpSectionLines(projectLines, section)) {
      QString name;
      if (IsIncludeLine(line, &name) && ResolveProjectPath(folder, name) == target) return true;
    }
  }
  return false;
}

bool WantsWriting(const QString& projectFile, const QStringList& projectLines, const QString& file,
                  const QStringList& lines) {
  return !lines.isEmpty() || QFileInfo::exists(file) || ProjectIncludes(projectFile, projectLines, file);
}

}  // namespace

QStringList ProjectFilesSaved(const QString& projectFile, const QStringList& projectLines) {
  return {ContentsFilePath(projectFile, projectLines), IndexFilePath(projectFile, projectLines),
          ReplaceExtension(projectFile, ".h"), ReplaceExtension(projectFile, ".ali"), projectFile};
}

Status SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines, ProjectSources& sources) {
  const int codePage = ProjectCodePage(projectLines);
  const QString& path = project.projectFile;
  if (sources.contents.path.isEmpty()) sources.contents.path = ContentsFilePath(path, projectLines);
  if (sources.index.path.isEmpty()) sources.index.path = IndexFilePath(path, projectLines);
  const QString mapFile = ReplaceExtension(path, ".h");
  const QString aliasFile = ReplaceExtension(path, ".ali");
  if (Status inside = RefuseLinksOutOfTheFolder(
          {sources.contents.path, sources.index.path, mapFile, aliasFile, path}, path);
      !inside)
    return inside;
  // The two files' texts are made side by side, then written one by one.
  std::future<QString> contentsText = std::async(
      std::launch::async,
      [&project, &header = sources.contents.header] { return ContentsFileText(project.contents, header); });
  // The Index tree is kept sorted; its file is written in the order opening gives it.
  std::vector<IndexNode> index;
  index.reserve(project.index.size());
  for (const IndexNode& node : project.index) index.push_back(CopyIndexNode(node));
  SortIndexNodes(index);
  const QString indexText = IndexFileText(index, sources.index.header);
  if (Status written =
          WriteSitemap(sources.contents, contentsText.get(), codePage, path, project.contents.empty());
      !written)
    return written;
  if (Status written = WriteSitemap(sources.index, indexText, codePage, path, index.empty()); !written)
    return written;
  if (WantsWriting(path, projectLines, mapFile, project.mapLines))
    if (Status written = WriteMapFile(mapFile, project.mapLines, codePage); !written) return written;
  if (WantsWriting(path, projectLines, aliasFile, project.aliasLines))
    if (Status written = WriteAliasFile(aliasFile, project.aliasLines, codePage); !written) return written;
  std::optional<QString> firstTopic;
  if (!project.contents.empty())
    firstTopic = project.contents.front().data ? project.contents.front().data->fileName : QString();
  // The project file holds one value a line: the first topic is compared
  // with [FILES] as it will be written there.
  if (firstTopic) firstTopic = OneLineEach({*firstTopic}).front();
  projectLines =
      OneLineEach(UpdateProjectLines(projectLines, firstTopic, path, sources.defaultTopicFollowsContents));
  return WriteProjectFile(path, projectLines, codePage);
}

Status SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines) {
  ProjectSources sources;
  return SaveProjectFiles(project, projectLines, sources);
}

#include "model/project_reader.h"

#include <QDir>
#include <QFileInfo>

#include <future>

#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"
#include "formats/context/context_map.h"
#include "formats/project/page_template.h"
#include "formats/project/project_file.h"
#include "formats/sitemap/sitemap_writer.h"
#include "formats/project/project_sections.h"

namespace {

constexpr qint64 kMaxSitemapBytes = 256 * 1024 * 1024;

Result<QStringList> OptionalLines(const QString& path, int codePage) {
  if (!QFileInfo::exists(path)) return QStringList();
  const Result<QByteArray> bytes = ReadRegularFile(path, kMaxProjectFileBytes);
  if (!bytes) return Fail(bytes.Message());
  return SplitLines(DecodeCodePage(*bytes, codePage));
}

// Why the readers cannot read these bytes as 8-bit text, or empty.
QString EncodingProblem(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
    return QStringLiteral("it is written in UTF-16, which Orvex cannot read");
  if (bytes.contains('\0')) return QStringLiteral("it holds NUL bytes (UTF-16 or binary data)");
  return {};
}

// Why these bytes are not a help project, or empty: a project file is 8-bit
// text with an [OPTIONS] section (a picture or a document chosen by mistake
// has neither, and saving it as a project would write files beside it).
QString NotAProjectReason(const QByteArray& bytes, const QStringList& lines) {
  if (const QString encoding = EncodingProblem(bytes); !encoding.isEmpty()) return encoding;
  for (const QString& line : lines)
    if (HhpSectionName(line) == u"OPTIONS") return {};
  return QStringLiteral("it has no [OPTIONS] section");
}

// Reads one sitemap file into `source` and returns its text ("" when it
// is missing or cannot be understood; the reason then is in the source). A
// missing file that the project names (`named`) is a problem to ask about;
// one that only would have the project's name reads as an empty tree.
QString SitemapText(SitemapSource& source, bool named, int codePage, ProjectFiles& files) {
  if (!QFileInfo::exists(source.path)) {
    if (named) {
      files.problems << QStringLiteral("File not found: %1").arg(source.path);
      files.missingSitemaps << source.path;
    }
    return {};
  }
  const Result<QByteArray> bytes = ReadRegularFile(source.path, kMaxSitemapBytes);
  if (!bytes) {
    source.readOnlyReason = bytes.Message();
    return {};
  }
  source.readOnlyReason = EncodingProblem(*bytes);
  if (!source.readOnlyReason.isEmpty()) return {};
  return DecodeCodePage(*bytes, codePage);
}

template <typename Read>
void NoteHowItRead(SitemapSource& source, const QString& text, const Read& read) {
  source.header = read.header;
  if (!source.readOnlyReason.isEmpty()) return;
  if (read.unread > 0)
    source.readOnlyReason = QStringLiteral("%1 of its items or parameters cannot be read").arg(read.unread);
  else if (read.header.isEmpty() && !text.trimmed().isEmpty())
    source.readOnlyReason = QStringLiteral("it has no list of items");
}

void Tell(const SitemapSource& source, QStringList& warnings) {
  if (source.readOnlyReason.isEmpty()) return;
  warnings << QStringLiteral(
                  "%1 cannot be read completely: %2. Orvex shows what it could read and leaves "
                  "the file as it is when saving.")
                  .arg(QDir::toNativeSeparators(source.path), source.readOnlyReason);
}

}  // namespace

Result<ProjectFiles> ReadProjectFiles(const QString& projectPath) {
  ProjectFiles files;
  // The "Language" line is plain ASCII: find it first, then read every file
  // in the project's code page.
  const Result<QByteArray> projectBytes = ReadRegularFile(projectPath, kMaxProjectFileBytes);
  if (!projectBytes) return Fail(projectBytes.Message());
  const QStringList asciiLines = SplitLines(DecodeCodePage(*projectBytes, 1252));
  if (const QString reason = NotAProjectReason(*projectBytes, asciiLines); !reason.isEmpty())
    return Fail(
        QStringLiteral("%1 is not a help project: %2.").arg(QDir::toNativeSeparators(projectPath), reason));
  const int codePage = ProjectCodePage(asciiLines);
  files.projectLines = SplitLines(DecodeCodePage(*projectBytes, codePage));
  const QString aliasFile = ReplaceExtension(projectPath, ".ali");
  const QString mapFile = ReplaceExtension(projectPath, ".h");
  Result<QStringList> aliasLines = OptionalLines(aliasFile, codePage);
  if (!aliasLines) return Fail(aliasLines.Message());
  files.aliasLines = std::move(*aliasLines);
  Result<QStringList> mapLines = OptionalLines(mapFile, codePage);
  if (!mapLines) return Fail(mapLines.Message());
  files.mapLines = std::move(*mapLines);

  ProjectSources& sources = files.sources;
  sources.contents.path = ContentsFilePath(projectPath, files.projectLines);
  sources.index.path = IndexFilePath(projectPath, files.projectLines);
  // A project without a contents or index file opens with that tree empty.
  const auto named = [&files](const QString& option) {
    const std::optional<QString> value = HhpOption(files.projectLines, option);
    return value && !value->trimmed().isEmpty();
  };
  const QString contentsText = SitemapText(sources.contents, named("Contents file"), codePage, files);
  const QString indexText = SitemapText(sources.index, named("Index file"), codePage, files);
  // The two trees are read, and what the writer gives for each is digested,
  // side by side: each is half of the time a large project takes to open.
  std::future<ContentsFileRead> contentsRead =
      std::async(std::launch::async, [&contentsSource = sources.contents, &contentsText] {
        ContentsFileRead contents = ReadContents(contentsText);
        NoteHowItRead(contentsSource, contentsText, contents);
        contentsSource.writtenForm = SitemapDigest(ContentsFileText(contents.nodes, contents.header));
        return contents;
      });
  IndexFileRead index = ReadIndex(indexText);
  NoteHowItRead(sources.index, indexText, index);
  sources.index.writtenForm = SitemapDigest(IndexFileText(index.nodes, index.header));
  files.index = std::move(index.nodes);
  files.contents = std::move(contentsRead.get().nodes);
  sources.defaultTopicFollowsContents = DefaultTopicFollowsContents(
      files.projectLines,
      files.contents.empty()
          ? std::nullopt
          : std::optional<QString>(files.contents.front().data ? files.contents.front().data->fileName
                                                               : QString()));
  Tell(sources.contents, sources.warnings);
  Tell(sources.index, sources.warnings);
  if (const QString problem = CodePageProblem(files.projectLines); !problem.isEmpty())
    sources.warnings << QStringLiteral("%1: %2. Orvex reads and writes the project's files as Windows-1252.")
                            .arg(QDir::toNativeSeparators(projectPath), problem);

  // Context numbers of the project file's own sections; the program's own
  // alias and map files are held as lines above and left out here.
  const ProjectContextMap map = ReadProjectContextMap(QFileInfo(projectPath).absolutePath(),
                                                      files.projectLines, codePage, {}, {aliasFile, mapFile});
  for (const ContextEntry& entry : map.context.entries) {
    const QString key = ContextPageKey(entry.file);
    if (!sources.contextNumbers.contains(key))
      sources.contextNumbers.insert(key, QString::number(entry.number));
  }
  sources.warnings += map.warnings;
  files.problems += sources.warnings;
  return files;
}

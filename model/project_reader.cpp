#include "model/project_reader.h"

#include <QDir>
#include <QFileInfo>

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
  if (!QFileInfo::exists(source.Path)) {
    if (named) {
      files.Problems << QStringLiteral("File not found: %1").arg(source.Path);
      files.MissingSitemaps << source.Path;
    }
    return {};
  }
  const Result<QByteArray> bytes = ReadRegularFile(source.Path, kMaxSitemapBytes);
  if (!bytes) {
    source.ReadOnlyReason = bytes.Message();
    return {};
  }
  source.ReadOnlyReason = EncodingProblem(*bytes);
  if (!source.ReadOnlyReason.isEmpty()) return {};
  return DecodeCodePage(*bytes, codePage);
}

template <typename Read>
void NoteHowItRead(SitemapSource& source, const QString& text, const Read& read) {
  source.Header = read.Header;
  if (!source.ReadOnlyReason.isEmpty()) return;
  if (read.Unread > 0)
    source.ReadOnlyReason = QStringLiteral("%1 of its items or parameters cannot be read").arg(read.Unread);
  else if (read.Header.isEmpty() && !text.trimmed().isEmpty())
    source.ReadOnlyReason = QStringLiteral("it has no list of items");
}

void Tell(const SitemapSource& source, QStringList& warnings) {
  if (source.ReadOnlyReason.isEmpty()) return;
  warnings << QStringLiteral(
                  "%1 cannot be read completely: %2. Orvex shows what it could read and leaves "
                  "the file as it is when saving.")
                  .arg(QDir::toNativeSeparators(source.Path), source.ReadOnlyReason);
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
  files.ProjectLines = SplitLines(DecodeCodePage(*projectBytes, codePage));
  const QString aliasFile = ReplaceExtension(projectPath, ".ali");
  const QString mapFile = ReplaceExtension(projectPath, ".h");
  Result<QStringList> aliasLines = OptionalLines(aliasFile, codePage);
  if (!aliasLines) return Fail(aliasLines.Message());
  files.AliasLines = std::move(*aliasLines);
  Result<QStringList> mapLines = OptionalLines(mapFile, codePage);
  if (!mapLines) return Fail(mapLines.Message());
  files.MapLines = std::move(*mapLines);

  ProjectSources& sources = files.Sources;
  sources.Contents.Path = ContentsFilePath(projectPath, files.ProjectLines);
  sources.Index.Path = IndexFilePath(projectPath, files.ProjectLines);
  // A project without a contents or index file opens with that tree empty.
  const auto named = [&files](const QString& option) {
    const std::optional<QString> value = HhpOption(files.ProjectLines, option);
    return value && !value->trimmed().isEmpty();
  };
  const QString contentsText = SitemapText(sources.Contents, named("Contents file"), codePage, files);
  ContentsFileRead contents = ReadContents(contentsText);
  NoteHowItRead(sources.Contents, contentsText, contents);
  sources.Contents.WrittenForm = SitemapDigest(ContentsFileText(contents.Nodes, contents.Header));
  files.Contents = std::move(contents.Nodes);
  sources.DefaultTopicFollowsContents = DefaultTopicFollowsContents(
      files.ProjectLines,
      files.Contents.empty()
          ? std::nullopt
          : std::optional<QString>(files.Contents.front().Data ? files.Contents.front().Data->FileName
                                                               : QString()));
  const QString indexText = SitemapText(sources.Index, named("Index file"), codePage, files);
  IndexFileRead index = ReadIndex(indexText);
  NoteHowItRead(sources.Index, indexText, index);
  sources.Index.WrittenForm = SitemapDigest(IndexFileText(index.Nodes, index.Header));
  files.Index = std::move(index.Nodes);
  Tell(sources.Contents, sources.Warnings);
  Tell(sources.Index, sources.Warnings);
  if (const QString problem = CodePageProblem(files.ProjectLines); !problem.isEmpty())
    sources.Warnings << QStringLiteral("%1: %2. Orvex reads and writes the project's files as Windows-1252.")
                            .arg(QDir::toNativeSeparators(projectPath), problem);

  // Context numbers of the project file's own sections; the program's own
  // alias and map files are held as lines above and left out here.
  const ProjectContextMap map = ReadProjectContextMap(QFileInfo(projectPath).absolutePath(),
                                                      files.ProjectLines, codePage, {}, {aliasFile, mapFile});
  for (const ContextEntry& entry : map.Context.Entries) {
    const QString key = ContextPageKey(entry.File);
    if (!sources.ContextNumbers.contains(key))
      sources.ContextNumbers.insert(key, QString::number(entry.Number));
  }
  sources.Warnings += map.Warnings;
  files.Problems += sources.Warnings;
  return files;
}

#include "chm/help_compiler.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <optional>

#include "chm/compiler.h"
#include "chm/fulltext_index.h"
#include "chm/input_text.h"
#include "chm/keyword_links.h"
#include "chm/page_scan.h"
#include "chm/system_files.h"
#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"
#include "platform/regular_file.h"
#include "formats/context/context_map.h"
#include "formats/project/page_template.h"
#include "formats/project/project_file.h"
#include "formats/project/project_sections.h"

namespace orvex {
namespace {

constexpr char kCompilerName[] = "Orvex hhc";

bool IsPageName(const QString& name) {
  return name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

struct ContentsFacts {
  int items = 0;
  QHash<QString, QString> titleOfLocal;  // folded project-relative page -> first contents title
};

void CollectContents(const std::vector<ContentsNode>& nodes, ContentsFacts& facts) {
  for (const ContentsNode& node : nodes) {
    ++facts.items;
    if (node.data && !node.data->fileName.isEmpty()) {
      const QString page = ResolveReference(QString(), node.data->fileName).toCaseFolded();
      if (!facts.titleOfLocal.contains(page)) facts.titleOfLocal.insert(page, node.caption);
    }
    CollectContents(node.children, facts);
  }
}

int CountIndexEntries(const std::vector<IndexNode>& nodes) {
  int count = 0;
  for (const IndexNode& node : nodes) count += 1 + CountIndexEntries(node.children);
  return count;
}

// The topic a reference of the Index names, each reference resolved once
// (many entries name the same page); nullopt when it names none.
class TopicOfReference {
 public:
  explicit TopicOfReference(const QHash<QString, quint32>& topics) : topicOf(topics) {}
  std::optional<quint32> operator()(const QString& reference) {
    auto found = known.constFind(reference);
    if (found == known.constEnd()) {
      const auto topic = topicOf.constFind(ResolveReference(QString(), reference).toCaseFolded());
      found = known.insert(reference, topic == topicOf.constEnd() ? -1 : qint64(*topic));
    }
    return *found < 0 ? std::nullopt : std::optional<quint32>(quint32(*found));
  }

 private:
  const QHash<QString, quint32>& topicOf;  // folded page name -> its number in #TOPICS
  QHash<QString, qint64> known;            // reference as written -> topic, -1 for none
};

// The Index's keywords in its order, each below the one it is under: the
// nodes of one item (siblings with the same keyword) make one keyword with
// several pages. Pages that are not topics of the help are left out.
void CollectKeywords(const std::vector<IndexNode>& nodes, int depth, TopicOfReference& topicOf,
                     QList<ChmKeyword>& keywords) {
  for (size_t first = 0; first < nodes.size();) {
    size_t end = first + 1;
    while (end < nodes.size() && nodes[end].caption == nodes[first].caption) ++end;
    ChmKeyword keyword{nodes[first].caption, depth, {}, {}};
    for (size_t i = first; i < end; ++i) {
      const IndexEntryData* data = nodes[i].data.get();
      if (!data) continue;
      for (const SitemapParam& param : data->params) {
        if (param.name.compare(QLatin1String("See Also"), Qt::CaseInsensitive) == 0 && !param.value.isEmpty())
          keyword.seeAlso = param.value;
      }
      const std::optional<quint32> topic = topicOf(data->fileName);
      if (topic && !keyword.topics.contains(*topic)) keyword.topics.append(*topic);
    }
    if (!keyword.topics.isEmpty()) keyword.seeAlso.clear();
    keywords.append(keyword);
    for (size_t i = first; i < end; ++i) CollectKeywords(nodes[i].children, depth + 1, topicOf, keywords);
    first = end;
  }
}

// The time the build records: SOURCE_DATE_EPOCH when it is set (builds that
// must give the same bytes every time), else now.
qint64 BuildTime() {
  bool ok = false;
  const qint64 fixed = qEnvironmentVariable("SOURCE_DATE_EPOCH").trimmed().toLongLong(&ok);
  if (ok && fixed >= 0) return fixed;
  return QDateTime::currentSecsSinceEpoch();
}

class ProjectReader {
 public:
  ProjectReader(const QString& path, const HelpReadOptions& readOptions)
      : projectPath(QFileInfo(path).absoluteFilePath()),
        folder(QFileInfo(projectPath).absolutePath()),
        options(readOptions) {}

  Result<HelpContent> Read();

 private:
  QByteArray Encode(const QString& text) const { return EncodeCodePage(text, codePage); }
  // Pages and sitemaps say how they are encoded when they can (a byte-order
  // mark, a "charset="), whatever the project's language.
  QString Decode(const QByteArray& bytes) const { return DecodeInputText(bytes, codePage, true); }
  // The text in the help's code page; a character it cannot hold is reported.
  QByteArray EncodeReported(const QString& text, const QString& what) {
    const QByteArray bytes = Encode(text);
    if (DecodeCodePage(bytes, codePage) != text)
      Warning(QStringLiteral("the %1 \"%2\" has characters that code page %3 cannot hold; they are "
                             "stored as character references")
                  .arg(what, text)
                  .arg(codePage));
    return bytes;
  }
  QString Option(const char* key) const {
    return HhpOption(lines, QLatin1String(key)).value_or(QString()).trimmed();
  }
  void Error(const QString& text) {
    help.messages.append(QStringLiteral("Error: ") + text);
    ++help.errors;
  }
  void Warning(const QString& text) {
    help.messages.append(QStringLiteral("Warning: ") + text);
    ++help.warnings;
  }
  // An entry of the help's own, handed on at once.
  void AddEntry(HelpEntry entry) {
    if (options.fileRead) options.fileRead(entry);
    help.entries.append(std::move(entry));
  }
  void WarnOfWhatIsNotBuilt(const QList<HhpSection>& sections);
  QList<ScanSeed> Seeds(const QList<ContextEntry>& context, const QList<ChmWindowType>& windows) const;
  void AddSystemFiles(ProjectScan& scan, const QList<ContextEntry>& context,
                      const QList<ChmWindowType>& windows);

  QString projectPath;
  QString folder;
  HelpReadOptions options;
  int codePage = 1252;
  QStringList lines;
  HelpContent help;
  QHash<QString, QString> onDisk;     // folded project-relative name -> name on disk
  QHash<QString, qsizetype> scanned;  // folded name -> index in the scan
};

QList<ScanSeed> ProjectReader::Seeds(const QList<ContextEntry>& context,
                                     const QList<ChmWindowType>& windows) const {
  const QString projectName = QFileInfo(projectPath).fileName();
  QList<ScanSeed> seeds;
  QString section;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString header = HhpSectionName(lines.at(i));
    if (!header.isEmpty()) {
      section = header;
      continue;
    }
    const QString name = lines.at(i).trimmed();
    if ((section == QLatin1String("FILES") || section == QLatin1String("TEXT POPUPS")) && !name.isEmpty() &&
        !name.startsWith(u';'))
      seeds.append(ScanSeed{name, QStringLiteral("%1, line %2").arg(projectName).arg(i + 1)});
  }
  const auto option = [&](const char* key) {
    const QString value = Option(key);
    if (!value.isEmpty()) seeds.append(ScanSeed{value, QStringLiteral("%1, %2=").arg(projectName, key)});
  };
  option("Default topic");
  option("Contents file");
  option("Index file");
  for (const ContextEntry& entry : context)
    seeds.append(ScanSeed{entry.file, QStringLiteral("the alias %1").arg(entry.name), false});
  for (const ChmWindowType& w : windows) {
    for (const QString& file : {w.contentsFile, w.indexFile, w.defaultFile, w.homeFile}) {
      if (!file.isEmpty() && !ResolveReference(QString(), file).isEmpty())
        seeds.append(ScanSeed{file, QStringLiteral("the window %1").arg(w.name)});
    }
  }
  return seeds;
}

// What the project asks for that this compiler does not build: options and
// sections it reads past, each named in a warning.
void ProjectReader::WarnOfWhatIsNotBuilt(const QList<HhpSection>& sections) {
  for (const char* yesOption :
       {"Binary TOC", "Auto Index", "Create CHI file", "Enhanced decompilation", "Flat"}) {
    if (Option(yesOption).compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0)
      Warning(QStringLiteral("\"%1=Yes\" is not built by this compiler; the option is ignored")
                  .arg(QLatin1String(yesOption)));
  }
  for (const char* valueOption : {"Full text search stop list file", "Sample list file", "Custom tab"}) {
    if (!Option(valueOption).isEmpty())
      Warning(QStringLiteral("\"%1=\" is not built by this compiler; the option is ignored")
                  .arg(QLatin1String(valueOption)));
  }
  if (const QString autoToc = Option("Auto TOC"); !autoToc.isEmpty() && autoToc != u'0')
    Warning(
        QStringLiteral("\"Auto TOC=%1\" is not built by this compiler; the option is ignored").arg(autoToc));
  for (const HhpSection& section : sections) {
    const QString name = HhpSectionName(section.header);
    if (name != QLatin1String("MERGE FILES") && name != QLatin1String("SUBFILES") &&
        name != QLatin1String("INFOTYPES"))
      continue;
    qsizetype items = 0;
    for (const QString& line : section.lines)
      if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(u';')) ++items;
    if (items > 0)
      Warning(QStringLiteral("the section [%1] (%2 lines) is not built by this compiler; it is ignored")
                  .arg(name)
                  .arg(items));
  }
}

Result<HelpContent> ProjectReader::Read() {
  const Result<QByteArray> read = ReadRegularFile(projectPath, kMaxProjectFileBytes);
  if (!read) return Fail(QStringLiteral("Cannot read the project file: %1").arg(read.Message()));
  const QByteArray& bytes = *read;
  codePage = EffectiveCodePage(ProjectCodePage(DecodeInputText(bytes, 1252, false).split(u'\n')));
  lines = DecodeInputText(bytes, codePage, false).split(u'\n');
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  for (const QString& line : std::as_const(lines)) {
    if (const auto lcid = LanguageLineLcid(line)) help.lcid = static_cast<quint32>(*lcid);
  }
  help.compiledFile = CompiledFileOf(projectPath, lines);
  help.logFile = LogFileOf(projectPath, lines);
  help.projectFiles.append(projectPath);

  const ProjectContextMap contextMap = ReadProjectContextMap(folder, lines, codePage);
  for (const QString& w : contextMap.warnings + contextMap.context.warnings)
    Warning(w.startsWith(QLatin1String("Warning: ")) ? w.mid(9) : w);
  help.projectFiles += contextMap.includedFiles;
  const QList<ContextEntry>& context = contextMap.context.entries;
  const QList<HhpSection> sections = SplitHhpSections(lines);

  QList<ChmWindowType> windows;
  for (const HhpSection& section : sections) {
    if (HhpSectionName(section.header) != QLatin1String("WINDOWS")) continue;
    for (const QString& line : section.lines) {
      if (line.trimmed().isEmpty() || line.trimmed().startsWith(u';')) continue;
      if (const auto window = ParseWindowLine(line))
        windows.append(*window);
      else
        Warning(QStringLiteral("window definition not understood: %1").arg(line.trimmed()));
    }
  }

  WarnOfWhatIsNotBuilt(sections);

  if (options.reading) options.reading(help.lcid);
  ProjectScan scan = ScanProject(
      folder, Seeds(context, windows), [this](const QByteArray& b) { return Decode(b); }, options.threads,
      [this](const ScannedFile& file) {
        if (options.fileRead) options.fileRead(HelpEntry{'/' + Encode(file.name), file.bytes});
      });
  for (const ScanProblem& p : scan.missingFiles) {
    if (p.required)
      Error(QStringLiteral("file not found: %1 (named in %2)").arg(p.target, p.origin));
    else
      Warning(QStringLiteral("file not found: %1 (named in %2); kept in the context map")
                  .arg(p.target, p.origin));
  }
  for (const QString& why : scan.unreadable) Error(why);
  for (const ScanProblem& p : scan.outside)
    Warning(
        p.origin.isEmpty()
            ? QStringLiteral("%1 links outside the project: left out").arg(p.target)
            : QStringLiteral("%1 links outside the project: left out (named in %2)").arg(p.target, p.origin));
  for (const ScanProblem& p : scan.brokenAnchors)
    Warning(QStringLiteral("anchor not found: %1 (named in %2)").arg(p.target, p.origin));
  for (qsizetype i = 0; i < scan.files.size(); ++i) {
    const QString& name = scan.files.at(i).name;
    onDisk.insert(name.toCaseFolded(), name);
    scanned.insert(name.toCaseFolded(), i);
    help.projectFiles.append(folder + u'/' + name);
    help.entries.append(HelpEntry{'/' + Encode(name), scan.files.at(i).bytes});
  }
  help.files = static_cast<int>(scan.files.size());
#ifdef __GLIBC__
  // The pages' text, decoded and dropped on every thread, goes back to the
  // system before the help's own structures are made.
  malloc_trim(0);
#endif
  AddSystemFiles(scan, context, windows);
  return help;
}

void ProjectReader::AddSystemFiles(ProjectScan& scan, const QList<ContextEntry>& context,
                                   const QList<ChmWindowType>& windows) {
  const auto fileOnDisk = [this](const QString& value) {
    const QString relative = ResolveReference(QString(), value);
    return onDisk.value(relative.toCaseFolded(), relative);
  };
  const auto textOf = [&](const QString& name) -> QString {
    const auto at = scanned.constFind(name.toCaseFolded());
    return at == scanned.constEnd() ? QString() : scan.files.at(*at).text;
  };
  const QString contentsFile = fileOnDisk(Option("Contents file"));
  const QString indexFile = fileOnDisk(Option("Index file"));

  ContentsFacts contents;
  const QString contentsText = contentsFile.isEmpty() ? QString() : textOf(contentsFile);
  CollectContents(ReadContentsFile(contentsText), contents);
  help.contentsItems = contents.items;
  std::vector<IndexNode> index =
      indexFile.isEmpty() ? std::vector<IndexNode>() : ReadIndexFile(textOf(indexFile));
  help.indexEntries = CountIndexEntries(index);
  for (ScannedFile& f : scan.files) f.text.clear();  // the sitemaps are read

  ChmStringTable strings;
  QList<ChmTopic> topics;
  QList<FullTextTopic> fullText;
  const bool wantsFullText =
      Option("Full-text search").compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0;
  QHash<QString, quint32> topicOf;  // folded page name -> its number in #TOPICS
  for (const ScannedFile& f : scan.files) {
    if (!IsPageName(f.name)) continue;
    topicOf.insert(f.name.toCaseFolded(), static_cast<quint32>(topics.size()));
    QString title = f.title;
    const auto inContents = contents.titleOfLocal.constFind(f.name.toCaseFolded());
    if (title.isEmpty() && inContents != contents.titleOfLocal.constEnd()) title = *inContents;
    if (wantsFullText)
      fullText.append(FullTextTopic{static_cast<quint32>(topics.size()), title, {}, f.bytes});
    topics.append(ChmTopic{Encode(f.name), Encode(title), inContents != contents.titleOfLocal.constEnd()});
  }
  help.topics = static_cast<int>(topics.size());

  ChmSystemOptions system;
  system.contentsFile = Encode(contentsFile);
  system.indexFile = Encode(indexFile);
  system.defaultTopic = Encode(fileOnDisk(Option("Default topic")));
  system.title = EncodeReported(Option("Title"), QStringLiteral("title"));
  system.defaultWindow = Encode(Option("Default Window"));
  system.defaultFont = Encode(Option("Default Font"));
  system.compiledName = Encode(QFileInfo(help.compiledFile).completeBaseName());
  system.compilerName = kCompilerName;
  system.lcid = help.lcid;
  system.fullTextSearch = wantsFullText;
  QList<ChmKeyword> keywords;
  TopicOfReference topicOfReference(topicOf);
  CollectKeywords(index, 0, topicOfReference, keywords);
  system.keywordLinks =
      !keywords.isEmpty() && Option("Binary Index").compare(QLatin1String("No"), Qt::CaseInsensitive) != 0;
  system.unixTime = BuildTime();

  const ChmTopicFiles topicFiles = BuildTopicFiles(topics, strings);
  QList<ChmContextTarget> targets;
  // An alias keeps its number also when its page is missing (a warning said so).
  for (const ContextEntry& entry : context) {
    const QString page = fileOnDisk(entry.file);
    if (!page.isEmpty()) targets.append(ChmContextTarget{entry.number, Encode(page)});
  }
  const QByteArray contextMap = BuildContextMapFile(targets, strings);
  const QByteArray windowsFile =
      BuildWindowsFile(windows, strings, [this](const QString& text) { return Encode(text); });
  const QByteArray indexHeader = BuildIndexHeader(
      help.topics, ReadSiteProperties(contentsText, [this](const QString& t) { return Encode(t); }), strings);

  AddEntry(HelpEntry{"/#SYSTEM", BuildSystemFile(system)});
  AddEntry(HelpEntry{"/#WINDOWS", windowsFile});
  AddEntry(HelpEntry{"/#TOPICS", topicFiles.topics});
  AddEntry(HelpEntry{"/#URLTBL", topicFiles.urlTable});
  AddEntry(HelpEntry{"/#URLSTR", topicFiles.urlStrings});
  AddEntry(HelpEntry{"/#IDXHDR", indexHeader});
  AddEntry(HelpEntry{"/#IVB", contextMap});
  AddEntry(HelpEntry{"/#STRINGS", strings.Bytes()});
  if (system.keywordLinks) {
    ChmKeywordLinks links = BuildKeywordLinks(keywords, help.lcid, codePage);
    for (const QString& w : std::as_const(links.warnings)) Warning(w);
    AddEntry(HelpEntry{"/$WWKeywordLinks/BTree", links.btree});
    AddEntry(HelpEntry{"/$WWKeywordLinks/Data", links.data});
    AddEntry(HelpEntry{"/$WWKeywordLinks/Map", links.map});
    AddEntry(HelpEntry{"/$WWKeywordLinks/Property", links.property});
  }
  // What the index took is given back before the full-text index is made.
  index = std::vector<IndexNode>();
  keywords = QList<ChmKeyword>();
  if (wantsFullText)
    AddEntry(HelpEntry{"/$FIftiMain", BuildFullTextIndex(fullText, help.lcid, codePage,
                                                         {options.threads, [this](const QByteArray& b) {
                                                            return Decode(b);
                                                          }})});
}

}  // namespace

Result<HelpContent> ReadHelpProject(const QString& projectPath, const HelpReadOptions& options) {
  return ProjectReader(projectPath, options).Read();
}

}  // namespace orvex

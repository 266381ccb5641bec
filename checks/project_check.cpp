#include "checks/project_check.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

#include "checks/check_parts.h"
#include "chm/page_scan.h"
#include "model/project_reader.h"
#include "platform/codepage.h"
#include "platform/text_file.h"
#include "formats/project/page_template.h"
#include "formats/project/project_sections.h"
#include "model/project_sources.h"
#include "formats/project/project_file.h"

namespace {

struct KindInfo {
  const char* name;
  const char* caption;
  CheckSeverity severity;
};

// In the order of CheckKind.
constexpr KindInfo kKinds[] = {
    {"broken-link", "Broken links", CheckSeverity::Error},
    {"missing-file", "Missing pictures, style sheets, scripts and files", CheckSeverity::Error},
    {"outside-link", "Links out of the project folder", CheckSeverity::Error},
    {"missing-topic-page", "Contents items without their page", CheckSeverity::Error},
    {"orphan-page", "Pages no Contents item leads to", CheckSeverity::Warning},
    {"missing-keyword-page", "Keywords without their page", CheckSeverity::Error},
    {"no-keyword", "Topics without a keyword", CheckSeverity::Note},
    {"alias-missing-page", "Aliases without their page", CheckSeverity::Error},
    {"duplicate-number", "Context numbers used twice", CheckSeverity::Error},
    {"alias-without-number", "Aliases without a context number", CheckSeverity::Warning},
    {"number-without-alias", "Context numbers without an alias", CheckSeverity::Warning},
    {"duplicate-title", "Topic titles used twice", CheckSeverity::Warning},
    {"external-link", "External links", CheckSeverity::Note},
    {"spelling", "Spelling", CheckSeverity::Warning},
};

const KindInfo& InfoOf(CheckKind kind) { return kKinds[static_cast<int>(kind)]; }

// Where the items of a sitemap file name their pages: the first line that
// names each page, for the messages about its items.
class SitemapLines {
 public:
  SitemapLines(const QString& root, const QString& sitemapPath, int sitemapCodePage)
      : path(sitemapPath), codePage(sitemapCodePage), file(QDir(root).relativeFilePath(sitemapPath)) {}
  const QString& File() const { return file; }
  // The file is read when a problem first asks.
  int LineOf(const QString& value) {
    if (!read) Read();
    return lines.value(Key(value), 1);
  }

 private:
  void Read() {
    read = true;
    const Result<QString> text = ReadTextFile(path, codePage);
    if (!text) return;
    const checks::LineStarts starts(*text);
    for (const orvex::PageReference& ref : orvex::ScanPageText(*text, false).references) {
      const QString key = Key(ref.value);
      if (!lines.contains(key)) lines.insert(key, starts.LineOf(ref.position));
    }
  }
  static QString Key(QString value) { return value.trimmed().replace(u'\\', u'/').toCaseFolded(); }
  QString path;
  int codePage;
  QString file;
  bool read = false;
  QHash<QString, int> lines;  // folded page name -> the line of its first item
};

bool IsWebLink(const QString& value) {
  return value.contains(QLatin1String("://")) ||
         value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

class ProjectChecker {
 public:
  explicit ProjectChecker(const ProjectCheckInput& checkInput)
      : input(checkInput),
        folder(QFileInfo(checkInput.projectFile).absolutePath()),
        codePage(EffectiveCodePage(ProjectCodePage(checkInput.projectLines))),
        projectName(QFileInfo(checkInput.projectFile).fileName()),
        contentsLines(folder.Root(), ContentsFilePath(checkInput.projectFile, checkInput.projectLines),
                      codePage),
        indexLines(folder.Root(), IndexFilePath(checkInput.projectFile, checkInput.projectLines), codePage) {}

  std::vector<CheckProblem> Run() {
    CheckListedFiles();
    CollectTopics(input.contents);
    // The dictionary is opened while the pages are read.
    QString notChecked;
    SpellingSource openSpelling;
    if (input.spelling)
      openSpelling = [this, &notChecked]() -> std::shared_ptr<const WordSpelling> {
        std::shared_ptr<const WordSpelling> spelling = input.spelling();
        if (!spelling || spelling->NotChecked().isEmpty()) return spelling;
        notChecked = spelling->NotChecked();
        return nullptr;
      };
    pages = checks::CheckPages(folder, extraPages, codePage, input.threads, openSpelling, problems);
    if (!notChecked.isEmpty()) AddNotChecked(notChecked);
    CheckTopics();
    CheckOrphans();
    CheckKeywords(input.index);
    CheckTopicsWithoutKeyword();
    checks::CheckContextNumbers(folder, projectName, input.projectLines, codePage, problems);
    for (CheckProblem& problem : problems) {
      if (!problem.page.isEmpty() && problem.topicTitle.isEmpty())
        problem.topicTitle = titleOf.value(problem.page.toCaseFolded());
    }
    std::stable_sort(problems.begin(), problems.end(), [](const CheckProblem& a, const CheckProblem& b) {
      if (const int byFile = a.file.compare(b.file, Qt::CaseInsensitive); byFile != 0) return byFile < 0;
      if (a.line != b.line) return a.line < b.line;
      return a.kind < b.kind;
    });
    return std::move(problems);
  }

 private:
  struct Topic {
    QString title;
    QString fileName;  // as the item writes it
    QString page;      // relative, as on disk; empty when it is not a page of the folder
    checks::ProjectFolder::Place place = checks::ProjectFolder::Place::Missing;
  };

  void Add(CheckKind kind, const QString& file, int line, const QString& text, const QString& page = {},
           const QString& title = {}) {
    problems.push_back(CheckProblem{kind, file, std::max(line, 1), text, page, title});
  }

  // Where a page name of the project file or a sitemap leads.
  checks::ProjectFolder::Place Locate(const QString& name, QString* onDisk) {
    bool outside = false;
    const QString relative = checks::RelativeTarget(QString(), name, &outside);
    if (outside) return checks::ProjectFolder::Place::Outside;
    if (relative.isEmpty()) return checks::ProjectFolder::Place::Missing;
    return folder.Locate(relative, onDisk);
  }

  // Words are not checked: the project file's language line says why.
  void AddNotChecked(const QString& why) {
    int line = 1;
    for (qsizetype i = 0; i < input.projectLines.size(); ++i)
      if (LanguageLineLcid(input.projectLines.at(i))) line = static_cast<int>(i + 1);
    Add(CheckKind::Spelling, projectName, line, why);
  }

  void CheckListedFiles() {
    bool inFiles = false;
    for (qsizetype i = 0; i < input.projectLines.size(); ++i) {
      const QString& line = input.projectLines.at(i);
      const QString header = HhpSectionName(line);
      if (!header.isEmpty()) {
        inFiles = header == QLatin1String("FILES");
        continue;
      }
      const QString name = line.trimmed();
      if (!inFiles || name.isEmpty() || name.startsWith(u';')) continue;
      QString onDisk;
      const int lineNumber = static_cast<int>(i + 1);
      switch (Locate(name, &onDisk)) {
        case checks::ProjectFolder::Place::Outside:
          Add(CheckKind::OutsideLink, projectName, lineNumber,
              QStringLiteral("file listed in [FILES] is outside the project folder: ") + name);
          break;
        case checks::ProjectFolder::Place::Missing:
          Add(CheckKind::MissingFile, projectName, lineNumber,
              QStringLiteral("file listed in [FILES] not found: ") + name);
          break;
        case checks::ProjectFolder::Place::Inside:
          if (checks::IsPageName(onDisk)) extraPages.append(onDisk);
          break;
      }
    }
  }

  void CollectTopics(const std::vector<ContentsNode>& nodes) {
    for (const ContentsNode& node : nodes) {
      if (node.data && !node.data->fileName.trimmed().isEmpty() && !IsWebLink(node.data->fileName)) {
        Topic topic{node.caption, node.data->fileName, QString()};
        topic.place = Locate(topic.fileName, &topic.page);
        if (topic.place == checks::ProjectFolder::Place::Inside) {
          if (!reached.contains(topic.page.toCaseFolded())) extraPages.append(topic.page);
          reached.insert(topic.page.toCaseFolded());
          if (!titleOf.contains(topic.page.toCaseFolded()))
            titleOf.insert(topic.page.toCaseFolded(), node.caption);
        }
        topics.append(topic);
      }
      CollectTopics(node.children);
    }
  }

  void CheckTopics() {
    const QString& file = contentsLines.File();
    QHash<QString, const Topic*> byTitle;  // folded title -> first topic with it
    for (const Topic& topic : std::as_const(topics)) {
      const auto line = [&] { return contentsLines.LineOf(topic.fileName); };
      if (topic.place == checks::ProjectFolder::Place::Outside) {
        Add(CheckKind::OutsideLink, file, line(),
            QStringLiteral("Contents item \"%1\" leads out of the project folder: %2")
                .arg(topic.title, topic.fileName),
            QString(), topic.title);
        continue;
      }
      if (topic.place == checks::ProjectFolder::Place::Missing) {
        Add(CheckKind::MissingTopicPage, file, line(),
            QStringLiteral("Contents item \"%1\" leads to a page that does not exist: %2")
                .arg(topic.title, topic.fileName),
            QString(), topic.title);
        continue;
      }
      const qsizetype hash = topic.fileName.indexOf(u'#');
      if (hash >= 0 && hash + 1 < topic.fileName.size()) {
        if (!pages.HasAnchor(topic.page.toCaseFolded(), topic.fileName.mid(hash + 1).toCaseFolded()))
          Add(CheckKind::BrokenLink, file, line(),
              QStringLiteral("Contents item \"%1\" leads to an anchor that does not exist: %2")
                  .arg(topic.title, topic.fileName),
              topic.page, topic.title);
      }
      // An item that leads to a part of a page ("page.htm#part") is a heading within a topic.
      const QString titleKey = topic.title.simplified().toCaseFolded();
      if (titleKey.isEmpty() || hash >= 0) continue;
      const auto first = byTitle.constFind(titleKey);
      if (first == byTitle.constEnd())
        byTitle.insert(titleKey, &topic);
      else if ((*first)->page.compare(topic.page, Qt::CaseInsensitive) != 0)
        Add(CheckKind::DuplicateTitle, file, line(),
            QStringLiteral("title \"%1\" is also the title of %2").arg(topic.title, (*first)->page),
            topic.page, topic.title);
    }
  }

  void CheckOrphans() {
    QStringList allPages = folder.Pages();
    QSet<QString> listed;
    for (const QString& page : std::as_const(allPages)) listed.insert(page.toCaseFolded());
    for (const QString& page : std::as_const(extraPages)) {
      if (!listed.contains(page.toCaseFolded())) {
        listed.insert(page.toCaseFolded());
        allPages.append(page);
      }
    }
    for (const QString& page : std::as_const(allPages)) {
      if (!reached.contains(page.toCaseFolded()))
        Add(CheckKind::OrphanPage, page, 1, QStringLiteral("no Contents item leads to this page"), page);
    }
  }

  void CheckKeywords(const std::vector<IndexNode>& nodes) {
    for (const IndexNode& node : nodes) {
      const IndexEntryData* entry = node.data.get();
      if (entry && !entry->fileName.trimmed().isEmpty() && !IsWebLink(entry->fileName)) {
        const QString keyword = entry->keyword.isEmpty() ? node.caption : entry->keyword;
        const auto line = [&] { return indexLines.LineOf(entry->fileName); };
        QString onDisk;
        switch (Locate(entry->fileName, &onDisk)) {
          case checks::ProjectFolder::Place::Outside:
            Add(CheckKind::OutsideLink, indexLines.File(), line(),
                QStringLiteral("keyword \"%1\" leads out of the project folder: %2")
                    .arg(keyword, entry->fileName));
            break;
          case checks::ProjectFolder::Place::Missing:
            Add(CheckKind::MissingKeywordPage, indexLines.File(), line(),
                QStringLiteral("keyword \"%1\" leads to a page that does not exist: %2")
                    .arg(keyword, entry->fileName));
            break;
          case checks::ProjectFolder::Place::Inside:
            keyworded.insert(onDisk.toCaseFolded());
            break;
        }
      }
      CheckKeywords(node.children);
    }
  }

  void CheckTopicsWithoutKeyword() {
    QSet<QString> told;
    for (const Topic& topic : std::as_const(topics)) {
      if (topic.place != checks::ProjectFolder::Place::Inside) continue;
      const QString key = topic.page.toCaseFolded();
      if (keyworded.contains(key) || told.contains(key)) continue;
      told.insert(key);
      Add(CheckKind::NoKeyword, topic.page, 1,
          QStringLiteral("topic \"%1\" has no keyword in the Index").arg(topic.title), topic.page,
          topic.title);
    }
  }

  const ProjectCheckInput& input;
  checks::ProjectFolder folder;
  int codePage;
  QString projectName;
  SitemapLines contentsLines;
  SitemapLines indexLines;
  std::vector<CheckProblem> problems;
  QStringList extraPages;           // pages named in [FILES] and the Contents, relative as on disk
  QList<Topic> topics;              // the Contents items with a page, in the Contents' order
  QSet<QString> reached;            // folded pages a Contents item leads to
  QSet<QString> keyworded;          // folded pages a keyword leads to
  QHash<QString, QString> titleOf;  // folded page -> its first Contents title
  checks::PageChecks pages;
};

}  // namespace

QString CheckKindName(CheckKind kind) { return QString::fromLatin1(InfoOf(kind).name); }
QString CheckKindCaption(CheckKind kind) { return QString::fromLatin1(InfoOf(kind).caption); }
CheckSeverity SeverityOf(CheckKind kind) { return InfoOf(kind).severity; }

QString SeverityName(CheckSeverity severity) {
  switch (severity) {
    case CheckSeverity::Error:
      return QStringLiteral("error");
    case CheckSeverity::Warning:
      return QStringLiteral("warning");
    case CheckSeverity::Note:
      break;
  }
  return QStringLiteral("note");
}

Result<ProjectCheckInput> ReadProjectCheckInput(const QString& projectFile) {
  Result<ProjectFiles> files = ReadProjectFiles(projectFile);
  if (!files) return Fail(files.Message());
  ProjectCheckInput input;
  input.projectFile = QFileInfo(projectFile).absoluteFilePath();
  input.projectLines = std::move(files->projectLines);
  input.contents = std::move(files->contents);
  input.index = std::move(files->index);
  return input;
}

std::vector<CheckProblem> CheckProject(const ProjectCheckInput& input) { return ProjectChecker(input).Run(); }

QString ProblemLine(const CheckProblem& problem) {
  return QStringLiteral("%1:%2: %3: %4")
      .arg(problem.file)
      .arg(problem.line)
      .arg(CheckKindName(problem.kind), problem.text);
}

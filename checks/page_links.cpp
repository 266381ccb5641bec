// The pages of a project and what they name: links to pages and anchors,
// pictures, style sheets and scripts, links out of the folder, external links.
#include <QFile>
#include <QRegularExpression>
#include <QRunnable>
#include <QThreadPool>
#include <QUrl>
#include <atomic>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "checks/check_parts.h"
#include "chm/page_scan.h"
#include "platform/codepage.h"

namespace checks {
namespace {

struct ScannedPage {
  QString name;   // relative, as on disk
  QString error;  // why it could not be read
  orvex::PageContent content;
  LineStarts lines;
  NameSet anchors;                  // folded
  QList<PageWord> words;            // the words to spell, each with its first line
  std::vector<CheckProblem> found;  // what the page's check found, in the page's order
};

QString FolderOf(const QString& relative) {
  const qsizetype slash = relative.lastIndexOf(u'/');
  return slash < 0 ? QString() : relative.left(slash);
}

// What a file a page names is, for the message about it missing.
QString WhatFile(const QString& name) {
  static const QRegularExpression picture(QStringLiteral(R"(\.(png|gif|jpe?g|bmp|ico|svg|webp|tiff?)$)"),
                                          QRegularExpression::CaseInsensitiveOption);
  if (picture.match(name).hasMatch()) return QStringLiteral("picture");
  if (name.endsWith(QLatin1String(".css"), Qt::CaseInsensitive)) return QStringLiteral("style sheet");
  if (name.endsWith(QLatin1String(".js"), Qt::CaseInsensitive) ||
      name.endsWith(QLatin1String(".vbs"), Qt::CaseInsensitive))
    return QStringLiteral("script");
  return QStringLiteral("file");
}

std::u16string_view Chars(QStringView text) { return {text.utf16(), size_t(text.size())}; }

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

enum class ReferenceClass { Local, SamePage, External, Outside, Other };

// The scheme of a URL ("http" of "http://..."); empty when the value has none.
QString SchemeOf(const QString& value) {
  if (value.isEmpty() || !isAsciiLetter(value.front())) return {};
  for (qsizetype i = 1; i < value.size(); ++i) {
    const QChar c = value.at(i);
    if (c == u':') return value.left(i).toLower();
    if (!isAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'.' && c != u'-') return {};
  }
  return {};
}

ReferenceClass Classify(const QString& value) {
  if (value.startsWith(u'#')) return ReferenceClass::SamePage;
  if (value.startsWith(QLatin1String("//"))) return ReferenceClass::External;
  if (value.startsWith(u'/') || value.startsWith(u'\\')) return ReferenceClass::Outside;
  const QString name = SchemeOf(value);
  if (name.isEmpty()) return ReferenceClass::Local;
  if (name.size() == 1 || name == QLatin1String("file")) return ReferenceClass::Outside;  // a drive letter
  static const QStringList web{"http", "https", "ftp", "ftps", "mailto", "news", "nntp", "telnet", "gopher"};
  // Other schemes (javascript:, ms-its:, mk:) are neither files of the folder nor the web.
  return web.contains(name) ? ReferenceClass::External : ReferenceClass::Other;
}

// Runs work() on up to `threads` threads (0: one per core) at once, the
// calling thread one of them; each run takes its share of the work itself.
template <typename Work>
void OnThreads(int threads, qsizetype items, const Work& work) {
  QThreadPool pool;
  if (threads > 0) pool.setMaxThreadCount(threads);
  const int workers = static_cast<int>(std::min<qsizetype>(pool.maxThreadCount(), items));
  for (int t = 1; t < workers; ++t) pool.start(work);
  work();
  pool.waitForDone();
}

// Reads and scans the pages, and finds the words of each to spell; the
// spelling is opened by one of the threads meanwhile.
QList<ScannedPage> ReadPages(const QString& root, const QStringList& names, int codePage, int threads,
                             const SpellingSource& openSpelling,
                             std::shared_ptr<const WordSpelling>& spelling) {
  QList<ScannedPage> pages(names.size());
  const bool spelt = bool(openSpelling);
  // Item 0 opens the spelling when there is one; item i + 1 reads page i.
  const qsizetype first = spelt ? 0 : 1;
  std::atomic<qsizetype> next{first};
  const auto work = [&] {
    for (qsizetype item = next++; item <= pages.size(); item = next++) {
      if (item == 0) {
        spelling = openSpelling();
        continue;
      }
      ScannedPage& page = pages[item - 1];
      page.name = names.at(item - 1);
      QFile file(root + u'/' + page.name);
      if (!file.open(QIODevice::ReadOnly)) {
        page.error = file.errorString();
        continue;
      }
      const QString text = DecodeCodePage(file.readAll(), codePage);
      page.content = orvex::ScanPageText(text, false);
      page.lines = LineStarts(text);
      for (const QString& anchor : std::as_const(page.content.anchors))
        page.anchors.insert(anchor.toCaseFolded());
      if (spelt) page.words = PageWords(text);
    }
  };
  OnThreads(threads, pages.size() + 1 - first, work);
  return pages;
}

// Checks the links and words of pages, one page after the other; one
// check on each thread, each with the answers it was given before.
class PageLinkCheck {
 public:
  PageLinkCheck(ProjectFolder& projectFolder, const PageChecks& pageFacts, const WordSpelling* wordSpelling)
      : folder(projectFolder), facts(pageFacts), spelling(wordSpelling) {}

  void Check(ScannedPage& page) {
    if (!page.error.isEmpty()) {
      Add(page, 0, CheckKind::MissingFile, QStringLiteral("cannot read the page: ") + page.error);
      return;
    }
    reported.clear();
    checked.clear();
    for (const orvex::PageReference& ref : std::as_const(page.content.references)) {
      // A value met again on the page would only be reported again, which it is not.
      if (checked.insert(Chars(ref.value)).second) CheckReference(page, ref);
    }
    if (!spelling) return;
    for (const PageWord& word : std::as_const(page.words))
      if (!IsCorrect(word.text))
        Add(page, word.line, CheckKind::Spelling, QStringLiteral("word not in the dictionary: ") + word.text);
  }

 private:
  bool IsCorrect(const QString& word) {
    const auto [known, added] = spelt.try_emplace(Chars(word), false);
    if (added) known->second = spelling->IsCorrect(word);
    return known->second;
  }

  ProjectFolder::Place Locate(const QString& relative, QString* onDisk) {
    auto known = located.constFind(relative);
    if (known == located.constEnd()) {
      std::pair<ProjectFolder::Place, QString> answer;
      answer.first = folder.Locate(relative, &answer.second);
      known = located.insert(relative, answer);
    }
    *onDisk = known->second;
    return known->first;
  }

  void CheckReference(ScannedPage& page, const orvex::PageReference& ref) {
    const QString& value = ref.value;
    switch (Classify(value)) {
      case ReferenceClass::Other:
        return;
      case ReferenceClass::External:
        AddOnce(page, ref.position, CheckKind::ExternalLink, QStringLiteral("external link: ") + value);
        return;
      case ReferenceClass::Outside:
        AddOnce(page, ref.position, CheckKind::OutsideLink,
                QStringLiteral("link leaves the project folder: ") + value);
        return;
      case ReferenceClass::SamePage:
        CheckAnchor(page, ref, page.name);
        return;
      case ReferenceClass::Local:
        break;
    }
    bool outside = false;
    const QString relative = RelativeTarget(FolderOf(page.name), value, &outside);
    if (outside) {
      AddOnce(page, ref.position, CheckKind::OutsideLink,
              QStringLiteral("link leaves the project folder: ") + value);
      return;
    }
    if (relative.isEmpty()) return;
    QString onDisk;
    switch (Locate(relative, &onDisk)) {
      case ProjectFolder::Place::Outside:
        AddOnce(page, ref.position, CheckKind::OutsideLink,
                QStringLiteral("link leaves the project folder: ") + value);
        return;
      case ProjectFolder::Place::Missing:
        if (IsPageName(relative))
          AddOnce(page, ref.position, CheckKind::BrokenLink,
                  QStringLiteral("link to a page that does not exist: ") + value);
        else
          AddOnce(page, ref.position, CheckKind::MissingFile,
                  WhatFile(relative) + QStringLiteral(" not found: ") + value);
        return;
      case ProjectFolder::Place::Inside:
        if (IsPageName(onDisk)) CheckAnchor(page, ref, onDisk);
        return;
    }
  }

  void CheckAnchor(ScannedPage& page, const orvex::PageReference& ref, const QString& target) {
    const qsizetype hash = ref.value.indexOf(u'#');
    if (hash < 0) return;
    const QString fragment = QUrl::fromPercentEncoding(ref.value.mid(hash + 1).toUtf8());
    if (fragment.isEmpty()) return;
    const auto anchors = facts.anchors.constFind(target.toCaseFolded());
    if (anchors == facts.anchors.constEnd() || anchors->count(fragment.toCaseFolded()) > 0) return;
    AddOnce(page, ref.position, CheckKind::BrokenLink,
            QStringLiteral("link to an anchor that does not exist: ") + ref.value);
  }

  // Each reference is reported once per page, where it is first written.
  void AddOnce(ScannedPage& page, qsizetype position, CheckKind kind, const QString& text) {
    if (reported.contains(text)) return;
    reported.insert(text);
    Add(page, page.lines.LineOf(position), kind, text);
  }
  static void Add(ScannedPage& page, int line, CheckKind kind, const QString& text) {
    page.found.push_back(CheckProblem{kind, page.name, std::max(line, 1), text, page.name, QString()});
  }

  ProjectFolder& folder;
  const PageChecks& facts;
  const WordSpelling* spelling;
  // The sets below hold views of the pages' texts, which outlive the check;
  // the standard library's hash is much quicker than QHash's on them.
  QSet<QString> reported;                               // texts reported for the page being checked
  std::unordered_set<std::u16string_view> checked;      // references checked on the page being checked
  std::unordered_map<std::u16string_view, bool> spelt;  // word -> spelt right
  QHash<QString, std::pair<ProjectFolder::Place, QString>> located;  // relative name -> where
};

}  // namespace

PageChecks CheckPages(ProjectFolder& folder, const QStringList& extraPages, int codePage, int threads,
                      const SpellingSource& openSpelling, std::vector<CheckProblem>& problems) {
  QStringList names = folder.Pages();
  QSet<QString> listed;
  for (const QString& name : names) listed.insert(name.toCaseFolded());
  for (const QString& name : extraPages) {
    if (!listed.contains(name.toCaseFolded())) {
      listed.insert(name.toCaseFolded());
      names.append(name);
    }
  }
  std::shared_ptr<const WordSpelling> spelling;
  QList<ScannedPage> pages = ReadPages(folder.Root(), names, codePage, threads, openSpelling, spelling);
  PageChecks facts;
  for (ScannedPage& page : pages) {
    const QString key = page.name.toCaseFolded();
    facts.pages.insert(key);
    NameSet& anchors = facts.anchors[key];
    if (anchors.empty())
      anchors = std::move(page.anchors);
    else
      anchors.insert(page.anchors.begin(), page.anchors.end());
  }
  std::atomic<qsizetype> next{0};
  OnThreads(threads, pages.size(), [&] {
    PageLinkCheck check(folder, facts, spelling.get());
    for (qsizetype i = next++; i < pages.size(); i = next++) check.Check(pages[i]);
  });
  for (ScannedPage& page : pages)
    problems.insert(problems.end(), std::make_move_iterator(page.found.begin()),
                    std::make_move_iterator(page.found.end()));
  return facts;
}

}  // namespace checks

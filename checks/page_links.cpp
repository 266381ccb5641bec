// The pages of a project and what they name: links to pages and anchors,
// pictures, style sheets and scripts, links out of the folder, external links.
#include <QFile>
#include <QRegularExpression>
#include <QRunnable>
#include <QThreadPool>
#include <QUrl>
#include <atomic>

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
  QList<PageWord> misspelt;  // words the spelling does not know, each with its first line
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

// Reads and scans the pages on up to `threads` threads (0: one per core).
QList<ScannedPage> ReadPages(const QString& root, const QStringList& names, int codePage, int threads,
                             const WordSpelling* spelling) {
  QList<ScannedPage> pages(names.size());
  std::atomic<qsizetype> next{0};
  auto work = [&] {
    for (qsizetype i = next++; i < pages.size(); i = next++) {
      ScannedPage& page = pages[i];
      page.name = names.at(i);
      QFile file(root + u'/' + page.name);
      if (!file.open(QIODevice::ReadOnly)) {
        page.error = file.errorString();
        continue;
      }
      const QString text = DecodeCodePage(file.readAll(), codePage);
      page.content = orvex::ScanPageText(text, false);
      page.lines = LineStarts(text);
      if (!spelling) continue;
      for (PageWord& word : PageWords(text))
        if (!spelling->IsCorrect(word.Text)) page.misspelt.append(std::move(word));
    }
  };
  QThreadPool pool;
  if (threads > 0) pool.setMaxThreadCount(threads);
  const int workers = static_cast<int>(std::min<qsizetype>(pool.maxThreadCount(), names.size()));
  for (int t = 1; t < workers; ++t) pool.start(work);
  work();
  pool.waitForDone();
  return pages;
}

class PageLinkCheck {
 public:
  PageLinkCheck(ProjectFolder& folder, const QList<ScannedPage>& pages, std::vector<CheckProblem>& problems)
      : m_folder(folder), m_pages(pages), m_problems(problems) {
    for (const ScannedPage& page : pages) {
      const QString key = page.name.toCaseFolded();
      m_facts.pages.insert(key);
      QSet<QString>& anchors = m_facts.anchors[key];
      for (const QString& anchor : page.content.anchors) anchors.insert(anchor.toCaseFolded());
    }
  }

  PageChecks Run() {
    for (const ScannedPage& page : m_pages) {
      if (!page.error.isEmpty()) {
        Add(page, 0, CheckKind::MissingFile, QStringLiteral("cannot read the page: ") + page.error);
        continue;
      }
      m_reported.clear();
      for (const orvex::PageReference& ref : page.content.references) CheckReference(page, ref);
      for (const PageWord& word : page.misspelt)
        Add(page, word.Line, CheckKind::Spelling, QStringLiteral("word not in the dictionary: ") + word.Text);
    }
    return std::move(m_facts);
  }

 private:
  void CheckReference(const ScannedPage& page, const orvex::PageReference& ref) {
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
    switch (m_folder.Locate(relative, &onDisk)) {
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

  void CheckAnchor(const ScannedPage& page, const orvex::PageReference& ref, const QString& target) {
    const qsizetype hash = ref.value.indexOf(u'#');
    if (hash < 0) return;
    const QString fragment = QUrl::fromPercentEncoding(ref.value.mid(hash + 1).toUtf8());
    if (fragment.isEmpty()) return;
    const auto anchors = m_facts.anchors.constFind(target.toCaseFolded());
    if (anchors == m_facts.anchors.constEnd() || anchors->contains(fragment.toCaseFolded())) return;
    AddOnce(page, ref.position, CheckKind::BrokenLink,
            QStringLiteral("link to an anchor that does not exist: ") + ref.value);
  }

  // Each reference is reported once per page, where it is first written.
  void AddOnce(const ScannedPage& page, qsizetype position, CheckKind kind, const QString& text) {
    if (m_reported.contains(text)) return;
    m_reported.insert(text);
    Add(page, page.lines.LineOf(position), kind, text);
  }
  void Add(const ScannedPage& page, int line, CheckKind kind, const QString& text) {
    m_problems.push_back(CheckProblem{kind, page.name, std::max(line, 1), text, page.name, QString()});
  }

  ProjectFolder& m_folder;
  const QList<ScannedPage>& m_pages;
  std::vector<CheckProblem>& m_problems;
  PageChecks m_facts;
  QSet<QString> m_reported;  // texts reported for the page being checked
};

}  // namespace

PageChecks CheckPages(ProjectFolder& folder, const QStringList& extraPages, int codePage, int threads,
                      const WordSpelling* spelling, std::vector<CheckProblem>& problems) {
  QStringList names = folder.Pages();
  QSet<QString> listed;
  for (const QString& name : names) listed.insert(name.toCaseFolded());
  for (const QString& name : extraPages) {
    if (!listed.contains(name.toCaseFolded())) {
      listed.insert(name.toCaseFolded());
      names.append(name);
    }
  }
  const QList<ScannedPage> pages = ReadPages(folder.Root(), names, codePage, threads, spelling);
  return PageLinkCheck(folder, pages, problems).Run();
}

}  // namespace checks

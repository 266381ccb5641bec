#include "chm/page_scan.h"

#include "chm/ansi_text.h"
#include "chm/ordered_work.h"
#include "platform/project_paths.h"
#include "platform/regular_file.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace orvex {
namespace {

QString unquoted(const QRegularExpressionMatch& m, int first) {
  for (int i = first; i <= m.lastCapturedIndex(); ++i) {
    if (m.capturedStart(i) >= 0) return m.captured(i);
  }
  return {};
}

// Where the value of a match starts (first non-blank of the first group that matched).
qsizetype ValueStart(const QRegularExpressionMatch& m, int first) {
  for (int i = first; i <= m.lastCapturedIndex(); ++i) {
    if (m.capturedStart(i) < 0) continue;
    const QStringView value = m.capturedView(i);
    qsizetype lead = 0;
    while (lead < value.size() && value.at(lead).isSpace()) ++lead;
    return m.capturedStart(i) + lead;
  }
  return m.capturedStart(0);
}

// The word characters and blanks of the link patterns below: ASCII only.
bool IsAsciiWord(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_';
}
bool IsAsciiLetter(QChar c) { return IsAsciiWord(c) && !c.isDigit() && c != u'_'; }
bool IsPatternBlank(QChar c) { return c == u' ' || (c.unicode() >= 9 && c.unicode() <= 13); }
// A character as the patterns compare it without regard to case: ASCII
// letters in lower case, and the two others that fold to one (the long s
// and the Kelvin sign).
char16_t PatternFolded(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'A' && u <= u'Z') return char16_t(u + (u'a' - u'A'));
  if (u == 0x017F) return u's';
  if (u == 0x212A) return u'k';
  return u;
}
bool StartsWithFolded(QStringView text, QLatin1StringView lowerName) {
  if (text.size() < lowerName.size()) return false;
  for (qsizetype i = 0; i < lowerName.size(); ++i)
    if (PatternFolded(text[i]) != char16_t(lowerName[i].unicode())) return false;
  return true;
}

// The attributes that name links and anchors.
constexpr std::array<QLatin1StringView, 8> kLinkAttributes = {
    QLatin1StringView("href"),   QLatin1StringView("src"),  QLatin1StringView("background"),
    QLatin1StringView("lowsrc"), QLatin1StringView("data"), QLatin1StringView("value"),
    QLatin1StringView("name"),   QLatin1StringView("id")};

// Calls visit(name, value, valueStart) for each link attribute of a tag's
// attribute text, in order, as the pattern
// \b(href|src|...|id)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)) (any case)
// finds them one after the other: a quoted value runs to its closing quote
// (none: no attribute there), an unquoted one to a blank, '>' or quote.
template <typename Visit>
void ForEachLinkAttribute(QStringView attrs, Visit visit) {
  const qsizetype n = attrs.size();
  for (qsizetype at = 0; at < n;) {
    // \b: a word character on one side only.
    const char16_t first = PatternFolded(attrs[at]);
    if (first < u'a' || first > u'z' || IsAsciiWord(attrs[at]) == (at > 0 && IsAsciiWord(attrs[at - 1]))) {
      ++at;
      continue;
    }
    qsizetype end = -1;
    for (QLatin1StringView name : kLinkAttributes) {
      if (!StartsWithFolded(attrs.sliced(at), name)) continue;
      qsizetype k = at + name.size();
      while (k < n && IsPatternBlank(attrs[k])) ++k;
      if (k == n || attrs[k] != u'=') continue;
      ++k;
      while (k < n && IsPatternBlank(attrs[k])) ++k;
      if (k == n) continue;
      qsizetype valueStart = k, valueEnd = k;
      if (attrs[k] == u'"' || attrs[k] == u'\'') {
        valueStart = k + 1;
        valueEnd = attrs.indexOf(attrs[k], valueStart);
        if (valueEnd < 0) continue;
        end = valueEnd + 1;
      } else {
        while (valueEnd < n && !IsPatternBlank(attrs[valueEnd]) && attrs[valueEnd] != u'>' &&
               attrs[valueEnd] != u'"' && attrs[valueEnd] != u'\'')
          ++valueEnd;
        if (valueEnd == valueStart) continue;
        end = valueEnd;
      }
      visit(name, attrs.sliced(valueStart, valueEnd - valueStart), valueStart);
      break;
    }
    at = end < 0 ? at + 1 : end;
  }
}

// Calls visit(name, attributes, attributesStart) for each tag of the text,
// in order, as the pattern <([A-Za-z][A-Za-z0-9]*)\b([^>]*)> finds them
// one after the other.
template <typename Visit>
void ForEachTag(QStringView text, Visit visit) {
  const qsizetype n = text.size();
  for (qsizetype at = text.indexOf(u'<'); at >= 0 && at + 1 < n; at = text.indexOf(u'<', at)) {
    if (!IsAsciiLetter(text[at + 1])) {
      ++at;
      continue;
    }
    qsizetype nameEnd = at + 2;
    while (nameEnd < n && IsAsciiWord(text[nameEnd]) && text[nameEnd] != u'_') ++nameEnd;
    if (nameEnd < n && text[nameEnd] == u'_') {  // the name does not end at a word's end
      ++at;
      continue;
    }
    const qsizetype close = text.indexOf(u'>', nameEnd);
    if (close < 0) return;  // nor does any tag after it end
    visit(text.sliced(at + 1, nameEnd - at - 1), text.sliced(nameEnd, close - nameEnd), nameEnd);
    at = close + 1;
  }
}

// Where a value starts once its leading blanks are skipped.
qsizetype TrimmedStart(QStringView value, qsizetype start) {
  qsizetype lead = 0;
  while (lead < value.size() && value.at(lead).isSpace()) ++lead;
  return start + lead;
}

// Whether a PARAM value names a file: "Local", "URL" and the like always;
// the HTML Help control's "Item" values only when they look like a file
// name (a splash picture, not a training card's numbers).
bool ParamNamesFile(const QString& name, const QString& value) {
  static const QRegularExpression fileLike(QStringLiteral(R"re(\.[A-Za-z0-9]{1,5}(?:[#?].*)?$)re"));
  const QString n = name.toLower();
  if (n == QLatin1String("local") || n == QLatin1String("url") || n == QLatin1String("imagelist") ||
      n == QLatin1String("filename") || n == QLatin1String("src") || n == QLatin1String("movie"))
    return true;
  if (n.isEmpty() || n.startsWith(QLatin1String("item"))) return fileLike.match(value).hasMatch();
  return false;
}

bool isSitemapName(const QString& name) {
  return name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".hhk"), Qt::CaseInsensitive);
}

bool isStyleSheetName(const QString& name) {
  return name.endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
}

bool isPageName(const QString& name) {
  return name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".hhk"), Qt::CaseInsensitive);
}

QString folderOf(const QString& relative) {
  const qsizetype slash = relative.lastIndexOf(u'/');
  return slash < 0 ? QString() : relative.left(slash);
}

// Looks names up without regard to case, listing each folder once.
class FolderIndex {
 public:
  explicit FolderIndex(QString folderRoot) : root(std::move(folderRoot)) {}

  // The name with the case it has on disk, or empty when no such file: each
  // part as written when it exists, else the first (in sorted order) that
  // matches without case.
  QString find(const QString& relative) {
    const QStringList parts = relative.split(u'/');
    QString current;
    for (qsizetype i = 0; i < parts.size(); ++i) {
      const auto& names = listing(current);
      const auto it = names.constFind(parts[i].toCaseFolded());
      if (it == names.constEnd()) return {};
      const Entry* chosen = &it->first();
      for (const Entry& entry : *it) {
        if (entry.name == parts[i]) chosen = &entry;
      }
      const bool last = i + 1 == parts.size();
      if (chosen->isFile != last) return {};  // a folder where a file is wanted, or the reverse
      current = current.isEmpty() ? chosen->name : current + u'/' + chosen->name;
    }
    return current;
  }

 private:
  struct Entry {
    QString name;
    bool isFile;  // a regular file (not a folder, a pipe or a device)
  };
  // folded name -> the entries of that name, in sorted order
  using Listing = QHash<QString, QList<Entry>>;

  const Listing& listing(const QString& folder) {
    auto it = listings.find(folder);
    if (it != listings.end()) return *it;
    Listing names;
    QDir dir(folder.isEmpty() ? root : root + u'/' + folder);
    const auto entries = dir.entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& info : entries)
      names[info.fileName().toCaseFolded()].append(Entry{info.fileName(), info.isFile()});
    return *listings.insert(folder, std::move(names));
  }

  QString root;
  QHash<QString, Listing> listings;
};

// Files read ahead of the one whose links are being followed.
constexpr qsizetype kScanAhead = 16;

// What reading one file gives: its bytes, or why it could not be read; of
// a page or style sheet its references (with their lines), the anchors it
// defines as sorted hashes of their folded names, and its title; the text
// of a contents or index file.
// A reference of a page, resolved on the reading thread. Its texts stand
// one after the other in the page's FileRead::linkText: one block for all
// the links of a page, freed on the thread that follows them (thousands of
// small strings, made on one thread and freed on another, queue up on the
// allocator's lock).
struct Link {
  qsizetype at = 0;            // where its texts start in linkText
  qsizetype relativeSize = 0;  // the file it names, relative to the project folder; none: the page itself
  qsizetype keySize = 0;       // then that name case-folded
  qsizetype fragmentSize = 0;  // then the anchor, percent-decoded; none when it names none
  int line = 0;
};

size_t AnchorKey(const QString& anchor) { return qHash(anchor.toCaseFolded(), 0); }

struct FileRead {
  QByteArray bytes;
  QString error;
  bool outside = false;  // the name leads out of the project folder
  QList<Link> links;     // the references that name files of the project or anchors, in order
  QString linkText;      // their texts
  std::vector<size_t> anchorKeys;
  QString title;
  QString text;
};

FileRead ReadAndScan(const QString& projectFolder, const QString& name,
                     const std::function<QString(const QByteArray&)>& decode,
                     std::atomic<qint64>& totalBytes) {
  FileRead read;
  Result<QByteArray> bytes = ReadProjectInput(projectFolder, name, totalBytes, &read.outside);
  if (!bytes) {
    read.error = bytes.Message();
    return read;
  }
  read.bytes = std::move(*bytes);
  const bool css = isStyleSheetName(name);
  if (!css && !isPageName(name)) return read;
  const QString text = decode(read.bytes);
  PageContent content = ScanPageText(text, css);
  qsizetype at = 0;
  int line = 1;
  for (PageReference& ref : content.references) {
    if (ref.position < at) {
      at = 0;
      line = 1;
    }
    line += int(QStringView(text).sliced(at, ref.position - at).count(u'\n'));
    at = ref.position;
    ref.line = line;
  }
  const QString from = folderOf(name);
  for (const PageReference& ref : std::as_const(content.references)) {
    const qsizetype hash = ref.value.indexOf(u'#');
    QString fragment, relative;
    if (hash >= 0 && hash + 1 < ref.value.size())
      fragment = QUrl::fromPercentEncoding(ref.value.sliced(hash + 1).toUtf8());
    if (hash != 0) {
      relative = ResolveReference(from, ref.value);
      if (relative.isEmpty()) continue;  // not a file of the project
    } else if (fragment.isEmpty()) {
      continue;  // "#": the page itself, no anchor
    }
    const QString key = relative.toCaseFolded();
    read.links.append(Link{read.linkText.size(), relative.size(), key.size(), fragment.size(), ref.line});
    read.linkText.append(relative).append(key).append(fragment);
  }
  if (!css) read.title = PageTitle(text);
  if (isSitemapName(name)) read.text = text;
  for (const QString& anchor : std::as_const(content.anchors)) read.anchorKeys.push_back(AnchorKey(anchor));
  std::sort(read.anchorKeys.begin(), read.anchorKeys.end());
  return read;
}

}  // namespace

QString PageTitle(const QString& text) {
  static const QRegularExpression titleRe(
      QStringLiteral(R"re(<title\b[^>]*>(.*?)</title\s*>)re"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const auto m = titleRe.match(text);
  return m.hasMatch() ? m.captured(1).simplified() : QString();
}

PageContent ScanPageText(const QString& text, bool styleSheet) {
  static const QRegularExpression urlRe(
      QStringLiteral(R"re(url\(\s*(?:"([^"]*)"|'([^']*)'|([^)\s]*))\s*\))re"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression importRe(QStringLiteral(R"re(@import\s+(?:"([^"]*)"|'([^']*)'))re"),
                                           QRegularExpression::CaseInsensitiveOption);
  PageContent content;
  auto collect = [&content](const QRegularExpression& re, const QString& in, int first) {
    auto it = re.globalMatch(in);
    while (it.hasNext()) {
      const auto m = it.next();
      const QString value = unquoted(m, first);
      const QString trimmed = value.trimmed();
      if (!trimmed.isEmpty()) content.references.append(PageReference{trimmed, ValueStart(m, first)});
    }
  };
  collect(urlRe, text, 1);
  if (styleSheet) {
    collect(importRe, text, 1);
    return content;
  }
  ForEachTag(text, [&](QStringView tagName, QStringView attrs, qsizetype attrsAt) {
    const bool isParam = tagName.compare(QLatin1String("param"), Qt::CaseInsensitive) == 0;
    const bool isAnchor = tagName.compare(QLatin1String("a"), Qt::CaseInsensitive) == 0;
    QString paramName;
    std::optional<PageReference> paramValue;
    ForEachLinkAttribute(attrs, [&](QLatin1StringView attrName, QStringView rawValue, qsizetype valueAt) {
      const QString value = rawValue.trimmed().toString();
      if (value.isEmpty()) return;
      const qsizetype position = attrsAt + TrimmedStart(rawValue, valueAt);
      if (attrName == QLatin1String("id") || (attrName == QLatin1String("name") && isAnchor)) {
        content.anchors.append(value);
      } else if (attrName == QLatin1String("name")) {
        if (isParam) paramName = value;
      } else if (attrName == QLatin1String("value")) {
        // value= names files only in PARAM tags (splash pictures, sitemap "Local").
        if (isParam) paramValue = PageReference{value, position};
      } else {
        content.references.append(PageReference{value, position});
      }
    });
    if (paramValue && ParamNamesFile(paramName, paramValue->value)) content.references.append(*paramValue);
  });
  return content;
}

QStringList PageReferences(const QString& text, bool styleSheet) {
  QStringList refs;
  for (const PageReference& ref : ScanPageText(text, styleSheet).references) refs.append(ref.value);
  return refs;
}

QString ResolveReference(const QString& fromFolder, const QString& reference) {
  QString ref = reference;
  for (qsizetype i = 0; i < ref.size(); ++i) {
    if (ref.at(i) == u'#' || ref.at(i) == u'?') {
      ref.truncate(i);
      break;
    }
  }
  ref = ref.trimmed();
  if (ref.isEmpty()) return {};
  // A scheme ([A-Za-z][A-Za-z0-9+.-]*:): URLs, and drive letters.
  if (IsAsciiLetter(ref.front())) {
    qsizetype at = 1;
    while (at < ref.size() &&
           (IsAsciiWord(ref[at]) || ref[at] == u'+' || ref[at] == u'.' || ref[at] == u'-') && ref[at] != u'_')
      ++at;
    if (at < ref.size() && ref[at] == u':') return {};
  }
  ref.replace(u'\\', u'/');
  if (ref.startsWith(u'/')) return {};
  if (ref.contains(u'%')) ref = QUrl::fromPercentEncoding(ref.toUtf8());

  bool above = false;  // above the project folder: nothing
  return JoinRelativePath(fromFolder, ref, &above);
}

ProjectScan ScanProject(const QString& projectFolder, const QList<ScanSeed>& seeds,
                        const std::function<QString(const QByteArray&)>& decode, int threads,
                        const std::function<void(const ScannedFile&)>& fileDone) {
  FolderIndex index(projectFolder);
  ProjectScan scan;
  QHash<QString, qsizetype> fileByKey;  // folded name -> index in scan.files
  // Of scan.files, same index: the anchors of every page kept as sorted
  // hashes of their folded names, and whether the file is a link out of
  // the project folder.
  std::vector<std::vector<size_t>> anchorKeys;
  std::vector<bool> leadsOut;
  std::atomic<qint64> totalBytes{0};  // read so far, against the limit of all together

  // Links to anchors, checked once the page they lead to has been read.
  struct AnchorUse {
    qsizetype target;
    QString fragment;  // percent-decoded
    qsizetype from;
    int line;
  };
  QHash<qsizetype, QList<AnchorUse>> waitingAnchors;  // by the page not read yet
  struct Missing {
    QString target;
    bool required;
    QString origin;  // given by a seed
    qsizetype from;  // else the file and line that name it
    int line;
  };
  QList<Missing> missing;
  QSet<QString> missingSeen;  // folded target + origin file, reported once per file

  // Files are read in the order found, on the threads, while the links of
  // those read are followed here: what a file references is all that is
  // held of it until then.
  const int workers = threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency()));
  OrderedWork<QString, FileRead> reading(workers, kScanAhead, [&](const QString& name) {
    return ReadAndScan(projectFolder, name, decode, totalBytes);
  });

  // The file a name means, added when new; -1 when there is no such file.
  auto take = [&](const QString& relative, const QString& folded) -> qsizetype {
    if (relative.isEmpty()) return -1;
    // A file found by the folded name is the one found on disk: the
    // names on disk are compared folded.
    if (const auto known = fileByKey.constFind(folded); known != fileByKey.constEnd()) return *known;
    const QString onDisk = index.find(relative);
    if (onDisk.isEmpty()) return -1;
    const QString key = onDisk.toCaseFolded();
    const auto known = fileByKey.constFind(key);
    if (known != fileByKey.constEnd()) return *known;
    fileByKey.insert(key, scan.files.size());
    scan.files.append(ScannedFile{onDisk, {}, {}, {}});
    reading.Add(onDisk);
    return scan.files.size() - 1;
  };

  for (const ScanSeed& seed : seeds) {
    const QString relative = ResolveReference(QString(), seed.name);
    if (relative.isEmpty() && WrittenOutsideFolder(seed.name)) {
      scan.outside.append(ScanProblem{seed.name.trimmed(), seed.origin});
      continue;
    }
    if (take(relative, relative.toCaseFolded()) < 0) {
      const QString target = relative.isEmpty() ? seed.name : relative;
      if (!missingSeen.contains(target.toCaseFolded() + u'\n' + seed.origin)) {
        missingSeen.insert(target.toCaseFolded() + u'\n' + seed.origin);
        missing.append(Missing{target, seed.required, seed.origin, -1, 0});
      }
    }
  }

  auto originOf = [&](qsizetype from, int line) {
    return QStringLiteral("%1, line %2").arg(scan.files.at(from).name).arg(line);
  };
  const auto checkAnchor = [&](const AnchorUse& use) {
    if (!isPageName(scan.files.at(use.target).name)) return;
    const std::vector<size_t>& keys = anchorKeys[size_t(use.target)];
    if (!std::binary_search(keys.begin(), keys.end(), AnchorKey(use.fragment)))
      scan.brokenAnchors.append(
          ScanProblem{scan.files.at(use.target).name + u'#' + use.fragment, originOf(use.from, use.line)});
  };
  for (qsizetype i = 0; std::optional<FileRead> read = reading.Next(); ++i) {
    anchorKeys.push_back(std::move(read->anchorKeys));
    leadsOut.push_back(read->outside);
    // The links to this page that waited for it are checked.
    if (const auto waiting = waitingAnchors.find(i); waiting != waitingAnchors.end()) {
      for (const AnchorUse& use : std::as_const(*waiting)) checkAnchor(use);
      waitingAnchors.erase(waiting);
    }
    if (read->outside) {
      scan.outside.append(ScanProblem{scan.files[i].name, QString()});
      continue;
    }
    ScannedFile& file = scan.files[i];
    if (!read->error.isEmpty()) {
      scan.unreadable.append(read->error);
      if (fileDone) fileDone(file);
      continue;
    }
    file.bytes = std::move(read->bytes);
    file.title = std::move(read->title);
    file.text = std::move(read->text);
    if (fileDone) fileDone(file);
    const QStringView linkText(read->linkText);
    for (const Link& link : std::as_const(read->links)) {
      const QString relative = linkText.sliced(link.at, link.relativeSize).toString();
      const QString linkKey = linkText.sliced(link.at + link.relativeSize, link.keySize).toString();
      const QStringView fragment =
          linkText.sliced(link.at + link.relativeSize + link.keySize, link.fragmentSize);
      qsizetype target = i;  // an anchor of the same page
      if (!relative.isEmpty()) {
        target = take(relative, linkKey);
        if (target < 0) {
          const QString key = linkKey + u'\n' + scan.files[i].name;
          if (!missingSeen.contains(key)) {
            missingSeen.insert(key);
            missing.append(Missing{relative, true, QString(), i, link.line});
          }
          continue;
        }
      }
      if (fragment.isEmpty()) continue;
      AnchorUse use{target, fragment.toString(), i, link.line};
      if (target <= i)
        checkAnchor(use);
      else
        waitingAnchors[target].append(std::move(use));
    }
  }

  for (const Missing& m : std::as_const(missing))
    scan.missingFiles.append(
        ScanProblem{m.target, m.from < 0 ? m.origin : originOf(m.from, m.line), m.required});

  // What lies outside the folder is left out of the files.
  for (qsizetype i = scan.files.size() - 1; i >= 0; --i) {
    if (leadsOut[size_t(i)]) scan.files.removeAt(i);
  }
  return scan;
}

QStringList GatherProjectFiles(const QString& projectFolder, const QStringList& seeds,
                               const QStringList& scanOnly) {
  QList<ScanSeed> all;
  for (const QString& name : seeds + scanOnly) all.append(ScanSeed{name, QString()});
  QSet<QString> skipped;
  for (const QString& name : scanOnly) skipped.insert(ResolveReference(QString(), name).toCaseFolded());
  QStringList found;
  for (const ScannedFile& file : ScanProject(projectFolder, all, AnsiToString, 1).files) {
    if (!skipped.contains(file.name.toCaseFolded())) found.append(file.name);
  }
  return found;
}

}  // namespace orvex

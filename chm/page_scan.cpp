#include "chm/page_scan.h"

#include "chm/ansi_text.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace orvex {
namespace {

QString unquoted(const QRegularExpressionMatch& m, int first) {
  for (int i = first; i <= m.lastCapturedIndex(); ++i) {
    if (m.capturedStart(i) >= 0) return m.captured(i);
  }
  return {};
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
  explicit FolderIndex(QString root) : m_root(std::move(root)) {}

  // The name with the case it has on disk, or empty when no such file.
  QString find(const QString& relative) {
    const QStringList parts = relative.split(u'/');
    QString current;
    for (qsizetype i = 0; i < parts.size(); ++i) {
      const auto& names = listing(current);
      const auto it = names.constFind(parts[i].toCaseFolded());
      if (it == names.constEnd()) return {};
      const bool last = i + 1 == parts.size();
      if (it->second != last) return {};  // a folder where a file is wanted, or the reverse
      current = current.isEmpty() ? it->first : current + u'/' + it->first;
    }
    return current;
  }

 private:
  // folded name -> (name on disk, is a file)
  using Listing = QHash<QString, std::pair<QString, bool>>;

  const Listing& listing(const QString& folder) {
    auto it = m_listings.find(folder);
    if (it != m_listings.end()) return *it;
    Listing names;
    QDir dir(folder.isEmpty() ? m_root : m_root + u'/' + folder);
    const auto entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : entries) {
      const QString key = info.fileName().toCaseFolded();
      // An exact-case entry wins over another spelling of the same name.
      if (!names.contains(key)) names.insert(key, {info.fileName(), info.isFile()});
    }
    return *m_listings.insert(folder, std::move(names));
  }

  QString m_root;
  QHash<QString, Listing> m_listings;
};

}  // namespace

QStringList PageReferences(const QString& text, bool styleSheet) {
  static const QRegularExpression urlRe(
      QStringLiteral(R"re(url\(\s*(?:"([^"]*)"|'([^']*)'|([^)\s]*))\s*\))re"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression importRe(QStringLiteral(R"re(@import\s+(?:"([^"]*)"|'([^']*)'))re"),
                                           QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression tagRe(QStringLiteral(R"re(<([A-Za-z]+)\b([^>]*)>)re"));
  static const QRegularExpression attrRe(
      QStringLiteral(
          R"re(\b(href|src|background|lowsrc|data|value)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)))re"),
      QRegularExpression::CaseInsensitiveOption);

  QStringList refs;
  auto collect = [&refs](const QRegularExpression& re, const QString& in, int first) {
    auto it = re.globalMatch(in);
    while (it.hasNext()) {
      const QString value = unquoted(it.next(), first).trimmed();
      if (!value.isEmpty()) refs.append(value);
    }
  };
  collect(urlRe, text, 1);
  if (styleSheet) {
    collect(importRe, text, 1);
    return refs;
  }
  auto tags = tagRe.globalMatch(text);
  while (tags.hasNext()) {
    const auto tag = tags.next();
    const bool isParam = tag.captured(1).compare(QLatin1String("param"), Qt::CaseInsensitive) == 0;
    auto attrs = attrRe.globalMatch(tag.capturedView(2));
    while (attrs.hasNext()) {
      const auto attr = attrs.next();
      // value= names files only in PARAM tags (splash pictures, sitemap "Local").
      if (!isParam && attr.captured(1).compare(QLatin1String("value"), Qt::CaseInsensitive) == 0) continue;
      const QString value = unquoted(attr, 2).trimmed();
      if (!value.isEmpty()) refs.append(value);
    }
  }
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
  static const QRegularExpression schemeRe(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*:"));
  if (schemeRe.match(ref).hasMatch())  // URLs, and drive letters
    return {};
  ref.replace(u'\\', u'/');
  if (ref.startsWith(u'/')) return {};
  if (ref.contains(u'%')) ref = QUrl::fromPercentEncoding(ref.toUtf8());

  QStringList parts = fromFolder.isEmpty() ? QStringList() : fromFolder.split(u'/');
  for (const QString& part : ref.split(u'/')) {
    if (part.isEmpty() || part == u'.') continue;
    if (part == QLatin1String("..")) {
      if (parts.isEmpty()) return {};  // above the project folder
      parts.removeLast();
      continue;
    }
    parts.append(part);
  }
  return parts.join(u'/');
}

QStringList GatherProjectFiles(const QString& projectFolder, const QStringList& seeds,
                               const QStringList& scanOnly) {
  FolderIndex index(projectFolder);
  QStringList found;
  QSet<QString> seen;
  QStringList queue;
  QSet<QString> skipped;
  for (const QString& name : scanOnly) skipped.insert(name.toCaseFolded());

  auto enqueue = [&](const QString& relative) {
    if (relative.isEmpty()) return;
    const QString onDisk = index.find(relative);
    if (onDisk.isEmpty()) return;
    const QString key = onDisk.toCaseFolded();
    if (seen.contains(key)) return;
    seen.insert(key);
    queue.append(onDisk);
    if (!skipped.contains(key)) found.append(onDisk);
  };

  for (const QString& seed : seeds + scanOnly) enqueue(ResolveReference(QString(), seed));

  for (qsizetype i = 0; i < queue.size(); ++i) {
    const QString name = queue.at(i);
    const bool css = isStyleSheetName(name);
    if (!css && !isPageName(name)) continue;
    QFile file(projectFolder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString text = AnsiToString(file.readAll());
    const QString from = folderOf(name);
    for (const QString& ref : PageReferences(text, css)) enqueue(ResolveReference(from, ref));
  }
  return found;
}

}  // namespace orvex

#include "viewer/chm_pages.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "chm/fulltext_words.h"
#include "platform/html_text.h"
#include "platform/html_tokenizer.h"
#include "platform/mime_types.h"

namespace {

QString NormalEntryPath(QString path) {
  path.replace(u'\\', u'/');
  if (!path.startsWith(u'/')) path.prepend(u'/');
  const QString clean = QDir::cleanPath(path);
  if (clean.startsWith(QLatin1String("/..")) || !clean.startsWith(u'/')) return {};
  return clean;
}

// "ms-its:", "its:" and "mk:@MSITStore:" links; the part after "::".
bool ItsTarget(const QString& link, QString* target) {
  static const QRegularExpression its(QStringLiteral("^\\s*(ms-its|its|mk:@msitstore):"),
                                      QRegularExpression::CaseInsensitiveOption);
  if (!its.match(link).hasMatch()) return false;
  const qsizetype sep = link.indexOf(QLatin1String("::"));
  *target = sep < 0 ? QString() : link.mid(sep + 2);
  return true;
}

bool HasScheme(const QString& link) {
  // "C:/x" is a drive, not a scheme; schemes have two letters or more.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  return scheme.match(link).hasMatch();
}

}  // namespace

QUrl ChmEntryUrl(const QString& entryPath, const QString& fragment) {
  const QString path = NormalEntryPath(entryPath);
  if (path.isEmpty()) return {};
  QUrl url;
  url.setScheme(QLatin1String(kChmScheme));
  url.setPath(path, QUrl::DecodedMode);
  if (!fragment.isEmpty()) url.setFragment(fragment, QUrl::DecodedMode);
  return url;
}

QString ChmEntryPath(const QUrl& url) {
  if (url.scheme().compare(QLatin1String(kChmScheme), Qt::CaseInsensitive) != 0) return {};
  const QString path = url.path(QUrl::FullyDecoded);
  if (path.isEmpty()) return {};
  return NormalEntryPath(path);
}

QByteArray ChmMimeType(const QString& entryName) {
  const QByteArray known = HelpFileMimeType(entryName);
  return known.isEmpty() ? QByteArrayLiteral("application/octet-stream") : known;
}

QByteArray CharsetOfCodePage(int codePage) {
  switch (codePage) {
    case 0:
      return "utf-8";
    case 874:
      return "windows-874";
    case 932:
      return "shift_jis";
    case 936:
      return "gbk";
    case 949:
      return "euc-kr";
    case 950:
      return "big5";
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
      return "windows-" + QByteArray::number(codePage);
    default:
      return "windows-1252";
  }
}

QByteArray ChmContentType(const QString& entryName, int codePage) {
  const QByteArray mime = ChmMimeType(entryName);
  if (mime.startsWith("text/")) return mime + "; charset=" + CharsetOfCodePage(codePage);
  return mime;
}

QUrl ChmLinkUrl(const QString& fromEntry, const QString& link) {
  const QString trimmed = link.trimmed();
  if (trimmed.isEmpty()) return {};
  QString target;
  if (ItsTarget(trimmed, &target)) {
    if (target.isEmpty()) return {};
    const qsizetype hash = target.indexOf(u'#');
    return ChmEntryUrl(hash < 0 ? target : target.left(hash), hash < 0 ? QString() : target.mid(hash + 1));
  }
  if (HasScheme(trimmed)) {
    const QUrl outside(trimmed);
    return outside.isValid() ? outside : QUrl();
  }
  const qsizetype hash = trimmed.indexOf(u'#');
  QString path = hash < 0 ? trimmed : trimmed.left(hash);
  const QString fragment = hash < 0 ? QString() : trimmed.mid(hash + 1);
  path = QUrl::fromPercentEncoding(path.toUtf8());
  path.replace(u'\\', u'/');
  if (path.isEmpty())
    path = fromEntry;
  else if (!path.startsWith(u'/')) {
    QString folder = NormalEntryPath(fromEntry);
    folder = folder.left(folder.lastIndexOf(u'/') + 1);
    path = folder + path;
  }
  return ChmEntryUrl(path, fragment);
}

QString HtmlPlainText(const QString& html) {
  QString text = ExtractPageText(html).body;
  text.replace(QChar(0xA0), u' ');
  return text.simplified();
}

QString HtmlTitle(const QString& html) { return HtmlTitleText(html); }

QStringList QueryWords(const QString& query) {
  static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                             QRegularExpression::UseUnicodePropertiesOption);
  QStringList words = query.toCaseFolded().split(separators, Qt::SkipEmptyParts);
  words.removeDuplicates();
  return words;
}

QList<int> SearchTopics(const QList<TopicText>& topics, const QString& query) {
  const QStringList words = QueryWords(query);
  if (words.isEmpty()) return {};
  struct Hit {
    int index;
    qsizetype count;
  };
  QList<Hit> hits;
  for (int i = 0; i < topics.size(); ++i) {
    const QString haystack = (topics[i].title + u' ' + topics[i].text).toCaseFolded();
    qsizetype total = 0;
    bool all = true;
    for (const QString& word : words) {
      const qsizetype n = haystack.count(word);
      if (n == 0) {
        all = false;
        break;
      }
      total += n;
    }
    if (all) hits.append({i, total});
  }
  std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.count > b.count; });
  QList<int> result;
  result.reserve(hits.size());
  for (const Hit& h : hits) result.append(h.index);
  return result;
}

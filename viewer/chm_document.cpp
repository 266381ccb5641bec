#include "viewer/chm_document.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"
#include "platform/locale_info.h"

namespace {

constexpr qint64 kMaxSearchPageBytes = 8 * 1024 * 1024;

bool IsPage(const QString& path) {
  const QString lower = path.toLower();
  return lower.endsWith(QLatin1String(".htm")) || lower.endsWith(QLatin1String(".html"));
}

}  // namespace

QByteArray DeclaredCharset(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return "utf-8";
  if (bytes.startsWith("\xFF\xFE")) return "utf-16le";
  if (bytes.startsWith("\xFE\xFF")) return "utf-16be";
  const QString head = QString::fromLatin1(bytes.left(1024));
  static const QRegularExpression cssCharset(QStringLiteral("^@charset\\s+\"([^\"]+)\""));
  if (const auto m = cssCharset.match(head); m.hasMatch()) return m.captured(1).trimmed().toLatin1();
  static const QRegularExpression meta(
      QStringLiteral("<meta\\b[^>]*\\bcharset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
      QRegularExpression::CaseInsensitiveOption);
  if (const auto m = meta.match(head); m.hasMatch()) return m.captured(1).toLatin1();
  return {};
}

Status ChmDocument::Open(const QString& fileName) {
  file.close();
  entries.clear();
  entryByLowerPath.clear();
  path = QFileInfo(fileName).absoluteFilePath();
  if (!QFileInfo(path).isFile())
    return Fail(QStringLiteral("Cannot open file %1: %2")
                    .arg(QDir::toNativeSeparators(path), QFileInfo::exists(path)
                                                             ? QStringLiteral("it is not a file")
                                                             : QStringLiteral("No such file or directory")));
  if (Status opened = file.open(path); !opened) return opened;
  system = file.systemInfo();
  const int codePage = LocaleAnsiCodePage(static_cast<int>(system.lcid));
  page = codePage < 0 ? 1252 : codePage;
  entries = file.entries();
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (!entries[i].isFile) continue;
    entryByLowerPath.insert(entries[i].path.toLower(), i);
  }
  return {};
}

QString ChmDocument::Title() const {
  return system.title.isEmpty() ? QFileInfo(path).fileName() : system.title;
}

QString ChmDocument::FindEntry(const QString& path) const {
  QString key = path;
  key.replace(u'\\', u'/');
  if (!key.startsWith(u'/')) key.prepend(u'/');
  const auto it = entryByLowerPath.constFind(key.toLower());
  return it == entryByLowerPath.cend() ? QString() : entries[*it].path;
}

const orvex::ChmEntry* ChmDocument::EntryOf(const QString& path) const {
  QString key = path;
  if (!key.startsWith(u'/')) key.prepend(u'/');
  const auto it = entryByLowerPath.constFind(key.toLower());
  return it == entryByLowerPath.cend() ? nullptr : &entries[*it];
}

std::optional<QByteArray> ChmDocument::Read(const QString& path, qint64 maxBytes) const {
  const orvex::ChmEntry* found = EntryOf(path);
  if (!found) return std::nullopt;
  const orvex::ChmEntry& entry = *found;
  if (static_cast<qint64>(entry.length) > maxBytes) return std::nullopt;
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(entry.length));
  // Read by the stored name, so names that are not UTF-8 are found too.
  const bool read = file.readInPieces(entry, [&bytes](const QByteArray& piece) {
    bytes.append(piece);
    return true;
  });
  if (!read) return std::nullopt;
  return bytes;
}

QByteArray ChmDocument::ContentTypeOf(const QString& path, const QByteArray& bytes) const {
  const QByteArray mime = ChmMimeType(path);
  if (!mime.startsWith("text/")) return mime;
  const QByteArray declared = DeclaredCharset(bytes);
  // A page that names its own charset is read in it, as it says.
  if (!declared.isEmpty()) return mime;
  return mime + "; charset=" + CharsetOfCodePage(page);
}

QString ChmDocument::DecodeText(const QByteArray& bytes) const {
  const QByteArray declared = DeclaredCharset(bytes);
  if (!declared.isEmpty()) {
    QStringDecoder decoder(declared.constData(), QStringDecoder::Flag::Stateless);
    if (decoder.isValid()) {
      QByteArray body = bytes;
      if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
      return decoder(body);
    }
  }
  if (page == 0) return QString::fromUtf8(bytes);
  return DecodeCodePage(bytes, page);
}

QString ChmDocument::FirstEntryWithSuffix(const QString& suffix) const {
  for (const orvex::ChmEntry& e : entries)
    if (e.isFile && e.path.endsWith(suffix, Qt::CaseInsensitive) && !e.path.startsWith(QLatin1String("/#")) &&
        !e.path.startsWith(QLatin1String("/$")) && !e.path.startsWith(QLatin1String("::")))
      return e.path;
  return {};
}

QString ChmDocument::ContentsFile() const {
  if (!system.contentsFile.isEmpty())
    if (const QString found = FindEntry(system.contentsFile); !found.isEmpty()) return found;
  return FirstEntryWithSuffix(QStringLiteral(".hhc"));
}

QString ChmDocument::IndexFile() const {
  if (!system.indexFile.isEmpty())
    if (const QString found = FindEntry(system.indexFile); !found.isEmpty()) return found;
  return FirstEntryWithSuffix(QStringLiteral(".hhk"));
}

std::vector<ContentsNode> ChmDocument::Contents() const {
  const QString file = ContentsFile();
  if (file.isEmpty()) return {};
  const auto bytes = Read(file);
  return bytes ? ReadContentsFile(DecodeText(*bytes)) : std::vector<ContentsNode>();
}

std::vector<IndexNode> ChmDocument::Index(const QLocale& locale) const {
  const QString file = IndexFile();
  if (file.isEmpty()) return {};
  const auto bytes = Read(file);
  return bytes ? ReadIndexFile(DecodeText(*bytes), locale) : std::vector<IndexNode>();
}

namespace {

QUrl FirstTopic(const std::vector<ContentsNode>& nodes, const QString& contentsFile, const ChmDocument& doc) {
  for (const ContentsNode& node : nodes) {
    if (node.data && !node.data->fileName.isEmpty()) {
      const QUrl url = ChmLinkUrl(contentsFile, node.data->fileName);
      if (url.isValid() && !doc.FindEntry(ChmEntryPath(url)).isEmpty()) return url;
    }
    if (const QUrl inner = FirstTopic(node.children, contentsFile, doc); inner.isValid()) return inner;
  }
  return {};
}

}  // namespace

QUrl ChmDocument::DefaultTopicUrl() const {
  if (!system.defaultTopic.isEmpty()) {
    const QUrl url = ChmLinkUrl(QStringLiteral("/"), system.defaultTopic);
    if (const QString found = FindEntry(ChmEntryPath(url)); !found.isEmpty())
      return ChmEntryUrl(found, url.fragment(QUrl::FullyDecoded));
  }
  if (const QUrl first = FirstTopic(Contents(), ContentsFile(), *this); first.isValid()) return first;
  const QStringList pages = PagePaths();
  return pages.isEmpty() ? QUrl() : ChmEntryUrl(pages.first());
}

QUrl ChmDocument::ContextTopicUrl(quint32 number) const {
  const QString topic = file.topicForContext(number);
  if (topic.isEmpty()) return {};
  const QUrl url = ChmLinkUrl(QStringLiteral("/"), topic);
  const QString found = FindEntry(ChmEntryPath(url));
  return found.isEmpty() ? QUrl() : ChmEntryUrl(found, url.fragment(QUrl::FullyDecoded));
}

QStringList ChmDocument::PagePaths() const {
  QStringList pages;
  for (const orvex::ChmEntry& e : entries)
    if (e.isFile && e.isNormal && IsPage(e.path)) pages.append(e.path);
  return pages;
}

QList<TopicText> ChmDocument::TopicTexts() const {
  QList<TopicText> topics;
  for (const QString& path : PagePaths()) {
    const auto bytes = Read(path, kMaxSearchPageBytes);
    if (!bytes) continue;
    const QString html = DecodeText(*bytes);
    topics.append({path, HtmlTitle(html), HtmlPlainText(html)});
  }
  return topics;
}

#include "chm/system_files.h"

#include "chm/chm_bytes.h"

#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>

namespace orvex {
namespace {

constexpr qsizetype kBlockSize = 4096;
constexpr quint32 kNoString = 0xFFFFFFFF;
constexpr int kWindowEntrySize = 196;
constexpr qint64 kFileTimeEpochOffset = 11644473600LL;  // seconds from 1601 to 1970

// Valid-member flags of a window type.
enum WindowMember : quint32 {
  kMemberProperties = 0x2,
  kMemberStyles = 0x4,
  kMemberExStyles = 0x8,
  kMemberRect = 0x10,
  kMemberNavWidth = 0x20,
  kMemberShowState = 0x40,
  kMemberToolbarFlags = 0x100,
  kMemberExpansion = 0x200,
  kMemberTabPosition = 0x400,
  kMemberCurrentTab = 0x2000,
};

QByteArray Le32(quint32 value) {
  QByteArray out;
  AppendLe32(out, value);
  return out;
}

void AppendRecord(QByteArray& out, quint16 code, const QByteArray& data) {
  AppendLe16(out, code);
  AppendLe16(out, static_cast<quint16>(data.size()));
  out.append(data);
}

QByteArray NulTerminated(const QByteArray& text) { return text + '\0'; }

bool IsDoubleByteLanguage(quint32 lcid) {
  switch (lcid & 0x3FF) {  // primary language
    case 0x04:             // Chinese
    case 0x11:             // Japanese
    case 0x12:             // Korean
      return true;
    default:
      return false;
  }
}

std::optional<quint32> ParseNumber(QString text) {
  text = text.trimmed();
  if (text.isEmpty()) return std::nullopt;
  bool ok = false;
  const qlonglong value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                              ? text.mid(2).toLongLong(&ok, 16)
                              : text.toLongLong(&ok, 10);
  if (!ok) return std::nullopt;
  return static_cast<quint32>(value);
}

// The fields of a [WINDOWS] value: comma-separated, quoted or bare, with the
// position as one "[l,t,r,b]" field.
QStringList SplitWindowFields(const QString& value) {
  QStringList fields;
  QString current;
  bool quoted = false;
  int bracket = 0;
  for (const QChar c : value) {
    if (c == u'"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && c == u'[') ++bracket;
    if (!quoted && c == u']') --bracket;
    if (!quoted && bracket == 0 && c == u',') {
      fields.append(current.trimmed());
      current.clear();
      continue;
    }
    current += c;
  }
  fields.append(current.trimmed());
  return fields;
}

// A topic's id in #URLTBL: FNV-1a of its path in lower case, the same on
// every build.
quint32 UrlId(const QByteArray& path) {
  quint32 hash = 2166136261u;
  for (const char c : path.toLower()) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

ChmStringTable::ChmStringTable() : bytes(1, '\0') {}

quint32 ChmStringTable::Add(const QByteArray& text) {
  if (text.isEmpty()) return 0;
  const auto found = offsets.constFind(text);
  if (found != offsets.constEnd()) return *found;
  const qsizetype length = text.size() + 1;
  const qsizetype room = kBlockSize - bytes.size() % kBlockSize;
  // A string never crosses a block unless it is longer than one.
  if (length > room && length <= kBlockSize) bytes.append(room, '\0');
  const auto offset = static_cast<quint32>(bytes.size());
  bytes.append(text);
  bytes.append('\0');
  offsets.insert(text, offset);
  return offset;
}

QByteArray BuildSystemFile(const ChmSystemOptions& options) {
  QByteArray out = Le32(3);
  QByteArray timestamp = Le32(static_cast<quint32>(options.unixTime));
  AppendLe32(timestamp, 0);
  AppendRecord(out, 10, timestamp);
  if (!options.compilerName.isEmpty()) AppendRecord(out, 9, NulTerminated(options.compilerName));

  QByteArray language = Le32(options.lcid);
  AppendLe32(language, IsDoubleByteLanguage(options.lcid) ? 1 : 0);
  AppendLe32(language, options.fullTextSearch ? 1 : 0);
  AppendLe32(language, options.keywordLinks ? 1 : 0);
  AppendLe32(language, 0);  // associative links
  const quint64 fileTime = static_cast<quint64>(options.unixTime + kFileTimeEpochOffset) * 10000000ULL;
  AppendLe32(language, static_cast<quint32>(fileTime));
  AppendLe32(language, static_cast<quint32>(fileTime >> 32));
  AppendLe32(language, 0);
  AppendLe32(language, 0);
  AppendRecord(out, 4, language);

  const auto text = [&out](quint16 code, const QByteArray& value) {
    if (!value.isEmpty()) AppendRecord(out, code, NulTerminated(value));
  };
  text(2, options.defaultTopic);
  text(3, options.title);
  text(16, options.defaultFont);
  text(6, options.compiledName.toLower());
  text(0, options.contentsFile);
  text(1, options.indexFile);
  text(5, options.defaultWindow);
  return out;
}

std::optional<ChmWindowType> ParseWindowLine(const QString& line) {
  const qsizetype eq = line.indexOf(u'=');
  if (eq <= 0) return std::nullopt;
  ChmWindowType window;
  window.name = line.left(eq).trimmed();
  if (window.name.isEmpty() || window.name.startsWith(u';')) return std::nullopt;
  const QStringList f = SplitWindowFields(line.mid(eq + 1));
  const auto field = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };
  const auto number = [&field](int i) { return ParseNumber(field(i)); };
  window.caption = field(0);
  window.contentsFile = field(1);
  window.indexFile = field(2);
  window.defaultFile = field(3);
  window.homeFile = field(4);
  window.jump1Url = field(5);
  window.jump1Text = field(6);
  window.jump2Url = field(7);
  window.jump2Text = field(8);
  window.properties = number(9);
  window.navigationWidth = number(10);
  window.toolbarButtons = number(11);
  const QString rect = field(12);
  if (rect.startsWith(u'[') && rect.endsWith(u']')) {
    const QStringList parts = rect.mid(1, rect.size() - 2).split(u',');
    if (parts.size() == 4) {
      std::array<qint32, 4> position{};
      bool all = true;
      for (int i = 0; i < 4; ++i) {
        const auto value = ParseNumber(parts.at(i));
        all = all && value.has_value();
        position[static_cast<size_t>(i)] = static_cast<qint32>(value.value_or(0));
      }
      if (all) window.position = position;
    }
  }
  window.style = number(13);
  window.extendedStyle = number(14);
  window.showState = number(15);
  window.navigationClosed = number(16);
  window.defaultTab = number(17);
  window.tabPosition = number(18);
  window.notifyId = number(19);
  return window;
}

QByteArray BuildWindowsFile(const QList<ChmWindowType>& windows, ChmStringTable& strings,
                            const std::function<QByteArray(const QString&)>& encode) {
  QByteArray out = Le32(static_cast<quint32>(windows.size()));
  AppendLe32(out, kWindowEntrySize);
  for (const ChmWindowType& w : windows) {
    QByteArray entry(kWindowEntrySize, '\0');
    const auto string = [&](qsizetype at, const QString& value) {
      PutLe32(entry, at, strings.Add(encode(value)));
    };
    quint32 valid = 0;
    const auto member = [&](qsizetype at, const std::optional<quint32>& value, quint32 flag) {
      if (!value) return;
      PutLe32(entry, at, *value);
      valid |= flag;
    };
    PutLe32(entry, 0x00, kWindowEntrySize);
    string(0x08, w.name);
    member(0x10, w.properties, kMemberProperties);
    string(0x14, w.caption);
    member(0x18, w.style, kMemberStyles);
    member(0x1C, w.extendedStyle, kMemberExStyles);
    if (w.position) {
      for (int i = 0; i < 4; ++i)
        PutLe32(entry, 0x20 + 4 * i, static_cast<quint32>(w.position->at(static_cast<size_t>(i))));
      valid |= kMemberRect;
    }
    member(0x30, w.showState, kMemberShowState);
    member(0x4C, w.navigationWidth, kMemberNavWidth);
    // Files inside the help are named with "/", as readers look them up.
    const auto file = [&](qsizetype at, QString value) {
      value.replace(u'\\', u'/');
      string(at, value);
    };
    file(0x60, w.contentsFile);
    file(0x64, w.indexFile);
    file(0x68, w.defaultFile);
    file(0x6C, w.homeFile);
    member(0x70, w.toolbarButtons, kMemberToolbarFlags);
    member(0x74, w.navigationClosed, kMemberExpansion);
    member(0x78, w.defaultTab, kMemberCurrentTab);
    member(0x7C, w.tabPosition, kMemberTabPosition);
    if (w.notifyId) PutLe32(entry, 0x80, *w.notifyId);
    string(0x9C, w.jump1Text);
    string(0xA0, w.jump2Text);
    file(0xA4, w.jump1Url);
    file(0xA8, w.jump2Url);
    PutLe32(entry, 0x0C, valid);
    out.append(entry);
  }
  return out;
}

ChmTopicFiles BuildTopicFiles(const QList<ChmTopic>& topics, ChmStringTable& strings) {
  ChmTopicFiles files;
  files.urlStrings = QByteArray(1, '\0');
  constexpr qsizetype kUrlsPerBlock = kBlockSize / 12;  // 341, then 4 bytes of padding
  // Each topic's URLTBL slot, in the order of the table.
  struct Slot {
    quint32 id;
    quint32 topic;
    quint32 urlString;
  };
  QList<Slot> urlEntries;
  for (qsizetype i = 0; i < topics.size(); ++i) {
    const ChmTopic& topic = topics.at(i);
    QByteArray entry = Le32(0);
    AppendLe32(entry, 0);
    entry.append(topic.path);
    entry.append('\0');
    const qsizetype room = kBlockSize - files.urlStrings.size() % kBlockSize;
    if (entry.size() > room && entry.size() <= kBlockSize) files.urlStrings.append(room, '\0');
    const auto urlString = static_cast<quint32>(files.urlStrings.size());
    files.urlStrings.append(entry);
    urlEntries.append(Slot{UrlId(topic.path), static_cast<quint32>(i), urlString});
  }
  std::stable_sort(urlEntries.begin(), urlEntries.end(),
                   [](const Slot& a, const Slot& b) { return a.id < b.id; });
  QList<quint32> tableOffset(topics.size());
  for (qsizetype n = 0; n < urlEntries.size(); ++n) {
    if (n > 0 && n % kUrlsPerBlock == 0) files.urlTable.append(kBlockSize - kUrlsPerBlock * 12, '\0');
    tableOffset[urlEntries[n].topic] = static_cast<quint32>(files.urlTable.size());
    AppendLe32(files.urlTable, urlEntries[n].id);
    AppendLe32(files.urlTable, urlEntries[n].topic);
    AppendLe32(files.urlTable, urlEntries[n].urlString);
  }
  for (qsizetype i = 0; i < topics.size(); ++i) {
    const ChmTopic& topic = topics.at(i);
    AppendLe32(files.topics, 0);  // no binary contents
    AppendLe32(files.topics, topic.title.isEmpty() ? kNoString : strings.Add(topic.title));
    AppendLe32(files.topics, tableOffset.at(i));
    AppendLe16(files.topics, topic.inContents ? 6 : 2);
    AppendLe16(files.topics, 0);
  }
  return files;
}

ChmSiteProperties ReadSiteProperties(const QString& contentsText,
                                     const std::function<QByteArray(const QString&)>& encode) {
  ChmSiteProperties properties;
  static const QRegularExpression objectRe(
      QStringLiteral(R"re(<OBJECT\b[^>]*type\s*=\s*"?text/site properties"?[^>]*>(.*?)</OBJECT>)re"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression paramRe(
      QStringLiteral(R"re(<param\s+name\s*=\s*"([^"]*)"\s+value\s*=\s*"([^"]*)"\s*/?>)re"),
      QRegularExpression::CaseInsensitiveOption);
  const auto object = objectRe.match(contentsText);
  if (!object.hasMatch()) return properties;
  auto params = paramRe.globalMatch(object.capturedView(1));
  while (params.hasNext()) {
    const auto param = params.next();
    const QString name = param.captured(1).trimmed().toLower();
    const QString value = param.captured(2).trimmed();
    if (name == QLatin1String("imagetype"))
      properties.folderImages = value.compare(QLatin1String("Folder"), Qt::CaseInsensitive) == 0;
    else if (name == QLatin1String("window styles"))
      properties.windowStyles = ParseNumber(value);
    else if (name == QLatin1String("exwindow styles"))
      properties.exWindowStyles = ParseNumber(value);
    else if (name == QLatin1String("background"))
      properties.background = ParseNumber(value);
    else if (name == QLatin1String("foreground"))
      properties.foreground = ParseNumber(value);
    else if (name == QLatin1String("font"))
      properties.font = encode(value);
    else if (name == QLatin1String("framename"))
      properties.frameName = encode(value);
    else if (name == QLatin1String("windowname"))
      properties.windowName = encode(value);
    else if (name == QLatin1String("imagelist"))
      properties.imageList = encode(value);
  }
  return properties;
}

QByteArray BuildIndexHeader(int topicCount, const ChmSiteProperties& properties, ChmStringTable& strings) {
  QByteArray out(kBlockSize, '\0');
  out.replace(0, 4, "T#SM");
  PutLe32(out, 0x08, 1);
  PutLe32(out, 0x0C, static_cast<quint32>(topicCount));
  PutLe32(out, 0x14, strings.Add(properties.imageList));
  PutLe32(out, 0x1C, properties.folderImages ? 1 : 0);
  PutLe32(out, 0x20, properties.background.value_or(0));
  PutLe32(out, 0x24, properties.foreground.value_or(0));
  PutLe32(out, 0x28, strings.Add(properties.font));
  PutLe32(out, 0x2C, properties.windowStyles.value_or(0));
  PutLe32(out, 0x30, properties.exWindowStyles.value_or(0));
  PutLe32(out, 0x38, strings.Add(properties.frameName));
  PutLe32(out, 0x3C, strings.Add(properties.windowName));
  return out;
}

QByteArray BuildContextMapFile(const QList<ChmContextTarget>& targets, ChmStringTable& strings) {
  QByteArray out = Le32(static_cast<quint32>(targets.size() * 8));
  for (const ChmContextTarget& target : targets) {
    AppendLe32(out, target.number);
    AppendLe32(out, strings.Add(target.file));
  }
  return out;
}

}  // namespace orvex

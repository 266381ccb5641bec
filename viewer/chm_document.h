// A compiled help file as the viewer shows it: its entries found without
// regard to letter case, its pages' text in the file's language, its default
// topic, contents, index and context numbers.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

#include "chm/chm_file.h"
#include "viewer/chm_pages.h"
#include "formats/sitemap/sitemap_nodes.h"

// The charset a page or style sheet declares itself (a byte-order mark, a
// <meta> charset in the first 1024 bytes, a leading @charset); empty when
// it declares none.
QByteArray DeclaredCharset(const QByteArray& bytes);

class ChmDocument {
 public:
  // Fails, saying why, when the file is not a readable compiled help file.
  Status Open(const QString& path);
  bool IsOpen() const { return file.isOpen(); }
  QString FilePath() const { return path; }

  const orvex::ChmSystemInfo& Info() const { return system; }
  // The ANSI code page of the file's language; 0 for a Unicode-only
  // language, 1252 when the language is unknown.
  int CodePage() const { return page; }
  // "Title" of the project, else the file's name.
  QString Title() const;

  // The stored path ("/Sub/Page.htm") of an entry named without regard to
  // case; empty when there is none.
  QString FindEntry(const QString& path) const;
  // The entry of a stored path (as FindEntry gives it); null when none.
  const orvex::ChmEntry* EntryOf(const QString& path) const;
  // An entry's bytes; nullopt when it is missing or larger than maxBytes.
  std::optional<QByteArray> Read(const QString& path, qint64 maxBytes = 64 * 1024 * 1024) const;
  // The content type an entry is served with: text types carry their own
  // declared charset, or else the one of the file's language.
  QByteArray ContentTypeOf(const QString& path, const QByteArray& bytes) const;
  // Text of a page or sitemap file: its declared charset, else the code page.
  QString DecodeText(const QByteArray& bytes) const;

  // Where the file opens: its default topic, else the first topic of its
  // contents, else its first page. Invalid when it holds no page at all.
  QUrl DefaultTopicUrl() const;
  // The page of a context number; invalid when the file does not map it.
  QUrl ContextTopicUrl(quint32 number) const;

  // Entry paths of the contents and index files; empty when there is none.
  QString ContentsFile() const;
  QString IndexFile() const;
  std::vector<ContentsNode> Contents() const;
  std::vector<IndexNode> Index(const QLocale& locale = QLocale()) const;

  // Every page (".htm", ".html") in stored order.
  QStringList PagePaths() const;
  // Title and text of every page, for searching.
  QList<TopicText> TopicTexts() const;

 private:
  QString FirstEntryWithSuffix(const QString& suffix) const;

  orvex::ChmFile file;
  QString path;
  orvex::ChmSystemInfo system;
  int page = 1252;
  QList<orvex::ChmEntry> entries;
  QHash<QString, qsizetype> entryByLowerPath;
};

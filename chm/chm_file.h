#pragma once
// Reading compiled help files through chmlib: their entries, the project
// data kept in #SYSTEM, and the context map (#IVB and #STRINGS).

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "chm/chm_validator.h"
#include "platform/result.h"

struct chmFile;

namespace orvex {

struct ChmEntry {
  QString path;        // as stored, e.g. "/Topic01.htm", "::DataSpace/NameList"
  QByteArray rawPath;  // the stored bytes of the name
  quint64 length = 0;
  bool isFile = false;    // a file, not a folder
  bool isNormal = false;  // a normal entry (not "::" meta, not "#"/"$" special)
  quint64 start = 0;      // where chmlib finds the content
  int space = 0;          // 0 uncompressed, 1 compressed
};

struct ChmSystemInfo {
  QString contentsFile;   // code 0
  QString indexFile;      // code 1
  QString defaultTopic;   // code 2
  QString title;          // code 3
  quint32 lcid = 0;       // code 4
  QString defaultWindow;  // code 5
  QString compiledFile;   // code 6
  QString defaultFont;    // code 16
  int codePage = 0;       // the text's code page (ChmTextCodePage)
};

// A compiled file's name bytes as text: UTF-8 when they are valid UTF-8,
// otherwise Windows-1252.
QString ChmNameToString(const QByteArray& bytes);

// The code page of a compiled file's text for its language; 0 when the
// language has none (Unicode-only or unknown): then text is UTF-8 when valid,
// otherwise Windows-1252.
int ChmTextCodePage(quint32 lcid);

// Stored text up to its first NUL, decoded in codePage (0: see ChmTextCodePage).
QString ChmTextToString(const QByteArray& bytes, int codePage);

// #SYSTEM's records read from its bytes; records past the end are ignored.
// Text is decoded in the code page of the language it names.
ChmSystemInfo ParseChmSystem(const QByteArray& data);

// #IVB's number/offset pairs joined with the NUL-terminated strings of
// #STRINGS, decoded in codePage (see ChmTextToString); pairs that point
// outside #STRINGS are left out.
QMap<quint32, QString> ParseContextMap(const QByteArray& ivb, const QByteArray& strings, int codePage = 0);

// The entry (e.g. "/sub/Page.htm") that a page path stored in the context
// map means: the path as it is, or, when the compiler stored an absolute
// path of its machine (e.g. "/home/a/help/sub/Page.htm", "C:\\Help\\Page.htm"),
// the longest tail of it that names an entry. Compared without case.
// Empty when nothing matches.
QString MatchStoredPagePath(const QString& stored, const QStringList& entryPaths);

class ChmFile {
 public:
  ChmFile() = default;
  ~ChmFile();
  ChmFile(const ChmFile&) = delete;
  ChmFile& operator=(const ChmFile&) = delete;

  // Checks the file's structure first (chm_validator.h); a file that fails
  // is not handed to the reading library, and the failure says why. The
  // file is opened once: what was checked is what is read, even when
  // another file takes the path's place afterwards.
  Status open(const QString& path);
  void close();
  bool isOpen() const { return handle != nullptr; }

  QList<ChmEntry> entries() const;
  bool contains(const QString& path) const;
  // The whole entry; nullopt when it is missing or longer than maxBytes.
  std::optional<QByteArray> read(const QString& path, qint64 maxBytes = 256 * 1024 * 1024) const;
  // Hands an entry of entries() to sink in pieces; false when it could not
  // be read or sink answered false.
  bool readInPieces(const ChmEntry& entry, const std::function<bool(const QByteArray&)>& sink) const;

  ChmSystemInfo systemInfo() const;
  // Context number -> entry path ("/Topic01.htm"), resolved against this file's entries.
  QMap<quint32, QString> contextMap() const;
  // The entry path of a context number; empty when the file does not map it.
  QString topicForContext(quint32 number) const;

 private:
  chmFile* handle = nullptr;
  int fd = -1;                   // the file that was checked, kept open while the library reads it
  QList<ChmListedEntry> listed;  // its directory's entries, as checked
};

}  // namespace orvex

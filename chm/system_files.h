// The internal files of a compiled help that viewers read beside the pages:
// #SYSTEM (the project's options), #WINDOWS (window types), #TOPICS,
// #URLTBL and #URLSTR (every page with its title), #STRINGS (the strings
// the others point into), #IDXHDR (the contents file's properties) and
// #IVB (context numbers to pages). Text is passed in as bytes of the help's
// code page, as the files store it.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace orvex {

// #STRINGS: NUL-terminated strings, none crossing a 4096-byte block; offset
// 0 is the empty string. A string added twice is stored once.
class ChmStringTable {
 public:
  ChmStringTable();
  // The offset of the string; 0 for an empty one.
  quint32 Add(const QByteArray& text);
  const QByteArray& Bytes() const { return bytes; }

 private:
  QByteArray bytes;
  QHash<QByteArray, quint32> offsets;
};

struct ChmSystemOptions {
  QByteArray contentsFile;   // "Contents file=", project-relative
  QByteArray indexFile;      // "Index file="
  QByteArray defaultTopic;   // "Default topic="
  QByteArray title;          // "Title="
  QByteArray defaultWindow;  // "Default Window="
  QByteArray defaultFont;    // "Default Font=" ("Arial,8,0")
  QByteArray compiledName;   // the compiled file's name without folder and extension
  QByteArray compilerName;   // who wrote the file
  quint32 lcid = 0x409;
  bool fullTextSearch = false;
  bool keywordLinks = false;  // the index's keywords are stored ($WWKeywordLinks)
  qint64 unixTime = 0;        // when the file was compiled
};

// #SYSTEM: version 3, then one record (code, length, data) per value that
// is set, in the order the viewers' own files have them.
QByteArray BuildSystemFile(const ChmSystemOptions& options);

// One window type of [WINDOWS]:
// name="Caption","toc.hhc","index.hhk","default.htm","home.htm","jump1 url",
// "jump1 text","jump2 url","jump2 text",properties,navigation width,
// toolbar buttons,[left,top,right,bottom],style,extended style,show state,
// navigation closed,default tab,tab position,notify id
// Empty fields are not set.
struct ChmWindowType {
  QString name;
  QString caption, contentsFile, indexFile, defaultFile, homeFile, jump1Url, jump1Text, jump2Url, jump2Text;
  std::optional<quint32> properties, navigationWidth, toolbarButtons, style, extendedStyle, showState,
      navigationClosed, defaultTab, tabPosition, notifyId;
  std::optional<std::array<qint32, 4>> position;
};

// A [WINDOWS] line as a window type; nullopt when it is not one (no "=",
// no name). Values are quoted or bare; numbers decimal or 0x hex.
std::optional<ChmWindowType> ParseWindowLine(const QString& line);

// #WINDOWS: the count and size of its entries, then one entry per window
// type, its strings in the table. encode turns text into the help's bytes.
QByteArray BuildWindowsFile(const QList<ChmWindowType>& windows, ChmStringTable& strings,
                            const std::function<QByteArray(const QString&)>& encode);

struct ChmTopic {
  QByteArray path;   // project-relative, '/'-separated ("sub/page.htm")
  QByteArray title;  // the page's <TITLE>; empty when it has none
  bool inContents = false;
};

struct ChmTopicFiles {
  QByteArray topics;      // #TOPICS: 16 bytes a topic
  QByteArray urlTable;    // #URLTBL: 12 bytes a topic, in 4096-byte blocks
  QByteArray urlStrings;  // #URLSTR: each topic's path
};

ChmTopicFiles BuildTopicFiles(const QList<ChmTopic>& topics, ChmStringTable& strings);

// The "text/site properties" of a contents file that #IDXHDR keeps.
struct ChmSiteProperties {
  bool folderImages = false;  // ImageType=Folder
  std::optional<quint32> windowStyles, exWindowStyles, background, foreground;
  QByteArray font, frameName, windowName, imageList;
};

// The site properties of a contents file's text (the first OBJECT of type
// "text/site properties").
ChmSiteProperties ReadSiteProperties(const QString& contentsText,
                                     const std::function<QByteArray(const QString&)>& encode);

// #IDXHDR: 4096 bytes.
QByteArray BuildIndexHeader(int topicCount, const ChmSiteProperties& properties, ChmStringTable& strings);

struct ChmContextTarget {
  quint32 number = 0;
  QByteArray file;  // project-relative page, '/'-separated
};

// #IVB: the length of the pairs, then (context number, offset in #STRINGS of
// the page) for every target, several numbers for one page allowed.
QByteArray BuildContextMapFile(const QList<ChmContextTarget>& targets, ChmStringTable& strings);

}  // namespace orvex

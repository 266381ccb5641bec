// The full-text search index of a compiled help file ("/$FIftiMain"): every
// word of every topic with the topics it is in and where in each.
//
// Layout: a header of 1024 bytes; then, leaf by leaf, the word-location
// lists (WLCs) of the leaf's words followed by the leaf node; then the index
// nodes, level by level, the root last. Nodes are 4096 bytes.
//  - A leaf node: next leaf's offset (0 for the last), 0, the free space at
//    its end (16-bit), then its entries in byte order of their words: the
//    word front-compressed against the one before in the node (length of
//    the new part + 1, count of bytes shared, the new part), the context (0
//    for the text of the page, 1 for its title), the number of topics, the
//    WLC's offset (32-bit), 0 (16-bit), the WLC's length. The two counts are
//    variable-length integers, seven bits a byte, low bits first, the high
//    bit set on every byte but the last.
//  - An index node: its free space (16-bit), then per child node the last
//    word of that child (front-compressed the same way), the child's offset
//    (32-bit) and 0 (16-bit).
//  - A WLC: per topic, starting on a byte: the topic number's distance from
//    the topic before (from 0 for the first), the number of locations, each
//    location's distance from the one before (from 0), all in the scale-2
//    "root" code: n one-bits, a zero, then (r + n - 1, or r when n is 0)
//    bits, most significant first, standing for the value that has those
//    low bits and, for n > 0, the bit r + n - 1 set. The roots are chosen
//    per file for the fewest bits and kept in the header.
//
// Words are stored as bytes of the help's code page. A topic's title words
// are listed in the title context and also, as the first words of the
// topic, in the text context: readers that look up only the first entry of
// a word then still find every topic that has it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

struct FullTextTopic {
  quint32 topicNumber = 0;  // the topic's entry in #TOPICS (0 for the first)
  QString title;            // its title; empty: the page's own <title>
  QString page;             // the page's HTML, decoded from the help's code page
  QByteArray pageBytes;     // or, with page empty, its bytes, for the decoder BuildFullTextIndex is given
};

struct FullTextOptions {
  int threads = 0;  // threads reading the pages; 0: every core
  // Turns a topic's pageBytes into its HTML, on the reading threads; pages
  // are then decoded one at a time, never held all as text.
  std::function<QString(const QByteArray&)> decode;
};

// The bytes of "/$FIftiMain" for the topics (in any order; topic numbers
// need not be contiguous). codePage: the help's code page (1252 for 0 or
// unknown ones), in which words are stored; lcid: its language. Words the
// code page cannot hold are left out; words longer than 254 bytes keep
// their first 254.
QByteArray BuildFullTextIndex(const QList<FullTextTopic>& topics, quint32 lcid, int codePage,
                              const FullTextOptions& options = {});

// Sizes of the format that readers rely on.
inline constexpr int kFullTextHeaderSize = 0x400;
inline constexpr int kFullTextNodeSize = 0x1000;
inline constexpr int kFullTextMaxWordBytes = 254;

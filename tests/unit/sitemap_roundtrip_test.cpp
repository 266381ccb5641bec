// Sitemaps made elsewhere through the readers and back through the writer:
// every parameter of an item and the file's head survive, in order; what the
// readers cannot understand is counted so that Save leaves the file alone.
#include <gtest/gtest.h>

#include "formats/sitemap/sitemap_reader.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

// A file in the writer's own layout: one parameter per line, CR LF.
const QString kContents = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML><HEAD>\r\n"
    "<meta name=\"GENERATOR\" content=\"Another tool 4.74\">\r\n</HEAD><BODY>\r\n"
    "<OBJECT type=\"text/site properties\">\r\n<param name=\"FrameName\" value=\"right\">\r\n"
    "<param name=\"ImageList\" value=\"icons.bmp\">\r\n</OBJECT>\r\n<UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Name\" value=\"Start &amp; overview\">\r\n"
    "<param name=\"Local\" value=\"Pages\\Start.htm\">\r\n"
    "<param name=\"ImageNumber\" value=\"11\">\r\n"
    "<param name=\"WindowName\" value=\"main\">\r\n"
    "<param name=\"Comment\" value=\"first\">\r\n"
    "</OBJECT>\r\n<UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Name\" value=\"Web\">\r\n"
    "<param name=\"URL\" value=\"https://example.org/\">\r\n"
    "<param name=\"FrameName\" value=\"right\">\r\n"
    "<param name=\"Name\" value=\"Second name\">\r\n"
    "<param name=\"Local\" value=\"second.htm\">\r\n"
    "<param name=\"Local\" value=\"third.htm\">\r\n"
    "</OBJECT>\r\n</UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Merge\" value=\"other.chm::/other.hhc\">\r\n"
    "</OBJECT>\r\n</UL>\r\n</BODY></HTML>\r\n");

const QString kIndex = QStringLiteral(
    "<HTML><HEAD><!-- Sitemap 1.0 --></HEAD><BODY>\r\n<OBJECT type=\"text/site properties\">\r\n"
    "<param name=\"FrameName\" value=\"right\">\r\n</OBJECT>\r\n<UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Keyword\" value=\"apple\">\r\n"
    "<param name=\"Name\" value=\"[0] one\">\r\n<param name=\"Local\" value=\"one.htm#a\">\r\n"
    "<param name=\"Name\" value=\"[1] two\">\r\n<param name=\"Local\" value=\"two.htm\">\r\n"
    "<param name=\"Name\" value=\"[2] three\">\r\n<param name=\"Local\" value=\"three.htm\">\r\n"
    "<param name=\"ImageNumber\" value=\"2\">\r\n"
    "</OBJECT>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Keyword\" value=\"fruit\">\r\n<param name=\"See Also\" value=\"apple\">\r\n"
    "</OBJECT>\r\n<UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Keyword\" value=\"pear\">\r\n<param name=\"Local\" value=\"pear.htm\">\r\n"
    "</OBJECT>\r\n</UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\">\r\n"
    "<param name=\"Name\" value=\"grape\">\r\n<param name=\"Name\" value=\"All about grapes\">\r\n"
    "<param name=\"Local\" value=\"grape.htm\">\r\n<param name=\"URL\" value=\"grape.htm\">\r\n"
    "</OBJECT>\r\n</UL>\r\n</BODY></HTML>\r\n");

}  // namespace

TEST(SitemapRoundTrip, ContentsKeepEveryParameterAndTheHead) {
  ContentsFileRead read = ReadContents(kContents);
  EXPECT_EQ(read.unread, 0);
  ASSERT_EQ(read.nodes.size(), 2u);
  EXPECT_EQ(read.nodes[0].caption, "Start & overview");
  EXPECT_EQ(read.nodes[0].data->fileName, "Pages\\Start.htm");
  ASSERT_EQ(read.nodes[0].children.size(), 1u);
  EXPECT_EQ(read.nodes[0].children[0].data->fileName, "second.htm");
  EXPECT_EQ(read.nodes[1].caption, "other.chm::/other.hhc");
  EXPECT_EQ(ContentsFileText(read.nodes, read.header), kContents);

  // An edit changes what it edits and nothing else.
  read.nodes[0].caption = "Start";
  read.nodes[0].children[0].data->fileName = "Moved\\second.htm";
  QString expected = kContents;
  expected.replace("value=\"Start &amp; overview\"", "value=\"Start\"");
  expected.replace("value=\"second.htm\"", "value=\"Moved\\second.htm\"");
  EXPECT_EQ(ContentsFileText(read.nodes, read.header), expected);
}

TEST(SitemapRoundTrip, IndexKeepsPairsSeeAlsoAndKeywordThenTitle) {
  IndexFileRead read = ReadIndex(kIndex, QLocale(QLocale::English));
  EXPECT_EQ(read.unread, 0);
  ASSERT_EQ(read.nodes.size(), 5u);  // three pairs of apple, fruit, grape
  EXPECT_EQ(read.nodes[2].data->topicCaption, "[2] three");
  EXPECT_TRUE(read.nodes[2].data->continuesItem);
  EXPECT_EQ(read.nodes[4].caption, "grape");
  EXPECT_EQ(read.nodes[4].data->topicCaption, "All about grapes");
  EXPECT_EQ(IndexFileText(read.nodes, read.header), kIndex);

  // Without its first pair the item still starts with its keyword.
  read.nodes.erase(read.nodes.begin());
  const QString text = IndexFileText(read.nodes, read.header);
  EXPECT_TRUE(
      text.contains("<param name=\"Keyword\" value=\"apple\">\r\n<param name=\"Name\" value=\"[1] two\">"))
      << text.toStdString();
  EXPECT_FALSE(text.contains("one.htm"));
}

TEST(SitemapRoundTrip, EntriesMadeHereAreWrittenAsBefore) {
  IndexFileRead read = ReadIndex(kIndex, QLocale(QLocale::English));
  IndexNode added;
  added.caption = "banana";
  added.data = std::make_unique<IndexEntryData>(IndexEntryData{"banana", "b.htm", "Banana"});
  read.nodes.insert(read.nodes.begin() + 3, std::move(added));
  EXPECT_TRUE(
      IndexFileText(read.nodes, read.header)
          .contains("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"banana\">\r\n"
                    "<param name=\"Name\" value=\"Banana\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n"
                    "</OBJECT>\r\n"));
}

TEST(SitemapRoundTrip, WhatTheReadersCannotUnderstandIsCounted) {
  EXPECT_EQ(ReadContents("<UL><LI><OBJECT><param name=\"Local\" value=\"x.htm\"></OBJECT></UL>").unread, 1);
  EXPECT_EQ(ReadContents("<UL><LI><OBJECT><param name=\"Name\" value=\"A\"></OBJECT></UL>"
                         "<UL><LI><OBJECT><param name=\"Name\" value=\"B\"></OBJECT></UL>")
                .unread,
            1);
  EXPECT_EQ(ReadContents("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT>").unread,
            1);
  EXPECT_EQ(ReadIndex("<UL><param name=\"Keyword\" value=\"stray\"></UL>").unread, 1);
  EXPECT_EQ(ReadContents("").unread, 0);
  EXPECT_EQ(ReadContents(kContents).unread, 0);
}

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
  EXPECT_EQ(read.Unread, 0);
  ASSERT_EQ(read.Nodes.size(), 2u);
  EXPECT_EQ(read.Nodes[0].Caption, "Start & overview");
  EXPECT_EQ(read.Nodes[0].Data->FileName, "Pages\\Start.htm");
  ASSERT_EQ(read.Nodes[0].Children.size(), 1u);
  EXPECT_EQ(read.Nodes[0].Children[0].Data->FileName, "second.htm");
  EXPECT_EQ(read.Nodes[1].Caption, "other.chm::/other.hhc");
  EXPECT_EQ(ContentsFileText(read.Nodes, read.Header), kContents);

  // An edit changes what it edits and nothing else.
  read.Nodes[0].Caption = "Start";
  read.Nodes[0].Children[0].Data->FileName = "Moved\\second.htm";
  QString expected = kContents;
  expected.replace("value=\"Start &amp; overview\"", "value=\"Start\"");
  expected.replace("value=\"second.htm\"", "value=\"Moved\\second.htm\"");
  EXPECT_EQ(ContentsFileText(read.Nodes, read.Header), expected);
}

TEST(SitemapRoundTrip, IndexKeepsPairsSeeAlsoAndKeywordThenTitle) {
  IndexFileRead read = ReadIndex(kIndex, QLocale(QLocale::English));
  EXPECT_EQ(read.Unread, 0);
  ASSERT_EQ(read.Nodes.size(), 5u);  // three pairs of apple, fruit, grape
  EXPECT_EQ(read.Nodes[2].Data->TopicCaption, "[2] three");
  EXPECT_TRUE(read.Nodes[2].Data->continuesItem);
  EXPECT_EQ(read.Nodes[4].Caption, "grape");
  EXPECT_EQ(read.Nodes[4].Data->TopicCaption, "All about grapes");
  EXPECT_EQ(IndexFileText(read.Nodes, read.Header), kIndex);

  // Without its first pair the item still starts with its keyword.
  read.Nodes.erase(read.Nodes.begin());
  const QString text = IndexFileText(read.Nodes, read.Header);
  EXPECT_TRUE(
      text.contains("<param name=\"Keyword\" value=\"apple\">\r\n<param name=\"Name\" value=\"[1] two\">"))
      << text.toStdString();
  EXPECT_FALSE(text.contains("one.htm"));
}

TEST(SitemapRoundTrip, EntriesMadeHereAreWrittenAsBefore) {
  IndexFileRead read = ReadIndex(kIndex, QLocale(QLocale::English));
  IndexNode added;
  added.Caption = "banana";
  added.Data = std::make_unique<IndexEntryData>(IndexEntryData{"banana", "b.htm", "Banana"});
  read.Nodes.insert(read.Nodes.begin() + 3, std::move(added));
  EXPECT_TRUE(
      IndexFileText(read.Nodes, read.Header)
          .contains("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"banana\">\r\n"
                    "<param name=\"Name\" value=\"Banana\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n"
                    "</OBJECT>\r\n"));
}

TEST(SitemapRoundTrip, WhatTheReadersCannotUnderstandIsCounted) {
  EXPECT_EQ(ReadContents("<UL><LI><OBJECT><param name=\"Local\" value=\"x.htm\"></OBJECT></UL>").Unread, 1);
  EXPECT_EQ(ReadContents("<UL><LI><OBJECT><param name=\"Name\" value=\"A\"></OBJECT></UL>"
                         "<UL><LI><OBJECT><param name=\"Name\" value=\"B\"></OBJECT></UL>")
                .Unread,
            1);
  EXPECT_EQ(ReadContents("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT>").Unread,
            1);
  EXPECT_EQ(ReadIndex("<UL><param name=\"Keyword\" value=\"stray\"></UL>").Unread, 1);
  EXPECT_EQ(ReadContents("").Unread, 0);
  EXPECT_EQ(ReadContents(kContents).Unread, 0);
}

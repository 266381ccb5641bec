// The widget-free rules of contents and index editing.
#include <gtest/gtest.h>

#include "model/index_rules.h"
#include "model/topic_rules.h"

TEST(IndexRulesTest, AttachModeFollowsTheHit) {
  EXPECT_EQ(IndexAttachMode(TreeHitKind::OnItem, 0), AttachMode::Child);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::OnItem, 1), AttachMode::Sibling);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::Below, 0), AttachMode::TopLevel);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::Indent, 0), AttachMode::Sibling);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::Indent, 1), AttachMode::Sibling);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::RightOfLabel, 0), AttachMode::Sibling);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::Elsewhere, 0), AttachMode::None);
  EXPECT_EQ(IndexAttachMode(TreeHitKind::Elsewhere, 1), AttachMode::None);
}

TEST(IndexRulesTest, DroppedTextIsCutTo255Characters) {
  const QString longText(300, QChar('k'));
  EXPECT_EQ(CutDroppedText(longText), QString(255, QChar('k')));
  EXPECT_EQ(CutDroppedText("short"), "short");
  EXPECT_EQ(CutDroppedText(QString(255, QChar('x'))).size(), 255);
  // A character outside the basic plane is not split at the cut.
  const QString pair = QString::fromUcs4(U"\U0001F600");
  const QString text = QString(254, QChar('a')) + pair + "tail";
  EXPECT_EQ(CutDroppedText(text), QString(254, QChar('a')));
}

TEST(IndexRulesTest, KeywordLosesBlanksAndLineBreaksAtBothEnds) {
  EXPECT_EQ(KeywordFromText("  paper \r\n"), "paper");
  EXPECT_EQ(KeywordFromText("\t\x01printing\n"), "printing");
  EXPECT_EQ(KeywordFromText("two words"), "two words");
  EXPECT_EQ(KeywordFromText(" \r\n "), "");
  EXPECT_EQ(KeywordFromText("a\r\nb"), "a\r\nb");
}

TEST(IndexRulesTest, PropertiesListTheFieldsThatAreSet) {
  EXPECT_EQ(IndexPropertiesText(nullptr), "Index item properties \r\n");
  const IndexEntryData group{"printing", "", ""};
  EXPECT_EQ(IndexPropertiesText(&group), "Index item properties \r\nKeyword: printing\r\n");
  const IndexEntryData entry{"paper", "Proj02.htm", "Paper sizes"};
  EXPECT_EQ(
      IndexPropertiesText(&entry),
      "Index item properties \r\nKeyword: paper\r\nTopic caption: Paper sizes\r\nFile name: Proj02.htm\r\n");
  const IndexEntryData noKeyword{"", "Proj03.htm", ""};
  EXPECT_EQ(IndexPropertiesText(&noKeyword), "Index item properties \r\nFile name: Proj03.htm\r\n");
}

TEST(ContentsRulesTest, DropPointGivesTheMove) {
  EXPECT_EQ(ContentsDropFor(TreeHitKind::OnItem), ContentsDrop::AsLastChild);
  EXPECT_EQ(ContentsDropFor(TreeHitKind::Below), ContentsDrop::AtEndOfTopLevel);
  EXPECT_EQ(ContentsDropFor(TreeHitKind::Indent), ContentsDrop::BeforeItem);
  EXPECT_EQ(ContentsDropFor(TreeHitKind::RightOfLabel), ContentsDrop::BeforeItem);
  EXPECT_EQ(ContentsDropFor(TreeHitKind::Elsewhere), ContentsDrop::Nothing);
}

TEST(RenameRulesTest, FirstAndSecondOccurrenceAreReplaced) {
  const QString page =
      "<HTML><HEAD><TITLE>Start</TITLE></HEAD><BODY><H1>Start</H1><P>Start here</P></BODY></HTML>";
  bool replaced = false;
  EXPECT_EQ(
      ReplaceTitleInPage(page, "Start", "Overview", &replaced),
      "<HTML><HEAD><TITLE>Overview</TITLE></HEAD><BODY><H1>Overview</H1><P>Start here</P></BODY></HTML>");
  EXPECT_TRUE(replaced);
}

TEST(RenameRulesTest, OneOccurrenceOrNoneOrEmptyTitle) {
  bool replaced = true;
  EXPECT_EQ(ReplaceTitleInPage("<TITLE>A</TITLE>", "A", "Bee", &replaced), "<TITLE>Bee</TITLE>");
  EXPECT_TRUE(replaced);
  EXPECT_EQ(ReplaceTitleInPage("<TITLE>A</TITLE>", "Z", "Bee", &replaced), "<TITLE>A</TITLE>");
  EXPECT_FALSE(replaced);
  replaced = true;
  EXPECT_EQ(ReplaceTitleInPage("<TITLE></TITLE>", "", "Bee", &replaced), "<TITLE></TITLE>");
  EXPECT_FALSE(replaced);
  // Case-sensitive: "start" is not "Start".
  EXPECT_EQ(ReplaceTitleInPage("start Start Start", "Start", "X"), "start X X");
}

TEST(RenameRulesTest, NewTitleContainingTheOldOneIsNotReplacedAgain) {
  // The second occurrence is the old text's second one, not one made by the first replacement.
  EXPECT_EQ(ReplaceTitleInPage("<T>Start</T><H1>Start</H1>Start", "Start", "Start again"),
            "<T>Start again</T><H1>Start again</H1>Start");
  // Overlapping occurrences: the second is looked for after the first ends.
  EXPECT_EQ(ReplaceTitleInPage("aaa", "aa", "b"), "ba");
}

TEST(ContentsRulesTest, LinksToSubtopicsAreEscaped) {
  EXPECT_EQ(SubtopicLinksHtml({}), QStringList{"<BR>"});
  const QStringList html = SubtopicLinksHtml({{"A", "MyHelp02.htm"}, {"B & <C>", "x\"y.htm"}});
  EXPECT_EQ(html, (QStringList{"<BR>", "<A href=\"MyHelp02.htm\">A</A><BR>",
                               "<A href=\"x&quot;y.htm\">B &amp; &lt;C&gt;</A><BR>"}));
}

TEST(ContentsRulesTest, DeleteQuestionNamesTheTopicAndItsSubtopics) {
  EXPECT_EQ(DeleteTopicQuestion("Start", 2), "Delete topic Start and its 2 subtopics?");
  EXPECT_EQ(DeleteTopicQuestion("Leaf", 0), "Delete topic Leaf and its 0 subtopics?");
  EXPECT_EQ(DeleteTopicQuestion("Leaf", 0, 1),
            "Delete topic Leaf and its 0 subtopics?\n\n"
            "1 page file will be moved to the trash.");
  EXPECT_EQ(
      DeleteTopicQuestion("Leaf", 0, 0, true, 1),
      "Delete topic Leaf and its 0 subtopics?\n\n1 index entry leads to its pages and will be removed.");
}

// Find and Replace in all topics over page files in the project's code page.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "alltopics/topic_replace.h"
#include "platform/codepage.h"
#include "tests/unit/test_files.h"

namespace {

const QList<TopicPageRef> kTopics = {
    {"One", "one.htm"}, {"Two", "sub\\Two.htm"}, {"Three", "three.htm#part"}};

QString Page(const QString& word) {
  return "<HTML><BODY TITLE=\"" + word + "\">\r\n<P>Before " + word + " after.</P>\r\n<P>" + word +
         "</P></BODY></HTML>\r\n";
}

TEST(TopicReplace, ReplaceAllChangesTheTextOfThreePagesInTheirCodePageAndOneUndoPutsThemBack) {
  struct Case {
    int codePage;
    QString phrase;
    QString replacement;
    QByteArray foreign;  // bytes the code page leaves undefined or holds alone, kept as they are
  };
  for (const Case& c :
       {Case{1252, "Grüße", "Straße", "\x81\x8d"}, Case{932, "日本語", "ニホンゴ", "\xb1\xfd"}}) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
    const QStringList files{"one.htm", "sub/Two.htm", "three.htm"};
    QList<QByteArray> before;
    for (const QString& file : files) {
      before.append(EncodeCodePage(Page(c.phrase), c.codePage) + c.foreign);
      PutFile(dir.filePath(file), before.last());
    }
    AllTopicsQuery query{c.phrase};
    EXPECT_EQ(FindInTopics(dir.path(), kTopics, query, c.codePage).matches.size(), 6);
    const Result<ReplaceStep> step = ReplaceInTopics(dir.path(), kTopics, query, c.replacement, c.codePage);
    ASSERT_TRUE(step.Ok()) << step.Message().toStdString();
    EXPECT_EQ(step->replaced, 6);
    EXPECT_EQ(step->pages.size(), 3);
    // The text changed; the tag's attribute and every other byte did not.
    const QString replaced = "<HTML><BODY TITLE=\"" + c.phrase + "\">\r\n<P>Before " + c.replacement +
                             " after.</P>\r\n<P>" + c.replacement + "</P></BODY></HTML>\r\n";
    for (const QString& file : files)
      EXPECT_EQ(BytesOf(dir.filePath(file)), EncodeCodePage(replaced, c.codePage) + c.foreign) << c.codePage;
    ASSERT_TRUE(UndoReplace(*step).Ok());
    for (int i = 0; i < files.size(); ++i)
      EXPECT_EQ(BytesOf(dir.filePath(files[i])), before[i]) << c.codePage;
  }
}

TEST(TopicReplace, CaseWholeWordsAndSourceChooseTheMatches) {
  QTemporaryDir dir;
  PutText(dir.filePath("one.htm"),
          "<P><A HREF=\"cat.htm\">Cat</A> category CAT cat. cat_x</P>\r\n<P>Salt &amp; Pepper</P>\r\n", 1252);
  const QList<TopicPageRef> topics{{"One", "one.htm"}};
  auto count = [&](AllTopicsQuery query) {
    return FindInTopics(dir.path(), topics, query, 1252).matches.size();
  };
  EXPECT_EQ(count({"cat"}), 5);
  EXPECT_EQ(count({"cat", false, true}), 3);
  EXPECT_EQ(count({"cat", true, true}), 1);
  EXPECT_EQ(count({"cat", false, false, true}), 6);  // the link's target too
  EXPECT_EQ(count({"Salt & Pepper"}), 1);
  const TopicMatch salt = FindInTopics(dir.path(), topics, {"Salt & Pepper"}, 1252).matches.value(0);
  EXPECT_EQ(salt.line, 2);
  EXPECT_EQ(salt.context, "<P>Salt &amp; Pepper</P>");
}

TEST(TopicReplace, TextOnlyMatchesSkipTagsAsABrowserReadsThem) {
  QTemporaryDir dir;
  PutText(dir.filePath("one.htm"),
          "<title>cat</title><A title=\"cat > cat\" HREF='cat.htm'>a cat</A><!-- cat --><script>cat</script>"
          "<style>cat{}</style> < cat",
          1252);
  const QList<TopicPageRef> topics{{"One", "one.htm"}};
  // The title, "a cat" and the last one: never the attribute values, the
  // comment, the script or the style.
  EXPECT_EQ(FindInTopics(dir.path(), topics, {"cat"}, 1252).matches.size(), 3);
}

TEST(TopicReplace, ReplaceTakesOneMatchAndUndoRefusesWhenAPageChangedSince) {
  QTemporaryDir dir;
  PutText(dir.filePath("one.htm"), "<P>red red red</P>\r\n", 1252);
  const QList<TopicPageRef> topics{{"One", "one.htm"}};
  const QList<TopicMatch> matches = FindInTopics(dir.path(), topics, {"red"}, 1252).matches;
  ASSERT_EQ(matches.size(), 3);
  const Result<ReplaceStep> step = ReplaceInTopics(dir.path(), topics, {"red"}, "blue", 1252, &matches[1]);
  ASSERT_TRUE(step.Ok());
  EXPECT_EQ(BytesOf(dir.filePath("one.htm")), "<P>red blue red</P>\r\n");
  PutText(dir.filePath("one.htm"), "<P>edited</P>\r\n", 1252);
  EXPECT_FALSE(UndoReplace(*step).Ok());
  EXPECT_EQ(BytesOf(dir.filePath("one.htm")), "<P>edited</P>\r\n");
}

}  // namespace

// Every file Save writes reads back as it was: generated trees, map, alias
// and project lines with quotes, markup characters, line breaks and other
// control characters go through the writers and the readers unchanged (line
// files keep one line per line), and a second save writes the same bytes.

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "model/project_reader.h"
#include "formats/sitemap/sitemap_reader.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "formats/context/map_alias_writer.h"
#include "formats/project/project_file.h"
#include "model/project_saver.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

class Generator {
 public:
  explicit Generator(quint32 seed) : random(seed) {}

  int Below(int n) { return int(random.bounded(n)); }

  // Text of 1..12 characters; letters mostly, now and then a character the
  // files must escape or keep on one line.
  QString Text() {
    static const QString kSpecial = QStringLiteral("\"&<>'=#\\/\r\n\t\x01\x1b\x7f\u00e9\u20ac;");
    QString out;
    const int length = 1 + Below(12);
    for (int i = 0; i < length; ++i) {
      if (Below(4) == 0)
        out += kSpecial[Below(int(kSpecial.size()))];
      else
        out += QChar(u'a' + Below(26));
    }
    return out;
  }

  std::vector<ContentsNode> Contents(int depth) {
    std::vector<ContentsNode> level;
    const int count = Below(4);
    for (int i = 0; i < count; ++i) {
      ContentsNode node;
      node.caption = Text();
      node.data = std::make_unique<TopicData>();
      if (Below(4) != 0) node.data->fileName = Text() + QStringLiteral(".htm");
      if (depth > 0) node.children = Contents(depth - 1);
      level.push_back(std::move(node));
    }
    return level;
  }

  // Keywords each with one page, or with sub-entries that have their own.
  std::vector<IndexNode> Index() {
    std::vector<IndexNode> level;
    const int count = Below(5);
    for (int i = 0; i < count; ++i) {
      IndexNode keyword;
      keyword.caption = Text();
      keyword.data = std::make_unique<IndexEntryData>();
      keyword.data->keyword = keyword.caption;
      const int subEntries = Below(3);
      if (subEntries == 0) {
        keyword.data->topicCaption = Text();
        keyword.data->fileName = Text() + QStringLiteral(".htm");
      }
      for (int j = 0; j < subEntries; ++j) {
        IndexNode sub;
        sub.caption = Text();
        sub.data = std::make_unique<IndexEntryData>();
        sub.data->keyword = sub.caption;
        sub.data->topicCaption = Text();
        sub.data->fileName = Text() + QStringLiteral(".htm");
        keyword.children.push_back(std::move(sub));
      }
      level.push_back(std::move(keyword));
    }
    return level;
  }

  QStringList Lines() {
    QStringList lines;
    const int count = Below(6);
    for (int i = 0; i < count; ++i)
      lines << QStringLiteral("#define ") + Text() + QStringLiteral(" ") + Text();
    return lines;
  }

 private:
  QRandomGenerator random;
};

QString Dump(const std::vector<ContentsNode>& level, int depth = 0) {
  QString out;
  for (const ContentsNode& n : level) {
    out += QString(depth, u' ') + n.caption + u'|' + (n.data ? n.data->fileName : QString()) + u'\n';
    out += Dump(n.children, depth + 1);
  }
  return out;
}

QString Dump(const std::vector<IndexNode>& level, int depth = 0) {
  QString out;
  for (const IndexNode& n : level) {
    out += QString(depth, u' ') + n.caption;
    if (n.data) out += u'|' + n.data->topicCaption + u'|' + n.data->fileName;
    out += u'\n' + Dump(n.children, depth + 1);
  }
  return out;
}

constexpr int kCases = 300;

}  // namespace

TEST(WriterRoundTrip, ContentsFileReadsBackAsTheTreeWasWritten) {
  Generator gen(1601);
  for (int i = 0; i < kCases; ++i) {
    const std::vector<ContentsNode> tree = gen.Contents(3);
    const QString text = ContentsFileText(tree);
    ASSERT_EQ(Dump(ReadContentsFile(text)), Dump(tree)) << text.toStdString();
    for (const QString& line : SplitLines(text)) ASSERT_FALSE(line.contains(u'\x01'));
  }
}

TEST(WriterRoundTrip, IndexFileReadsBackTheSameWhenWrittenAgain) {
  Generator gen(1602);
  for (int i = 0; i < kCases; ++i) {
    const std::vector<IndexNode> first = ReadIndexFile(IndexFileText(gen.Index()));
    const QString text = IndexFileText(first);
    ASSERT_EQ(Dump(ReadIndexFile(text)), Dump(first)) << text.toStdString();
  }
}

TEST(WriterRoundTrip, LineBreaksInCaptionsStayCharacterReferences) {
  std::vector<ContentsNode> tree(1);
  tree[0].caption = QStringLiteral("Two\r\nlines");
  tree[0].data = std::make_unique<TopicData>();
  tree[0].data->fileName = QStringLiteral("a\nb.htm");
  const QString text = ContentsFileText(tree);
  EXPECT_TRUE(text.contains(QStringLiteral("value=\"Two&#13;&#10;lines\""))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("value=\"a&#10;b.htm\"")));
  EXPECT_EQ(Dump(ReadContentsFile(text)), Dump(tree));
  // A NUL read from a damaged file stays one (found by fuzzing: "&#0;" was
  // not read back).
  tree[0].caption = QStringLiteral("I") + QChar(0) + QChar(0) + QStringLiteral("\tx");
  EXPECT_EQ(Dump(ReadContentsFile(ContentsFileText(tree))), Dump(tree));
}

TEST(WriterRoundTrip, WholeProjectSavesReadAndSaveAgainToTheSameBytes) {
  Generator gen(1603);
  for (int i = 0; i < 20; ++i) {
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("one/p.hhp"));
    const QString second = dir.filePath(QStringLiteral("two/p.hhp"));
    QDir().mkpath(dir.filePath(QStringLiteral("one")));
    QDir().mkpath(dir.filePath(QStringLiteral("two")));
    ProjectSnapshot project{first, gen.Contents(2), gen.Index(), gen.Lines(), gen.Lines()};
    QStringList lines = NewProjectLines(first, std::nullopt);
    lines << QStringLiteral("Title=") + gen.Text();
    const QStringList mapLines = project.mapLines;
    ASSERT_TRUE(SaveProjectFiles(project, lines).Ok());

    ProjectFiles read = ProjectOnDisk(first);
    EXPECT_EQ(read.mapLines, OneLineEach(mapLines));
    EXPECT_EQ(read.projectLines, lines);
    const QString contents = Dump(read.contents);
    const QString index = Dump(read.index);
    ProjectSnapshot again{second, std::move(read.contents), std::move(read.index), read.mapLines,
                          read.aliasLines};
    ASSERT_TRUE(SaveProjectFiles(again, read.projectLines).Ok());
    ProjectFiles reread = ProjectOnDisk(second);
    EXPECT_EQ(Dump(reread.contents), contents);
    EXPECT_EQ(Dump(reread.index), index);
    EXPECT_EQ(reread.aliasLines, read.aliasLines);
    // The project file names its contents and index files: a third folder
    // keeps the names the same.
    const QString third = dir.filePath(QStringLiteral("three/p.hhp"));
    QDir().mkpath(dir.filePath(QStringLiteral("three")));
    ProjectSnapshot once{third, std::move(reread.contents), std::move(reread.index), reread.mapLines,
                         reread.aliasLines};
    ASSERT_TRUE(SaveProjectFiles(once, reread.projectLines).Ok());
    EXPECT_EQ(BytesOf(ReplaceExtension(second, ".hhk")), BytesOf(ReplaceExtension(third, ".hhk"))) << i;
    // The index reader sorts the keywords: the index file is the same from
    // the second save on.
    for (const QString& ext :
         {QStringLiteral(".hhc"), QStringLiteral(".h"), QStringLiteral(".ali"), QStringLiteral(".hhp")})
      EXPECT_EQ(BytesOf(ReplaceExtension(first, ext)).toStdString(),
                BytesOf(ReplaceExtension(second, ext)).toStdString())
          << i << ext.toStdString();
  }
}

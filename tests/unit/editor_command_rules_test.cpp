// Plain rules of the editor commands: table parameters, number reading,
// anchors, picture sources and adoption, colours and font sizes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "editor/format_rules.h"
#include "editor/link_rules.h"
#include "editor/table_params.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"

namespace {
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
}  // namespace

TEST(TableAttrText, BorderAndWidth) {
  EXPECT_EQ(TableAttrText(1, 100), QStringLiteral("border=\"1\" width=\"100%\""));
  EXPECT_EQ(TableAttrText(0, 50), QStringLiteral("width=\"50%\""));
  EXPECT_EQ(TableAttrText(2, 80), QStringLiteral("border=\"2\" width=\"80%\""));
}

TEST(TableParams, VariantCarriesTheFiveProperties) {
  TableParams p;
  p.numRows = 3;
  p.numCols = 4;
  p.tableAttrs = "border=\"1\" ";
  p.cellAttrs = " nowrap";
  p.caption = "Prices";
  const QVariantMap map = p.ToVariant();
  EXPECT_EQ(map.value("NumRows").toInt(), 3);
  EXPECT_EQ(map.value("NumCols").toInt(), 4);
  EXPECT_EQ(map.value("TableAttrs").toString(), QStringLiteral("border=\"1\" "));
  EXPECT_EQ(map.value("CellAttrs").toString(), QStringLiteral(" nowrap"));
  EXPECT_EQ(map.value("Caption").toString(), QStringLiteral("Prices"));
}

TEST(IntegerErrorPosition, NumbersAndWhereTheyGoWrong) {
  int v = -1;
  EXPECT_EQ(IntegerErrorPosition("12", &v), 0);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(IntegerErrorPosition("  -7", &v), 0);
  EXPECT_EQ(v, -7);
  EXPECT_EQ(IntegerErrorPosition("+5", &v), 0);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(IntegerErrorPosition("$1F", &v), 0);
  EXPECT_EQ(v, 31);
  EXPECT_EQ(IntegerErrorPosition("2147483647", &v), 0);
  EXPECT_EQ(v, 2147483647);
  EXPECT_EQ(IntegerErrorPosition("-2147483648", &v), 0);
  EXPECT_EQ(v, int(-2147483647 - 1));
  v = 99;
  EXPECT_EQ(IntegerErrorPosition("12a", &v), 3);
  EXPECT_EQ(v, 99);  // untouched on failure
  EXPECT_EQ(IntegerErrorPosition(""), 1);
  EXPECT_EQ(IntegerErrorPosition("   "), 4);
  EXPECT_EQ(IntegerErrorPosition("-"), 2);
  EXPECT_EQ(IntegerErrorPosition("12 "), 3);
  EXPECT_EQ(IntegerErrorPosition("1.5"), 2);
  EXPECT_EQ(IntegerErrorPosition("$G"), 2);
  EXPECT_EQ(IntegerErrorPosition("2147483648"), 10);
  EXPECT_EQ(IntegerErrorPosition("x"), 1);
  EXPECT_EQ(IntegerErrorPosition(QString::fromUtf16(u"1\u0663")), 2);  // no digits but ASCII ones
}

TEST(TopicAnchor, EscapesFileAndText) {
  EXPECT_EQ(TopicAnchor("Proj02.htm", "Intro"), QStringLiteral("<A href=\"Proj02.htm\">Intro</A>"));
  EXPECT_EQ(TopicAnchor("a\"b.htm", "<b>Tom & Jerry</b>"),
            QStringLiteral("<A href=\"a&quot;b.htm\">&lt;b&gt;Tom &amp; Jerry&lt;/b&gt;</A>"));
}

TEST(FindPictureSrc, SplitsAtTheFirstSrcInAnyCase) {
  const PictureSource s = FindPictureSrc("x<IMG alt=\"a\" src=\"/tmp/p.png\" border=0>y");
  ASSERT_TRUE(s.found);
  EXPECT_EQ(s.head, QStringLiteral("x<IMG alt=\"a\" src=\""));
  EXPECT_EQ(s.path, QStringLiteral("/tmp/p.png"));
  EXPECT_EQ(s.tail, QStringLiteral("\" border=0>y"));
  EXPECT_FALSE(FindPictureSrc("plain").found);
  const PictureSource open = FindPictureSrc("<IMG SRC=\"abc");
  ASSERT_TRUE(open.found);
  EXPECT_EQ(open.path, QStringLiteral("abc"));
  EXPECT_EQ(open.tail, QString());
}

TEST(FindPictureSrc, ReadsTheAttributeAsABrowserDoes) {
  // Unquoted: the value gets quotes, so a new one may hold blanks.
  const PictureSource bare = FindPictureSrc("<IMG src=p.png border=0>");
  ASSERT_TRUE(bare.found);
  EXPECT_EQ(bare.head + "my p.png" + bare.tail, QStringLiteral("<IMG src=\"my p.png\" border=0>"));
  // Single quotes, entities decoded in the path.
  const PictureSource single = FindPictureSrc("<img SRC='/tmp/a&amp;b.png'>");
  EXPECT_EQ(single.path, QStringLiteral("/tmp/a&b.png"));
  EXPECT_EQ(single.head + "x.png" + single.tail, QStringLiteral("<img SRC='x.png'>"));
  // Never a src= inside another attribute's value or a comment.
  const PictureSource inner = FindPictureSrc("<!-- src=\"c.png\" --><IMG alt='src=\"b.png\"' src=\"a.png\">");
  EXPECT_EQ(inner.path, QStringLiteral("a.png"));
  EXPECT_EQ(inner.tail, QStringLiteral("\">"));
  EXPECT_FALSE(FindPictureSrc("<IMG alt=\"src=x.png\">").found);
}

TEST(PictureFileOf, LocalPathsOnly) {
  EXPECT_EQ(PictureFileOf("/a/b/../c.png", "/p/"), QStringLiteral("/a/c.png"));
  EXPECT_EQ(PictureFileOf("file:///a/my%20c.png", "/p/"), QStringLiteral("/a/my c.png"));
  EXPECT_EQ(PictureFileOf("img/c.png", "/p/"), QStringLiteral("/p/img/c.png"));
  EXPECT_EQ(PictureFileOf("http://x/c.png", "/p/"), QString());
  EXPECT_EQ(PictureFileOf("data:image/png;base64,AA", "/p/"), QString());
  EXPECT_EQ(PictureFileOf("", "/p/"), QString());
}

TEST(ProjectRelativeSrc, InsideTheFolderOnly) {
  EXPECT_EQ(ProjectRelativeSrc("/p/c.png", "/p/"), QStringLiteral("c.png"));
  EXPECT_EQ(ProjectRelativeSrc("/p/img/c.png", "/p"), QStringLiteral("img/c.png"));
  EXPECT_EQ(ProjectRelativeSrc("/p/a#b?.png", "/p/"), QStringLiteral("a%23b%3F.png"));
  EXPECT_EQ(ProjectRelativeSrc("/q/c.png", "/p/"), QString());
  EXPECT_EQ(ProjectRelativeSrc("/pq/c.png", "/p/"), QString());
  // A folder differing in letter case is another folder here.
  EXPECT_EQ(ProjectRelativeSrc("/P/c.png", "/p/"), QString());
}

class AdoptPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(project.isValid());
    ASSERT_TRUE(other.isValid());
  }
  QString Folder() const { return project.path() + '/'; }
  QTemporaryDir project;
  QTemporaryDir other;
};

TEST_F(AdoptPictureTest, APictureFromElsewhereIsCopiedAndNamedBareReplacingAnOldOne) {
  PutFile(other.filePath("logo.png"), "new picture");
  PutFile(project.filePath("logo.png"), "old picture");
  EXPECT_EQ(*AdoptPicture(other.filePath("logo.png"), Folder()), QStringLiteral("logo.png"));
  EXPECT_EQ(BytesOf(project.filePath("logo.png")), QByteArray("new picture"));
  // The original stays where it was.
  EXPECT_EQ(BytesOf(other.filePath("logo.png")), QByteArray("new picture"));
}

TEST_F(AdoptPictureTest, EntitiesInTheValueAreReadAndTheNameEscaped) {
  PutFile(other.filePath("a&b.gif"), "gif");
  EXPECT_EQ(*AdoptPicture(other.filePath("a&amp;b.gif"), Folder()), QStringLiteral("a&amp;b.gif"));
  EXPECT_TRUE(QFileInfo(project.filePath("a&b.gif")).isFile());
}

TEST_F(AdoptPictureTest, APictureInTheProjectGetsARelativeNameWithoutCopying) {
  PutFile(project.filePath("in.png"), "x");
  EXPECT_EQ(*AdoptPicture(project.filePath("in.png"), Folder()), QStringLiteral("in.png"));
  EXPECT_EQ(*AdoptPicture("file://" + project.filePath("in.png"), Folder()), QStringLiteral("in.png"));
  // Already relative: left alone.
  EXPECT_EQ(*AdoptPicture("in.png", Folder()), QString());
  EXPECT_EQ(QDir(project.path()).entryList(QDir::Files), QStringList{"in.png"});
}

TEST_F(AdoptPictureTest, MissingFilesAndUrlsAreLeftAlone) {
  EXPECT_EQ(*AdoptPicture(other.filePath("none.png"), Folder()), QString());
  EXPECT_EQ(*AdoptPicture("http://example.com/x.png", Folder()), QString());
  EXPECT_EQ(*AdoptPicture(other.filePath("x.png"), QString()), QString());
}

TEST_F(AdoptPictureTest, ACopyThatFailsNamesThePictureAndWhy) {
  PutFile(other.filePath("pic.png"), "picture");
  ASSERT_TRUE(QDir(project.path()).mkdir("pic.png"));
  const Result<QString> adopted = AdoptPicture(other.filePath("pic.png"), Folder());
  ASSERT_FALSE(adopted);
  EXPECT_TRUE(adopted.Message().contains(other.filePath("pic.png"))) << adopted.Message().toStdString();
  EXPECT_TRUE(adopted.Message().contains("is a folder")) << adopted.Message().toStdString();
}

TEST_F(AdoptPictureTest, ALinkInTheProjectIsReplacedNotWrittenThrough) {
  PutFile(other.filePath("pic.png"), "picture");
  PutFile(other.filePath("victim.txt"), "keep me");
  ASSERT_TRUE(QFile::link(other.filePath("victim.txt"), project.filePath("pic.png")));
  EXPECT_EQ(*AdoptPicture(other.filePath("pic.png"), Folder()), QStringLiteral("pic.png"));
  EXPECT_EQ(BytesOf(other.filePath("victim.txt")), QByteArray("keep me"));
  EXPECT_FALSE(QFileInfo(project.filePath("pic.png")).isSymLink());
  EXPECT_EQ(BytesOf(project.filePath("pic.png")), QByteArray("picture"));
}

TEST(ColorRules, ValueHasRedInTheLowestByte) {
  EXPECT_EQ(ColorValue(255, 0, 0), 0x0000FF);
  EXPECT_EQ(ColorValue(0, 0, 255), 0xFF0000);
  EXPECT_EQ(ColorValue(0x12, 0x34, 0x56), 0x563412);
  EXPECT_EQ(PageColorText(ColorValue(255, 0, 0)), QStringLiteral("#FF0000"));
  EXPECT_EQ(PageColorText(ColorValue(0, 0, 255)), QStringLiteral("#0000FF"));
  EXPECT_EQ(PageColorText(ColorValue(0xab, 0xcd, 0xef)), QStringLiteral("#ABCDEF"));
  EXPECT_EQ(PageColorText(0), QStringLiteral("#000000"));
}

TEST(FontSizes, PointsBothWays) {
  for (int size = 1; size <= 7; ++size) EXPECT_EQ(FontSizeOfPoints(PointsOfFontSize(size)), size);
  EXPECT_EQ(PointsOfFontSize(0), 8);
  EXPECT_EQ(PointsOfFontSize(9), 36);
  EXPECT_EQ(FontSizeOfPoints(11), 2);  // nearer 10 than 12 wins the tie by order
  EXPECT_EQ(FontSizeOfPoints(100), 7);
  EXPECT_EQ(FontSizeOfPoints(1), 1);
}

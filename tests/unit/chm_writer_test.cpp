// The compiled-file writer and its LZX compressor, read back byte for byte
// by the real readers.

#include "chm/chm_writer.h"
#include "chm/lzx_encoder.h"
#include "chm_readers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace orvex;
using namespace orvex_test;

namespace {

// Text shaped like generated HTML pages: tags, attributes, words.
QByteArray HtmlLikeText(qsizetype size, quint32 seed) {
  static const char* const words[] = {"the",
                                      "class",
                                      "function",
                                      "returns",
                                      "value",
                                      "<a href=\"",
                                      "</a>",
                                      "<p>",
                                      "</p>\n",
                                      "<td>",
                                      "</td>",
                                      "member",
                                      "const",
                                      "string",
                                      "index",
                                      "of",
                                      "UnicodeSet",
                                      "pattern",
                                      "<div class=\"memdoc\">",
                                      "</div>\n",
                                      "parameter",
                                      "is",
                                      "a",
                                      "#include"};
  QRandomGenerator random(seed);
  QByteArray text;
  text.reserve(size + 64);
  while (text.size() < size) {
    text.append(words[random.bounded(int(std::size(words)))]);
    text.append(random.bounded(7) == 0 ? QByteArray::number(random.bounded(100000)) : QByteArray(" "));
  }
  text.truncate(size);
  return text;
}

QByteArray RandomBytes(qsizetype size, quint32 seed) {
  QRandomGenerator random(seed);
  QByteArray bytes(size, '\0');
  for (char& c : bytes) c = char(random.bounded(256));
  return bytes;
}

struct TestFile {
  QByteArray name;
  QByteArray content;
  ChmSection section = ChmSection::Compressed;
};

QString WriteChm(const QTemporaryDir& dir, const QList<TestFile>& files, ChmWriterOptions options = {},
                 const QString& fileName = "out.chm") {
  ChmWriter writer(options);
  for (const TestFile& file : files) writer.AddFile(file.name, file.content, file.section);
  const QString path = dir.filePath(fileName);
  QFile out(path);
  EXPECT_TRUE(out.open(QIODevice::WriteOnly));
  const Result<ChmWriteStats> written = writer.Write(out);
  EXPECT_TRUE(written.Ok()) << written.Message().toStdString();
  return path;
}

ChmFiles Expected(const QList<TestFile>& files) {
  ChmFiles expected;
  for (const TestFile& file : files) expected.insert(file.name, file.content);
  return expected;
}

// Every expected file is there with the same bytes; no other "/" file is.
void ExpectSameFiles(const ChmFiles& expected, const ChmFiles& actual, const char* reader) {
  for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
    ASSERT_TRUE(actual.contains(it.key())) << reader << " misses " << it.key().toStdString();
    const QByteArray& got = actual[it.key()];
    ASSERT_EQ(got.size(), it.value().size()) << reader << ": " << it.key().toStdString();
    ASSERT_TRUE(got == it.value()) << reader << " changes the bytes of " << it.key().toStdString();
  }
  EXPECT_EQ(SlashFiles(actual).keys(), SlashFiles(expected).keys()) << reader;
}

void ExpectBothLibrariesReadBack(const QString& path, const QList<TestFile>& files) {
  ExpectSameFiles(Expected(files), ReadWithChmlib(path), "chmlib");
  ExpectSameFiles(Expected(files), ReadWithMspack(path), "libmspack");
}

quint32 Le32At(const QByteArray& bytes, qsizetype at) {
  return qFromLittleEndian<quint32>(bytes.constData() + at);
}

}  // namespace

// The compressed section's length around frame and reset boundaries: every
// reader gives back every file, byte for byte.
struct SectionLayout {
  const char* name;
  QList<qsizetype> sizes;  // the files of the compressed section, in order
  ChmWriterOptions options = {};
  bool randomBytes = false;  // data that is stored rather than compressed
};

void PrintTo(const SectionLayout& layout, std::ostream* os) { *os << layout.name; }

class ChmWriterSectionLength : public testing::TestWithParam<SectionLayout> {};

TEST_P(ChmWriterSectionLength, EveryReaderGivesBackEveryFile) {
  const SectionLayout& layout = GetParam();
  QTemporaryDir dir;
  QList<TestFile> files = {{"/stored.gif", RandomBytes(3000, 1), ChmSection::Uncompressed}};
  for (qsizetype i = 0; i < layout.sizes.size(); ++i) {
    const quint32 seed = quint32(i + 1);
    files.append({"/f" + QByteArray::number(i) + ".htm", layout.randomBytes
                                                             ? RandomBytes(layout.sizes[i], seed)
                                                             : HtmlLikeText(layout.sizes[i], seed)});
  }
  const QString path = WriteChm(dir, files, layout.options);
  ExpectBothLibrariesReadBack(path, files);
  ExpectSameFiles(SlashFiles(Expected(files)), ReadWithProgram("7z", path), "7z");
}

constexpr qsizetype kFrame = 0x8000;

INSTANTIATE_TEST_SUITE_P(
    AroundFrameAndResetBoundaries, ChmWriterSectionLength,
    testing::Values(SectionLayout{"EmptySection", {}}, SectionLayout{"OnlyEmptyFiles", {0, 0}},
                    SectionLayout{"OneByte", {1}}, SectionLayout{"OneByteShortOfAFrame", {kFrame - 1}},
                    SectionLayout{"OneFrame", {kFrame}}, SectionLayout{"OneFrameAndOneByte", {kFrame + 1}},
                    SectionLayout{"TwoFramesLessOneByte", {kFrame, 0, kFrame - 1}},
                    SectionLayout{"OneResetInterval", {2 * kFrame}},
                    SectionLayout{"ThreeFramesInPieces", {kFrame + 7, 0, 2 * kFrame - 7}},
                    SectionLayout{"OneFramePastAReset", {2 * kFrame, kFrame}},
                    SectionLayout{"ThreeFramesAndOneByte", {3 * kFrame + 1}},
                    SectionLayout{"ThreeFramesLessOneByte", {3 * kFrame - 1}},
                    SectionLayout{"FourFramesAndSome", {4 * kFrame + 17, 0}},
                    SectionLayout{"StoredOddFrames", {3 * kFrame}, {}, true},
                    SectionLayout{"StoredPartFrame", {kFrame + 100}, {}, true},
                    SectionLayout{"LongerIntervalOddFrames", {5 * kFrame + 3}, {0x409, 17, 4, 0}},
                    SectionLayout{"LongerIntervalWhole", {8 * kFrame}, {0x409, 18, 8, 0}}),
    [](const testing::TestParamInfo<SectionLayout>& info) { return std::string(info.param.name); });

TEST(ChmWriterLzx, LongRunsRandomDataAndManySmallFiles) {
  QTemporaryDir dir;
  QList<TestFile> files = {
      {"/run.txt", QByteArray(300000, 'a')},
      {"/random.bin", RandomBytes(200000, 7)},
      {"/mixed.htm", HtmlLikeText(40000, 1) + RandomBytes(5000, 2) + HtmlLikeText(90000, 1)},
      {"/zeros.bin", QByteArray(70000, '\0')}};
  for (int i = 0; i < 200; ++i)
    files.append({"/small/p" + QByteArray::number(i) + ".htm", HtmlLikeText(i * 37 % 3000, quint32(i))});
  ExpectBothLibrariesReadBack(WriteChm(dir, files), files);
}

TEST(ChmWriterLzx, TextShrinksAndRandomDataBarelyGrows) {
  const QByteArray text = HtmlLikeText(1000000, 12);
  const QByteArray random = RandomBytes(1000000, 13);
  const LzxStream packedText = LzxCompress(text, {});
  const LzxStream packedRandom = LzxCompress(random, {});
  EXPECT_LT(packedText.data.size(), text.size() / 3);
  // Stored blocks: the padding of the last frame and a few bytes a frame.
  EXPECT_LT(packedRandom.data.size(), random.size() + 2 * kLzxFrameSize);
  EXPECT_EQ(packedText.frameOffsets.size(), 31);  // 1,000,000 bytes in frames of 32 KB
  EXPECT_EQ(packedText.frameOffsets.first(), 0u);
}

TEST(ChmWriterLzx, LargerWindowsAndLongerResetIntervals) {
  QTemporaryDir dir;
  const QList<TestFile> files = {{"/a.htm", HtmlLikeText(900000, 3)},
                                 {"/b.bin", RandomBytes(100000, 4)},
                                 {"/c.htm", HtmlLikeText(300000, 3)}};
  for (auto [windowBits, resetFrames] : {std::pair{17, 2}, {17, 4}, {18, 8}, {21, 32}}) {
    SCOPED_TRACE(windowBits);
    const QString path = WriteChm(dir, files, {0x409, windowBits, resetFrames, 0});
    ExpectBothLibrariesReadBack(path, files);
    ExpectSameFiles(SlashFiles(Expected(files)), ReadWithProgram("7z", path), "7z");
  }
}

TEST(ChmWriterLzx, FiftyMegabytes) {
  QTemporaryDir dir;
  // Pages that repeat with small changes, as generated documentation does.
  const QByteArray page = HtmlLikeText(30000, 11);
  QByteArray big;
  big.reserve(50 * 1024 * 1024 + page.size());
  for (int i = 0; big.size() < 50 * 1024 * 1024; ++i) big.append(page).append(QByteArray::number(i));
  const QList<TestFile> files = {{"/big.htm", big}, {"/after.htm", "<p>end</p>"}};
  ExpectBothLibrariesReadBack(WriteChm(dir, files), files);
}

TEST(ChmWriterLzx, SameFileForOneTwoAndFourThreads) {
  QTemporaryDir dir;
  const QList<TestFile> files = {{"/a.htm", HtmlLikeText(3000000, 5)}, {"/b.bin", RandomBytes(300000, 6)}};
  QByteArray first;
  for (int threads : {1, 2, 4}) {
    QFile file(WriteChm(dir, files, {0x409, 16, 2, threads}, QString("t%1.chm").arg(threads)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (first.isEmpty())
      first = bytes;
    else
      EXPECT_TRUE(bytes == first) << threads << " threads";
  }
}

TEST(ChmWriterContainer, NamesWithSpacesCodePageBytesAndFolders) {
  QTemporaryDir dir;
  const QList<TestFile> files = {
      {"/a page.htm", "<p>spaces</p>"},
      {"/Caf\xe9 cr\xe8me.htm", "<p>Windows-1252</p>"},
      {"/\x83\x65\x83\x58\x83\x67\x95\x5c.htm", "<p>Shift-JIS, with a trail byte that is a backslash</p>"},
      {"/images/Logo Big.gif", RandomBytes(5000, 9), ChmSection::Uncompressed},
      {"/sub/deeper/Topic_1.htm", HtmlLikeText(50000, 8)},
      {"/Sub/deeper/ZZ.htm", "<p>same folder, other case</p>"},
      {"/_under.htm", "x"},
      {"/empty.htm", ""},
      {"/stored empty", "", ChmSection::Uncompressed},
      {"/#SYSTEM", QByteArray("\x03\0\0\0", 4)},
      {"/$FIftiMain", RandomBytes(300, 1)},
  };
  const QString path = WriteChm(dir, files);
  ExpectBothLibrariesReadBack(path, files);
  ExpectSameFiles(SlashFiles(Expected(files)), ReadWithProgram("extract_chmLib", path), "extract_chmLib");
}

TEST(ChmWriterContainer, ThousandsOfFilesGetSeveralIndexLevels) {
  QTemporaryDir dir;
  QList<TestFile> files;
  const QByteArray longFolder = "/" + QByteArray(150, 'f') + "/";
  for (int i = 0; i < 3000; ++i)
    files.append({longFolder + "Page" + QByteArray::number(i * 7919 % 3001) + ".htm",
                  "<p>" + QByteArray::number(i) + "</p>"});
  const QString path = WriteChm(dir, files);
  QFile chm(path);
  ASSERT_TRUE(chm.open(QIODevice::ReadOnly));
  const QByteArray head = chm.read(0x200);
  EXPECT_GE(Le32At(head, 0x78 + 0x18), 3u) << "index depth";
  EXPECT_GT(Le32At(head, 0x78 + 0x24), 100u) << "last listing chunk";
  ExpectBothLibrariesReadBack(path, files);
}

TEST(ChmWriterContainer, CommandLineReadersGiveBackEveryFile) {
  QTemporaryDir dir;
  const QList<TestFile> files = {{"/index.htm", HtmlLikeText(120000, 2)},
                                 {"/css/style.css", "body { color: black }"},
                                 {"/img/a.gif", RandomBytes(40000, 3), ChmSection::Uncompressed},
                                 {"/big/data.htm", HtmlLikeText(700000, 4)},
                                 {"/empty.htm", ""}};
  const QString path = WriteChm(dir, files);
  ExpectSameFiles(SlashFiles(Expected(files)), ReadWithProgram("extract_chmLib", path), "extract_chmLib");
  ChmFiles expectedBy7z = SlashFiles(Expected(files));
  ExpectSameFiles(expectedBy7z, SlashFiles(ReadWithProgram("7z", path)), "7z");
}

TEST(ChmWriterContainer, HeaderHoldsLanguageSizeAndLastContentOfARepeatedName) {
  QTemporaryDir dir;
  ChmWriter writer({0x411, 16, 2, 0});
  writer.AddFile("/a.htm", "first");
  writer.AddFile("/b.htm", "b");
  writer.AddFile("/A.HTM", "second");
  QFile out(dir.filePath("x.chm"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  const Result<ChmWriteStats> stats = writer.Write(out);
  ASSERT_TRUE(stats.Ok());
  out.close();
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QByteArray bytes = out.readAll();
  EXPECT_EQ(stats->fileBytes, quint64(bytes.size()));
  EXPECT_EQ(stats->uncompressedBytes, 7u);
  EXPECT_EQ(Le32At(bytes, 0x14), 0x411u);
  EXPECT_EQ(Le32At(bytes, 0x78 + 0x30), 0x411u);
  EXPECT_EQ(qFromLittleEndian<quint64>(bytes.constData() + 0x68), quint64(bytes.size()));
  const ChmFiles read = SlashFiles(ReadWithChmlib(out.fileName()));
  EXPECT_EQ(read.size(), 2);
  EXPECT_EQ(read.value("/A.HTM"), "second");
}

TEST(ChmWriterContainer, RefusesNamesAndOptionsReadersCannotUse) {
  QTemporaryDir dir;
  for (const QByteArray& name :
       {QByteArray("a.htm"), QByteArray("/"), QByteArray("/folder/"), QByteArray(600, 'x').prepend('/')}) {
    ChmWriter writer;
    writer.AddFile(name, "x");
    QFile out(dir.filePath("bad.chm"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const Result<ChmWriteStats> written = writer.Write(out);
    EXPECT_FALSE(written.Ok()) << name.left(20).toStdString();
    EXPECT_TRUE(written.Message().contains("bad.chm")) << written.Message().toStdString();
  }
  for (auto [windowBits, resetFrames] : {std::pair{15, 2}, {22, 64}, {17, 3}, {16, 0}, {16, 6}}) {
    ChmWriter writer({0x409, windowBits, resetFrames, 0});
    writer.AddFile("/a.htm", "x");
    QFile out(dir.filePath("opt.chm"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    EXPECT_FALSE(writer.Write(out).Ok()) << windowBits << " " << resetFrames;
  }
}

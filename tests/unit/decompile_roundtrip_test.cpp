// Compile, decompile, compile again: the help that comes back is the help
// that went in (contents, index, windows, default window and font, context
// map, title, default topic), read through chmlib and libmspack; files made
// by other compilers come back whole.

#include "chm/binary_index_reader.h"
#include "chm/compiler.h"
#include "chm/keyword_links.h"
#include "chm/decompiler.h"
#include "chm/system_files.h"
#include "chm/windows_reader.h"
#include "chm_readers.h"
#include "crafted_directory.h"
#include "hhc_fixture.h"
#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"

#include <QStandardPaths>

using namespace orvex;
using namespace orvex_test;

namespace {

// What makes a compiled file a help, read back from it.
struct HelpSeen {
  ChmSystemInfo system;
  QList<QString> windows;  // as [WINDOWS] lines
  QMap<quint32, QString> contextMap;
  QByteArray contents, index;
};

// mspack: libmspack reads the file too (it refuses the other compiler's files).
HelpSeen SeenIn(const QString& chmPath, bool mspack = true) {
  HelpSeen seen;
  ChmFile chm;
  const Status opened = chm.open(chmPath);
  EXPECT_TRUE(opened) << opened.Message().toStdString();
  seen.system = chm.systemInfo();
  for (const ChmWindowType& w :
       ParseWindowsFile(chm.read("/#WINDOWS").value_or(QByteArray()),
                        chm.read("/#STRINGS").value_or(QByteArray()), seen.system.codePage))
    seen.windows.append(WindowLine(w));
  seen.contextMap = chm.contextMap();
  const ChmFiles chmlib = ReadWithChmlib(chmPath);
  seen.contents = chmlib.value("/" + seen.system.contentsFile.toUtf8());
  seen.index = chmlib.value("/" + seen.system.indexFile.toUtf8());
  if (!mspack) return seen;
  const ChmFiles read = ReadWithMspack(chmPath);
  EXPECT_EQ(SlashFiles(chmlib).keys(), SlashFiles(read).keys());
  EXPECT_EQ(seen.contents, read.value("/" + seen.system.contentsFile.toUtf8()));
  return seen;
}

int Hh(const QStringList& args, QByteArray* output = nullptr) {
  return runTool(tool("hh"), args, QProcessEnvironment::systemEnvironment(), output);
}

class DecompileRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(DecompileRoundTrip, TheHelpComesBackWhole) {
  // Compiled by our compiler and by another one, decompiled, compiled again.
  for (const bool other : {false, true}) {
    if (other && QStandardPaths::findExecutable("chmcmd").isEmpty())
      GTEST_SKIP() << "chmcmd is not installed";
    const QString where = dir.path() + (other ? "/chmcmd" : "/hhc");
    HelpProject project;
    project.write(where + "/src");
    QByteArray hhp = readBytes(project.projectPath());
    hhp.replace("Default topic=My_Guide01.htm\r\n",
                "Default topic=My_Guide01.htm\r\nDefault Window=main\r\nDefault Font=Tahoma,9,0\r\n");
    hhp +=
        "\r\n[WINDOWS]\r\nmain=\"Printer Guide\",\"My Guide.hhc\",\"My Guide.hhk\",\"My_Guide01.htm\","
        "\"My_Guide01.htm\",,,,,0x63520,240,0x387e,[10,20,810,620],0xb0000,,1,0,0,,0\r\n";
    // The other compiler follows no links: every page and picture is listed.
    if (other)
      hhp.replace(
          "[FILES]\r\nMy_Guide01.htm\r\n",
          "[FILES]\r\nMy_Guide01.htm\r\nMy_Guide02.htm\r\nMy_Guide03.htm\r\nbg.png\r\nsplash.png\r\n");
    writeBytes(project.projectPath(), hhp);
    if (other) {
      QProcess chmcmd;
      chmcmd.setWorkingDirectory(project.folder);
      chmcmd.setProcessChannelMode(QProcess::MergedChannels);
      chmcmd.start(QStandardPaths::findExecutable("chmcmd"), {"My Guide.hhp"});
      ASSERT_TRUE(chmcmd.waitForFinished(120000));
      ASSERT_TRUE(QFileInfo::exists(project.chmPath())) << chmcmd.readAll().toStdString();
    } else {
      ASSERT_EQ(runTool(tool("hhc"), {project.projectPath()}), 0);
    }
    const HelpSeen first = SeenIn(project.chmPath(), !other);
    ASSERT_EQ(first.windows.size(), 1);
    ASSERT_GE(first.contextMap.size(), other ? 2 : 3);  // the other compiler reads no hex numbers

    const QString out = where + "/out";
    QByteArray output;
    ASSERT_EQ(Hh({"-decompile", out, project.chmPath()}, &output), 0) << output.toStdString();
    ASSERT_EQ(runTool(tool("hhc"), {out + "/My Guide.hhp"}), 0)
        << readBytes(out + "/My Guide.log").toStdString();
    const HelpSeen again = SeenIn(out + "/My Guide.chm");
    EXPECT_EQ(again.system.title, "Printer Guide");
    EXPECT_EQ(again.system.defaultTopic, first.system.defaultTopic);
    EXPECT_EQ(again.system.defaultWindow, "main");
    EXPECT_EQ(again.system.defaultFont, first.system.defaultFont);
    EXPECT_EQ(again.windows, first.windows);
    EXPECT_EQ(again.contextMap, first.contextMap);
    EXPECT_EQ(again.contents, first.contents);
    EXPECT_EQ(again.index, first.index);
    EXPECT_FALSE(again.contents.isEmpty());
  }
}

TEST_F(DecompileRoundTrip, SitemapsAreFoundWithoutTheirSystemRecords) {
  // Some compilers name the sitemaps only in the window type, or nowhere.
  ChmSystemOptions options;
  options.title = "Manual";
  options.defaultTopic = "start.htm";
  ChmStringTable strings;
  ChmWindowType window;
  window.name = "win";
  window.caption = "Manual";
  window.contentsFile = "toc.hhc";
  const QByteArray windows =
      BuildWindowsFile({window}, strings, [](const QString& s) { return s.toLatin1(); });
  const QString withWindow = dir.path() + "/Manual.chm";
  writeBytes(withWindow, WrittenChm({{"/#SYSTEM", BuildSystemFile(options)},
                                     {"/#WINDOWS", windows},
                                     {"/#STRINGS", strings.Bytes()},
                                     {"/start.htm", "<p>start</p>"},
                                     {"/toc.hhc", "<ul></ul>"},
                                     {"/other.hhc", "<ul></ul>"},
                                     {"/sub/Manual.hhk", "<ul></ul>"},
                                     {"/keys.hhk", "<ul></ul>"}}));
  ASSERT_EQ(Hh({"-decompile", dir.path() + "/a", withWindow}), 0);
  const QByteArray hhp = readBytes(dir.path() + "/a/Manual.hhp");
  EXPECT_TRUE(hhp.contains("\r\nContents file=toc.hhc\r\n")) << hhp.toStdString();
  EXPECT_TRUE(hhp.contains("\r\nIndex file=keys.hhk\r\n")) << hhp.toStdString();
  EXPECT_TRUE(hhp.contains("\r\n[WINDOWS]\r\nwin=\"Manual\",\"toc.hhc\",")) << hhp.toStdString();

  const QString plain = dir.path() + "/Plain.chm";
  writeBytes(plain, WrittenChm({{"/#SYSTEM", BuildSystemFile(options)},
                                {"/a.hhc", "<ul></ul>"},
                                {"/Plain.hhc", "<ul></ul>"},
                                {"/start.htm", "<p>start</p>"}}));
  ASSERT_EQ(Hh({"-decompile", dir.path() + "/b", plain}), 0);
  EXPECT_TRUE(readBytes(dir.path() + "/b/Plain.hhp").contains("\r\nContents file=Plain.hhc\r\n"));
}

TEST_F(DecompileRoundTrip, TextIsDecodedInTheFilesCodePage) {
  const QString title = QString::fromUtf8("マクロ・リファレンス、書式");
  const QByteArray stored = EncodeCodePage(title, 932);
  for (const char byte : {'\x81', '\x8D', '\x8F'}) ASSERT_TRUE(stored.contains(byte));
  ChmSystemOptions options;
  options.lcid = 0x411;
  options.title = stored;
  const QString chm = dir.path() + "/jp.chm";
  writeBytes(chm, WrittenChm({{"/#SYSTEM", BuildSystemFile(options)}, {"/a.htm", "<p>a</p>"}}));
  ChmFile file;
  ASSERT_TRUE(file.open(chm));
  EXPECT_EQ(file.systemInfo().title, title);
  ASSERT_EQ(Hh({"-decompile", dir.path() + "/out", chm}), 0);
  const QByteArray hhp = readBytes(dir.path() + "/out/jp.hhp");
  EXPECT_TRUE(hhp.contains("\r\nTitle=" + stored + "\r\n")) << hhp.toStdString();
  EXPECT_TRUE(hhp.contains("\r\nLanguage=0x0411 "));
}

TEST_F(DecompileRoundTrip, FilesOfAnotherCompilerComeOutWhole) {
  if (QStandardPaths::findExecutable("chmcmd").isEmpty()) GTEST_SKIP() << "chmcmd is not installed";
  // Enough pages for several directory chunks.
  const QString src = dir.path() + "/src";
  QByteArray files;
  for (int i = 0; i < 300; ++i) {
    const QByteArray name = "page" + QByteArray::number(i).rightJustified(3, '0') + ".htm";
    writeBytes(src + '/' + name, "<html><body><p>Page " + QByteArray::number(i) + "</p></body></html>");
    files += name + "\r\n";
  }
  writeBytes(
      src + "/t.hhp",
      "[OPTIONS]\r\nCompiled file=t.chm\r\nTitle=T\r\nDefault topic=page000.htm\r\n\r\n[FILES]\r\n" + files);
  QProcess chmcmd;
  chmcmd.setWorkingDirectory(src);
  chmcmd.start(QStandardPaths::findExecutable("chmcmd"), {"t.hhp"});
  ASSERT_TRUE(chmcmd.waitForFinished(120000));
  ASSERT_TRUE(QFileInfo::exists(src + "/t.chm"));

  const QString out = dir.path() + "/out";
  QByteArray output;
  EXPECT_EQ(Hh({"-decompile", out, src + "/t.chm"}, &output), 0) << output.toStdString();
  const ChmFiles sevenZip = SlashFiles(ReadWithProgram("7z", src + "/t.chm"));
  int pages = 0;
  for (auto it = sevenZip.cbegin(); it != sevenZip.cend(); ++it) {
    if (it.key().startsWith("/#") || it.key().startsWith("/$") || it.key() == "/_#_README_#_") continue;
    EXPECT_EQ(readBytes(out + QString::fromUtf8(it.key())), it.value()) << it.key().toStdString();
    ++pages;
  }
  EXPECT_GE(pages, 300);
}

TEST_F(DecompileRoundTrip, KeywordsOnlyInTheBinaryIndexReachTheIndexFile) {
  ChmStringTable strings;
  const ChmTopicFiles topics = BuildTopicFiles({{"a.htm", "A", false}, {"sub/b.htm", "B", false}}, strings);
  const ChmKeywordLinks links = BuildKeywordLinks(
      {{"alpha", 0, {0}, {}}, {"beta", 0, {0, 1}, {}}, {"inner", 1, {1}, {}}, {"gamma", 0, {}, "alpha"}},
      0x409, 1252);
  ChmSystemOptions options;
  options.indexFile = "Keys.hhk";
  options.defaultTopic = "a.htm";
  const QByteArray hhk =
      "<HTML><BODY>\r\n<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" "
      "value=\"alpha\">\r\n"
      "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" "
      "value=\"a.htm\">\r\n</OBJECT>\r\n</UL>\r\n</BODY></HTML>\r\n";
  const QString chm = dir.path() + "/Keys.chm";
  writeBytes(chm, WrittenChm({{"/#SYSTEM", BuildSystemFile(options)},
                              {"/#TOPICS", topics.topics},
                              {"/#URLTBL", topics.urlTable},
                              {"/#URLSTR", topics.urlStrings},
                              {"/#STRINGS", strings.Bytes()},
                              {"/$WWKeywordLinks/BTree", links.btree},
                              {"/a.htm", "<p>a</p>"},
                              {"/sub/b.htm", "<p>b</p>"},
                              {"/Keys.hhk", hhk}}));
  const QString out = dir.path() + "/out";
  QByteArray output;
  ASSERT_EQ(Hh({"-decompile", out, chm}, &output), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("3 keywords found only in the binary index")) << output.toStdString();
  const std::vector<IndexNode> index = ReadIndexFile(QString::fromLatin1(readBytes(out + "/Keys.hhk")));
  QStringList captions;
  for (const IndexNode& node : index) {
    captions.append(node.caption);
    for (const IndexNode& child : node.children) captions.append(node.caption + " > " + child.caption);
  }
  captions.removeDuplicates();  // a keyword of two pages is a node per page
  EXPECT_EQ(captions, (QStringList{"alpha", "beta", "beta > inner", "gamma"}));
  ASSERT_EQ(runTool(tool("hhc"), {out + "/Keys.hhp"}), 0) << readBytes(out + "/Keys.log").toStdString();
  ChmFile again;
  ASSERT_TRUE(again.open(out + "/Keys.chm"));
  QStringList stored;
  for (const ChmIndexKeyword& k : ReadBinaryIndex(
           again.read("/$WWKeywordLinks/BTree").value_or(QByteArray()),
           {again.read("/#TOPICS").value_or(QByteArray()), again.read("/#URLTBL").value_or(QByteArray()),
            again.read("/#URLSTR").value_or(QByteArray())},
           0))
    stored.append(k.path + ':' + k.pages.join(' '));
  EXPECT_TRUE(stored.contains("beta:a.htm sub/b.htm")) << stored.join('\n').toStdString();
  EXPECT_TRUE(stored.contains("beta, inner:sub/b.htm")) << stored.join('\n').toStdString();
}

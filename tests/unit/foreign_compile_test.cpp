// Compiling projects made elsewhere as their authors meant them: pages in
// UTF-8 beside a Japanese language, generators' bare "Language" lines, index
// files with a list per entry, Windows paths in window definitions, alias
// names in another letter case, options this compiler does not build, and
// the exit code and result record that scripts and the window read.

#include "chm/chm_bytes.h"
#include "chm/chm_file.h"
#include "chm/compiler.h"
#include "chm/input_text.h"
#include "app/headless_build.h"
#include "chm_readers.h"
#include "hhc_fixture.h"
#include "keyword_links_reader.h"
#include "platform/codepage.h"

#include <QFileInfo>
#include <QThread>

using namespace orvex;
using namespace orvex_test;

namespace {

QByteArray Cp932(const char* utf8) { return EncodeCodePage(QString::fromUtf8(utf8), 932); }

// The raw bytes of a #SYSTEM text record, without its NUL.
QByteArray SystemRecord(const ChmFile& chm, quint16 code) {
  const QByteArray system = chm.read("/#SYSTEM").value_or(QByteArray());
  for (qsizetype at = 4; at + 4 <= system.size(); at += 4 + ReadLe16(system, at + 2)) {
    if (ReadLe16(system, at) == code) {
      const QByteArray data = system.mid(at + 4, ReadLe16(system, at + 2));
      return data.left(data.indexOf('\0'));
    }
  }
  return {};
}

class ForeignCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    project.write(dir.path());
  }
  // Changes the project file: each pair replaces its first part.
  void EditProject(const QList<std::pair<QByteArray, QByteArray>>& changes) {
    QByteArray hhp = readBytes(project.projectPath());
    for (const auto& [from, to] : changes) {
      ASSERT_TRUE(hhp.contains(from)) << from.toStdString();
      hhp.replace(from, to);
    }
    writeBytes(project.projectPath(), hhp);
  }
  CompileResult Compile() {
    const CompileResult result = CompileProject(project.projectPath());
    EXPECT_TRUE(result.success) << result.messages.join('\n').toStdString();
    return result;
  }
  QByteArray Entry(const char* name) {
    ChmFile chm;
    EXPECT_TRUE(chm.open(project.chmPath()));
    return chm.read(name).value_or(QByteArray());
  }
  Result<KeywordLinksContents> KeywordLinks() {
    return ReadKeywordLinks(Entry("/$WWKeywordLinks/BTree"), Entry("/$WWKeywordLinks/Map"),
                            Entry("/$WWKeywordLinks/Data"), Entry("/$WWKeywordLinks/Property"));
  }
  QTemporaryDir dir;
  HelpProject project;
};

QString Joined(const CompileResult& result) { return result.messages.join('\n'); }

}  // namespace

TEST_F(ForeignCompile, ErrorsGiveExitCodeOneWithTheFileWrittenWarningsKeepZero) {
  // A broken anchor (the project's "#top") is a warning: exit code 0.
  const QString record = dir.filePath("result.json");
  QByteArray output;
  EXPECT_EQ(runTool(tool("hhc"), {"--result", record, project.projectPath()},
                    QProcessEnvironment::systemEnvironment(), &output),
            0)
      << output.toStdString();
  auto result = ReadCompileResultRecord(readBytes(record));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->errors, 0);
  EXPECT_EQ(result->warnings, 1) << result->messages.join('\n').toStdString();
  EXPECT_EQ(result->topics, 3);

  // A missing page is an error: exit code 1, and the file is still written.
  EditProject({{"[FILES]\r\n", "[FILES]\r\nGone.htm\r\n"}});
  EXPECT_EQ(runTool(tool("hhc"), {"--result", record, project.projectPath()},
                    QProcessEnvironment::systemEnvironment(), &output),
            1);
  EXPECT_TRUE(
      output.trimmed().endsWith(("Compiled file written, with errors: " + project.chmPath()).toUtf8()))
      << output.toStdString();
  result = ReadCompileResultRecord(readBytes(record));
  ASSERT_TRUE(result);
  EXPECT_TRUE(result->success);
  EXPECT_EQ(result->errors, 1);
  EXPECT_EQ(result->ExitCode(), 1);
  EXPECT_TRUE(result->messages.join('\n').contains("Gone.htm"));
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_EQ(chm.read("/My_Guide01.htm"), project.page1);
  EXPECT_FALSE(ReadCompileResultRecord("not a record"));
}

// Pages with a UTF-8 byte-order mark under a Japanese language: whatever a
// code-page-932 reading would make of their bytes, their links, pictures
// and anchors are found.
TEST_F(ForeignCompile, PagesInUtf8WithAMarkAreFollowedUnderAJapaneseLanguage) {
  EditProject({{"Language=0x0409 English (United States)", "Language=0x411 Japanese"},
               {"My Guide.css\r\n", "My Guide.css\r\nchapter.htm\r\n"}});
  const QByteArray bom = "\xEF\xBB\xBF";
  writeBytes(project.folder + "/chapter.htm",
             bom + "<html><head><title>" + QByteArray("第2章 設定") +
                 "</title></head><body><p>画像を見る。<img src=\"shot.png\" alt=\"図1\"></p>"
                 "<p>次の節へ:<a href=\"section.htm#c0201\">第2節</a></p></body></html>");
  writeBytes(project.folder + "/section.htm", bom +
                                                  "<html><body><h2>設定の概要</h2><h3 id=\"c0201\">用語</h3>"
                                                  "<p>説明<img src=\"images/fig.gif\"></p></body></html>");
  writeBytes(project.folder + "/shot.png", "png");
  writeBytes(project.folder + "/images/fig.gif", "gif");
  const CompileResult result = Compile();
  EXPECT_EQ(result.errors, 0) << Joined(result).toStdString();
  EXPECT_FALSE(Joined(result).contains("c0201")) << Joined(result).toStdString();
  const ChmFiles files = ReadWithMspack(project.chmPath());
  for (const char* name : {"/chapter.htm", "/section.htm", "/shot.png", "/images/fig.gif"})
    EXPECT_TRUE(files.contains(name)) << name;
}

TEST_F(ForeignCompile, ABareLanguageLineCountsAndTheTitleIsStoredInItsCodePage) {
  // A project file in UTF-8 (as generators write it) with a bare number.
  EditProject({{"Language=0x0409 English (United States)", "Language=0x411"},
               {"Title=Printer Guide", "Title=" + QByteArray("プリンター ガイド")}});
  CompileResult result = Compile();
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_EQ(chm.systemInfo().lcid, 0x411u);
  EXPECT_EQ(SystemRecord(chm, 3), Cp932("プリンター ガイド"));
  EXPECT_FALSE(Joined(result).contains("title")) << Joined(result).toStdString();
  chm.close();

  // A character code page 932 has not: the title keeps a reference, and a warning says so.
  EditProject({{"Title=" + QByteArray("プリンター ガイド"), "Title=" + QByteArray("ガイド 한국어")}});
  result = Compile();
  EXPECT_TRUE(
      Joined(result).contains(QString::fromUtf8("title \"ガイド 한국어\" has characters that code page 932")))
      << Joined(result).toStdString();
}

TEST_F(ForeignCompile, KeywordsAreValidUtf16WhateverTheIndexFileIsEncodedIn) {
  EditProject({{"Language=0x0409 English (United States)", "Language=0x411 Japanese"}});
  const auto item = [](const QByteArray& keyword, const char* page) {
    return "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"" + keyword +
           "\">\r\n<param name=\"Local\" value=\"" + page + "\">\r\n</OBJECT>\r\n";
  };
  // UTF-8 without a mark, as generators write it beside a code-page-932 project.
  writeBytes(project.folder + "/My Guide.hhk",
             "<HTML><BODY>\r\n<UL>\r\n" + item("インストール", "My_Guide01.htm") +
                 item("設定", "My_Guide02.htm") + "</UL>\r\n</BODY></HTML>\r\n");
  Compile();
  const auto read = KeywordLinks();
  ASSERT_TRUE(read.Ok()) << read.Message().toStdString();
  QStringList keywords;
  for (const KeywordLinkEntry& entry : read->entries) keywords << entry.path;
  keywords.sort();
  EXPECT_EQ(keywords, (QStringList{QString::fromUtf8("インストール"), QString::fromUtf8("設定")}));

  // In code page 932 with a byte it does not define (0xFD): no lone surrogate is stored.
  writeBytes(project.folder + "/My Guide.hhk", "<HTML><BODY>\r\n<UL>\r\n" +
                                                   item(Cp932("設定") + "\xFD", "My_Guide02.htm") +
                                                   "</UL>\r\n</BODY></HTML>\r\n");
  const CompileResult result = Compile();
  EXPECT_TRUE(Joined(result).contains("U+FFFD")) << Joined(result).toStdString();
  const auto replaced = KeywordLinks();
  ASSERT_TRUE(replaced.Ok()) << replaced.Message().toStdString();
  ASSERT_EQ(replaced->entries.size(), 1);
  EXPECT_EQ(replaced->entries[0].path, QString::fromUtf8("設定\uFFFD"));
}

TEST(InputText, MarksAndDeclarationsDecideTheEncoding) {
  EXPECT_EQ(DetectInputEncoding("\xEF\xBB\xBF<p>x</p>", true), InputEncoding::Utf8);
  EXPECT_EQ(DetectInputEncoding("\xFF\xFE<\0p\0", true), InputEncoding::Utf16LE);
  EXPECT_EQ(DetectInputEncoding("<p>plain</p>", true), InputEncoding::CodePage);
  // A declared charset wins over what the bytes look like.
  EXPECT_EQ(DetectInputEncoding("<meta charset=\"shift_jis\"><p>\xE6\x97\xA5</p>", true),
            InputEncoding::CodePage);
  EXPECT_EQ(DetectInputEncoding("<meta content=\"text/html; charset=UTF-8\"><p>\x82\xA0</p>", true),
            InputEncoding::Utf8);
  // Without either: valid UTF-8 beyond ASCII is UTF-8, anything else the code page.
  EXPECT_EQ(DetectInputEncoding("caf\xC3\xA9", false), InputEncoding::Utf8);
  EXPECT_EQ(DetectInputEncoding("caf\xE9", false), InputEncoding::CodePage);
  EXPECT_EQ(DetectInputEncoding(Cp932("マニュアル"), false), InputEncoding::CodePage);
  EXPECT_EQ(DecodeInputText("\xEF\xBB\xBF"
                            "a\xC3\xA9",
                            932, true),
            QString::fromUtf8("aé"));
  EXPECT_EQ(DecodeInputText(Cp932("設定"), 932, true), QString::fromUtf8("設定"));
}

TEST_F(ForeignCompile, AnIndexWithAListPerEntryKeepsEveryEntry) {
  QByteArray hhk = "<HTML><BODY>\r\n";
  for (int i = 0; i < 273; ++i) {
    hhk += "<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"keyword " +
           QByteArray::number(i % 191) + "\">\r\n<param name=\"Local\" value=\"My_Guide0" +
           QByteArray::number(1 + i % 3) + ".htm\">\r\n</OBJECT>\r\n</UL>\r\n";
  }
  writeBytes(project.folder + "/My Guide.hhk", hhk + "</BODY></HTML>\r\n");
  const CompileResult result = Compile();
  EXPECT_TRUE(Joined(result).contains("273 index entries")) << Joined(result).toStdString();
  const auto read = KeywordLinks();
  ASSERT_TRUE(read.Ok()) << read.Message().toStdString();
  ASSERT_EQ(read->entries.size(), 191);
  int references = 0;
  for (const KeywordLinkEntry& entry : read->entries) {
    EXPECT_EQ(entry.depth, 0) << entry.path.toStdString();
    references += int(entry.topics.size());
  }
  // Entries of one keyword that lead to the same page are one reference.
  EXPECT_EQ(references, 191 + (273 - 191));
}

TEST_F(ForeignCompile, WindowFilesAreStoredWithSlashes) {
  writeBytes(project.folder + "/html/index.html", "<html><body>home</body></html>");
  EditProject({{"[FILES]\r\n",
                "[WINDOWS]\r\nmain=\"Guide\",\"My Guide.hhc\",\"My Guide.hhk\",\"html\\index.html\","
                "\"html\\index.html\",,,,,0x2520,,0x3006,,,,,,,,0\r\n\r\n[FILES]\r\n"}});
  Compile();
  const QByteArray windows = Entry("/#WINDOWS");
  const QByteArray strings = Entry("/#STRINGS");
  ASSERT_GE(windows.size(), 8 + 0x70);
  for (qsizetype field : {0x68, 0x6C}) {
    const quint32 offset = ReadLe32(windows, 8 + field);
    ASSERT_LT(qsizetype(offset), strings.size());
    EXPECT_EQ(QByteArray(strings.constData() + offset), "html/index.html");
  }
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_TRUE(chm.contains("/html/index.html"));
}

TEST_F(ForeignCompile, WhatThisCompilerDoesNotBuildIsNamed) {
  EditProject({{"[OPTIONS]\r\n", "[OPTIONS]\r\nBinary TOC=Yes\r\nAuto Index=No\r\n"},
               {"[FILES]\r\n", "[MERGE FILES]\r\nother.chm\r\n\r\n[FILES]\r\n"}});
  const CompileResult result = Compile();
  const QString messages = Joined(result);
  EXPECT_TRUE(messages.contains("Warning: \"Binary TOC=Yes\" is not built")) << messages.toStdString();
  EXPECT_TRUE(messages.contains("Warning: the section [MERGE FILES] (1 lines) is not built"))
      << messages.toStdString();
  EXPECT_FALSE(messages.contains("Auto Index")) << messages.toStdString();
  EXPECT_EQ(result.errors, 0);
}

TEST_F(ForeignCompile, AliasesMatchTheMapInAnyLetterCaseAndKeepMissingPages) {
  writeBytes(project.folder + "/My Guide.ali",
             "IDH_My_Guide01=My_Guide01.htm\r\nidh_my_guide02=My_Guide02.htm\r\nIDH_My_Guide03=Gone.htm\r\n");
  const CompileResult result = Compile();
  const QString messages = Joined(result);
  EXPECT_EQ(result.errors, 0) << messages.toStdString();
  EXPECT_TRUE(messages.contains("alias idh_my_guide02 differs in letter case from the map's IDH_My_Guide02"))
      << messages.toStdString();
  EXPECT_TRUE(messages.contains("Warning: file not found: Gone.htm (named in the alias IDH_My_Guide03)"))
      << messages.toStdString();
  const QMap<quint32, QString> map = ParseContextMap(Entry("/#IVB"), Entry("/#STRINGS"));
  EXPECT_EQ(map.value(101), "My_Guide01.htm");
  EXPECT_EQ(map.value(102), "My_Guide02.htm");
  EXPECT_EQ(map.value(103), "Gone.htm");
}

TEST_F(ForeignCompile, TheSameProjectGivesTheSameBytes) {
  // Two runs of the tool (each with its own hashing seed), a second apart.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SOURCE_DATE_EPOCH", "1700000000");
  ASSERT_EQ(runTool(tool("hhc"), {"--threads", "2", project.projectPath()}, env), 0);
  const QByteArray first = readBytes(project.chmPath());
  QThread::msleep(1100);
  ASSERT_EQ(runTool(tool("hhc"), {"--threads", "1", project.projectPath()}, env), 0);
  EXPECT_EQ(readBytes(project.chmPath()), first);
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  const QByteArray system = chm.read("/#SYSTEM").value_or(QByteArray());
  ASSERT_GE(system.size(), 12);
  EXPECT_EQ(ReadLe16(system, 4), 10);  // the time record comes first
  EXPECT_EQ(ReadLe32(system, 8), 1700000000u);
  // Topic ids in #URLTBL do not depend on the library's hashing: the first
  // one (the smallest) is fixed by the page names.
  const QByteArray urlTable = chm.read("/#URLTBL").value_or(QByteArray());
  ASSERT_GE(urlTable.size(), 36);
  EXPECT_EQ(ReadLe32(urlTable, 0), 0x38da811eu);
}

// A project made elsewhere keeps its home page through a build; one whose
// home page is its first Contents topic keeps following that topic.
TEST_F(ForeignCompile, ABuildKeepsADefaultTopicOtherThanTheFirstContentsTopic) {
  EditProject({{"Default topic=My_Guide01.htm", "Default topic=My_Guide02.htm"}});
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const QString settings = dir.filePath("settings.ini");
  ASSERT_EQ(RunHeadlessBuild(project.projectPath(), settings, outStream, errStream, {}), 0)
      << err.toStdString();
  EXPECT_TRUE(readBytes(project.projectPath()).contains("Default topic=My_Guide02.htm\r\n"));
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_EQ(chm.systemInfo().defaultTopic, "My_Guide02.htm");
  chm.close();

  // Naming the first Contents topic, it follows the Contents as before.
  EditProject({{"Default topic=My_Guide02.htm", "Default topic=my_guide01.htm"}});
  ASSERT_EQ(RunHeadlessBuild(project.projectPath(), settings, outStream, errStream, {}), 0)
      << err.toStdString();
  EXPECT_TRUE(readBytes(project.projectPath()).contains("Default topic=My_Guide01.htm\r\n"));
}

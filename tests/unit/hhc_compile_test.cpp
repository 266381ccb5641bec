// Our compiler on real projects: what the readers get back, the messages,
// and where it refuses to write.

#include "chm/chm_file.h"
#include "chm/compiler.h"
#include "chm_readers.h"
#include "generated_projects.h"
#include "hhc_fixture.h"
#include "keyword_links_reader.h"
#include "viewer/chm_document.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace orvex;
using namespace orvex_test;

namespace {

class HhcCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    project.write(dir.path());
  }
  // Replaces one line of the project file.
  void SetProjectLine(const QByteArray& from, const QByteArray& to) {
    QByteArray text = readBytes(project.projectPath());
    ASSERT_TRUE(text.contains(from)) << from.constData();
    text.replace(from, to);
    writeBytes(project.projectPath(), text);
  }
  QString Messages(const CompileResult& r) const { return r.messages.join('\n'); }
  // What the window's check makes of the project's output paths, before a compile.
  OutputPathCheck CheckBeforeCompile() const {
    return CheckOutputPaths(project.projectPath(),
                            QString::fromLatin1(readBytes(project.projectPath())).split("\r\n"));
  }
  // Files in the project folder that a compile left besides its outputs.
  QStringList Leftovers() const {
    return QDir(dir.path()).entryList({"*.orvex-part", ".*.orvex-part"}, QDir::Files | QDir::Hidden);
  }

  QTemporaryDir dir;
  HelpProject project;
};

const char* const kProjectFiles[] = {"/My_Guide01.htm", "/My_Guide02.htm", "/My_Guide03.htm", "/pic.png",
                                     "/bg.png",         "/splash.png",     "/My Guide.css",   "/My GuideP.js",
                                     "/My Guide.hhc",   "/My Guide.hhk"};

}  // namespace

TEST_F(HhcCompile, EveryReaderGivesBackEveryFile) {
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << Messages(result).toStdString();
  EXPECT_EQ(result.errors, 0) << Messages(result).toStdString();
  const ChmFiles chmlib = ReadWithChmlib(project.chmPath());
  const ChmFiles mspack = ReadWithMspack(project.chmPath());
  const ChmFiles extracted = ReadWithProgram("extract_chmLib", project.chmPath());
  for (const char* name : kProjectFiles) {
    const QByteArray source = readBytes(project.folder + name);
    EXPECT_EQ(chmlib.value(name), source) << "chmlib: " << name;
    EXPECT_EQ(mspack.value(name), source) << "libmspack: " << name;
    EXPECT_EQ(extracted.value(name), source) << "extract_chmLib: " << name;
  }
  for (const char* name : {"/#SYSTEM", "/#IVB", "/#STRINGS", "/#TOPICS", "/#URLTBL", "/#URLSTR", "/#IDXHDR",
                           "/$WWKeywordLinks/BTree", "/$WWKeywordLinks/Map", "/$WWKeywordLinks/Data",
                           "/$WWKeywordLinks/Property"}) {
    EXPECT_TRUE(chmlib.contains(name)) << name;
    EXPECT_EQ(mspack.value(name), chmlib.value(name)) << name;
  }
  // Every file the readers list, they give alike.
  EXPECT_EQ(SlashFiles(chmlib), SlashFiles(mspack));
  EXPECT_EQ(SlashFiles(chmlib), extracted);
  EXPECT_EQ(SlashFiles(chmlib), ReadWithProgram("7z", project.chmPath()));
  // Full-text search was asked for.
  EXPECT_FALSE(chmlib.value("/$FIftiMain").isEmpty());
}

TEST_F(HhcCompile, SystemFileAndContextMapLeadToThePages) {
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << Messages(result).toStdString();
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  const ChmSystemInfo info = chm.systemInfo();
  EXPECT_EQ(info.title, "Printer Guide");
  EXPECT_EQ(info.defaultTopic, "My_Guide01.htm");
  EXPECT_EQ(info.contentsFile, "My Guide.hhc");
  EXPECT_EQ(info.indexFile, "My Guide.hhk");
  EXPECT_EQ(info.lcid, 0x409u);
  EXPECT_EQ(info.compiledFile, "my guide");
  // A tab-separated define and a hex define reach their pages; the map
  // stores project-relative names, not the build's paths.
  EXPECT_EQ(chm.topicForContext(101), "/My_Guide01.htm");
  EXPECT_EQ(chm.topicForContext(102), "/My_Guide02.htm");
  EXPECT_EQ(chm.topicForContext(103), "/My_Guide03.htm");
  EXPECT_TRUE(chm.topicForContext(104).isEmpty());
  const QByteArray strings = chm.read("/#STRINGS").value_or(QByteArray());
  EXPECT_FALSE(strings.contains(dir.path().toUtf8()));
}

TEST_F(HhcCompile, TheLogHasTheMessagesASummaryAndTheVerdict) {
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << Messages(result).toStdString();
  const QStringList log = QString::fromLatin1(readBytes(project.logPath())).split("\r\n", Qt::SkipEmptyParts);
  EXPECT_EQ(log, result.messages);
  ASSERT_GE(log.size(), 2);
  EXPECT_EQ(log.last(), "Compiled file written: " + project.chmPath());
  const QRegularExpression summary(
      "^10 files, 3 topics, 3 contents items, 1 index entries; compiled size (\\d+) bytes; [0-9.]+ s; "
      "errors: 0, warnings: 1$");
  const auto m = summary.match(log.at(log.size() - 2));
  ASSERT_TRUE(m.hasMatch()) << log.at(log.size() - 2).toStdString();
  EXPECT_EQ(m.captured(1).toLongLong(), QFileInfo(project.chmPath()).size());
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();
}

TEST_F(HhcCompile, AMissingFileIsAnErrorNamingWhoNamesIt) {
  writeBytes(project.folder + "/My_Guide03.htm",
             "<html><body>\r\n<p>Three</p>\r\n<img src=\"gone.png\"><a href=\"My_Guide01.htm#nowhere\">x</a>"
             "<a href=\"http://example.org/a.htm\">web</a><a href=\"javascript:go()\">js</a></body></html>");
  SetProjectLine("My GuideP.js\r\n", "My GuideP.js\r\nlisted-but-gone.htm\r\n");
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << Messages(result).toStdString();
  EXPECT_EQ(result.errors, 2);
  EXPECT_EQ(result.warnings, 2);  // this one and the fixture's "#top"
  EXPECT_TRUE(result.messages.contains("Error: file not found: gone.png (named in My_Guide03.htm, line 3)"))
      << Messages(result).toStdString();
  EXPECT_TRUE(
      result.messages.contains("Error: file not found: listed-but-gone.htm (named in My Guide.hhp, line 17)"))
      << Messages(result).toStdString();
  EXPECT_TRUE(result.messages.contains(
      "Warning: anchor not found: My_Guide01.htm#nowhere (named in My_Guide03.htm, line 3)"))
      << Messages(result).toStdString();
  // An anchor that exists is no warning; external and script links are no files.
  EXPECT_FALSE(Messages(result).contains("example.org"));
  EXPECT_FALSE(Messages(result).contains("javascript"));
}

TEST_F(HhcCompile, OutputsOutsideTheProjectFolderAreRefused) {
  QTemporaryDir outside;
  for (const QByteArray& target : {QByteArray("../outside.chm"), (outside.path() + "/abs.chm").toUtf8()}) {
    writeBytes(project.projectPath(), readBytes(project.projectPath()));
    project.write(dir.path());
    SetProjectLine("Compiled file=My Guide.chm", "Compiled file=" + target);
    const OutputPathCheck check = CheckBeforeCompile();
    EXPECT_TRUE(check.refused.isEmpty()) << check.refused.join('\n').toStdString();
    EXPECT_EQ(check.outside.size(), 1) << target.constData();
    const CompileResult result = CompileProject(project.projectPath());
    EXPECT_FALSE(result.success) << target.constData();
    EXPECT_TRUE(Messages(result).contains("outside the project folder")) << Messages(result).toStdString();
    EXPECT_TRUE(check.outside.contains(result.compiledFile)) << result.compiledFile.toStdString();
    EXPECT_FALSE(QFileInfo::exists(result.compiledFile)) << result.compiledFile.toStdString();
  }
  // A link inside the project that leads outside is no way around it.
  ASSERT_TRUE(QFile::link(outside.path(), project.folder + "/out"));
  project.write(dir.path());
  SetProjectLine("Compiled file=My Guide.chm", "Compiled file=out\\linked.chm");
  EXPECT_EQ(CheckBeforeCompile().outside, QStringList{project.folder + "/out/linked.chm"});
  EXPECT_FALSE(CompileProject(project.projectPath()).success);
  EXPECT_FALSE(QFileInfo::exists(outside.path() + "/linked.chm"));

  // Confirmed by the user, the outside path is written.
  project.write(dir.path());
  SetProjectLine("Compiled file=My Guide.chm", "Compiled file=" + (outside.path() + "/abs.chm").toUtf8());
  CompileOptions options;
  options.allowOutsideOutput = true;
  const CompileResult confirmed = CompileProject(project.projectPath(), options);
  EXPECT_TRUE(confirmed.success) << Messages(confirmed).toStdString();
  EXPECT_TRUE(QFileInfo(outside.path() + "/abs.chm").size() > 0);
}

TEST_F(HhcCompile, OutputsNeverReplaceAFileOfTheProject) {
  struct Case {
    QByteArray from, to, victim;
  };
  const Case cases[] = {
      {"Error log file=My Guide.log", "Error log file=My Guide.hhp", "My Guide.hhp"},
      {"Error log file=My Guide.log", "Error log file=my guide.ALI", "My Guide.ali"},
      {"Compiled file=My Guide.chm", "Compiled file=My_Guide01.htm", "My_Guide01.htm"},
      {"Compiled file=My Guide.chm", "Compiled file=My Guide.hhc", "My Guide.hhc"},
      {"Compiled file=My Guide.chm", "Compiled file=pic.png", "pic.png"},
      {"Error log file=My Guide.log", "Error log file=My Guide.chm", "My Guide.chm"},
  };
  for (const Case& c : cases) {
    project.write(dir.path());
    QFile::remove(project.chmPath());
    QFile::remove(project.logPath());
    SetProjectLine(c.from, c.to);
    // The window refuses what the project's own lines name; a picture that
    // only a page names is left to the compile.
    const OutputPathCheck check = CheckBeforeCompile();
    EXPECT_TRUE(check.outside.isEmpty());
    EXPECT_EQ(check.refused.size(), c.victim == "pic.png" ? 0 : 1) << c.to.constData();
    for (const QString& refusal : check.refused) EXPECT_TRUE(refusal.contains("is a file of the project"));
    auto before = snapshot(project.folder);
    const CompileResult result = CompileProject(project.projectPath());
    EXPECT_FALSE(result.success) << c.to.constData();
    EXPECT_TRUE(Messages(result).contains("is a file of the project")) << Messages(result).toStdString();
    EXPECT_FALSE(QFileInfo::exists(project.chmPath())) << c.to.constData();
    // Nothing changed but the log, when the log is not what was refused.
    auto after = snapshot(project.folder);
    if (!c.to.startsWith("Error log")) after.remove("My Guide.log");
    EXPECT_TRUE(after == before) << c.to.constData();
  }
}

TEST_F(HhcCompile, AnOutputFolderThatCannotBeMadeFailsAndKeepsTheOldFile) {
  writeBytes(project.folder + "/out", "a file where the folder should be");
  SetProjectLine("Compiled file=My Guide.chm", "Compiled file=out/My Guide.chm");
  const CompileResult result = CompileProject(project.projectPath());
  EXPECT_FALSE(result.success);
  EXPECT_TRUE(Messages(result).contains(project.folder + "/out")) << Messages(result).toStdString();
  EXPECT_EQ(readBytes(project.folder + "/out"), "a file where the folder should be");

  if (geteuid() != 0) {  // root writes anywhere
    project.write(dir.path());
    QDir().mkpath(project.folder + "/locked");
    writeBytes(project.folder + "/locked/My Guide.chm", "older compiled file");
    QFile::setPermissions(project.folder + "/locked", QFile::ReadOwner | QFile::ExeOwner);
    SetProjectLine("Compiled file=My Guide.chm", "Compiled file=locked/My Guide.chm");
    const CompileResult locked = CompileProject(project.projectPath());
    QFile::setPermissions(project.folder + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(locked.success);
    EXPECT_TRUE(Messages(locked).contains("locked/My Guide.chm")) << Messages(locked).toStdString();
    EXPECT_EQ(readBytes(project.folder + "/locked/My Guide.chm"), "older compiled file");
  }
  EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(HhcCompile, NamesInSubFoldersWithBlanksAndOtherCaseAndBackslashes) {
  writeBytes(project.folder + "/Sub Folder/Deep Page.htm",
             "<html><body><a href=\"..\\My_Guide01.htm\">up</a></body></html>");
  writeBytes(project.folder + "/My_Guide03.htm",
             "<html><body><a href=\"sub folder\\DEEP page.HTM\">down</a></body></html>");
  writeBytes(project.folder + "/empty.txt", "");
  SetProjectLine("My GuideP.js\r\n", "My GuideP.js\r\nEMPTY.TXT\r\n");
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << Messages(result).toStdString();
  EXPECT_EQ(result.errors, 0) << Messages(result).toStdString();
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_EQ(chm.read("/Sub Folder/Deep Page.htm").value_or(QByteArray()),
            readBytes(project.folder + "/Sub Folder/Deep Page.htm"));
  const auto empty = chm.read("/empty.txt");
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->isEmpty());
}

TEST_F(HhcCompile, AMissingProjectFileIsReportedNotCompiled) {
  const CompileResult result = CompileProject(dir.path() + "/None.hhp");
  EXPECT_FALSE(result.success);
  ASSERT_EQ(result.messages.size(), 2);
  EXPECT_TRUE(result.messages[0].startsWith("Error: ") && result.messages[0].contains("None.hhp"));
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/None.chm"));
}

// Projects made by real generators compile and open in the viewer's model
// with their contents, index and pages.
TEST(HhcGeneratedProjects, DoxygenAndSphinxProjectsOpenInTheViewer) {
  for (const ProjectGenerator generate : kProjectGenerators) {
    QTemporaryDir dir;
    const GeneratedProject generated = generate(dir.path());
    if (generated.generatorMissing) {
      std::cerr << "skipped: " << generated.error.toStdString() << '\n';
      continue;
    }
    ASSERT_TRUE(generated.error.isEmpty()) << generated.error.toStdString();
    const CompileResult result = CompileProject(generated.projectFile);
    ASSERT_TRUE(result.success) << result.messages.join('\n').toStdString();
    // Sphinx links each page to its source, which an HTML Help build does
    // not copy: the only files missing.
    for (const QString& message : result.messages) {
      if (message.startsWith("Error: "))
        EXPECT_TRUE(message.startsWith("Error: file not found: _sources/")) << message.toStdString();
    }
    ChmDocument document;
    ASSERT_TRUE(document.Open(result.compiledFile));
    EXPECT_FALSE(document.Contents().empty()) << generated.projectFile.toStdString();
    EXPECT_FALSE(document.Index().empty()) << generated.projectFile.toStdString();
    EXPECT_TRUE(document.DefaultTopicUrl().isValid());
    // The generator's index as keyword links, every keyword leading to
    // topics of the help, unless the project asks for none.
    ChmFile chm;
    ASSERT_TRUE(chm.open(result.compiledFile));
    const auto file = [&](const char* name) { return chm.read(name).value_or(QByteArray()); };
    if (readBytes(generated.projectFile).contains("Binary Index=No")) {
      EXPECT_FALSE(chm.read("/$WWKeywordLinks/BTree").has_value());
    } else {
      const auto keywords =
          ReadKeywordLinks(file("/$WWKeywordLinks/BTree"), file("/$WWKeywordLinks/Map"),
                           file("/$WWKeywordLinks/Data"), file("/$WWKeywordLinks/Property"));
      ASSERT_TRUE(keywords.Ok()) << keywords.Message().toStdString();
      EXPECT_GE(keywords->entries.size(), qsizetype(document.Index().size()));
      const quint32 topicCount = quint32(file("/#TOPICS").size() / 16);
      for (const KeywordLinkEntry& entry : keywords->entries) {
        for (quint32 topic : entry.topics) ASSERT_LT(topic, topicCount) << entry.path.toStdString();
      }
    }
    const QStringList pages = document.PagePaths();
    EXPECT_GE(pages.size(), 3);
    for (const QString& page : pages) {
      const QString source = QFileInfo(generated.projectFile).absolutePath() + page;
      EXPECT_EQ(document.Read(page).value_or(QByteArray()), readBytes(source)) << page.toStdString();
    }
  }
}

// A project of many intervals of the compressor, compressed while its pages
// are read and its full-text index made: any number of threads gives the
// same bytes, and the readers give every file back as it is on disk.
TEST(HhcGeneratedProjects, AnyNumberOfThreadsGivesTheSameBytes) {
  QTemporaryDir dir;
  const GeneratedProject generated = GenerateDoxygenProject(dir.path(), 150);
  if (generated.generatorMissing) {
    std::cerr << "skipped: " << generated.error.toStdString() << '\n';
    return;
  }
  ASSERT_TRUE(generated.error.isEmpty()) << generated.error.toStdString();
  const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
  qputenv("SOURCE_DATE_EPOCH", "1700000000");
  QByteArray first;
  QString compiled;
  for (int threads : {1, 2, 3}) {
    const CompileResult result = CompileProject(generated.projectFile, {threads});
    ASSERT_TRUE(result.success) << result.messages.join('\n').toStdString();
    compiled = result.compiledFile;
    const QByteArray bytes = readBytes(compiled);
    if (threads == 1) {
      first = bytes;
      continue;
    }
    EXPECT_TRUE(bytes == first) << threads << " threads";
  }
  if (epoch.isNull())
    qunsetenv("SOURCE_DATE_EPOCH");
  else
    qputenv("SOURCE_DATE_EPOCH", epoch);

  const QString folder = QFileInfo(generated.projectFile).absolutePath();
  const ChmFiles mspack = ReadWithMspack(compiled);
  qint64 pageBytes = 0;
  int pages = 0;
  for (const QString& name : QDir(folder).entryList({"*.html"}, QDir::Files)) {
    const QByteArray onDisk = readBytes(folder + '/' + name);
    EXPECT_EQ(mspack.value('/' + name.toUtf8()), onDisk) << name.toStdString();
    pageBytes += onDisk.size();
    ++pages;
  }
  EXPECT_GT(pageBytes, 16 * 0x10000);  // more than 16 intervals of 64 KB
  EXPECT_GT(pages, 150);
}

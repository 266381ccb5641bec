// The plain functions behind hhc: reference scanning, context pairing,
// compiled-file names and the messages list.

#include "chm/ansi_text.h"
#include "formats/context/context_map.h"
#include "chm/compiler.h"
#include "chm/page_scan.h"
#include "hhc_fixture.h"

using namespace orvex;
using namespace orvex_test;

TEST(HhcContextNumbers, AcceptsTheWaysMapFilesWriteNumbers) {
  EXPECT_EQ(ParseContextNumber("101"), 101u);
  EXPECT_EQ(ParseContextNumber(" 0x65 "), 101u);
  EXPECT_EQ(ParseContextNumber("(103)"), 103u);
  EXPECT_EQ(ParseContextNumber("102 // second topic"), 102u);
  EXPECT_EQ(ParseContextNumber("104 /* c */"), 104u);
  EXPECT_EQ(ParseContextNumber("105UL"), 105u);
  EXPECT_EQ(ParseContextNumber("4294967295"), 4294967295u);
  EXPECT_FALSE(ParseContextNumber("4294967296"));
  EXPECT_FALSE(ParseContextNumber("IDH_OTHER"));
  EXPECT_FALSE(ParseContextNumber(""));
  EXPECT_FALSE(ParseContextNumber("0x"));
}

TEST(HhcContextNumbers, PairsEveryAliasThatHasANumber) {
  const QStringList aliases{"IDH_A = a.htm", "IDH_B=sub\\b.htm", "IDH_C=a.htm", "IDH_NoNumber=c.htm", "",
                            "; comment",     "IDH_A=other.htm"};
  const QStringList defines{"#define IDH_A\t101", "  #  define IDH_B   0x66 // b",
                            "#define IDH_C 103",  "#define IDH_Lonely 104",
                            "#ifndef X",          "#define IDH_Bad abc"};
  const ContextEntries c = PairContextEntries(aliases, defines);
  ASSERT_EQ(c.entries.size(), 3);
  EXPECT_EQ(c.entries[0].name, "IDH_A");
  EXPECT_EQ(c.entries[0].file, "a.htm");
  EXPECT_EQ(c.entries[0].number, 101u);
  EXPECT_EQ(c.entries[1].file, "sub/b.htm");
  EXPECT_EQ(c.entries[1].number, 102u);
  // A second alias of one page is kept.
  EXPECT_EQ(c.entries[2].name, "IDH_C");
  EXPECT_EQ(c.entries[2].file, "a.htm");
  const QString warnings = c.warnings.join('\n');
  EXPECT_TRUE(warnings.contains("IDH_NoNumber")) << warnings.toStdString();
  EXPECT_TRUE(warnings.contains("IDH_Lonely has no alias")) << warnings.toStdString();
  EXPECT_TRUE(warnings.contains("IDH_Bad")) << warnings.toStdString();
  EXPECT_TRUE(warnings.contains("IDH_A is given twice")) << warnings.toStdString();
}

TEST(HhcPageScan, FindsLinksPicturesSplashParamsAndStyleSheetUrls) {
  const QStringList html = PageReferences(
      "<a href=\"two.htm#x\">t</a><IMG SRC='pic.png'><td background=bg.gif>"
      "<link rel=stylesheet href=\"s.css\"><script src=\"p.js\"></script>"
      "<PARAM name=\"Item1\" value=\"splash.png\"><input value=\"not a file\">"
      "<div style=\"background: url(tile.png)\">",
      false);
  for (const char* expected : {"two.htm#x", "pic.png", "bg.gif", "s.css", "p.js", "splash.png", "tile.png"})
    EXPECT_TRUE(html.contains(expected)) << expected;
  EXPECT_FALSE(html.contains("not a file"));

  const QStringList css = PageReferences(
      "body{background:url( \"bg.png\" )} @import 'more.css';"
      "h1{background:url('h.png')}",
      true);
  EXPECT_EQ(css, (QStringList{"bg.png", "h.png", "more.css"}));
}

TEST(HhcPageScan, ResolvesOnlyLocalFilesInsideTheProject) {
  EXPECT_EQ(ResolveReference("", "two.htm#anchor"), "two.htm");
  EXPECT_EQ(ResolveReference("sub", "../pic.png"), "pic.png");
  EXPECT_EQ(ResolveReference("sub", "deep\\x.htm?q=1"), "sub/deep/x.htm");
  EXPECT_EQ(ResolveReference("", "my%20page.htm"), "my page.htm");
  EXPECT_EQ(ResolveReference("", "./a/./b.htm"), "a/b.htm");
  for (const char* outside :
       {"../up.htm", "sub/../../up.htm", "http://x.org/a.htm", "mailto:a@b", "ms-its:other.chm::/a.htm",
        "C:\\help\\a.htm", "/etc/passwd", "#top", "javascript:go()", ""})
    EXPECT_TRUE(ResolveReference("", outside).isEmpty()) << outside;
}

TEST(HhcPageScan, GathersWhatThePagesReachWithTheCaseOnDisk) {
  QTemporaryDir dir;
  writeBytes(dir.path() + "/start.htm", "<a href=\"Sub/Next.HTM\">n</a><a href=\"missing.htm\">m</a>");
  writeBytes(dir.path() + "/sub/next.htm", "<img src=\"../Art.PNG\"><a href=\"../start.htm\">back</a>");
  writeBytes(dir.path() + "/art.png", "png");
  writeBytes(dir.path() + "/toc.hhc", "<param name=\"Local\" value=\"late.htm\">");
  writeBytes(dir.path() + "/late.htm", "<link href=\"late.css\">");
  writeBytes(dir.path() + "/late.css", "p{background:url(\"paper.gif\")}");
  writeBytes(dir.path() + "/paper.gif", "gif");
  writeBytes(dir.path() + "/unused.htm", "nobody links here");
  const QStringList files = GatherProjectFiles(dir.path(), {"start.htm"}, {"toc.hhc"});
  EXPECT_EQ(files,
            (QStringList{"start.htm", "sub/next.htm", "late.htm", "art.png", "late.css", "paper.gif"}));
}

TEST(HhcCompiledFileName, ComesFromTheProjectOrTheProjectPath) {
  EXPECT_EQ(CompiledFileOf("/p/My Guide.hhp", {"[OPTIONS]", "Compiled file=My Guide.chm"}),
            "/p/My Guide.chm");
  EXPECT_EQ(CompiledFileOf("/p/x.hhp", {"[OPTIONS]", "compiled FILE = out\\Help.chm"}), "/p/out/Help.chm");
  EXPECT_EQ(CompiledFileOf("/p/x.hhp", {"[OPTIONS]", "Compiled file=/abs/h.chm"}), "/abs/h.chm");
  EXPECT_EQ(CompiledFileOf("/p/Demo.v2.hhp", {"[OPTIONS]", "Title=T"}), "/p/Demo.v2.chm");
  // The option counts only in [OPTIONS].
  EXPECT_EQ(CompiledFileOf("/p/x.hhp", {"[FILES]", "Compiled file=no.chm"}), "/p/x.chm");
  EXPECT_EQ(LogFileOf("/p/x.hhp", {"[OPTIONS]", "Error log file=x.log"}), "/p/x.log");
  EXPECT_TRUE(LogFileOf("/p/x.hhp", {"[OPTIONS]"}).isEmpty());
}

TEST(HhcMessagesView, ControlCharactersBecomeTwoBlanks) {
  EXPECT_EQ(CompilerMessageItems("a\tb\r\nc\x01"
                                 "d\r\n"),
            (QStringList{"a  b", "c  d"}));
  EXPECT_TRUE(CompilerMessageItems("").isEmpty());
  EXPECT_EQ(CompilerMessageItems("\xe9t\xe9\x80"),
            QStringList{QString::fromUtf8("\xc3\xa9t\xc3\xa9\xe2\x82\xac")});
  EXPECT_EQ(CompilerMessageItems("one\nlast"), (QStringList{"one", "last"}));
}

TEST(HhcAnsiText, EveryByteSurvivesTheRoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  EXPECT_EQ(orvex::StringToAnsi(orvex::AnsiToString(all)), all);
  EXPECT_EQ(orvex::AnsiToString("\x80\x93"), QString::fromUtf8("\xe2\x82\xac\xe2\x80\x9c"));
  EXPECT_EQ(orvex::StringToAnsi(QString::fromUtf8("\xe4\xb8\xad")), QByteArray("&#20013;"));
  EXPECT_EQ(orvex::SplitTextLines("a\r\nb\rc\n\nd\r\n"), (QStringList{"a", "b", "c", "", "d"}));
}

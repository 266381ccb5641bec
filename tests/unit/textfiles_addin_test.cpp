// The shipped "Topics from text files" add-in: its conversions and a real run.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/addin_library.h"
#include "text_folder.h"
#include "text_to_html.h"

using namespace textfiles;

TEST(AddinTextFiles, MarkdownBlocks) {
  const std::string html = MarkdownToHtml(
      "## Setup\n\nInstall it\nquickly.\n\n- one\n- two\n\n1. first\n2. second\n\n> quoted\n\n```\na < "
      "b\n```\n---\n");
  EXPECT_EQ(html,
            "<h2>Setup</h2>\n<p>Install it quickly.</p>\n<ul>\n<li>one</li>\n<li>two</li>\n</ul>\n"
            "<ol>\n<li>first</li>\n<li>second</li>\n</ol>\n<blockquote><p>quoted</p></blockquote>\n"
            "<pre><code>a &lt; b</code></pre>\n<hr>\n");
}

TEST(AddinTextFiles, MarkdownInlineAndEscaping) {
  EXPECT_EQ(MarkdownToHtml("**bold** and *it* and _it_ and `x<y` & [site](http://a.b/?q=1&r=2)"),
            "<p><b>bold</b> and <i>it</i> and <i>it</i> and <code>x&lt;y</code> &amp; "
            "<a href=\"http://a.b/?q=1&amp;r=2\">site</a></p>\n");
  EXPECT_EQ(MarkdownToHtml("snake_case_name 2 * 3"), "<p>snake_case_name 2 * 3</p>\n");
  EXPECT_EQ(MarkdownToHtml("<script>alert(1)</script>"), "<p>&lt;script&gt;alert(1)&lt;/script&gt;</p>\n");
  EXPECT_EQ(MarkdownToHtml("[x](javascript:alert(1))"), "<p>x)</p>\n");
}

TEST(AddinTextFiles, PlainTextParagraphs) {
  EXPECT_EQ(PlainTextToHtml("a\r\nb\r\n\r\n\r\nc <d>"), "<p>a<br>\nb</p>\n<p>c &lt;d&gt;</p>\n");
}

TEST(AddinTextFiles, TitleFromFirstHeadingOrFileName) {
  FileTopic md = TopicOfFile("intro.md", "\n# Getting started\n\nText.\n");
  EXPECT_EQ(md.title, "Getting started");
  EXPECT_EQ(md.html, "<p>Text.</p>\n");
  FileTopic sub = TopicOfFile("notes.MD", "## Not a title\n");
  EXPECT_EQ(sub.title, "notes");
  EXPECT_EQ(sub.html, "<h2>Not a title</h2>\n");
  EXPECT_EQ(TopicOfFile("readme.txt", "# plain").html, "<p># plain</p>\n");
  EXPECT_EQ(TopicOfFile("readme.txt", "").title, "readme");
}

TEST(AddinTextFiles, LongTitlesAreCutOnACharacterBoundary) {
  std::string title(254, 'a');
  title += "\xc3\xa4\xc3\xa4";  // two two-byte characters
  EXPECT_EQ(CutUtf8(title, 255), std::string(254, 'a'));
  EXPECT_EQ(TopicOfFile("x.md", "# " + title).title.size(), 254u);
}

TEST(AddinTextFiles, FolderFromVariableElseConfiguration) {
  EXPECT_EQ(ChosenFolder("/from/env", "folder=/from/conf"), "/from/env");
  EXPECT_EQ(ChosenFolder("", "# comment\n  Folder = /from/conf \n"), "/from/conf");
  EXPECT_EQ(ChosenFolder(nullptr, "other=1\n"), "");
}

TEST(AddinTextFiles, FilesOfAFolderSortedByName) {
  QTemporaryDir dir;
  for (const char* name : {"b.txt", "a.md", "c.markdown", "d.html", ".hidden.md"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  const std::vector<std::string> files = TextFilesOf(dir.path().toStdString());
  ASSERT_EQ(files.size(), 3u);
  EXPECT_TRUE(files[0].ends_with("/a.md"));
  EXPECT_TRUE(files[1].ends_with("/b.txt"));
  EXPECT_TRUE(files[2].ends_with("/c.markdown"));
  EXPECT_TRUE(TextFilesOf("/no/such/folder").empty());
}

TEST(AddinTextFiles, RealRunThroughTheHelper) {
  QTemporaryDir dir;
  const auto write = [&](const char* name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  };
  write("01-start.md", "# Start here\n\nWelcome **reader**.\n");
  write("02-notes.txt", "line one\nline two\n");
  const QString library = QStringLiteral(ORVEX_BIN_DIR "/textfiles.so");
  const QString probe = AddinProbeProgram(QStringLiteral(ORVEX_BIN_DIR));
  EXPECT_EQ(ReadAddinName(probe, library), std::optional<QString>("Topics from text files"));
  // Without a folder of its own the add-in asks for one, and reads the one
  // the program hands it.
  qunsetenv("ORVEX_TEXTFILES_DIR");
  EXPECT_EQ(ReadAddinFolderPrompt(probe, library), std::optional<QString>("Folder of text files"));
  EXPECT_EQ(ReadAddinTopics(probe, library, dir.path()).value_or(QList<AddinTopic>()).size(), 2);
  EXPECT_TRUE(ReadAddinTopics(probe, library).value_or(QList<AddinTopic>({{}})).isEmpty());
  // Its own folder needs no question.
  qputenv("ORVEX_TEXTFILES_DIR", dir.path().toLocal8Bit());
  EXPECT_EQ(ReadAddinFolderPrompt(probe, library), std::optional<QString>(""));
  const auto topics = ReadAddinTopics(probe, library);
  qunsetenv("ORVEX_TEXTFILES_DIR");
  ASSERT_TRUE(topics.has_value());
  ASSERT_EQ(topics->size(), 2);
  EXPECT_EQ((*topics)[0].title, "Start here");
  EXPECT_EQ((*topics)[0].html, "<p>Welcome <b>reader</b>.</p>\n");
  EXPECT_EQ((*topics)[1].title, "02-notes");
  EXPECT_EQ((*topics)[1].html, "<p>line one<br>\nline two</p>\n");
}

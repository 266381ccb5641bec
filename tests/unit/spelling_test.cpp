// Spelling: which words of a text and a page are checked, which dictionary
// suits a project's language, dictionaries in their own encoding, the
// project's word list, and the Spelling kind of `orvex --check` with the
// English dictionary the test set-up installs.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "checks/check_command.h"
#include "checks/project_check.h"
#include "spelling/dictionary_names.h"
#include "spelling/hunspell_dictionary.h"
#include "spelling/project_spelling.h"
#include "spelling/spelling_words.h"
#include "spelling/word_list.h"
#include "tests/unit/test_files.h"

namespace {

QStringList WordsOf(const QList<TextWord>& words) {
  QStringList texts;
  for (const TextWord& word : words) texts.append(word.text);
  return texts;
}

// An empty dictionary file pair in `folder`, enough to be found.
void PutDictionary(const QString& folder, const QString& name) {
  PutFile(QDir(folder).filePath(name + ".aff"), "SET UTF-8\n");
  PutFile(QDir(folder).filePath(name + ".dic"), "1\nword\n");
}

TEST(SpellingWords, ProseIsCheckedCodeAddressesCapitalsAndDigitsAreNot) {
  const QList<TextWord> words = TextWords(
      u"Don't check HTML, mp3, x, getValue, page.htm, e.g. http://examplle.com a@b.org C:\\dir "
      u"well-known words_here — naïve\u2019s 'quoted'");
  EXPECT_EQ(WordsOf(words), QStringList({"Don't", "check", "well-known", "naïve\u2019s", "quoted"}));
  EXPECT_EQ(words.at(1).position, 6);
}

TEST(SpellingWords, PageWordsSkipCodeJoinInlineTagsAndKeepTheirFirstLine) {
  const QList<PageWord> words = PageWords(
      u"<HTML><HEAD><TITLE>Titel</TITLE><STYLE>p{colr:red}</STYLE></HEAD><BODY>\r\n"
      u"<P>First mis<B>spelt</B> caf&eacute;</P>\r\n"
      u"<PRE>prnt</PRE><P>x<CODE>varr</CODE> <SCRIPT>alrt()</SCRIPT>last\r\nfirst line<BR>two</P>\r\n");
  QStringList texts;
  QList<int> lines;
  for (const PageWord& word : words) {
    texts.append(word.text);
    lines.append(word.line);
  }
  EXPECT_EQ(texts, QStringList({"First", "misspelt", "café", "last", "first", "line", "two"}));
  EXPECT_EQ(lines, QList<int>({2, 2, 2, 3, 4, 4, 4}));
}

TEST(SpellingDictionaries, TheProjectsLanguageLineChoosesTheDictionary) {
  EXPECT_EQ(DictionaryNamesFor(0x409).value(0), "en_US");
  EXPECT_EQ(DictionaryNamesFor(0x407).value(0), "de_DE");
  EXPECT_EQ(DictionaryNamesFor(0x411).value(0), "ja_JP");
  EXPECT_EQ(ProjectLanguageLcid({"[OPTIONS]", "Language=0x407 German (Germany)"}), 0x407);
  EXPECT_EQ(ProjectLanguageLcid({"Language=0x411"}), 0x411);

  QTemporaryDir dir;
  PutDictionary(dir.path(), "en_US");
  PutDictionary(dir.path(), "de_AT");
  const QStringList folders{dir.path()};
  EXPECT_EQ(InstalledDictionaries(folders), QStringList({"de_AT", "en_US"}));
  EXPECT_EQ(DictionaryForLanguage(0x409, folders)->name, "en_US");
  // Swiss German with only the Austrian dictionary: the same language's.
  EXPECT_EQ(DictionaryForLanguage(0x807, folders)->name, "de_AT");
  EXPECT_FALSE(DictionaryForLanguage(0x411, folders));
  EXPECT_FALSE(DictionaryForLanguage(0x407 + 0x10000, folders));
}

TEST(SpellingDictionaries, ADictionaryInItsOwnEightBitEncodingChecksAndSuggests) {
  QTemporaryDir dir;
  PutFile(dir.filePath("fr_FR.aff"), "SET ISO8859-15\nTRY esianrtolcdugmphbyfvkwzéè\n");
  PutFile(dir.filePath("fr_FR.dic"), QByteArray("3\ncaf\xe9\nd\xe9j\xe0\n\xbduvre\n"));  // café déjà œuvre
  Result<std::unique_ptr<HunspellDictionary>> dictionary =
      HunspellDictionary::Open(dir.filePath("fr_FR.aff"), dir.filePath("fr_FR.dic"));
  ASSERT_TRUE(dictionary) << dictionary.Message().toStdString();
  HunspellDictionary& french = **dictionary;
  EXPECT_TRUE(french.Spell("café"));
  EXPECT_TRUE(french.Spell("œuvre"));
  EXPECT_FALSE(french.Spell("cafè"));
  EXPECT_FALSE(french.Spell("日本"));  // not in the encoding at all
  EXPECT_TRUE(french.Suggest("cafe").contains("café"));
  EXPECT_FALSE(HunspellDictionary::Open(dir.filePath("none.aff"), dir.filePath("fr_FR.dic")));
}

class ProjectSpellingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    project = dir.filePath("Guide.hhp");
    PutText(project, "[OPTIONS]\r\nLanguage=0x409 English (United States)\r\n\r\n[FILES]\r\na.htm\r\n", 1252);
    ASSERT_TRUE(FindDictionary("en_US", DictionaryFolders())) << "hunspell-en-us is not installed";
  }
  QStringList Lines() { return LinesOf(project, 1252); }
  QTemporaryDir dir;
  QString project;
};

TEST_F(ProjectSpellingTest, AddedWordsAreKeptBesideTheProjectAndSurviveReopening) {
  std::shared_ptr<ProjectSpelling> spelling = ProjectSpelling::Open(project, Lines());
  ASSERT_EQ(spelling->NotChecked(), "");
  EXPECT_EQ(spelling->DictionaryName(), "en_US");
  EXPECT_TRUE(spelling->IsCorrect("sentence"));
  EXPECT_FALSE(spelling->IsCorrect("sentense"));
  EXPECT_TRUE(spelling->Suggestions("sentense").contains("sentence"));
  EXPECT_FALSE(spelling->IsCorrect("orvex"));
  ExpectWritten(spelling->AddWord("orvex"));
  EXPECT_TRUE(spelling->IsCorrect("orvex"));
  EXPECT_TRUE(spelling->IsCorrect("Orvex"));  // at the start of a sentence
  spelling->IgnoreWord("chmlib");
  EXPECT_TRUE(spelling->IsCorrect("chmlib"));

  const QString listPath = dir.filePath("Guide.words");
  EXPECT_EQ(WordListPath(project), listPath);
  EXPECT_TRUE(BytesOf(listPath).contains("\r\norvex\r\n"));
  std::shared_ptr<ProjectSpelling> reopened = ProjectSpelling::Open(project, Lines());
  EXPECT_TRUE(reopened->IsCorrect("orvex"));
  EXPECT_FALSE(reopened->IsCorrect("chmlib"));  // ignored for the session only
}

TEST_F(ProjectSpellingTest, NoDictionaryIsSaidPlainlyAndAChosenOneIsUsed) {
  PutText(project, "[OPTIONS]\r\nLanguage=0x411 Japanese\r\n", 1252);
  std::shared_ptr<ProjectSpelling> japanese = ProjectSpelling::Open(project, Lines(), {dir.path()});
  EXPECT_EQ(japanese->NotChecked(),
            "No spelling dictionary for Japanese (Japan) is installed: spelling is not checked. Install "
            "Debian's hunspell package for the language, or choose an installed dictionary in Tools > "
            "Spelling dictionary.");
  EXPECT_TRUE(japanese->IsCorrect("sentense"));  // nothing is marked without a dictionary

  ExpectWritten(WriteWordList(WordListPath(project), {{"Orvex"}, "en_US"}));
  std::shared_ptr<ProjectSpelling> chosen = ProjectSpelling::Open(project, Lines());
  EXPECT_EQ(chosen->NotChecked(), "");
  EXPECT_EQ(chosen->DictionaryName(), "en_US");
  EXPECT_FALSE(chosen->IsCorrect("sentense"));
  ExpectWritten(WriteWordList(WordListPath(project), {{}, "xx_YY"}));
  EXPECT_TRUE(ProjectSpelling::Open(project, Lines())
                  ->NotChecked()
                  .startsWith("The spelling dictionary xx_YY chosen for this project is not installed"));
}

TEST_F(ProjectSpellingTest, CheckProjectListsEachMisspeltWordOfAPageOnceAtItsFirstLine) {
  PutText(
      dir.filePath("a.htm"),
      "<HTML><BODY>\r\n<P>This sentense is fine, see <CODE>fooo_bar</CODE> and http://examplle.com.</P>\r\n"
      "<P>Another sentense, Orvex and teh end.</P></BODY></HTML>\r\n",
      1252);
  ExpectWritten(WriteWordList(WordListPath(project), {{"Orvex"}, {}}));
  QString out;
  QString err;
  QTextStream outStream(&out);
  QTextStream errStream(&err);
  const int code = RunCheckCommand(project, outStream, errStream, [](const ProjectCheckInput& input) {
    return ProjectSpellingSource(input.projectFile, input.projectLines);
  });
  EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts),
            QStringList({"a.htm:1: orphan-page: no Contents item leads to this page",
                         "a.htm:2: spelling: word not in the dictionary: sentense",
                         "a.htm:3: spelling: word not in the dictionary: teh"}));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(err.contains("0 errors, 3 warnings, 0 notes")) << err.toStdString();
}

// Pages are read, their links followed and their words looked up on several
// threads: the problems are the same, in the same order, on one thread or many.
TEST_F(ProjectSpellingTest, CheckProjectGivesTheSameProblemsOnOneThreadAndOnSeveral) {
  QString files = "[OPTIONS]\r\nLanguage=0x409 English (United States)\r\n\r\n[FILES]\r\n";
  for (int i = 0; i < 60; ++i) {
    const QString name = QStringLiteral("p%1.htm").arg(i);
    files += name + "\r\n";
    // Words and links shared between pages, and some of each page's own.
    PutText(dir.filePath(name),
            QStringLiteral("<HTML><BODY>\r\n<P id=\"top\">Shared sentense number %1, teh %2.</P>\r\n"
                           "<P>Page wrod%3 <A HREF=\"p%4.htm#top\">next</A> <A HREF=\"p%4.htm#gone\">gone</A>"
                           " <A HREF=\"missing%5.htm\">missing</A> <IMG SRC=\"pic.png\"></P>\r\n"
                           "<P>Again sentense and unusuall%6.</P></BODY></HTML>\r\n")
                .arg(i)
                .arg(QString(QChar(u'a' + i % 26)).repeated(3))
                .arg(QString(QChar(u'a' + i % 7)).repeated(2))
                .arg((i + 1) % 60)
                .arg(i % 5)
                .arg(QString(QChar(u'a' + i % 11)).repeated(2)),
            1252);
  }
  PutText(project, files, 1252);
  Result<ProjectCheckInput> input = ReadProjectCheckInput(project);
  ASSERT_TRUE(input.Ok()) << input.Message().toStdString();
  input->spelling = ProjectSpellingSource(input->projectFile, input->projectLines);
  const auto linesOn = [&](int threads) {
    input->threads = threads;
    QStringList lines;
    for (const CheckProblem& problem : CheckProject(*input)) lines.append(ProblemLine(problem));
    return lines;
  };
  const QStringList one = linesOn(1);
  EXPECT_TRUE(one.contains("p7.htm:2: spelling: word not in the dictionary: sentense"));
  EXPECT_TRUE(one.contains("p7.htm:3: broken-link: link to an anchor that does not exist: p8.htm#gone"));
  EXPECT_TRUE(one.contains("p7.htm:3: missing-file: picture not found: pic.png"));
  EXPECT_GE(one.filter(": spelling: ").size(), 60 * 4);  // sentense, teh, wrod.., unusuall.. on each
  for (int threads : {2, 4}) EXPECT_EQ(linesOn(threads), one) << threads << " threads";
}

}  // namespace

// Spelling: which words of a text and a page are checked, which dictionary
// suits a project's language, dictionaries in their own encoding, the
// project's word list, and the Spelling kind of `orvex --check` with the
// English dictionary the test set-up installs.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "checks/check_command.h"
#include "spelling/dictionary_names.h"
#include "spelling/hunspell_dictionary.h"
#include "spelling/project_spelling.h"
#include "spelling/spelling_words.h"
#include "spelling/word_list.h"
#include "tests/unit/test_files.h"

namespace {

QStringList WordsOf(const QList<TextWord>& words) {
  QStringList texts;
  for (const TextWord& word : words) texts.append(word.Text);
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
  EXPECT_EQ(words.at(1).Position, 6);
}

TEST(SpellingWords, PageWordsSkipCodeJoinInlineTagsAndKeepTheirFirstLine) {
  const QList<PageWord> words = PageWords(
      u"<HTML><HEAD><TITLE>Titel</TITLE><STYLE>p{colr:red}</STYLE></HEAD><BODY>\r\n"
      u"<P>First mis<B>spelt</B> caf&eacute;</P>\r\n"
      u"<PRE>prnt</PRE><P>x<CODE>varr</CODE> <SCRIPT>alrt()</SCRIPT>last\r\nfirst line<BR>two</P>\r\n");
  QStringList texts;
  QList<int> lines;
  for (const PageWord& word : words) {
    texts.append(word.Text);
    lines.append(word.Line);
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
  EXPECT_EQ(DictionaryForLanguage(0x409, folders)->Name, "en_US");
  // Swiss German with only the Austrian dictionary: the same language's.
  EXPECT_EQ(DictionaryForLanguage(0x807, folders)->Name, "de_AT");
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
    return ProjectSpellingSource(input.ProjectFile, input.ProjectLines);
  });
  EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts),
            QStringList({"a.htm:1: orphan-page: no Contents item leads to this page",
                         "a.htm:2: spelling: word not in the dictionary: sentense",
                         "a.htm:3: spelling: word not in the dictionary: teh"}));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(err.contains("0 errors, 3 warnings, 0 notes")) << err.toStdString();
}

}  // namespace

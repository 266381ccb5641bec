// A project with one of each problem Check project finds, in code page
// 1251, for the checker's tests and the Problems pane's.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include "tests/unit/test_files.h"

// Writes the project into `folder`; `outsideFolder` is another folder that
// the project's "shared" symbolic link leads to. The project file's path.
inline QString MakeProjectWithEveryProblem(const QString& folder, const QString& outsideFolder) {
  const QDir dir(folder);
  const int russian = 1251;
  PutText(dir.filePath("Check.hhp"),
          "[OPTIONS]\r\n"
          "Compiled file=Check.chm\r\n"
          "Contents file=Check.hhc\r\n"
          "Index file=Check.hhk\r\n"
          "Default topic=a.htm\r\n"
          "Language=0x419 Russian\r\n"
          "Title=Check\r\n"
          "\r\n"
          "[FILES]\r\n"
          "a.htm\r\n"
          "gone.htm\r\n"  // line 11
          "\r\n"
          "[ALIAS]\r\n"
          "IDH_A=a.htm\r\n"
          "IDH_GONE=gone2.htm\r\n"  // line 15
          "IDH_B=b.htm\r\n"
          "IDH_NONUM=c.htm\r\n"  // line 17
          "\r\n"
          "[MAP]\r\n"
          "#define idh_a 10\r\n"
          "#define IDH_GONE 11\r\n"
          "#define IDH_B 0x0B\r\n"     // line 22: 11 again
          "#define IDH_LONELY 12\r\n"  // line 23
          ,
          russian);
  auto item = [](const QString& name, const QString& local) {
    return "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"" + name +
           "\">\r\n<param name=\"Local\" value=\"" + local + "\">\r\n</OBJECT>\r\n";
  };
  PutText(dir.filePath("Check.hhc"),
          "<HTML><BODY><UL>\r\n" + item("Начало", "a.htm") + item("Второй", "b.htm") +
              item("начало", "c.htm") +                                 // its Local on line 12
              item("Потерян", "lost.htm") + "</UL></BODY></HTML>\r\n",  // line 16
          russian);
  PutText(dir.filePath("Check.hhk"),
          "<HTML><BODY><UL>\r\n" + item("alpha", "a.htm") + item("beta", "b.htm") +
              item("ghost", "ghost.htm") + "</UL></BODY></HTML>\r\n",  // its Local on line 12
          russian);
  PutText(dir.filePath("a.htm"),
          "<HTML><HEAD><TITLE>Начало</TITLE></HEAD><BODY>\r\n"
          "<P><A HREF=\"b.htm#там\">there</A></P>\r\n"
          "<P><A HREF=\"нет.htm\">missing page</A></P>\r\n"  // line 3
          "<P><A HREF=\"b.htm#nowhere\">missing anchor</A></P>\r\n"
          "<P><IMG SRC=\"pic.png\"></P>\r\n"  // line 5
          "<P><A HREF=\"../outside.htm\">up</A> <IMG SRC=\"shared/logo.png\"></P>\r\n"
          "<P><A HREF=\"https://example.com/help\">web</A></P>\r\n"  // line 7
          "</BODY></HTML>\r\n",
          russian);
  PutText(dir.filePath("b.htm"), "<HTML><BODY>\r\n<P><A NAME=\"там\">Второй</A></P>\r\n</BODY></HTML>\r\n",
          russian);
  PutText(dir.filePath("c.htm"), "<HTML><BODY>\r\n<P>Третий</P>\r\n</BODY></HTML>\r\n", russian);
  PutText(dir.filePath("orphan.htm"), "<HTML><BODY>\r\n<P>alone</P>\r\n</BODY></HTML>\r\n", russian);
  PutFile(QDir(outsideFolder).filePath("logo.png"), "\x89PNG\r\n");
  QFile::link(outsideFolder, dir.filePath("shared"));
  return dir.filePath("Check.hhp");
}

// What `orvex --check` prints for that project, in its order.
inline QStringList EveryProblemLines() {
  return {
      "a.htm:3: broken-link: link to a page that does not exist: нет.htm",
      "a.htm:4: broken-link: link to an anchor that does not exist: b.htm#nowhere",
      "a.htm:5: missing-file: picture not found: pic.png",
      "a.htm:6: outside-link: link leaves the project folder: ../outside.htm",
      "a.htm:6: outside-link: link leaves the project folder: shared/logo.png",
      "a.htm:7: external-link: external link: https://example.com/help",
      "c.htm:1: no-keyword: topic \"начало\" has no keyword in the Index",
      "Check.hhc:12: duplicate-title: title \"начало\" is also the title of a.htm",
      "Check.hhc:16: missing-topic-page: Contents item \"Потерян\" leads to a page that does not exist: "
      "lost.htm",
      "Check.hhk:12: missing-keyword-page: keyword \"ghost\" leads to a page that does not exist: ghost.htm",
      "Check.hhp:6: spelling: No spelling dictionary for Russian (Russia) is installed: spelling is not "
      "checked. Install Debian's hunspell package for the language, or choose an installed dictionary in "
      "Tools > Spelling dictionary.",
      "Check.hhp:11: missing-file: file listed in [FILES] not found: gone.htm",
      "Check.hhp:15: alias-missing-page: alias IDH_GONE leads to a page that does not exist: gone2.htm",
      "Check.hhp:17: alias-without-number: alias IDH_NONUM has no context number in [MAP]",
      "Check.hhp:22: duplicate-number: context number 0x0B of IDH_B is already given to IDH_GONE (Check.hhp, "
      "line 21)",
      "Check.hhp:23: number-without-alias: context number IDH_LONELY (12) has no alias in [ALIAS]",
      "orphan.htm:1: orphan-page: no Contents item leads to this page",
  };
}

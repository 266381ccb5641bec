#include "project/page_template.h"

#include "platform/locale_info.h"
#include "project/project_file.h"

int ProjectCodePage(const QStringList& projectLines) {
  int codePage = -1;
  for (const QString& line : projectLines) {
    const std::optional<int> lcid = LanguageLineLcid(line);
    if (!lcid) continue;
    const int answer = LocaleAnsiCodePage(*lcid);
    if (answer >= 0) codePage = answer;
  }
  return codePage;
}

QString BuildTopicPage(const QString& title, const QString& projectFile, const QStringList& projectLines) {
  const QString styleSheet = ChangeFileExt(ExtractFileName(projectFile), QStringLiteral(".css"));
  const int codePage = ProjectCodePage(projectLines);
  QString page = QStringLiteral(
                     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
                     "<HTML>\r\n"
                     "<HEAD>\r\n"
                     "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n"
                     "<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"") +
                 styleSheet + QStringLiteral("\">\r\n");
  if (codePage >= 0)
    page += QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=Windows-") +
            QString::number(codePage) + QStringLiteral("\">\r\n");
  page += QStringLiteral("<TITLE>") + title +
          QStringLiteral("</TITLE>\r\n\r\n</HEAD>\r\n\r\n<BODY>\r\n<H1>") + title +
          QStringLiteral("</H1>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>");
  return page;
}

QString DefaultStyleSheet() {
  return QStringLiteral(
      "body { background: #FFFFFF;\r\n"
      "     font-size: 70%;\r\n"
      "     font-family: Verdana, Arial, Helvetica, MS Sans Serif }\r\n"
      "h1   { font-size: 145%;\r\n"
      "     margin-bottom: .5em; }\r\n"
      "p    { margin-top: .5em; margin-bottom: .5em; text-indent: 1em }\r\n"
      "A:LINK {color: #990000 }\r\n"
      "A:VISITED {color: #660000 }\r\n"
      "TD    {font-size: 85%;\r\n"
      "     color: black }\r\n");
}

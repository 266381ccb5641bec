#include "formats/project/page_template.h"

#include "platform/html_text.h"

#include "platform/codepage.h"
#include "platform/locale_info.h"
#include "formats/project/project_file.h"

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

QString CodePageProblem(const QStringList& projectLines) {
  const int codePage = ProjectCodePage(projectLines);
  if (codePage > 0 && EffectiveCodePage(codePage) == codePage) return {};
  std::optional<int> lcid;  // the line that decides: the last known one, else the last one
  for (const QString& line : projectLines) {
    const std::optional<int> found = LanguageLineLcid(line);
    if (found && (LocaleAnsiCodePage(*found) >= 0 || codePage < 0)) lcid = found;
  }
  const auto hex = [](int value) { return QStringLiteral("0x%1").arg(value, 4, 16, QChar(u'0')); };
  if (codePage > 0) return QStringLiteral("code page %1 cannot be read or written").arg(codePage);
  if (codePage == 0)
    return QStringLiteral("its language %1 (%2) has no ANSI code page")
        .arg(hex(*lcid), LocaleLanguageName(*lcid));
  if (lcid) return QStringLiteral("its language %1 is not known to the system").arg(hex(*lcid));
  // A line the rule above does not read ("Language=0x409", as generators
  // write it) matters only when its language would want another code page.
  const std::optional<QString> language = ProjectLanguage(projectLines);
  if (!language || language->trimmed().isEmpty()) return {};
  bool isNumber = false;
  const int named = language->trimmed().section(u' ', 0, 0).mid(2).toInt(&isNumber, 16);
  if (language->trimmed().startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) && isNumber &&
      LocaleAnsiCodePage(named) == 1252)
    return {};
  return QStringLiteral(
             "its line \"Language=%1\" is not read (the number must be followed by a blank "
             "and the language's name)")
      .arg(*language);
}

QString BuildTopicPage(const QString& title, const QString& projectFile, const QStringList& projectLines) {
  const QString styleSheet = ReplaceExtension(FileNamePart(projectFile), QStringLiteral(".css"));
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
  const QString escaped = EscapeHtml(title);
  page += QStringLiteral("<TITLE>") + escaped +
          QStringLiteral("</TITLE>\r\n\r\n</HEAD>\r\n\r\n<BODY>\r\n<H1>") + escaped +
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
      "h2   { font-size: 125%; }\r\n"
      "h3   { font-size: 110%; }\r\n"
      "p    { margin-top: .5em; margin-bottom: .5em; text-indent: 1em }\r\n"
      "A:LINK {color: #990000 }\r\n"
      "A:VISITED {color: #660000 }\r\n"
      "TD    {font-size: 85%;\r\n"
      "     color: black }\r\n");
}

// Editing control round trip: a 200 KB page into the editor and its text back
// out, on the real WebEngine under the offscreen platform; then finding,
// replacing every match and taking it back, and cleaning the page as pasted
// HTML. Prints the times.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <unistd.h>

#include "editor/editing_control.h"
#include "editor/paste_cleaning.h"

namespace {

QString BuildPage(qsizetype bytes) {
  QString body;
  const QString row = QStringLiteral(
      "<P>Paragraph %1: <B>bold</B> and <I>italic</I> text, a <A href=\"Topic%1.htm\">link</A> "
      "&amp; <FONT face=\"Arial\" size=2>a font</FONT>.</P>\r\n");
  for (int i = 0; body.size() < bytes; ++i) body += row.arg(i);
  return QStringLiteral(
             "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
             "<TITLE>Bench</TITLE>\r\n</HEAD>\r\n<BODY>\r\n") +
         body + QStringLiteral("</BODY>\r\n</HTML>\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterUrlSchemes();
  QApplication app(argc, argv);
  QTextStream out(stdout);

  EditingControl editor;
  editor.resize(800, 600);
  editor.show();
  QElapsedTimer t;
  t.start();
  editor.NewDocument();
  WaitEditorIdle(&editor);
  out << "first page (empty): " << t.elapsed() << " ms\n";

  const QString page = BuildPage(200 * 1024);
  const int rounds = 5;
  qint64 load = 0, read = 0, status = 0;
  QString readBack;
  for (int i = 0; i < rounds; ++i) {
    t.restart();
    editor.SetDocumentHTML(page);
    WaitEditorIdle(&editor);
    load += t.elapsed();
    t.restart();
    readBack = editor.DocumentHTML();
    read += t.elapsed();
    t.restart();
    for (int k = 0; k < 10; ++k) editor.QueryStatus(5000);
    status += t.elapsed();
  }
  // The editor writes attribute values in quotes, so the first read-back may
  // be longer than the page; from then on a round trip changes nothing.
  editor.SetDocumentHTML(readBack);
  WaitEditorIdle(&editor);
  const bool stable = editor.DocumentHTML() == readBack;
  out << "page of " << page.size() << " characters, read back " << readBack.size()
      << (stable ? ", the same again after another round trip\n" : ", CHANGED by another round trip\n");
  out << "SetDocumentHTML + WaitEditorIdle: " << load / rounds << " ms\n";
  out << "DocumentHTML: " << read / rounds << " ms\n";
  out << "QueryStatus: " << double(status) / rounds / 10 << " ms per call\n";

  t.restart();
  const bool found = editor.FindText(QStringLiteral("Paragraph 1400:"), {});
  out << "FindText (whole page, match near the end): " << t.elapsed() << " ms\n";
  t.restart();
  const int replaced =
      editor.ReplaceAllText(QStringLiteral("italic"), QStringLiteral("slanted"), {true, true});
  out << "ReplaceAllText (" << replaced << " matches): " << t.elapsed() << " ms\n";
  t.restart();
  QVariant arg = 0;
  editor.ExecCommand(5049, 0, arg);
  WaitEditorIdle(&editor);
  out << "Undo of it: " << t.elapsed() << " ms\n";
  t.restart();
  const QString cleaned = CleanPastedHtml(page);
  out << "CleanPastedHtml of the page: " << t.elapsed() << " ms (" << cleaned.size() << " characters)\n";
  return stable && found && replaced > 0 ? 0 : 1;
}

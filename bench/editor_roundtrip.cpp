// Editing control round trip: a 200 KB page into the editor and its text back
// out, on the real WebEngine under the offscreen platform; then finding,
// replacing every match and taking it back, and cleaning the page as pasted
// HTML and as it is stored. Prints the times.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <functional>
#include <unistd.h>

#include "editor/editing_control.h"
#include "editor/page_cleaning.h"
#include "editor/paste_cleaning.h"
#include "tests/gui/editor_script.h"

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

// Waits (here only) until `done` holds.
void Until(const std::function<bool()>& done) { ProcessEventsUntil(done, 60000); }

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
  qint64 load = 0, read = 0, edited = 0, pushed = 0;
  QString readBack;
  for (int i = 0; i < rounds; ++i) {
    t.restart();
    editor.SetDocumentHTML(page);
    Until([&] { return !editor.Busy(); });
    load += t.elapsed();
    // The whole page asked for: serialized in the page and sent over.
    t.restart();
    bool fetched = false;
    editor.FetchDocumentHTML(&editor, [&](const QString& html) {
      readBack = html;
      fetched = true;
    });
    Until([&] { return fetched; });
    read += t.elapsed();
    // An edit, then its state pushed by the page, then the page after it.
    SelectInEditor(&editor, QStringLiteral("p"), 0, 9);
    const int before = editor.State().version;
    t.restart();
    editor.Exec(EditorCommand::Bold);
    Until([&] { return editor.State().version > before; });
    pushed += t.elapsed();
    t.restart();
    fetched = false;
    editor.FetchDocumentHTML(&editor, [&](const QString&) { fetched = true; });
    Until([&] { return fetched; });
    edited += t.elapsed();
  }
  // The editor writes attribute values in quotes, so the first read-back may
  // be longer than the page; from then on a round trip changes nothing.
  editor.SetDocumentHTML(readBack);
  const bool stable = EditorHtml(&editor) == readBack;
  out << "page of " << page.size() << " characters, read back " << readBack.size()
      << (stable ? ", the same again after another round trip\n" : ", CHANGED by another round trip\n");
  out << "SetDocumentHTML until loaded: " << load / rounds << " ms\n";
  out << "FetchDocumentHTML of the page as loaded: " << read / rounds << " ms\n";
  out << "Bold sent until its state is pushed: " << pushed / rounds << " ms\n";
  out << "FetchDocumentHTML after an edit: " << edited / rounds << " ms\n";

  t.restart();
  bool found = false, answered = false;
  editor.FindText(QStringLiteral("Paragraph 1400:"), {}, &editor, [&](bool f) {
    found = f;
    answered = true;
  });
  Until([&] { return answered; });
  out << "FindText (whole page, match near the end): " << t.elapsed() << " ms\n";
  t.restart();
  int replaced = -1;
  editor.ReplaceAllText(QStringLiteral("italic"), QStringLiteral("slanted"), {true, true}, &editor,
                        [&](int count) { replaced = count; });
  Until([&] { return replaced >= 0; });
  out << "ReplaceAllText (" << replaced << " matches): " << t.elapsed() << " ms\n";
  t.restart();
  editor.Exec(EditorCommand::Undo);
  WaitEditorIdle(&editor);
  out << "Undo of it: " << t.elapsed() << " ms\n";
  t.restart();
  const QString cleaned = CleanPastedHtml(page);
  out << "CleanPastedHtml of the page: " << t.elapsed() << " ms (" << cleaned.size() << " characters)\n";
  t.restart();
  const QString stored = CleanPageBody(page, AuthorStyles(page));
  out << "CleanPageBody of the page (as it is stored): " << t.elapsed() << " ms (" << stored.size()
      << " characters)\n";
  return stable && found && replaced > 0 ? 0 : 1;
}

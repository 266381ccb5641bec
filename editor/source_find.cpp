#include "editor/source_find.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextDocument::FindFlags Flags(const FindOptions& options, bool backwards) {
  QTextDocument::FindFlags flags;
  if (options.matchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.wholeWord) flags |= QTextDocument::FindWholeWords;
  if (backwards) flags |= QTextDocument::FindBackward;
  return flags;
}

}  // namespace

bool FindInSource(QPlainTextEdit* view, const QString& text, const FindOptions& options) {
  if (!view || text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = Flags(options, options.backwards);
  QTextCursor found = view->document()->find(text, view->textCursor(), flags);
  if (found.isNull()) {
    QTextCursor edge(view->document());
    edge.movePosition(options.backwards ? QTextCursor::End : QTextCursor::Start);
    found = view->document()->find(text, edge, flags);
  }
  if (found.isNull()) return false;
  view->setTextCursor(found);
  return true;
}

bool ReplaceInSource(QPlainTextEdit* view, const QString& text, const QString& replacement,
                     const FindOptions& options) {
  if (!view || text.isEmpty()) return false;
  QTextCursor selection = view->textCursor();
  if (selection.hasSelection()) {
    // The selection is a match when the search from its start finds it.
    QTextCursor from(view->document());
    from.setPosition(selection.selectionStart());
    const QTextCursor match = view->document()->find(text, from, Flags(options, false));
    if (!match.isNull() && match.selectionStart() == selection.selectionStart() &&
        match.selectionEnd() == selection.selectionEnd()) {
      selection.insertText(replacement);
      view->setTextCursor(selection);
    }
  }
  return FindInSource(view, text, options);
}

int ReplaceAllInSource(QPlainTextEdit* view, const QString& text, const QString& replacement,
                       const FindOptions& options) {
  if (!view || text.isEmpty()) return 0;
  QTextDocument* document = view->document();
  const QTextDocument::FindFlags flags = Flags(options, false);
  QTextCursor edit(document);
  int count = 0;
  for (QTextCursor match = document->find(text, 0, flags); !match.isNull();
       match = document->find(text, match, flags)) {
    if (count++ == 0) {
      edit = match;
      edit.beginEditBlock();
    } else {
      edit.setPosition(match.selectionStart());
      edit.setPosition(match.selectionEnd(), QTextCursor::KeepAnchor);
    }
    edit.insertText(replacement);
    match = edit;
  }
  if (count) edit.endEditBlock();
  return count;
}

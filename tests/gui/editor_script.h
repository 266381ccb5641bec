// Reaching into the real editor's page from tests.
#pragma once

#include <QPointer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "editor/editing_control.h"
#include "gui_helpers.h"

// Runs script in the editor page's own world; its answer (null after 5 s).
inline QVariant EditorScript(EditingControl* editor, const QString& script) {
  auto result = std::make_shared<QVariant>();
  auto done = std::make_shared<bool>(false);
  editor->View()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                        [result, done](const QVariant& v) {
                                          *result = v;
                                          *done = true;
                                        });
  ProcessEventsUntil([done] { return *done; }, 5000);
  return *result;
}

// Waits until the editor has taken everything sent and typed, and its state
// and DocumentHTML() are those of the page as it stands.
inline void WaitEditorIdle(EditingControl* editor) {
  QPointer<EditingControl> guard(editor);
  if (!guard) return;
  ProcessEventsUntil([guard] { return !guard || !guard->Busy(); }, 30000);
  if (!guard) return;
  // A round trip, so what the page pushed before is here.
  EditorScript(editor, QStringLiteral("0"));
  if (!guard) return;
  QObject context;
  bool settled = false;
  guard->Settle(
      &context, [&settled] { settled = true; }, true);
  ProcessEventsUntil([&settled, guard] { return settled || !guard; }, 30000);
}

// The page as edited.
inline QString EditorHtml(EditingControl* editor) {
  WaitEditorIdle(editor);
  return editor->DocumentHTML();
}

// The state the page pushed, once the editor has taken everything sent.
inline bool CommandEnabled(EditingControl* editor, EditorCommand command) {
  WaitEditorIdle(editor);
  return editor->Enabled(command);
}
inline bool CommandOn(EditingControl* editor, EditorCommand command) {
  WaitEditorIdle(editor);
  return editor->On(command);
}

// Sends a command and waits until the editor has taken it.
inline void SendAndWait(EditingControl* editor, EditorCommand command, const QVariant& arg = {}) {
  editor->Exec(command, arg);
  WaitEditorIdle(editor);
}

// Starts work that answers through a callback (given a context object and
// the callback) and waits for the answer, bounded.
template <typename T, typename Start>
T AwaitAnswer(Start start) {
  bool answered = false;
  T value{};
  QObject context;
  start(&context, [&](const T& v) {
    value = v;
    answered = true;
  });
  ProcessEventsUntil([&answered] { return answered; }, 30000);
  return value;
}

// Find and replace, waiting for their answers.
inline bool FindInEditor(EditingControl* editor, const QString& text, const FindOptions& options) {
  return AwaitAnswer<bool>(
      [&](QObject* context, auto done) { editor->FindText(text, options, context, done); });
}
inline bool ReplaceInEditor(EditingControl* editor, const QString& text, const QString& replacement,
                            const FindOptions& options) {
  return AwaitAnswer<bool>(
      [&](QObject* context, auto done) { editor->ReplaceText(text, replacement, options, context, done); });
}
inline int ReplaceAllInEditor(EditingControl* editor, const QString& text, const QString& replacement,
                              const FindOptions& options) {
  return AwaitAnswer<int>([&](QObject* context, auto done) {
    editor->ReplaceAllText(text, replacement, options, context, done);
  });
}

// What a text range holds, waiting for the page's answer.
inline RangeContents ReadRange(const TextRange& range) {
  return AwaitAnswer<RangeContents>([&](QObject* context, auto done) { range.Read(context, done); });
}

// Runs a script that changes the page's selection and waits until the page
// has pushed the new selection's state: the engine tells the page of a new
// selection a moment later, in an event of its own.
inline void ChangeSelectionInEditor(EditingControl* editor, const QString& script) {
  EditorScript(editor, QStringLiteral("(() => { window.__selectionSeen = false;"
                                      "document.addEventListener('selectionchange',"
                                      " () => { window.__selectionSeen = true; }, {once: true});"
                                      "%1; return true; })()")
                           .arg(script));
  ProcessEventsUntil([editor] { return EditorScript(editor, "window.__selectionSeen === true").toBool(); },
                     3000);
  WaitEditorIdle(editor);
}

// Selects characters from..to of the first text node of the element matching
// selector (a caret when they are equal).
inline void SelectInEditor(EditingControl* editor, const QString& selector, int from, int to) {
  ChangeSelectionInEditor(editor, QStringLiteral("const t = document.querySelector('%1').firstChild;"
                                                 "const r = document.createRange(); r.setStart(t, %2);"
                                                 " r.setEnd(t, %3); const s = getSelection();"
                                                 " s.removeAllRanges(); s.addRange(r)")
                                      .arg(selector)
                                      .arg(from)
                                      .arg(to));
}

// Reaching into the real editor's page from tests.
#pragma once

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

// Selects characters from..to of the first text node of the element matching
// selector (a caret when they are equal).
inline void SelectInEditor(EditingControl* editor, const QString& selector, int from, int to) {
  EditorScript(editor, QStringLiteral(
                           "(() => { const t = document.querySelector('%1').firstChild;"
                           "const r = document.createRange(); r.setStart(t, %2); r.setEnd(t, %3);"
                           "const s = getSelection(); s.removeAllRanges(); s.addRange(r); return true; })()")
                           .arg(selector)
                           .arg(from)
                           .arg(to));
}

// The editing control's commands, named once. The C++ enum below and the
// editor's script inside the page (which gets the names through
// EditorCommandTableScript at start-up) both come from this list, so a
// command travels to the page by its name.
#pragma once

#include <QString>
#include <optional>

#define ORVEX_EDITOR_COMMANDS(X) \
  X(Bold)                        \
  X(Copy)                        \
  X(Cut)                         \
  X(Delete)                      \
  X(DeleteCells)                 \
  X(DeleteCols)                  \
  X(DeleteRows)                  \
  X(FindText)                    \
  X(Font)                        \
  X(GetBackColor)                \
  X(GetBlockFmt)                 \
  X(GetBlockFmtNames)            \
  X(GetFontName)                 \
  X(GetFontSize)                 \
  X(GetForeColor)                \
  X(Hyperlink)                   \
  X(Image)                       \
  X(Indent)                      \
  X(InsertCell)                  \
  X(InsertCol)                   \
  X(InsertRow)                   \
  X(InsertTable)                 \
  X(Italic)                      \
  X(JustifyCenter)               \
  X(JustifyLeft)                 \
  X(JustifyRight)                \
  X(LockElement)                 \
  X(MakeAbsolute)                \
  X(MergeCells)                  \
  X(OrderList)                   \
  X(Outdent)                     \
  X(Paste)                       \
  X(Redo)                        \
  X(RemoveFormat)                \
  X(SelectAll)                   \
  X(SendBackward)                \
  X(BringForward)                \
  X(SendBelowText)               \
  X(BringAboveText)              \
  X(SendToBack)                  \
  X(BringToFront)                \
  X(SetBackColor)                \
  X(SetBlockFmt)                 \
  X(SetFontName)                 \
  X(SetFontSize)                 \
  X(SetForeColor)                \
  X(SplitCell)                   \
  X(Underline)                   \
  X(Undo)                        \
  X(Unlink)                      \
  X(UnorderList)                 \
  X(Properties)

enum class EditorCommand {
#define ORVEX_ENUM_ENTRY(name) name,
  ORVEX_EDITOR_COMMANDS(ORVEX_ENUM_ENTRY)
#undef ORVEX_ENUM_ENTRY
};

// The name a command has in the page's script ("Bold").
inline QString EditorCommandName(EditorCommand command) {
  switch (command) {
#define ORVEX_NAME_ENTRY(name) \
  case EditorCommand::name:    \
    return QStringLiteral(#name);
    ORVEX_EDITOR_COMMANDS(ORVEX_NAME_ENTRY)
#undef ORVEX_NAME_ENTRY
  }
  return {};
}

// The command a name from the page stands for; none for a name it doesn't know.
inline std::optional<EditorCommand> EditorCommandNamed(const QString& name) {
#define ORVEX_LOOKUP_ENTRY(n) \
  if (name == QLatin1String(#n)) return EditorCommand::n;
  ORVEX_EDITOR_COMMANDS(ORVEX_LOOKUP_ENTRY)
#undef ORVEX_LOOKUP_ENTRY
  return std::nullopt;
}

// "var __orvexCommandTable = {commands: {Bold: 'Bold', ...}};": the script
// that gives the editor's page the names above, run before it.
inline QString EditorCommandTableScript() {
  QString script = QStringLiteral("var __orvexCommandTable = {commands: {");
#define ORVEX_JS_ENTRY(name) script += QStringLiteral(#name ": '" #name "', ");
  ORVEX_EDITOR_COMMANDS(ORVEX_JS_ENTRY)
#undef ORVEX_JS_ENTRY
  script += QStringLiteral("}};\n");
  return script;
}

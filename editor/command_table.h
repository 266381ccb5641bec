// The editing control's command numbers, QueryStatus answers and ExecCommand
// options, defined once. The C++ names below and the editor's script inside
// the page (which gets them through EditorCommandTableScript at start-up)
// both come from these lists.
#pragma once

#include <QString>

// X(name, number): the control's published command numbers.
#define ORVEX_EDITOR_COMMANDS(X) \
  X(Bold, 5000)                  \
  X(Copy, 5002)                  \
  X(Cut, 5003)                   \
  X(Delete, 5004)                \
  X(DeleteCells, 5005)           \
  X(DeleteCols, 5006)            \
  X(DeleteRows, 5007)            \
  X(FindText, 5008)              \
  X(Font, 5009)                  \
  X(GetBackColor, 5010)          \
  X(GetBlockFmt, 5011)           \
  X(GetBlockFmtNames, 5012)      \
  X(GetFontName, 5013)           \
  X(GetFontSize, 5014)           \
  X(GetForeColor, 5015)          \
  X(Hyperlink, 5016)             \
  X(Image, 5017)                 \
  X(Indent, 5018)                \
  X(InsertCell, 5019)            \
  X(InsertCol, 5020)             \
  X(InsertRow, 5021)             \
  X(InsertTable, 5022)           \
  X(Italic, 5023)                \
  X(JustifyCenter, 5024)         \
  X(JustifyLeft, 5025)           \
  X(JustifyRight, 5026)          \
  X(LockElement, 5027)           \
  X(MakeAbsolute, 5028)          \
  X(MergeCells, 5029)            \
  X(OrderList, 5030)             \
  X(Outdent, 5031)               \
  X(Paste, 5032)                 \
  X(Redo, 5033)                  \
  X(RemoveFormat, 5034)          \
  X(SelectAll, 5035)             \
  X(SendBackward, 5036)          \
  X(BringForward, 5037)          \
  X(SendBelowText, 5038)         \
  X(BringAboveText, 5039)        \
  X(SendToBack, 5040)            \
  X(BringToFront, 5041)          \
  X(SetBackColor, 5042)          \
  X(SetBlockFmt, 5043)           \
  X(SetFontName, 5044)           \
  X(SetFontSize, 5045)           \
  X(SetForeColor, 5046)          \
  X(SplitCell, 5047)             \
  X(Underline, 5048)             \
  X(Undo, 5049)                  \
  X(Unlink, 5050)                \
  X(UnorderList, 5051)           \
  X(Properties, 5052)

// X(name, value): the QueryStatus answers.
#define ORVEX_EDITOR_STATUSES(X) \
  X(NotSupported, 0)             \
  X(Disabled, 1)                 \
  X(Enabled, 3)                  \
  X(Latched, 7)                  \
  X(Ninched, 11)

namespace decmd {
#define ORVEX_ENUM_ENTRY(name, value) name = value,
// Command numbers.
enum : int { ORVEX_EDITOR_COMMANDS(ORVEX_ENUM_ENTRY) };
// QueryStatus answers.
enum Status : int { ORVEX_EDITOR_STATUSES(ORVEX_ENUM_ENTRY) };
#undef ORVEX_ENUM_ENTRY
// ExecCommand options.
enum Option : int { Default = 0, PromptUser = 1, DontPromptUser = 2 };
}  // namespace decmd

// "var __orvexCommandTable = {commands: {Bold: 5000, ...}, status: {...}};":
// the script that gives the editor's page the names above, run before it.
inline QString EditorCommandTableScript() {
  QString script = QStringLiteral("var __orvexCommandTable = {commands: {");
#define ORVEX_JS_ENTRY(name, value) script += QStringLiteral(#name ": " #value ", ");
  ORVEX_EDITOR_COMMANDS(ORVEX_JS_ENTRY)
  script += QStringLiteral("}, status: {");
  ORVEX_EDITOR_STATUSES(ORVEX_JS_ENTRY)
#undef ORVEX_JS_ENTRY
  script += QStringLiteral("}};\n");
  return script;
}

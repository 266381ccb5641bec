// The WYSIWYG editing control: a QWebEngineView whose page is in editing
// mode. Nothing here waits for the page. The page's script pushes what the
// window shows of it (formatting at the caret, the commands that apply, the
// changed state) as it changes, and State() reads that; commands are sent by
// name; what needs an answer from the page (its HTML, a range's text, a
// search) continues in a callback, which is dropped when its context object
// goes first.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <bitset>
#include <functional>

#include "editor/command_table.h"

class QWebEngineView;
class EditingControl;

struct FindOptions {
  bool matchCase = false;
  bool wholeWord = false;
  bool backwards = false;
};

// What the page pushed of itself last.
struct EditorState {
  // The commands that apply at the selection, and those that are on there
  // (bold text, a list, an alignment).
  std::bitset<64> enabled;
  std::bitset<64> on;
  // The page was changed since it was loaded (the editor's undo has something).
  bool modified = false;
  // The font at the caret: both null for a selection in several, or when the
  // font commands don't apply.
  bool fontEnabled = false;
  QVariant fontSize;
  QVariant fontName;
  // The selected text when it is a short phrase within one block, else empty.
  QString phrase;
  // The tag of the block the selection is in ("P", "H1", "PRE", "LI", ...);
  // empty when its ends are in different kinds of block or in none.
  QString blockFormat;
  // Counts the page's changes since it was loaded.
  int version = 0;
};

// What a text range holds.
struct RangeContents {
  QString html;
  QString text;
  QString parentTag;  // upper case: the element that holds the whole range
};

// A text range on the editor's page (the selection when it was taken). Lives
// in the page; this object only names it. Its steps go to the page in order
// and take effect there; only reading it answers, by callback.
class TextRange {
 public:
  TextRange() = default;
  bool IsValid() const { return id > 0 && owner; }
  // unit: "character" or "word"; a count beyond the text's end stops there.
  void moveStart(const QString& unit, int count);
  void moveEnd(const QString& unit, int count);
  void Collapse(bool toStart);
  void pasteHTML(const QString& html);
  // The range's HTML, text and parent element, to `then` (while context lives).
  void Read(QObject* context, std::function<void(const RangeContents&)> then) const;

 private:
  friend class EditingControl;
  QPointer<EditingControl> owner;
  int id = 0;
  // The page load the range belongs to; a range outlives its page only as a
  // name that does nothing.
  int generation = 0;
};

class EditingControl : public QWidget {
  Q_OBJECT
 public:
  explicit EditingControl(QWidget* parent = nullptr);
  ~EditingControl() override;

  // ---- state, as pushed by the page ----
  const EditorState& State() const;
  // The command applies now (never on a read-only page or without one).
  bool Enabled(EditorCommand command) const;
  // The command is on at the selection (bold, a list, an alignment).
  bool On(EditorCommand command) const;
  // The page was changed since it was loaded.
  bool Modified() const;

  // ---- commands ----
  // Sends a command by name; it takes effect in the page in the order sent.
  // arg by command: SetFontName a name; SetFontSize 1..7; SetBackColor and
  // SetForeColor a colour "#RRGGBB" or an integer with red in the lowest
  // byte; SetBlockFmt the tag the blocks at the selection become ("P", "H1",
  // "PRE"); Hyperlink the URL and Image the picture's path or URL; InsertTable
  // a QVariantMap with NumRows, NumCols, TableAttrs, CellAttrs and Caption.
  // Find, Font, and Hyperlink, Image and InsertTable when prompting (or
  // without their argument) go to the dialog handler instead.
  void Exec(EditorCommand command, const QVariant& arg = {}, bool prompt = false);
  // Pastes the clipboard's text at the caret, without its markup.
  void PastePlainText();

  // Find and replace in the page's text; the answer comes to `then`. Find
  // selects the next match from the selection on, wrapping round the page.
  // Replace replaces the selection when it is a match and then selects the
  // next match. Both answer false when there is no (next) match. ReplaceAll
  // replaces every match and answers how many. Only text changes, never
  // markup; one undo takes back one replacement or one "Replace all" while
  // nothing else was edited since.
  void FindText(const QString& text, const FindOptions& options, QObject* context,
                std::function<void(bool found)> then);
  void ReplaceText(const QString& text, const QString& replacement, const FindOptions& options,
                   QObject* context, std::function<void(bool found)> then);
  void ReplaceAllText(const QString& text, const QString& replacement, const FindOptions& options,
                      QObject* context, std::function<void(int count)> then);

  // ---- the page ----
  void NewDocument();
  // Reads the page file as 8-bit text in CodePage(); false when it can't be
  // read (the page is then left as it was).
  bool LoadDocument(const QString& path);
  void SetDocumentHTML(const QString& html);
  // Shows the page anew, keeping its text and its changed state.
  void Refresh();

  // Runs `then` once the page has taken everything sent and typed so far:
  // State() is then exact, and with withHtml (or when the page is changed)
  // DocumentHTML() is the page as edited. When nothing was sent or typed since the page last answered
  // (or, without HTML, since a page still loading was given), `then` runs
  // at once. Until it runs, input to the editor is held and
  // delivered afterwards, so nothing typed meanwhile is lost or lands on a
  // page shown later by `then`. Dropped when context goes first.
  void Settle(QObject* context, std::function<void()> then, bool withHtml = false);
  // Nothing was sent or typed since the page last answered.
  bool Settled() const;
  // The page as edited, as of the last Settle with HTML (the text it was
  // loaded from until the page first answered).
  QString DocumentHTML() const;
  // DocumentHTML() is the page as it stands now (the page gave it since its
  // last change).
  bool HtmlCurrent() const;
  // Settle with HTML, and the page's HTML to `then`.
  void FetchDocumentHTML(QObject* context, std::function<void(const QString& html)> then);

  // Folder (with trailing separator) that relative links, pictures and the
  // style sheet resolve against.
  QString BaseURL() const;
  void SetBaseURL(const QString& folder);

  bool ShowDetails() const;
  void SetShowDetails(bool on);
  bool ShowBorders() const;
  void SetShowBorders(bool on);
  bool SnapToGrid() const;
  void SetSnapToGrid(bool on);
  // A read-only page takes no typing and no commands: every command is
  // disabled and does nothing, and a selection range inserts nothing.
  bool ReadOnly() const;
  void SetReadOnly(bool on);

  QString DocumentTitle();
  // A load, a command or an answer is under way.
  bool Busy() const;

  // The selection as a text range, and the body's bgColor.
  TextRange SelectionRange();
  void SetBodyBgColor(const QString& color);
  // Puts the caret after the page's last link to href.
  void PlaceCaretAfterLink(const QString& href);

  QWebEngineView* View() const;

  // Code page of the page files LoadDocument reads (0: Windows-1252).
  int CodePage() const;
  void SetCodePage(int codePage);

  // The control's own dialogs (find, font, hyperlink and image when
  // prompting, insert table when prompting) are run by this handler: it
  // gets the command and its argument, and answers whether it handled the
  // command. Without a handler those commands do nothing.
  using DialogHandler = std::function<bool(EditorCommand command, QVariant& arg)>;
  void SetDialogHandler(DialogHandler handler);

  // Paths the page asked the control's URL scheme for, oldest first.
  QStringList RequestLog() const;

 signals:
  // The state the page pushed changed (selection, caret, formatting, edits).
  void OnDisplayChanged();
  void OnShowContextMenu(const QPoint& globalPos);
  // A line for the status bar: what pasting left out of the pasted HTML.
  void Notice(const QString& text);
  void FocusEntered();
  void FocusExited();

 private:
  friend class TextRange;
  struct Impl;
  Impl* d;
};

// Registers the URL schemes the editor (and the viewer) serve pages through.
// Must run before the QApplication is created.
void RegisterUrlSchemes();

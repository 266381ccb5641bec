// The WYSIWYG editing control: a QWebEngineView whose page is in editing mode,
// driven through the same calls, command numbers and status codes as the
// DHTML editing control it stands in for. Everything that looks synchronous
// here waits on the page with a deadline; a page that never answers yields the
// "nothing" answer of the call rather than a hang.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>

#include "editor/command_table.h"

class QWebEngineView;

// "above 2 is enabled, exactly 7 is on"
inline bool StatusEnabled(int status) { return status > 2; }
inline bool StatusOn(int status) { return status == 7; }

class EditingControl;

struct FindOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool Backwards = false;
};

// A text range on the editor's page (the document's selection turned into a
// range with createRange). Lives in the page; this object only names it.
class TextRange {
 public:
  TextRange() = default;
  bool IsValid() const { return Id > 0 && Owner; }
  // unit: "character" or "word"; returns how far it moved.
  int moveStart(const QString& unit, int count);
  int moveEnd(const QString& unit, int count);
  void Collapse(bool toStart);
  QString htmltext() const;
  QString text() const;
  // Tag name (upper case) of the element that holds the whole range.
  QString parentElementTag() const;
  void pasteHTML(const QString& html);

 private:
  friend class EditingControl;
  QPointer<EditingControl> Owner;
  int Id = 0;
  // The page load the range belongs to; a range outlives its page only as a
  // name that does nothing.
  int Generation = 0;
};

class EditingControl : public QWidget {
  Q_OBJECT
 public:
  explicit EditingControl(QWidget* parent = nullptr);
  ~EditingControl() override;

  // Automation calls.
  // CmdArg by command: 5044 font name; 5045 size 1..7; 5042 and 5046 a colour
  // "#RRGGBB" or an integer with red in the lowest byte; 5016 the URL and
  // 5017 the picture's path or URL (with option 2); 5022 (option 0 or 2) a
  // QVariantMap with NumRows, NumCols, TableAttrs, CellAttrs and Caption.
  // 5013 and 5014 put the font name or size at the caret into arg, a null
  // QVariant when the selection mixes several.
  void ExecCommand(int command, int option, QVariant& arg);
  int QueryStatus(int command);
  // The formatting at the caret that the toolbar shows, in one call: the
  // status of bold, italic and underline, and the font size and name (null
  // QVariants for a mixed selection or when the font commands are disabled).
  struct FormatState {
    int bold = decmd::Disabled;
    int italic = decmd::Disabled;
    int underline = decmd::Disabled;
    bool fontEnabled = false;
    QVariant fontSize;
    QVariant fontName;
  };
  FormatState QueryFormatState();
  void NewDocument();
  // Read or write the page file as 8-bit text in CodePage(); false when the
  // file can't be read or written (the page is then left as it was).
  bool LoadDocument(const QString& path);
  bool SaveDocument(const QString& path);
  void Refresh();
  // Pastes the clipboard's text at the caret, without its markup.
  void PastePlainText();

  // Find and replace in the page's text. FindText selects the next match from
  // the selection on, wrapping round the page. ReplaceText replaces the
  // selection when it is a match and then selects the next match. Both
  // answer false when there is no (next) match or the page doesn't answer.
  // ReplaceAllText replaces every match and answers how many. Only text
  // changes, never markup; one undo takes back one replacement or one
  // "Replace all" while nothing else was edited since.
  bool FindText(const QString& text, const FindOptions& options);
  bool ReplaceText(const QString& text, const QString& replacement, const FindOptions& options);
  int ReplaceAllText(const QString& text, const QString& replacement, const FindOptions& options);

  QString DocumentHTML();
  // The page as edited, or nothing when the page did not answer in time.
  std::optional<QString> TryDocumentHTML();
  void SetDocumentHTML(const QString& html);
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
  bool Busy() const;

  // DOM: the selection as a text range, and the body's bgColor.
  TextRange SelectionRange();
  void SetBodyBgColor(const QString& color);
  // Puts the caret after the page's last link to href.
  void PlaceCaretAfterLink(const QString& href);

  QWebEngineView* View() const;

  // Code page of the page files LoadDocument and SaveDocument handle
  // (0: Windows-1252).
  int CodePage() const;
  void SetCodePage(int codePage);

  // The control's own dialogs (find 5008, font 5009, hyperlink 5016 and
  // image 5017 when prompting, insert table 5022 when prompting) are run by
  // this handler: it gets the command and CmdArg, and answers whether it
  // handled the command. Without a handler those commands do nothing.
  using DialogHandler = std::function<bool(int command, QVariant& arg)>;
  void SetDialogHandler(DialogHandler handler);

  // Paths the page asked the control's URL scheme for, oldest first.
  QStringList RequestLog() const;

 signals:
  void OnDisplayChanged();
  void OnShowContextMenu(const QPoint& globalPos);
  void FocusEntered();
  void FocusExited();

 private:
  friend class TextRange;
  struct Impl;
  Impl* d;
};

// Waits while the control is busy, processing events; bounded by a generous
// deadline (30 s) so a page that never settles cannot hang the program.
// A null editor returns at once.
void WaitEditorIdle(EditingControl* editor);

// Registers the URL schemes the editor (and the viewer) serve pages through.
// Must run before the QApplication is created.
void RegisterUrlSchemes();

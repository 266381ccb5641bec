// The editing control's own dialogs: find and replace, font properties, a
// link to an outside page and a picture.
// They are run through the control's dialog handler and act on the
// control's selection.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

#include "editor/editing_control.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Find": what to look for, how, and "Find Next" until the user closes it.
// As "Replace" it also has what to put instead, "Replace" and "Replace all".
class FindTextDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FindTextDialog(QWidget* parent = nullptr);
  QLineEdit* findWhatEdit = nullptr;
  QCheckBox* wholeWordBox = nullptr;
  QCheckBox* matchCaseBox = nullptr;
  QRadioButton* upButton = nullptr;
  QRadioButton* downButton = nullptr;
  QPushButton* findNextButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QLineEdit* replaceWithEdit = nullptr;
  QPushButton* replaceButton = nullptr;
  QPushButton* replaceAllButton = nullptr;
  FindOptions Options() const;
  // Shows or hides the replacing part; the caption follows.
  void SetReplacing(bool on);
  // Set by the owner: runs one search and answers false to `found` when
  // nothing was found.
  using Found = std::function<void(bool found)>;
  std::function<void(const QString&, const FindOptions&, Found)> search;
  // Set by the owner: replaces the selected match and finds the next one
  // (false when there is none); replaces every match, answering how many.
  std::function<void(const QString&, const QString&, const FindOptions&, Found)> replace;
  std::function<void(const QString&, const QString&, const FindOptions&, std::function<void(int)>)>
      replaceAll;

 private:
  void FindNextMatch();
  void ReplaceMatch();
  void ReplaceEveryMatch();
  void NotFound();
  QLabel* replaceLabel = nullptr;
};

class ControlDialogs : public QObject {
  Q_OBJECT
 public:
  // Becomes the editor's dialog handler; owner parents the dialogs.
  ControlDialogs(EditingControl* editor, QWidget* owner);

  // The handler: false for commands that have no dialog here.
  bool Run(EditorCommand command, QVariant& arg);

  FindTextDialog* FindDialog() const { return findDialog; }
  // Find and replace work in this source view while inUse says so.
  void SetSourceView(QPlainTextEdit* view, std::function<bool()> inUse);
  // Opens the dialog as "Find" or as "Replace", with the selected phrase as
  // the text to find.
  void FindText();
  void ReplaceText();
  // Looks for the last text searched for once more (the dialog's settings);
  // opens "Find" when nothing was searched for yet.
  void FindAgain();

 private:
  void OpenFind(bool replacing);
  // The selection in the view in use when it is one line of text, else empty.
  QString SelectedPhrase() const;
  void FontProperties();
  void Hyperlink();
  void Picture();
  QPointer<EditingControl> control;
  QPointer<QWidget> owner;
  FindTextDialog* findDialog = nullptr;
  QPointer<QPlainTextEdit> sourceView;
  std::function<bool()> sourceInUse;
  bool InSource() const;
};

// The editing control's own dialogs: find (5008), font properties (5009), a
// link to an outside page (5016) and a picture (5017). They are run through
// the control's dialog handler and act on the control's selection.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class EditingControl;

struct FindOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool Backwards = false;
};

// Looks for text in the editor's page from the selection on (wrapping round
// the page) and selects it; false when it isn't there or the page doesn't
// answer in time.
bool FindInEditor(EditingControl* editor, const QString& text, const FindOptions& options);

// "Find": what to look for, how, and "Find Next" until the user closes it.
class FindTextDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FindTextDialog(QWidget* parent = nullptr);
  QLineEdit* FindWhat = nullptr;
  QCheckBox* WholeWord = nullptr;
  QCheckBox* MatchCase = nullptr;
  QRadioButton* Up = nullptr;
  QRadioButton* Down = nullptr;
  QPushButton* FindNext = nullptr;
  QPushButton* cancelButton = nullptr;
  FindOptions Options() const;
  // Set by the owner: runs one search, false when nothing was found.
  std::function<bool(const QString&, const FindOptions&)> Search;

 private:
  void FindNextClick();
};

class ControlDialogs : public QObject {
  Q_OBJECT
 public:
  // Becomes the editor's dialog handler; owner parents the dialogs.
  ControlDialogs(EditingControl* editor, QWidget* owner);

  // The handler: false for commands that have no dialog here.
  bool Run(int command, QVariant& arg);

  FindTextDialog* FindDialog() const { return Find; }
  // Looks for the last text searched for once more (the dialog's settings);
  // opens "Find" when nothing was searched for yet.
  void FindAgain();

 private:
  void FindText();
  void FontProperties();
  void Hyperlink();
  void Picture();
  QPointer<EditingControl> Editor;
  QPointer<QWidget> Owner;
  FindTextDialog* Find = nullptr;
};

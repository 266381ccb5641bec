// The paragraph style box of the formatting toolbar (Paragraph, Heading 1
// to 3, Preformatted) and its keys: Ctrl+0 for a paragraph, Ctrl+1..3 for
// the headings. The box shows the style of the block at the caret, as the
// editor's page pushes it.
#pragma once

#include <QObject>

class EditingControl;
class QAction;
class QComboBox;
class QWidget;

class ParagraphStyleBox : public QObject {
  Q_OBJECT
 public:
  // Puts the box on the toolbar, after its buttons (the toolbar's layout is
  // a box layout), and the keys on the editor, where they work while it has
  // the keyboard.
  ParagraphStyleBox(EditingControl* editor, QWidget* toolbar);

  QComboBox* Box() const { return box; }

 private:
  // The block at the selection becomes the style of the box's entry.
  void Apply(int index);
  // The box shows the style at the caret.
  void Follow();

  EditingControl* editor;
  QComboBox* box;
  // While the box is filled from the caret it sends nothing.
  bool following = false;
};

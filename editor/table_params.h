// The shape of a new table, as the table dialog hands it to the editing
// control, and the number reading of the dialog's boxes.
#pragma once

#include <QString>
#include <QVariantMap>

// The table-parameter object of the insert-table command.
class TableParams {
 public:
  int numRows = 1;
  int numCols = 1;
  QString tableAttrs;  // attribute text for the TABLE tag
  QString cellAttrs;   // attribute text for every TD tag
  QString caption;     // text of the CAPTION, none when empty

  // The form the editing control takes as the command's value.
  QVariantMap ToVariant() const;
};

// Attribute text of the TABLE tag: border="N" followed by a blank when the
// border is above 0, then the width the dialog chose in percent of the page
// (width="N%"; also at 100, so the table fills the page wherever it is shown).
QString TableAttrText(int border, int widthPercent);

// Reads text as a whole number the way the dialog's boxes do: leading blanks,
// one sign, a "$" prefix for hexadecimal digits. Answers 0 and sets *value
// when the text is a number; otherwise the position (from 1) of the first
// character that can't belong to it (1 for empty text, one past the end when
// the text stops early, the overflowing digit when it is too large).
int IntegerErrorPosition(const QString& text, int* value = nullptr);

// "New table": the shape of a table to insert (caption, columns, rows, cell
// attributes, border, width). The fields keep their values between uses.
#pragma once

#include "widgets/validating_dialog.h"

#include "editor/table_params.h"

class QLineEdit;
class QPushButton;
class NumberEdit;

class TableDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit TableDialog(QWidget* parent = nullptr);

  QLineEdit* captionEdit = nullptr;         // "Caption"
  NumberEdit* columnsBox = nullptr;         // "Columns"
  NumberEdit* rowsBox = nullptr;            // "Rows"
  QLineEdit* cellAttributesEdit = nullptr;  // "Cell attributes"
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  NumberEdit* borderBox = nullptr;  // "Border"
  NumberEdit* widthBox = nullptr;   // "Table width"

  // The table the fields describe.
  TableParams Params() const;

  void Confirm();
};

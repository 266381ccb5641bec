#include "editor/table_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/number_edit.h"

TableDialog::TableDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("tableDialog");
  setWindowTitle("New table");
  setProperty("HelpContext", 10007);
  setFixedSize(370, 211);

  captionEdit = new QLineEdit(this);
  captionEdit->setObjectName("captionEdit");
  columnsBox = new NumberEdit(1, 100, 2, this);
  columnsBox->setObjectName("columnsBox");
  rowsBox = new NumberEdit(1, 1000, 2, this);
  rowsBox->setObjectName("rowsBox");
  cellAttributesEdit = new QLineEdit(" nowrap", this);
  cellAttributesEdit->setObjectName("cellAttributesEdit");
  borderBox = new NumberEdit(0, 10, 1, this);
  borderBox->setObjectName("borderBox");
  widthBox = new NumberEdit(1, 100, 100, this);
  widthBox->setObjectName("widthBox");
  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");

  auto* grid = new QGridLayout;
  const auto label = [this](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
  };
  grid->addWidget(label("&Caption", captionEdit), 0, 0);
  grid->addWidget(captionEdit, 0, 1, 1, 3);
  grid->addWidget(label("C&olumns", columnsBox), 1, 0);
  grid->addWidget(columnsBox, 1, 1);
  grid->addWidget(label("&Border", borderBox), 1, 2);
  grid->addWidget(borderBox, 1, 3);
  grid->addWidget(label("&Rows", rowsBox), 2, 0);
  grid->addWidget(rowsBox, 2, 1);
  grid->addWidget(label("Table &width", widthBox), 2, 2);
  grid->addWidget(widthBox, 2, 3);
  grid->addWidget(label("Cell &attributes", cellAttributesEdit), 3, 0);
  grid->addWidget(cellAttributesEdit, 3, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);

  setTabOrder(captionEdit, columnsBox);
  setTabOrder(columnsBox, rowsBox);
  setTabOrder(rowsBox, cellAttributesEdit);
  setTabOrder(cellAttributesEdit, okButton);
  setTabOrder(okButton, cancelButton);
  setTabOrder(cancelButton, borderBox);
  setTabOrder(borderBox, widthBox);

  connect(okButton, &QPushButton::clicked, this, &TableDialog::Confirm);
  connect(cancelButton, &QPushButton::clicked, this, &TableDialog::Cancel);
}

TableParams TableDialog::Params() const {
  TableParams p;
  p.numRows = rowsBox->Value();
  p.numCols = columnsBox->Value();
  p.tableAttrs = TableAttrText(borderBox->Value(), widthBox->Value());
  p.cellAttrs = cellAttributesEdit->text();
  p.caption = captionEdit->text();
  return p;
}

void TableDialog::Confirm() {
  allowClose = true;
  // Both boxes are checked, so two wrong boxes give two messages.
  if (const int pos = IntegerErrorPosition(columnsBox->text())) {
    QMessageBox::warning(this, "Warning", "Error in columns count at position: " + QString::number(pos),
                         QMessageBox::Ok);
    allowClose = false;
  }
  if (const int pos = IntegerErrorPosition(rowsBox->text())) {
    QMessageBox::warning(this, "Warning", "Error in rows count at position: " + QString::number(pos),
                         QMessageBox::Ok);
    allowClose = false;
  }
  if (allowClose) accept();
}

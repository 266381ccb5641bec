#include "editor/table_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/spin_edit.h"

TableDialog::TableDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("tableDialog");
  setWindowTitle("New table");
  setProperty("HelpContext", 10007);
  setFixedSize(370, 211);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  SpinEdit1 = new SpinEdit(1, 100, 2, this);
  SpinEdit1->setObjectName("SpinEdit1");
  SpinEdit2 = new SpinEdit(1, 1000, 2, this);
  SpinEdit2->setObjectName("SpinEdit2");
  Edit5 = new QLineEdit(" nowrap", this);
  Edit5->setObjectName("Edit5");
  SpinEdit3 = new SpinEdit(0, 10, 1, this);
  SpinEdit3->setObjectName("SpinEdit3");
  SpinEdit4 = new SpinEdit(1, 100, 100, this);
  SpinEdit4->setObjectName("SpinEdit4");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");

  auto* grid = new QGridLayout;
  const auto label = [this](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
  };
  grid->addWidget(label("&Caption", Edit1), 0, 0);
  grid->addWidget(Edit1, 0, 1, 1, 3);
  grid->addWidget(label("C&olumns", SpinEdit1), 1, 0);
  grid->addWidget(SpinEdit1, 1, 1);
  grid->addWidget(label("&Border", SpinEdit3), 1, 2);
  grid->addWidget(SpinEdit3, 1, 3);
  grid->addWidget(label("&Rows", SpinEdit2), 2, 0);
  grid->addWidget(SpinEdit2, 2, 1);
  grid->addWidget(label("Table &width", SpinEdit4), 2, 2);
  grid->addWidget(SpinEdit4, 2, 3);
  grid->addWidget(label("Cell &attributes", Edit5), 3, 0);
  grid->addWidget(Edit5, 3, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);

  setTabOrder(Edit1, SpinEdit1);
  setTabOrder(SpinEdit1, SpinEdit2);
  setTabOrder(SpinEdit2, Edit5);
  setTabOrder(Edit5, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
  setTabOrder(CancelBtn, SpinEdit3);
  setTabOrder(SpinEdit3, SpinEdit4);

  connect(OKBtn, &QPushButton::clicked, this, &TableDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TableDialog::CancelBtnClick);
}

TableParams TableDialog::Params() const {
  TableParams p;
  p.NumRows = SpinEdit2->Value();
  p.NumCols = SpinEdit1->Value();
  p.TableAttrs = TableAttrText(SpinEdit3->Value(), SpinEdit4->Value());
  p.CellAttrs = Edit5->text();
  p.Caption = Edit1->text();
  return p;
}

void TableDialog::OKBtnClick() {
  AllowClose = true;
  // Both boxes are checked, so two wrong boxes give two messages.
  if (const int pos = IntegerErrorPosition(SpinEdit1->text())) {
    QMessageBox::warning(this, "Warning", "Error in columns count at position: " + QString::number(pos),
                         QMessageBox::Ok);
    AllowClose = false;
  }
  if (const int pos = IntegerErrorPosition(SpinEdit2->text())) {
    QMessageBox::warning(this, "Warning", "Error in rows count at position: " + QString::number(pos),
                         QMessageBox::Ok);
    AllowClose = false;
  }
  if (AllowClose) accept();
}

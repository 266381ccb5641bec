#include "project/name_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "platform/locale_info.h"

NewProjectDialog::NewProjectDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("newProjectDialog");
  setWindowTitle("New HTMLhelp project");
  setProperty("HelpContext", 10004);
  setFixedSize(316, 164);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel("Title", this);
  Edit1 = new QLineEdit(this);
  Edit1->setFixedWidth(301);
  Label1->setBuddy(Edit1);
  Label2 = new QLabel("Language", this);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(true);
  ComboBox1->setFixedWidth(302);
  Label2->setBuddy(ComboBox1);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addWidget(Label2);
  layout->addWidget(ComboBox1);
  layout->addLayout(buttons);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
}

void NewProjectDialog::FormCreate() { ComboBox1->addItems(InstalledLanguageList()); }

void NewProjectDialog::FormActivate() {
  // Every showing starts with the system's own language.
  const int lcid = SystemDefaultLcid();
  ComboBox1->setEditText(LcidText(lcid) + " " + LocaleLanguageName(lcid));
}

void NewProjectDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

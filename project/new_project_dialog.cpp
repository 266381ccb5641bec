#include "project/new_project_dialog.h"

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
  titleLabel = new QLabel("Title", this);
  titleEdit = new QLineEdit(this);
  titleEdit->setFixedWidth(301);
  titleLabel->setBuddy(titleEdit);
  languageLabel = new QLabel("Language", this);
  languageBox = new QComboBox(this);
  languageBox->setEditable(true);
  languageBox->setFixedWidth(302);
  languageLabel->setBuddy(languageBox);
  okButton = new QPushButton("OK", this);
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  layout->addWidget(titleLabel);
  layout->addWidget(titleEdit);
  layout->addWidget(languageLabel);
  layout->addWidget(languageBox);
  layout->addLayout(buttons);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  FillLanguages();
}

void NewProjectDialog::FillLanguages() { languageBox->addItems(InstalledLanguageList()); }

void NewProjectDialog::ChooseSystemLanguage() {
  // Every showing starts with the system's own language.
  const int lcid = SystemDefaultLcid();
  languageBox->setEditText(LcidText(lcid) + " " + LocaleLanguageName(lcid));
}

void NewProjectDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) ChooseSystemLanguage();
}

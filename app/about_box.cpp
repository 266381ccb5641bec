#include "app/about_box.h"

#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/version_record.h"

QPixmap ProgramIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  // A blue tile, an open white book, and a yellow question mark on it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  p.setBrush(Qt::white);
  QPainterPath left;
  left.moveTo(32, 20);
  left.cubicTo(26, 15, 17, 14, 10, 16);
  left.lineTo(10, 48);
  left.cubicTo(17, 46, 26, 47, 32, 52);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(32, 20);
  right.cubicTo(38, 15, 47, 14, 54, 16);
  right.lineTo(54, 48);
  right.cubicTo(47, 46, 38, 47, 32, 52);
  right.closeSubpath();
  p.drawPath(left);
  p.drawPath(right);
  QPen fold(QColor(0x1f, 0x4e, 0x8c), 1.5);
  p.setPen(fold);
  p.drawLine(QPointF(32, 20), QPointF(32, 52));
  QFont font(QStringLiteral("Sans Serif"));
  font.setBold(true);
  font.setPixelSize(26);
  p.setFont(font);
  p.setPen(QColor(0xf2, 0xb1, 0x1b));
  p.drawText(QRectF(32, 18, 22, 32), Qt::AlignCenter, QStringLiteral("?"));
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramIconPixmap(size));
  return icon;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("aboutBox");
  setWindowTitle("About");
  setModal(true);
  resize(363, 215);

  auto* outer = new QVBoxLayout(this);
  panel = new QFrame(this);
  panel->setObjectName("panel");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  panel->setAutoFillBackground(true);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(white);
  auto* panelLayout = new QVBoxLayout(panel);
  auto* top = new QHBoxLayout;
  iconLabel = new QLabel(panel);
  iconLabel->setObjectName("iconLabel");
  iconLabel->setPixmap(ProgramIconPixmap(64).scaled(57, 49, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  iconLabel->setFixedSize(57, 49);
  auto* names = new QVBoxLayout;
  productNameLabel = new QLabel("Orvex", panel);
  productNameLabel->setObjectName("productNameLabel");
  QFont big = productNameLabel->font();
  big.setBold(true);
  big.setPixelSize(20);
  productNameLabel->setFont(big);
  descriptionLabel = new QLabel("HTMLHelp creation tool", panel);
  descriptionLabel->setObjectName("descriptionLabel");
  names->addWidget(productNameLabel);
  names->addWidget(descriptionLabel);
  top->addWidget(iconLabel);
  top->addLayout(names, 1);
  panelLayout->addLayout(top);
  versionLabel = new QLabel("Version 1.0", panel);
  versionLabel->setObjectName("versionLabel");
  panelLayout->addWidget(versionLabel);
  copyrightLabel = new QLabel(panel);
  copyrightLabel->setObjectName("copyrightLabel");
  copyrightLabel->setAlignment(Qt::AlignCenter);
  copyrightLabel->setWordWrap(true);
  // The initial text is the legal notice; the record's replaces it when shown.
  copyrightLabel->setText(ProgramVersionRecord().legalCopyright);
  panelLayout->addWidget(copyrightLabel, 1);
  outer->addWidget(panel, 1);

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addStretch();
  outer->addLayout(buttons);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::showEvent(QShowEvent* event) {
  ShowVersionTexts();
  QDialog::showEvent(event);
}

void AboutBox::ShowVersionTexts() {
  AboutTexts texts;
  if (!AboutTextsFrom(ProgramVersionRecord(), texts)) return;
  versionLabel->setText(texts.version);
  productNameLabel->setText(texts.productName);
  copyrightLabel->setText(texts.copyright);
}

// A number box with up and down steps that keeps whatever is typed until it
// loses the focus: then a number out of range is brought into range, while
// text that is no number stays, so the dialog can say where it goes wrong.
#pragma once

#include <QLineEdit>

class QToolButton;

class NumberEdit : public QLineEdit {
  Q_OBJECT
 public:
  NumberEdit(int minValue, int maxValue, int value, QWidget* parent = nullptr);

  int MinValue() const { return minimum; }
  int MaxValue() const { return maximum; }
  // The text read as a number and brought into range; the minimum when the
  // text is no number.
  int Value() const;
  void SetValue(int value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int delta);
  int Clamp(int value) const;
  int minimum;
  int maximum;
  QToolButton* upButton = nullptr;
  QToolButton* downButton = nullptr;
};

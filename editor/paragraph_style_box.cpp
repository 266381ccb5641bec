#include "editor/paragraph_style_box.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>

#include "editor/editing_control.h"

namespace {

struct BlockStyle {
  const char* tag;
  const char* name;
  Qt::Key key;  // with Ctrl; 0 for none
};

const BlockStyle kStyles[] = {
    {"P", "Paragraph", Qt::Key_0},  {"H1", "Heading 1", Qt::Key_1},      {"H2", "Heading 2", Qt::Key_2},
    {"H3", "Heading 3", Qt::Key_3}, {"PRE", "Preformatted", Qt::Key(0)},
};

}  // namespace

ParagraphStyleBox::ParagraphStyleBox(EditingControl* editingControl, QWidget* toolbar)
    : QObject(toolbar), editor(editingControl), box(new QComboBox(toolbar)) {
  box->setObjectName("paragraphStyleBox");
  box->setAccessibleName("Paragraph style");
  box->setToolTip("Paragraph style (Ctrl+0, Ctrl+1 to Ctrl+3)");
  box->setFocusPolicy(Qt::ClickFocus);
  for (const BlockStyle& style : kStyles) {
    box->addItem(style.name, QString::fromLatin1(style.tag));
    if (!style.key) continue;
    auto* action = new QAction(style.name, editingControl);
    action->setObjectName(QStringLiteral("paragraphStyle%1Action").arg(style.tag));
    action->setShortcut(QKeySequence(Qt::CTRL | style.key));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    const int index = box->count() - 1;
    connect(action, &QAction::triggered, this, [this, index] { Apply(index); });
    editingControl->addAction(action);
  }
  box->setCurrentIndex(-1);
  // At the toolbar's end (before its stretch), and the one part that gives
  // way when the window is at its narrowest.
  box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 3);
  if (auto* layout = qobject_cast<QBoxLayout*>(toolbar->layout())) {
    const int last = layout->count() - 1;
    layout->insertWidget(last >= 0 && layout->itemAt(last)->spacerItem() ? last : layout->count(), box);
  }
  connect(box, &QComboBox::activated, this, &ParagraphStyleBox::Apply);
  connect(editingControl, &EditingControl::OnDisplayChanged, this, &ParagraphStyleBox::Follow);
}

void ParagraphStyleBox::Apply(int index) {
  if (following || index < 0) return;
  if (editor->Enabled(EditorCommand::SetBlockFmt))
    editor->Exec(EditorCommand::SetBlockFmt, box->itemData(index));
  // The keyboard stays in (or goes back to) the page.
  editor->setFocus();
}

void ParagraphStyleBox::Follow() {
  following = true;
  box->setCurrentIndex(box->findData(editor->State().blockFormat));
  following = false;
}

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

ParagraphStyleBox::ParagraphStyleBox(EditingControl* editor, QWidget* toolbar)
    : QObject(toolbar), m_editor(editor), m_box(new QComboBox(toolbar)) {
  m_box->setObjectName("paragraphStyleBox");
  m_box->setAccessibleName("Paragraph style");
  m_box->setToolTip("Paragraph style (Ctrl+0, Ctrl+1 to Ctrl+3)");
  m_box->setFocusPolicy(Qt::ClickFocus);
  for (const BlockStyle& style : kStyles) {
    m_box->addItem(style.name, QString::fromLatin1(style.tag));
    if (!style.key) continue;
    auto* action = new QAction(style.name, editor);
    action->setObjectName(QStringLiteral("paragraphStyle%1Action").arg(style.tag));
    action->setShortcut(QKeySequence(Qt::CTRL | style.key));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    const int index = m_box->count() - 1;
    connect(action, &QAction::triggered, this, [this, index] { Apply(index); });
    editor->addAction(action);
  }
  m_box->setCurrentIndex(-1);
  // At the toolbar's end (before its stretch), and the one part that gives
  // way when the window is at its narrowest.
  m_box->setMinimumWidth(m_box->fontMetrics().averageCharWidth() * 3);
  if (auto* layout = qobject_cast<QBoxLayout*>(toolbar->layout())) {
    const int last = layout->count() - 1;
    layout->insertWidget(last >= 0 && layout->itemAt(last)->spacerItem() ? last : layout->count(), m_box);
  }
  connect(m_box, &QComboBox::activated, this, &ParagraphStyleBox::Apply);
  connect(editor, &EditingControl::OnDisplayChanged, this, &ParagraphStyleBox::Follow);
}

void ParagraphStyleBox::Apply(int index) {
  if (m_following || index < 0) return;
  if (m_editor->Enabled(EditorCommand::SetBlockFmt))
    m_editor->Exec(EditorCommand::SetBlockFmt, m_box->itemData(index));
  // The keyboard stays in (or goes back to) the page.
  m_editor->setFocus();
}

void ParagraphStyleBox::Follow() {
  m_following = true;
  m_box->setCurrentIndex(m_box->findData(m_editor->State().blockFormat));
  m_following = false;
}

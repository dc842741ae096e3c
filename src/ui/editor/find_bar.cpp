#include "editor/find_bar.h"

#include "editor/source_editor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace kestra {

CFindBar::CFindBar(QWidget* parent)
    : QWidget(parent), m_find(new QLineEdit(this)), m_replace(new QLineEdit(this)),
      m_case(new QCheckBox(QStringLiteral("&Case"), this)),
      m_word(new QCheckBox(QStringLiteral("&Word"), this)),
      m_regex(new QCheckBox(QStringLiteral("Re&gex"), this)),
      m_replaceOne(new QPushButton(QStringLiteral("&Replace"), this)),
      m_replaceAll(new QPushButton(QStringLiteral("Replace &All"), this)) {
    m_find->setPlaceholderText(QStringLiteral("Find"));
    m_replace->setPlaceholderText(QStringLiteral("Replace with"));
    m_case->setToolTip(QStringLiteral("Match letter case"));
    m_word->setToolTip(QStringLiteral("Whole words only"));
    m_regex->setToolTip(QStringLiteral("Regular expression"));
    auto* next = new QPushButton(QStringLiteral("&Next"), this);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("x"));
    close->setToolTip(QStringLiteral("Close (Escape)"));
    // Two rows, so that the fields keep their room in a narrow bar: find with its choices, then
    // replace.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(2);
    layout->addWidget(m_find, 0, 0);
    layout->addWidget(next, 0, 1);
    auto* choices = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_case, m_word, m_regex})
        choices->addWidget(widget);
    choices->addStretch();
    choices->addWidget(close);
    layout->addLayout(choices, 0, 2);
    layout->addWidget(m_replace, 1, 0);
    layout->addWidget(m_replaceOne, 1, 1);
    layout->addWidget(m_replaceAll, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(0, 1);
    connect(m_find, &QLineEdit::returnPressed, this, &CFindBar::FindNext);
    connect(next, &QPushButton::clicked, this, &CFindBar::FindNext);
    connect(m_replace, &QLineEdit::returnPressed, this, &CFindBar::ReplaceOne);
    connect(m_replaceOne, &QPushButton::clicked, this, &CFindBar::ReplaceOne);
    connect(m_replaceAll, &QPushButton::clicked, this, &CFindBar::ReplaceAll);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void CFindBar::Open(bool replace) {
    if (m_editor != nullptr && m_editor->hasSelectedText() && !m_editor->selectedText().contains('\n'))
        m_find->setText(m_editor->selectedText());
    const bool canReplace = replace && m_editor != nullptr && !m_editor->isReadOnly();
    for (QWidget* widget : std::initializer_list<QWidget*>{m_replace, m_replaceOne, m_replaceAll})
        widget->setVisible(canReplace);
    show();
    m_find->setFocus();
    m_find->selectAll();
}

bool CFindBar::FindFrom(int line, int index, bool wrap) {
    return m_editor->findFirst(m_find->text(), m_regex->isChecked(), m_case->isChecked(), m_word->isChecked(),
                               wrap, true, line, index, true, false, true);
}

bool CFindBar::FindNext() {
    if (m_editor == nullptr || m_find->text().isEmpty())
        return false;
    int line = 0, index = 0;
    m_editor->getCursorPosition(&line, &index);
    return FindFrom(line, index, true);
}

void CFindBar::ReplaceOne() {
    if (m_editor == nullptr || m_editor->isReadOnly())
        return;
    if (m_editor->hasSelectedText())
        m_editor->replace(m_replace->text());
    FindNext();
}

int CFindBar::ReplaceAll() {
    if (m_editor == nullptr || m_editor->isReadOnly() || m_find->text().isEmpty())
        return 0;
    int count = 0;
    m_editor->beginUndoAction();
    for (bool found = FindFrom(0, 0, false); found; found = m_editor->findNext()) {
        m_editor->replace(m_replace->text());
        ++count;
    }
    m_editor->endUndoAction();
    return count;
}

void CFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        if (m_editor != nullptr)
            m_editor->setFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kestra

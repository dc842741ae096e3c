#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kestra {

class CSourceEditor;

// The VHDL editor's small bar of find and replace, with the choices of letter case, whole
// words and regular expressions. It works on the editor it is given; Escape hides it.
class CFindBar : public QWidget {
    Q_OBJECT

public:
    explicit CFindBar(QWidget* parent = nullptr);

    void SetEditor(CSourceEditor* editor) { m_editor = editor; }
    // Shows the bar with the selection as the text to find; the replace row too when asked.
    void Open(bool replace);
    // Finds the next place from the cursor, wrapping round; false when there is none.
    bool FindNext();
    // Replaces the found text (the selection) and finds the next place.
    void ReplaceOne();
    // Replaces every place in the text as one undo step; returns how many.
    int ReplaceAll();

    QLineEdit* FindField() const { return m_find; }
    QLineEdit* ReplaceField() const { return m_replace; }
    QCheckBox* CaseBox() const { return m_case; }
    QCheckBox* WordBox() const { return m_word; }
    QCheckBox* RegexBox() const { return m_regex; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FindFrom(int line, int index, bool wrap);

    CSourceEditor* m_editor = nullptr;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_case;
    QCheckBox* m_word;
    QCheckBox* m_regex;
    QPushButton* m_replaceOne;
    QPushButton* m_replaceAll;
};

} // namespace kestra

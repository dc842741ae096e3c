#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>

class QTextBrowser;
class QToolButton;

namespace kestra {

// The anchor a heading gets, as the repository host names it: lower case, letters, digits,
// '-' and '_' kept, blanks made '-', everything else dropped ("The block diagram" is
// "the-block-diagram"), so that "manual.md#the-block-diagram" leads to it here as there.
QString HeadingAnchor(const QString& heading);

// The width a picture of the natural width is shown at where a line offers the available width:
// narrowed to fit (never below a small thumbnail), never widened.
int DisplayedPictureWidth(int naturalWidth, int availableWidth);

// The user manual and the tutorial, shown in a window of the application. They are Markdown
// files with their pictures beside them; links between them, to their sections and to their
// pictures are followed here, links to web addresses open in the desktop's browser. Pictures
// are narrowed to the window's width; a click on one shows it at its full size.
class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the document (a Markdown file) and brings the window forward.
    void ShowDocument(const std::filesystem::path& file);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
};

} // namespace kestra

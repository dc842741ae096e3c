#include "help/help_window.h"

#include "strings/qt_text.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kestra {

QString HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c.isSpace())
            anchor += QLatin1Char('-');
    }
    return anchor;
}

namespace {

// Markdown headings have no anchors of their own in a QTextDocument: each heading is given the
// one its links use, and a link's fragment is scrolled to after the document is loaded.
class CHelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        QTextBrowser::doSetSource(name, type);
        NameHeadings();
        if (name.hasFragment())
            scrollToAnchor(name.fragment());
    }

private:
    void NameHeadings() {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() == 0 || block.begin().fragment().charFormat().isAnchor())
                continue;
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat format;
            format.setAnchor(true);
            format.setAnchorNames({HeadingAnchor(block.text())});
            cursor.mergeCharFormat(format);
        }
    }
};

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new CHelpBrowser(this)), m_back(new QToolButton(this)),
      m_forward(new QToolButton(this)) {
    setWindowTitle(QStringLiteral("KESTRA Help"));
    setObjectName(QStringLiteral("helpWindow"));
    resize(900, 760);

    m_back->setText(QStringLiteral("< &Back"));
    m_forward->setText(QStringLiteral("&Forward >"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("&Close"));

    m_browser->setOpenExternalLinks(true);
    m_browser->setOpenLinks(true);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        // A Markdown document has no title of its own: its first line, the main heading, is.
        const QString title = m_browser->document()->firstBlock().text().trimmed();
        setWindowTitle(title.isEmpty() ? QStringLiteral("KESTRA Help")
                                       : QStringLiteral("KESTRA Help - ") + title);
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
}

void CHelpWindow::ShowDocument(const std::filesystem::path& file) {
    m_browser->setSource(QUrl::fromLocalFile(PathToQt(file)), QTextDocument::MarkdownResource);
    if (!isVisible() && parentWidget() != nullptr)
        move(parentWidget()->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

} // namespace kestra

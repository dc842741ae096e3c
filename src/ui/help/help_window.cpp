#include "help/help_window.h"

#include "strings/qt_text.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QTextList>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

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

int DisplayedPictureWidth(int naturalWidth, int availableWidth) {
    constexpr int kSmallest = 64;
    return std::min(naturalWidth, std::max(availableWidth, kSmallest));
}

namespace {

// A picture at its full size, in a window of its own that scrolls where the screen is smaller.
void ShowFullPicture(QWidget* parent, const QImage& picture, const QString& title) {
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("helpPicture"));
    dialog->setWindowTitle(title.isEmpty() ? QStringLiteral("KESTRA Help") : title);
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(picture));
    auto* scroll = new QScrollArea(dialog);
    scroll->setWidget(label);
    scroll->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    const QSize room = parent->screen()->availableSize() * 9 / 10;
    dialog->resize(picture.size().boundedTo(room) + QSize(4, 4));
    dialog->show();
}

// Markdown headings have no anchors of their own in a QTextDocument: each heading is given the
// one its links use, and a link's fragment is scrolled to after the document is loaded. Pictures
// are narrowed to the width of the view whenever it or the document changes.
class CHelpBrowser : public QTextBrowser {
public:
    explicit CHelpBrowser(QWidget* parent) : QTextBrowser(parent) {
        m_fitTimer.setSingleShot(true);
        connect(&m_fitTimer, &QTimer::timeout, this, &CHelpBrowser::FitPictures);
    }

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        QTextBrowser::doSetSource(name, type);
        NameHeadings();
        m_naturalWidths.clear();
        FitPictures();
        if (name.hasFragment())
            scrollToAnchor(name.fragment());
    }
    void resizeEvent(QResizeEvent* event) override {
        QTextBrowser::resizeEvent(event);
        // Once the resizing settles: the document is laid out anew for each fit.
        m_fitTimer.start(0);
    }
    void mousePressEvent(QMouseEvent* event) override {
        m_pressedAt = event->position().toPoint();
        QTextBrowser::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTextBrowser::mouseReleaseEvent(event);
        const QPoint at = event->position().toPoint();
        if (event->button() != Qt::LeftButton || (at - m_pressedAt).manhattanLength() > 4)
            return;
        const QString name = PictureAt(at);
        const QImage picture = name.isEmpty() ? QImage() : PictureOf(name);
        if (!picture.isNull())
            ShowFullPicture(this, picture, window()->windowTitle());
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

    QImage PictureOf(const QString& name) const {
        const QVariant resource = document()->resource(QTextDocument::ImageResource, QUrl(name));
        if (resource.typeId() == QMetaType::QImage)
            return resource.value<QImage>();
        if (resource.typeId() == QMetaType::QPixmap)
            return resource.value<QPixmap>().toImage();
        return QImage::fromData(resource.toByteArray());
    }

    // The width a picture's line offers: the view's, less the document's margins and the
    // block's indentation (a picture in a numbered step stands indented).
    int AvailableWidth(const QTextBlock& block) const {
        const QTextBlockFormat format = block.blockFormat();
        int indent = format.indent();
        if (const QTextList* list = block.textList())
            indent += list->format().indent();
        const double used = 2 * document()->documentMargin() + format.leftMargin() + format.rightMargin() +
                            format.textIndent() + indent * document()->indentWidth();
        return viewport()->width() - static_cast<int>(used) - 4;
    }

    void FitPictures() {
        const bool undo = document()->isUndoRedoEnabled();
        document()->setUndoRedoEnabled(false);
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.charFormat().isImageFormat())
                    FitPicture(fragment, AvailableWidth(block));
            }
        }
        document()->setUndoRedoEnabled(undo);
    }

    void FitPicture(const QTextFragment& fragment, int available) {
        QTextImageFormat image = fragment.charFormat().toImageFormat();
        const QString name = image.name();
        if (!m_naturalWidths.contains(name))
            m_naturalWidths.insert(name, PictureOf(name).width());
        const int natural = m_naturalWidths.value(name);
        if (natural <= 0)
            return;
        const int width = DisplayedPictureWidth(natural, available);
        if (image.hasProperty(QTextFormat::ImageWidth) && qRound(image.width()) == width)
            return;
        // The height follows the width.
        image.setWidth(width);
        image.clearProperty(QTextFormat::ImageHeight);
        QTextCursor cursor(document());
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(image);
    }

    // The name of the picture under a point of the view, or none.
    QString PictureAt(QPoint at) const {
        const QPointF point =
            QPointF(at) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
        const int hit = document()->documentLayout()->hitTest(point, Qt::FuzzyHit);
        // The hit is the position before or after the picture's character, by the half clicked.
        for (const int position : {hit, hit - 1}) {
            if (position < 0)
                continue;
            QTextCursor cursor(document());
            cursor.setPosition(position);
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            const QTextCharFormat format = cursor.charFormat();
            if (format.isImageFormat() && PictureRect(cursor, format.toImageFormat()).contains(point))
                return format.toImageFormat().name();
        }
        return {};
    }

    // Where the picture at the cursor's selection stands in the document.
    QRectF PictureRect(const QTextCursor& cursor, const QTextImageFormat& image) const {
        const QTextBlock block = document()->findBlock(cursor.selectionStart());
        const int position = cursor.selectionStart() - block.position();
        const QTextLine line = block.layout()->lineForTextPosition(position);
        if (!line.isValid())
            return {};
        const QPointF origin = document()->documentLayout()->blockBoundingRect(block).topLeft();
        return QRectF(origin.x() + line.cursorToX(position), origin.y() + line.y(), image.width(),
                      line.height());
    }

    QTimer m_fitTimer;
    QPoint m_pressedAt;
    // Pictures by name: their widths as drawn, read once.
    QHash<QString, int> m_naturalWidths;
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

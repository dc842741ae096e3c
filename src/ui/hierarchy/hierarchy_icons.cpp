#include "hierarchy/hierarchy_icons.h"

#include <QPainter>
#include <QPixmapCache>
#include <functional>

// The pictures are compiled into the library; a static library must register them itself.
static void InitialiseIconResources() {
    Q_INIT_RESOURCE(kestra);
}

namespace kestra {

namespace {

void EnsureResources() {
    static const bool initialised = [] {
        InitialiseIconResources();
        return true;
    }();
    (void)initialised;
}

QPixmap Render(const QString& name) {
    EnsureResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name))
        .pixmap(CHierarchyIcons::kImageSize, CHierarchyIcons::kImageSize);
}

QString KindName(int kind) {
    switch (kind) {
    case 2:
        return QStringLiteral("project");
    case 4:
        return QStringLiteral("library-module");
    case 6:
        return QStringLiteral("predefined-module");
    case 8:
        return QStringLiteral("package");
    case 12:
        return QStringLiteral("folder"); // library folders

    default:
        return QStringLiteral("module");
    }
}

const char* const kStatusNames[] = {"status-none",           "status-missing", "status-analysed",
                                    "status-needs-analysis", "status-new",     "status-failed"};

QPixmap Compose(int kind, int status, bool cutMark, bool copyMark, bool selected) {
    const QSize size = CHierarchyIcons::ItemIconSize();
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, CHierarchyIcons::StatusImage(status));
    // A cut item is shown ghosted until it is pasted.
    painter.setOpacity(cutMark ? 0.4 : 1.0);
    painter.drawPixmap(CHierarchyIcons::kStatusWidth, 0, CHierarchyIcons::KindImage(kind, selected));
    painter.setOpacity(1.0);
    if (copyMark)
        painter.drawPixmap(CHierarchyIcons::kStatusWidth, 0, Render(QStringLiteral("copy-mark")));
    return picture;
}

// Pictures live in the application's pixmap cache, which goes away with the application.
QPixmap Cached(const QString& key, const std::function<QPixmap()>& make) {
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = make();
        QPixmapCache::insert(key, picture);
    }
    return picture;
}

} // namespace

QPixmap CHierarchyIcons::KindImage(int kind, bool selected) {
    const QString name = KindName(kind) + (selected ? QStringLiteral("-selected") : QString());
    return Cached(QStringLiteral("kestra-") + name, [&] { return Render(name); });
}

QPixmap CHierarchyIcons::StatusImage(int status) {
    if (status < 0 || status > 5)
        status = 0;
    const QString name = QString::fromLatin1(kStatusNames[status]);
    return Cached(QStringLiteral("kestra-") + name, [&] { return Render(name); });
}

QIcon CHierarchyIcons::ItemIcon(int kind, int status, bool cutMark, bool copyMark) {
    const QString key =
        QStringLiteral("kestra-item-%1-%2-%3-%4").arg(kind).arg(status).arg(cutMark).arg(copyMark);
    QIcon icon;
    icon.addPixmap(Cached(key, [&] { return Compose(kind, status, cutMark, copyMark, false); }),
                   QIcon::Normal);
    icon.addPixmap(Cached(key + QStringLiteral("-selected"),
                          [&] { return Compose(kind, status, cutMark, copyMark, true); }),
                   QIcon::Selected);
    return icon;
}

QIcon CHierarchyIcons::CommandIcon(const char* name) {
    EnsureResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(name)));
}

} // namespace kestra

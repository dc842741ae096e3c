// Build tool: draws an SVG icon into a square PNG of the given size, for icon themes that want
// pixel sizes beside the scalable one.
//
//   kestra_render_icon ICON.svg SIZE OUT.png

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kestra_render_icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString svg = QString::fromLocal8Bit(argv[1]);
    bool sizeOk = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeOk);
    const QIcon icon(svg);
    if (!sizeOk || size <= 0 || icon.isNull()) {
        std::fprintf(stderr, "kestra_render_icon: cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "kestra_render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

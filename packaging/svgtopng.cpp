// plintex-svgtopng IN.svg SIZE OUT.png: the application icon at a fixed size, for the icon theme.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Painting into an image needs no display, so neither a window system nor a QGuiApplication.
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const int size = args.value(2).toInt(&sizeOk);
    if (args.size() != 4 || !sizeOk || size <= 0) {
        std::fputs("usage: plintex-svgtopng IN.svg SIZE OUT.png\n", stderr);
        return 1;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "plintex-svgtopng: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    if (!image.save(args[3], "PNG")) {
        std::fprintf(stderr, "plintex-svgtopng: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}

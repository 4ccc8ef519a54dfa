// Draws the programmer's SVG icon as square PNGs for the desktop's icon
// theme, so the pixel sizes are made from the one drawing at build time.
//   render_icon ICON.svg OUT_FOLDER SIZE...
// writes OUT_FOLDER/SIZExSIZE/apps/<icon name>.png for each size.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "Usage: render_icon ICON.svg OUT_FOLDER SIZE...\n");
    return 2;
  }
  // Only pixels are drawn; no screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString svg = QString::fromLocal8Bit(argv[1]);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString name = QFileInfo(svg).completeBaseName() + ".png";
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size <= 0 || size > 1024) {
      std::fprintf(stderr, "render_icon: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    const QString folder = QString("%1/%2x%2/apps").arg(out).arg(size);
    if (!QDir().mkpath(folder) || !image.save(folder + "/" + name, "PNG")) {
      std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(folder + "/" + name));
      return 1;
    }
  }
  return 0;
}

#include "background.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

// The drawing lives in this static library's resources, which a program
// only sees once they are registered.
static void RegisterResources() { Q_INIT_RESOURCE(app); }

namespace {

constexpr BackgroundStyle kStyles[] = {
    {"imgBackgroundVanilla", "#aab0b8", "#c6e3bd", "UHF CB"},
    {"imgBackgroundKestal", "#e8892b", "#f2ae45", "KESTAL"},
    {"imgBackgroundMerloFamily", "#3d8fe0", "#8ad6ff", "MERLO"},
    {"imgBackgroundDravo", "#4fbf6a", "#b1f0a6", "DRAVO"},
    {"imgBackgroundPinto", "#e04848", "#ffb3a3", "PINTO"},
    {"imgBackgroundTamso", "#a070e0", "#d3bcff", "TAMSO"},
};

struct FlagPicture {
  uint32_t flag;
  const char* picture;
};
constexpr FlagPicture kFlagPictures[] = {
    {1, "imgBackgroundKestal"}, {2, "imgBackgroundMerloFamily"}, {4, "imgBackgroundDravo"},
    {8, "imgBackgroundPinto"},  {16, "imgBackgroundVanilla"},    {32, "imgBackgroundTamso"},
    {64, "imgBackgroundKestal"}, {127, "imgBackgroundVanilla"},
};

QByteArray Drawing(const BackgroundStyle& style) {
  static const bool registered = (RegisterResources(), true);
  (void)registered;
  QFile file(":/app/radio.svg");
  file.open(QIODevice::ReadOnly);
  QByteArray svg = file.readAll();
  svg.replace("{{ACCENT}}", style.accent);
  svg.replace("{{LCD}}", style.lcd);
  svg.replace("{{LABEL}}", style.label);
  return svg;
}

}  // namespace

const BackgroundStyle* BackgroundStyles(int& count) {
  count = static_cast<int>(std::size(kStyles));
  return kStyles;
}

const BackgroundStyle& BackgroundStyleForModelFlag(uint32_t modelFlag) {
  const QStringList shown = BackgroundsForModelFlag(modelFlag);
  for (const BackgroundStyle& style : kStyles)
    if (!shown.isEmpty() && shown.front() == style.objectName) return style;
  return kStyles[0];
}

QStringList BackgroundsForModelFlag(uint32_t modelFlag) {
  for (const FlagPicture& p : kFlagPictures)
    if (p.flag == modelFlag) return {p.picture};
  return {};
}

BackgroundPicture::BackgroundPicture(const BackgroundStyle& style, QWidget* parent,
                                     const QRectF& viewBox)
    : QWidget(parent), style_(style), viewBox_(viewBox) {
  setObjectName(style.objectName);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

BackgroundPicture::~BackgroundPicture() = default;

QSvgRenderer& BackgroundPicture::Renderer() {
  if (!renderer_) {
    renderer_ = std::make_unique<QSvgRenderer>(Drawing(style_));
    if (!viewBox_.isEmpty()) renderer_->setViewBox(viewBox_);
    renderer_->setAspectRatioMode(Qt::KeepAspectRatioByExpanding);
  }
  return *renderer_;
}

void BackgroundPicture::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (painted_.size() != pixels || painted_.devicePixelRatio() != ratio) {
    painted_ = QPixmap(pixels);
    painted_.setDevicePixelRatio(ratio);
    // Opaque, so each repaint is a copy rather than a blend: the drawing
    // covers the whole picture, which sits on the window's black.
    painted_.fill(Qt::black);
    QPainter drawing(&painted_);
    Renderer().render(&drawing, QRectF(QPointF(0, 0), QSizeF(size())));
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, painted_);
}

#include "editor/ui/PreviewScreenWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace skedlin {
namespace {

// The frame around the screen, like the handheld's case around its glass.
constexpr int kFrame = 12;
constexpr QRgb kFrameColour = 0xff3c4148;
constexpr QRgb kBackground = 0xff5f6670;
// First size: the standard screen three times enlarged.
constexpr int kPreferredScreen = 480;
constexpr int kWheelStep = 120;

}  // namespace

PreviewScreenWidget::PreviewScreenWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PreviewScreenWidget::setImage(const QImage& image) {
    image_ = image;
    update();
}

int PreviewScreenWidget::scale() const {
    if (image_.isNull()) return 1;
    const int across = (width() - 2 * kFrame) / image_.width();
    const int down = (height() - 2 * kFrame) / image_.height();
    return std::max(1, std::min(across, down));
}

QPoint PreviewScreenWidget::screenOrigin() const {
    const int factor = scale();
    return QPoint((width() - image_.width() * factor) / 2, (height() - image_.height() * factor) / 2);
}

QSize PreviewScreenWidget::sizeHint() const {
    return QSize(kPreferredScreen + 2 * kFrame, kPreferredScreen + 2 * kFrame);
}

QSize PreviewScreenWidget::minimumSizeHint() const {
    const QSize screen = image_.isNull() ? QSize(160, 160) : image_.size();
    return screen + QSize(2 * kFrame, 2 * kFrame);
}

void PreviewScreenWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    if (image_.isNull()) return;
    const int factor = scale();
    const QRect screen(screenOrigin(), image_.size() * factor);
    painter.fillRect(screen.adjusted(-kFrame, -kFrame, kFrame, kFrame), QColor::fromRgb(kFrameColour));
    // Whole-number enlargement without smoothing: every handheld pixel is a square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(screen, image_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight(), 2));
        painter.drawRect(screen.adjusted(-kFrame + 1, -kFrame + 1, kFrame - 1, kFrame - 1));
    }
}

void PreviewScreenWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || image_.isNull()) return;
    const int factor = scale();
    const QPoint at = event->position().toPoint() - screenOrigin();
    if (at.x() < 0 || at.y() < 0) return;
    const int x = at.x() / factor;
    const int y = at.y() / factor;
    if (x >= image_.width() || y >= image_.height()) return;
    emit tapped(x, y);
}

void PreviewScreenWidget::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ >= kWheelStep) {
        wheelRest_ -= kWheelStep;
        emit scrolled(-1);
    }
    while (wheelRest_ <= -kWheelStep) {
        wheelRest_ += kWheelStep;
        emit scrolled(1);
    }
    event->accept();
}

}  // namespace skedlin

#pragma once
// The handheld's screen in the preview window: the rendered screen image
// enlarged by the largest whole factor that fits (pixels stay sharp squares),
// centred in a dark frame. Mouse presses become pen taps in the screen's
// own pixels, the wheel scrolls.

#include <QImage>
#include <QWidget>

namespace skedlin {

class PreviewScreenWidget : public QWidget {
    Q_OBJECT

public:
    explicit PreviewScreenWidget(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // The enlargement in use (at least 1).
    int scale() const;
    // Where the screen's pixel (0,0) is drawn.
    QPoint screenOrigin() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A press at pixel x,y of the screen image.
    void tapped(int x, int y);
    // The wheel turned: -1 up, +1 down.
    void scrolled(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage image_;
    int wheelRest_ = 0;
};

}  // namespace skedlin

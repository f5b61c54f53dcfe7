#include "editor/ui/BitmapFiles.h"

#include <QFile>

namespace skedlin {

BmpLoadResult loadBitmapFile(const QString& path, BmpImage& image) {
    return image.loadFile(QFile::encodeName(path).toStdString());
}

QImage toQImage(const BmpImage& image) {
    if (image.width() <= 0 || image.height() <= 0) return {};
    QImage picture(image.width(), image.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const RgbColour colour = image.colourAt(x, y);
            line[x] = qRgb(colour.red, colour.green, colour.blue);
        }
    }
    return picture;
}

QImage bitmapPreview(const QString& path) {
    BmpImage image;
    if (!loadBitmapFile(path, image)) return {};
    return toQImage(image);
}

}  // namespace skedlin

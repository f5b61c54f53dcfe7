#pragma once
// The editor reads bitmap files through the builder's own loader (formats/bmp),
// so that a file the properties sheet accepts as a launcher icon or logo is
// one the builder takes, and one it refuses the builder refuses for the same
// reason. Previews draw what that loader decoded.

#include <QImage>
#include <QString>

#include "formats/bmp/BmpImage.h"

namespace skedlin {

// Loads the whole file as a bitmap. A failure's code says what is wrong with
// it (unreadable, malformed, not a bitmap); the size and colour checks are
// the caller's (BmpImage::checkUsable).
BmpLoadResult loadBitmapFile(const QString& path, BmpImage& image);

// The decoded picture, top row first; null for an empty image.
QImage toQImage(const BmpImage& image);

// The picture of a bitmap file for a preview; null when it cannot be loaded.
QImage bitmapPreview(const QString& path);

}  // namespace skedlin

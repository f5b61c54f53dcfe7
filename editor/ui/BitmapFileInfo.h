#pragma once
// What the properties sheet needs to know about a Windows bitmap file before it
// accepts it as a launcher icon or logo: its width, height and colour depth.
// The reader checks the file as far as the builder will later rely on it (the
// headers, the colour table and every pixel row must be there), so that a file
// the builder cannot use is refused when it is added, not at build time.

#include <QByteArray>
#include <QString>

namespace skedlin {

struct BitmapFileInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// Reads the headers of a bitmap held in memory. Returns false for anything the
// builder refuses: no "BM" signature, a file shorter than its headers, colour
// table and rows, compressed rows, 32 bits per pixel, colour depths other than
// 1, 4, 8, 16 and 24, and dimensions that are not positive.
bool readBitmapInfo(const QByteArray& bytes, BitmapFileInfo& info);

// Reads the whole file, then as above. False when the file cannot be read.
bool readBitmapFileInfo(const QString& path, BitmapFileInfo& info);

}  // namespace skedlin

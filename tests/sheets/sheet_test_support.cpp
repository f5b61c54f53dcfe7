#include "sheet_test_support.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cstdlib>

namespace skedlin::test {

namespace {

// One application for the whole test program, offscreen even when the
// environment does not say so (test discovery runs without it).
struct OffscreenApplication {
    OffscreenApplication() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        setenv("TZ", "Europe/Berlin", 1);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        app = new QApplication(argc, argv);
    }
    int argc = 1;
    char name[16] = "sheets_tests";
    char* argv[2] = {name, nullptr};
    QApplication* app;
};
OffscreenApplication application;

// The test bitmaps are written by hand, apart from the format layer, so the
// editor's check is tried on bytes its own reader did not help to make.
void putLe16(QByteArray& bytes, int offset, int value) {
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char((value >> 8) & 0xFF);
}
void putLe32(QByteArray& bytes, int offset, qint64 value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

}  // namespace

QByteArray makeBitmap(int width, int height, int bitsPerPixel) {
    const int paletteCount = bitsPerPixel <= 8 ? (1 << bitsPerPixel) : 0;
    const int rowSize = ((bitsPerPixel * width + 7) / 8 + 3) / 4 * 4;
    const int dataOffset = 54 + paletteCount * 4;
    QByteArray bytes(dataOffset + rowSize * height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, 2, bytes.size());
    putLe32(bytes, 10, dataOffset);
    putLe32(bytes, 14, 40);
    putLe32(bytes, 18, width);
    putLe32(bytes, 22, height);
    putLe16(bytes, 26, 1);
    putLe16(bytes, 28, bitsPerPixel);
    for (int i = 0; i < paletteCount; ++i) {
        const int grey = paletteCount > 1 ? i * 255 / (paletteCount - 1) : 0;
        bytes[54 + i * 4] = char(grey);
        bytes[54 + i * 4 + 1] = char(grey);
        bytes[54 + i * 4 + 2] = char(grey);
    }
    return bytes;
}

QString writeBitmap(const QString& folder, const QString& name, int width, int height, int bitsPerPixel) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(makeBitmap(width, height, bitsPerPixel));
    return path;
}

}  // namespace skedlin::test

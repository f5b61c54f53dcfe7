#pragma once
// Shared helpers of the import tests: a message sink that records what the
// user would see, a fixed time zone and locale, and files in a temp folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>

#include "editor/document/ImportMessages.h"

namespace skedlin::testing {

class RecordingSink : public ImportMessageSink {
public:
    void showImportMessage(const QString& text, ImportMessageIcon icon) override {
        texts.append(text);
        icons.append(icon);
    }
    QStringList texts;
    QList<ImportMessageIcon> icons;
};

// Every import test runs in one zone and locale, whatever the machine has.
inline void useZoneAndLocale(const char* zone, const QLocale& locale) {
    setenv("TZ", zone, 1);
    tzset();
    QLocale::setDefault(locale);
}

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

inline QString corpusPath(const char* relative) {
    return QDir(QString::fromUtf8(SKEDLIN_CORPUS)).filePath(QString::fromUtf8(relative));
}

}  // namespace skedlin::testing

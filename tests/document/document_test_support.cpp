#include "document_test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/document/ProgramDirectory.h"

namespace skedlin::test {
namespace {

int argc = 1;
char programName[] = "document_tests";
char* argv[] = {programName, nullptr};

}  // namespace

QString settingsDirectory() {
    static QTemporaryDir directory;
    return directory.path();
}

void prepareEnvironment() {
    static QCoreApplication* application = [] {
        // Local-time and locale dependent parsing must not depend on the machine.
        setenv("TZ", "Europe/Berlin", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        qputenv("XDG_CONFIG_HOME", settingsDirectory().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDirectory());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDirectory());
        return new QCoreApplication(argc, argv);
    }();
    (void)application;
    setProgramDirectory(QStringLiteral(SKEDLIN_BIN_DIR));
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray fixturePackage(const char* name) {
    QByteArray bytes = readBytes(QStringLiteral(SKEDLIN_TEST_DATA "/document/") + QLatin1String(name));
    bytes.replace("@DTD@", QByteArray(SKEDLIN_BIN_DIR "/CalendarPackage.dtd"));
    return bytes;
}

QString binaryPath(const char* program) { return QStringLiteral(SKEDLIN_BIN_DIR "/") + QLatin1String(program); }

}  // namespace skedlin::test

#pragma once
// Packages for the preview tests: the example and small packages built by
// the real builder into a temporary folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "editor/preview/PreviewPackage.h"

namespace skedlin::preview::testing {

inline QString binaryPath(const char* name) { return QStringLiteral(SKEDLIN_BIN_DIR "/") + QLatin1String(name); }
inline QString examplePackage() { return QStringLiteral(SKEDLIN_SOURCE_DIR "/examples/conference/Conference.xml"); }

struct RunResult {
    int exitCode = -1;
    QByteArray out, err;
};

inline RunResult runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -999, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Builds `xml` for Palm OS into `folder`; returns the .prc path (empty on failure).
inline QString buildPrc(const QString& xml, const QString& folder, const QString& name = QStringLiteral("Package")) {
    const QString base = folder + QLatin1Char('/') + name;
    const RunResult run = runProgram(binaryPath("SkedlinBuilder"), {xml, base, QStringLiteral("/PALM")});
    if (run.exitCode != 0) {
        ADD_FAILURE() << "builder failed on " << xml.toStdString() << ": " << run.out.toStdString()
                      << run.err.toStdString();
        return {};
    }
    return base + QStringLiteral(".prc");
}

// The example package, built once for all tests of a program.
inline std::shared_ptr<const PreviewPackage> examplePrc() {
    static QTemporaryDir folder;
    static std::shared_ptr<const PreviewPackage> package;
    if (!package) {
        const QString prc = buildPrc(examplePackage(), folder.path(), QStringLiteral("Conference"));
        QString error;
        package = PreviewPackage::fromFile(prc, &error);
        EXPECT_TRUE(package) << error.toStdString();
    }
    return package;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace skedlin::preview::testing

namespace skedlin::preview::testing {

// A copy of a resource database image in which resource (type, id) keeps only
// its first `keep` bytes (the resources after it move up). Empty when absent.
inline QByteArray truncateResource(const QByteArray& prc, const char* type, int id, int keep) {
    auto get = [&](qsizetype at, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | static_cast<quint8>(prc[at + i]);
        return value;
    };
    const int count = static_cast<int>(get(76, 2));
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 78 + 10 * i;
        if (prc.mid(entry, 4) != QByteArray(type, 4) || static_cast<int>(get(entry + 4, 2)) != id) continue;
        const quint32 offset = get(entry + 6, 4);
        const quint32 end = i + 1 < count ? get(entry + 16, 4) : static_cast<quint32>(prc.size());
        const int cut = static_cast<int>(end - offset) - keep;
        QByteArray out = prc.left(offset + keep) + prc.mid(end);
        for (int j = i + 1; j < count; ++j) {
            const qsizetype at = 78 + 10 * j + 6;
            const quint32 moved = get(at, 4) - static_cast<quint32>(cut);
            for (int b = 0; b < 4; ++b) out[at + b] = static_cast<char>(moved >> (24 - 8 * b));
        }
        return out;
    }
    return {};
}

}  // namespace skedlin::preview::testing

#pragma once
// Shared helpers of the document tests: a Qt application, settings kept in a
// temporary folder, and small file helpers.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace skedlin::test {

// Settings and the program directory of every test point at temporary or
// build folders; called by each fixture's SetUp.
void prepareEnvironment();
QString settingsDirectory();

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The package fixture with its DOCTYPE naming the DTD in the build's bin folder.
QByteArray fixturePackage(const char* name);
QString binaryPath(const char* program);

}  // namespace skedlin::test

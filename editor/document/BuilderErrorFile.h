#pragma once
// The builder's error file, as the editor reads it after a failed build.

#include <QByteArray>
#include <QString>

namespace skedlin {

// The file's bytes up to its first zero byte, read as a regular file of
// bounded size; empty when it cannot be read.
QByteArray readErrorFileBytes(const QString& path);

}  // namespace skedlin

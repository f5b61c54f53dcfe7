#pragma once
// Writing an editor document as a calendar package XML file.

#include <QByteArray>
#include <QString>

namespace skedlin {

class CSkedlinDoc;

// The first line of every package file: the profile value PackagePrefix in
// section Settings of QSettings("Quenby Software", "Skedlin"); when it is
// missing or empty the XML declaration is used and stored back.
QString packagePrefix();

// The whole file: declared ISO-8859-1, characters outside that set written as
// numeric character references, CR LF line ends, tab indentation. Entries are
// written in list order (the save step sorts first). Bitmap paths inside the
// document's folder are written relative to it.
QByteArray writePackage(const CSkedlinDoc& document, const QString& prefix);

// How bitmap file paths are written: relative to the document's folder when
// inside it (for the package file itself), or every one absolute, relative
// ones resolved against the document's folder (for a copy of the package
// written elsewhere, e.g. a temporary file the builder reads).
enum class BitmapPaths { RelativeToDocument, Absolute };
QByteArray writePackage(const CSkedlinDoc& document, const QString& prefix, BitmapPaths paths);

}  // namespace skedlin

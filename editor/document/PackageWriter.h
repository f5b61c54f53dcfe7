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

}  // namespace skedlin

#pragma once
// One property line of a vCalendar or vCard file: NAME;PARAM;PARAM:VALUE.
// Lines are not unfolded: every physical line is one property.

#include <QString>
#include <QStringList>

namespace skedlin {

struct PropertyLine {
    QString raw;   // the line as read
    QString name;  // before the first ":" and the first ";"
    QStringList parameters;
    QString value;       // after the first ":", unescaped
    QStringList values;  // the value split at each ";" (at least one element)
};

// Splits a line. A line without ":" has an empty name and value.
PropertyLine parsePropertyLine(const QString& line);

// "\n" becomes CR LF, "=0D" a carriage return and "=0A" a line feed; nothing
// else is decoded.
QString unescapePropertyValue(const QString& value);

}  // namespace skedlin

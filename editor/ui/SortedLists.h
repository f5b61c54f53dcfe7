#pragma once
// Alphabetical lists as users read them: case-insensitive order, names that
// differ only in case kept apart in a fixed order. Used by the sorted group
// lists of the sheets.

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

namespace skedlin {

inline bool sortsBefore(const QString& a, const QString& b) {
    const int byLetters = QString::compare(a, b, Qt::CaseInsensitive);
    return byLetters != 0 ? byLetters < 0 : a < b;
}

// Inserts an item where it belongs alphabetically; returns it.
inline QListWidgetItem* insertSorted(QListWidget* list, const QString& text) {
    int row = 0;
    while (row < list->count() && !sortsBefore(text, list->item(row)->text())) ++row;
    auto* item = new QListWidgetItem(text);
    list->insertItem(row, item);
    return item;
}

inline int insertSorted(QComboBox* box, const QString& text) {
    int row = 0;
    while (row < box->count() && !sortsBefore(text, box->itemText(row))) ++row;
    box->insertItem(row, text);
    return row;
}

inline QStringList listTexts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

}  // namespace skedlin

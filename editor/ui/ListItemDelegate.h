#pragma once
// Draws the cells of the list with room on both sides of the text, so that a
// right-aligned column (the times) does not run into the left-aligned column
// beside it.

#include <QStyledItemDelegate>

namespace skedlin {

class ListItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // Space on each side of a cell's text, in pixels.
    static constexpr int kTextPadding = 6;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace skedlin

#include "editor/ui/ListItemDelegate.h"

#include <QApplication>
#include <QPainter>

namespace skedlin {

void ListItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QString text = cell.text;
    // Background, selection, focus frame and icon as the style draws them ...
    cell.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    // ... and the text inside the padding.
    cell.text = text;
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget).adjusted(kTextPadding, 0, -kTextPadding, 0);
    if (text.isEmpty() || textRect.width() <= 0) return;
    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const bool selected = cell.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QString shown = cell.fontMetrics.elidedText(text, cell.textElideMode, textRect.width());
    painter->drawText(textRect, int(cell.displayAlignment), shown);
    painter->restore();
}

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(2 * kTextPadding, 0);
}

}  // namespace skedlin

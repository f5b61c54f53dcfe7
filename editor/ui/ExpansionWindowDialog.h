#pragma once
// Asks, during an iCalendar import, between which dates the repeat rules that
// a package cannot hold are expanded into single events.

#include "editor/document/ImportOptions.h"

class QWidget;

namespace skedlin {

class ExpansionWindowDialog : public ExpansionWindowChooser {
public:
    explicit ExpansionWindowDialog(QWidget* parent) : parent_(parent) {}
    bool chooseExpansionWindow(int ruleCount, ExpansionWindow& window) override;

private:
    QWidget* parent_;
};

}  // namespace skedlin

#pragma once
// Choices an import may need beyond the file itself.

#include "editor/document/ICalendarReader.h"

namespace skedlin {

// Asked when an iCalendar file holds repeat rules that must be expanded into
// single events; may change the window. False cancels the import.
class ExpansionWindowChooser {
public:
    virtual ~ExpansionWindowChooser() = default;
    virtual bool chooseExpansionWindow(int ruleCount, ExpansionWindow& window) = 0;
};

struct ImportOptions {
    ExpansionWindow window = ExpansionWindow::nextTwoYears();
    ExpansionWindowChooser* chooser = nullptr;  // none: the window above is used
};

}  // namespace skedlin

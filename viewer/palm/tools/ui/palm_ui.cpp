// palm_ui OUT.bundle
//
// Writes the Palm viewer's own user interface as a resource bundle for the
// template generator: the viewer form, its menu bar and the alerts.

#include <iostream>

#include "model/AtomicFile.h"
#include "viewer/palm/shell/ui_ids.h"
#include "viewer/palm/tools/ui/UiResources.h"

namespace {

using namespace skedlin::palm;

std::vector<BundleResource> userInterface() {
    FormDescription form;
    form.id = VIEWER_FORM;
    form.bounds = {0, 0, 160, 160};
    form.title = "Skedlin";
    form.menuBarId = VIEWER_MENUBAR;
    form.scrollBars.push_back({VIEWER_SCROLLBAR, {153, 16, 7, 144}, false});

    MenuPullDown options;
    options.title = "Options";
    options.titleBounds = {4, 0, 38, 12};
    options.bounds = {2, 2, 104, 33};
    options.items = {
        {MENU_COPY, 'C', "Copy to Handheld"},
        {MENU_BACK, 'B', "Back"},
        {MENU_ABOUT, 0, "About"},
    };

    const AlertDescription damaged{AlertType::Error,
                                   "Damaged Package",
                                   // Short enough for the five lines an alert shows.
                                   "^1 (resource ^2)\nNothing was changed.",
                                   {"OK"},
                                   0};
    const AlertDescription copyAgain{AlertType::Confirmation,
                                     "Copy Again?",
                                     "This package has already been copied to your handheld. "
                                     "Copy its entries once more? They will then appear twice.",
                                     {"Copy", "Cancel"},
                                     1};
    const AlertDescription copied{
        AlertType::Information, "Copied", "^1 copied to the Date Book and ^2 to the Address Book.^3", {"OK"}, 0};
    const AlertDescription copyFailed{
        AlertType::Error, "Copy Failed", "^1\nEntries copied before this stay on your handheld.", {"OK"}, 0};
    const AlertDescription noMemory{AlertType::Error,
                                    "Not Enough Memory",
                                    "There is not enough memory to show this package. "
                                    "Close other applications or free some memory, then try again.",
                                    {"OK"},
                                    0};
    const AlertDescription nothing{
        AlertType::Information, "Nothing Chosen", "Choose at least one entry to copy.", {"OK"}, 0};

    return {
        {fourCharCode("tFRM"), VIEWER_FORM, encodeForm(form)},
        {fourCharCode("MBAR"), VIEWER_MENUBAR, encodeMenuBar({options})},
        {fourCharCode("Talt"), ALERT_DAMAGED, encodeAlert(damaged)},
        {fourCharCode("Talt"), ALERT_COPY_AGAIN, encodeAlert(copyAgain)},
        {fourCharCode("Talt"), ALERT_COPIED, encodeAlert(copied)},
        {fourCharCode("Talt"), ALERT_COPY_FAILED, encodeAlert(copyFailed)},
        {fourCharCode("Talt"), ALERT_NO_MEMORY, encodeAlert(noMemory)},
        {fourCharCode("Talt"), ALERT_NOTHING_CHOSEN, encodeAlert(nothing)},
    };
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::cerr << "usage: palm_ui OUT.bundle\n";
        return 2;
    }
    if (const auto written = skedlin::writeFileAtomically(argv[1], encodeBundle(userInterface())); !written.ok()) {
        std::cerr << "palm_ui: cannot write " << argv[1] << ": " << written.message() << "\n";
        return 1;
    }
    return 0;
}

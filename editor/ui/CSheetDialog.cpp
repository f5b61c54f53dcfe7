#include "editor/ui/CSheetDialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/ui/DialogFrame.h"
#include "editor/ui/SheetHelp.h"
#include "editor/ui/SheetPage.h"
#include "editor/ui/SheetText.h"

namespace skedlin {
namespace {

// The first widget of a page that takes the keyboard, in tab order.
QWidget* firstField(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page))
            return w;
    }
    return nullptr;
}

// The last widget of a page in the focus chain (the page itself when it has none).
QWidget* lastInChain(QWidget* page) {
    QWidget* last = page;
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w)) last = w;
    }
    return last;
}

}  // namespace

CSheetDialog::CSheetDialog(const QString& caption, Mode mode, QWidget* parent)
    : QDialog(parent), mode_(mode), caption_(caption) {
    setWindowTitle(caption);
    setModal(true);
    setDialogFrame(this);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    if (mode_ == Mode::Tabbed) {
        tabs_ = new QTabWidget(this);
        layout->addWidget(tabs_);
        connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
            if (index == current_ || index < 0) return;
            // The tab widget has already switched; go back until the page
            // being left agrees.
            const int wanted = index;
            {
                const QSignalBlocker blocker(tabs_);
                tabs_->setCurrentIndex(current_);
            }
            setCurrentIndex(wanted);
        });
        okButton_ = new QPushButton(sheettext::kOk, this);
        cancelButton_ = new QPushButton(sheettext::kCancel, this);
        helpButton_ = new QPushButton(sheettext::kHelp, this);
        okButton_->setDefault(true);
        buttons->addStretch(1);
        buttons->addWidget(okButton_);
        buttons->addWidget(cancelButton_);
        buttons->addWidget(helpButton_);
        connect(okButton_, &QPushButton::clicked, this, &CSheetDialog::finish);
    } else {
        wizardHeading_ = new QLabel(this);
        QFont headingFont = wizardHeading_->font();
        headingFont.setBold(true);
        headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
        wizardHeading_->setFont(headingFont);
        layout->addWidget(wizardHeading_);
        stack_ = new QStackedWidget(this);
        layout->addWidget(stack_, 1);
        auto* rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        layout->addWidget(rule);
        backButton_ = new QPushButton(sheettext::kBack, this);
        nextButton_ = new QPushButton(sheettext::kNext, this);
        finishButton_ = new QPushButton(sheettext::kFinish, this);
        cancelButton_ = new QPushButton(sheettext::kCancel, this);
        helpButton_ = new QPushButton(sheettext::kHelp, this);
        buttons->addStretch(1);
        buttons->addWidget(backButton_);
        buttons->addWidget(nextButton_);
        buttons->addWidget(finishButton_);
        buttons->addWidget(cancelButton_);
        buttons->addWidget(helpButton_);
        connect(backButton_, &QPushButton::clicked, this, &CSheetDialog::back);
        connect(nextButton_, &QPushButton::clicked, this, &CSheetDialog::next);
        connect(finishButton_, &QPushButton::clicked, this, &CSheetDialog::finish);
    }
    for (QPushButton* b : {backButton_, nextButton_, finishButton_, cancelButton_, helpButton_})
        if (b) b->setAutoDefault(false);
    layout->addLayout(buttons);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, &CSheetDialog::showHelp);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &CSheetDialog::showHelp);
}

void CSheetDialog::addPage(CSheetPage* page) {
    pages_.append(page);
    if (tabs_) {
        const QSignalBlocker blocker(tabs_);
        tabs_->addTab(page, page->caption());
    } else {
        stack_->addWidget(page);
    }
}

QPushButton* CSheetDialog::button(Button which) const {
    switch (which) {
    case Button::Ok: return okButton_;
    case Button::Cancel: return cancelButton_;
    case Button::Help: return helpButton_;
    case Button::Back: return backButton_;
    case Button::Next: return nextButton_;
    case Button::Finish: return finishButton_;
    }
    return nullptr;
}

void CSheetDialog::showPage(int index) {
    current_ = index;
    if (tabs_) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(index);
    } else {
        stack_->setCurrentIndex(index);
        wizardHeading_->setText(pages_[index]->caption());
    }
    pages_[index]->activate();
    updateButtons();
    // Typing goes into the page's first field, not into the tab bar or a button.
    if (QWidget* field = firstField(pages_[index])) field->setFocus(Qt::TabFocusReason);
}

void CSheetDialog::putButtonsLastInTabOrder() {
    // The pages are added after the buttons were made, so Tab would visit
    // the buttons before the fields; the fields come first in reading order.
    if (pages_.isEmpty()) return;
    QWidget* previous = lastInChain(pages_.last());
    for (QPushButton* b : {okButton_, backButton_, nextButton_, finishButton_, cancelButton_, helpButton_}) {
        if (!b) continue;
        setTabOrder(previous, b);
        previous = b;
    }
}

bool CSheetDialog::setCurrentIndex(int index) {
    if (index < 0 || index >= pages_.size()) return false;
    if (index == current_) return true;
    if (current_ >= 0 && !pages_[current_]->onKillActive()) return false;
    showPage(index);
    return true;
}

void CSheetDialog::updateButtons() {
    const CSheetPage* page = currentPage();
    helpButton_->setEnabled(page && page->helpContext() != 0);
    if (mode_ != Mode::Wizard) return;
    // First page: Next only; last page: Back and Finish; the rest Back and Next.
    const bool first = current_ == 0;
    const bool last = current_ == pages_.size() - 1;
    backButton_->setVisible(!first);
    nextButton_->setVisible(!last);
    finishButton_->setVisible(last);
    (last ? finishButton_ : nextButton_)->setDefault(true);
    (last ? nextButton_ : finishButton_)->setDefault(false);
}

void CSheetDialog::showEvent(QShowEvent* event) {
    if (current_ < 0 && !pages_.isEmpty()) {
        putButtonsLastInTabOrder();
        showPage(0);
    }
    QDialog::showEvent(event);
}

bool CSheetDialog::run() {
    if (current_ < 0 && !pages_.isEmpty()) {
        putButtonsLastInTabOrder();
        showPage(0);
    }
    return exec() == QDialog::Accepted;
}

void CSheetDialog::back() {
    if (current_ > 0) setCurrentIndex(current_ - 1);
}

void CSheetDialog::next() {
    if (current_ + 1 < pages_.size()) setCurrentIndex(current_ + 1);
}

void CSheetDialog::finish() {
    if (current_ >= 0 && !pages_[current_]->onKillActive()) return;
    if (!commit()) return;
    accept();
}

void CSheetDialog::showHelp() {
    const CSheetPage* page = currentPage();
    if (page && page->helpContext() != 0) openHelpContext(page->helpContext());
}

}  // namespace skedlin

#pragma once
// A modal property sheet: the same pages shown either as tabs (OK, Cancel, Help)
// or as a wizard (Back, Next / Finish, Cancel, Help). Leaving a page asks the
// page first, so a page with a wrong value keeps the user on it. F1 and Help
// open the manual at the current page's help context.

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace skedlin {

class CSheetPage;

class CSheetDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Tabbed, Wizard };
    enum class Button { Ok, Cancel, Help, Back, Next, Finish };

    CSheetDialog(const QString& caption, Mode mode, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    int pageCount() const { return int(pages_.size()); }
    CSheetPage* page(int index) const { return pages_.value(index); }
    int currentIndex() const { return current_; }
    CSheetPage* currentPage() const { return page(current_); }

    // Leaves the current page (which may refuse) and shows the given one.
    bool setCurrentIndex(int index);
    // The button of the given kind; null when the mode has no such button.
    QPushButton* button(Button which) const;

    // Runs the sheet modally; true when it ended with OK or Finish.
    bool run();

public slots:
    void back();
    void next();
    // OK or Finish: the current page is asked first, then commit().
    void finish();
    void showHelp();

protected:
    void addPage(CSheetPage* page);
    // Writes the pages' values back; false keeps the sheet open.
    virtual bool commit() = 0;
    void showEvent(QShowEvent* event) override;

private:
    void showPage(int index);
    void updateButtons();
    void putButtonsLastInTabOrder();

    Mode mode_;
    QString caption_;
    QList<CSheetPage*> pages_;
    int current_ = -1;
    QTabWidget* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QLabel* wizardHeading_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* finishButton_ = nullptr;
};

}  // namespace skedlin

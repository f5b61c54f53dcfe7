#pragma once
// "Group Details": the name and description of one group, edited on the
// Groups page of the package properties sheet.

#include <QDialog>
#include <QStringList>

#include "editor/document/PackageEntries.h"

class QLineEdit;
class QPlainTextEdit;

namespace skedlin {

inline constexpr int kGroupDetailsHelp = 142;
inline constexpr int kGroupDescriptionMaxLength = 8000;

class CGroupDetailsDlg : public QDialog {
    Q_OBJECT
public:
    // takenNames: names the group may not take (other groups'), except its own
    // current name and the name it had before it was renamed.
    CGroupDetailsDlg(GroupEntry& group, const QStringList& takenNames, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return nameEdit_; }
    QPlainTextEdit* descriptionEdit() const { return descriptionEdit_; }

public slots:
    // Checks the fields; on success stores them in the group and closes with OK.
    void accept() override;

private:
    GroupEntry& group_;
    QStringList takenNames_;
    QLineEdit* nameEdit_;
    QPlainTextEdit* descriptionEdit_;
};

}  // namespace skedlin

#pragma once
// The two dialogs that end a build: "Calendar Package Created" with the names
// of the files to hand out, and "Error Building Calendar Package" with the
// message of the builder's exit code, the builder's own words and a button
// that opens the package source in the desktop's text editor.

#include <QDialog>

namespace skedlin {

class CBuildSuccessDlg : public QDialog {
    Q_OBJECT
public:
    CBuildSuccessDlg(const QString& palmFile, const QString& pocketPcFile, QWidget* parent = nullptr);
};

// A package that could not be read or built: the message of the result code,
// the details below it, OK and "&Edit Source".
class CPackageErrorDlg : public QDialog {
    Q_OBJECT
public:
    CPackageErrorDlg(const QString& caption, const QString& intro, const QString& message, const QString& details,
                     const QString& sourcePath, QWidget* parent = nullptr);

signals:
    // "&Edit Source" was pressed; the dialog stays open.
    void editSourceRequested(const QString& sourcePath);
};

class CBuildErrorDlg : public CPackageErrorDlg {
    Q_OBJECT
public:
    CBuildErrorDlg(const QString& message, const QString& details, const QString& sourcePath,
                   QWidget* parent = nullptr);
};

// The open-error dialog: "Error Reading Calendar Package".
class COpenErrorDlg : public CPackageErrorDlg {
    Q_OBJECT
public:
    COpenErrorDlg(const QString& message, const QString& details, const QString& sourcePath, QWidget* parent = nullptr);
};

}  // namespace skedlin

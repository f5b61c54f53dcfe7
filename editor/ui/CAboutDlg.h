#pragma once
// The modal "About Skedlin" box: icon, product name, version, notice and build.

#include <QDialog>

namespace skedlin {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace skedlin

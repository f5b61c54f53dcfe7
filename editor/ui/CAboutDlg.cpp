#include "editor/ui/CAboutDlg.h"

#include "editor/ui/DialogFrame.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

#include "editor/ui/UiText.h"

namespace skedlin {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(uitext::kAboutCaption));
    setDialogFrame(this);
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/skedlin.svg")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon, 0, 0, 3, 1);

    auto* product = new QLabel(QString::fromUtf8(uitext::kAboutProduct), this);
    QFont productFont = product->font();
    productFont.setBold(true);
    product->setFont(productFont);
    layout->addWidget(product, 0, 1);
    auto* version = new QLabel(QString::fromUtf8(uitext::kAboutVersion), this);
    version->setObjectName(QStringLiteral("version"));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(version, 0, 2);
    auto* notice = new QLabel(QString::fromUtf8(uitext::kAboutNotice), this);
    notice->setObjectName(QStringLiteral("notice"));
    layout->addWidget(notice, 1, 1, 1, 2);
    layout->addWidget(new QLabel(QString::fromUtf8(uitext::kAboutRights), this), 2, 1, 1, 2);

    auto* build = new QLabel(QString::fromUtf8(uitext::kAboutBuild), this);
    build->setObjectName(QStringLiteral("build"));
    layout->addWidget(build, 3, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 3, 2);
    setMinimumWidth(400);
}

}  // namespace skedlin

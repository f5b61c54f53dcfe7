#include "editor/ui/BuildDialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QFileInfo>
#include <QVBoxLayout>

#include "editor/document/DocumentMessages.h"
#include "editor/ui/DesktopOpener.h"
#include "editor/ui/DialogFrame.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

QLineEdit* readOnlyLine(const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setReadOnly(true);
    field->setCursorPosition(0);
    return field;
}

}  // namespace

CBuildSuccessDlg::CBuildSuccessDlg(const QString& palmFile, const QString& pocketPcFile, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(messages::kBuildSuccessCaption));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QString::fromUtf8(messages::kBuildSuccessText), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addSpacing(8);
    auto* palmLabel = new QLabel(QString::fromUtf8(messages::kBuildSuccessPalm), this);
    palmLabel->setWordWrap(true);
    layout->addWidget(palmLabel);
    auto* palmField = readOnlyLine(palmFile, this);
    palmField->setObjectName(QStringLiteral("palmFile"));
    layout->addWidget(palmField);
    layout->addSpacing(8);
    auto* pocketLabel = new QLabel(QString::fromUtf8(messages::kBuildSuccessPocketPc), this);
    pocketLabel->setWordWrap(true);
    layout->addWidget(pocketLabel);
    auto* pocketField = readOnlyLine(pocketPcFile, this);
    pocketField->setObjectName(QStringLiteral("pocketPcFile"));
    layout->addWidget(pocketField);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* openFolder = buttons->addButton(QString::fromUtf8(uitext::kOpenFolder), QDialogButtonBox::ActionRole);
    openFolder->setObjectName(QStringLiteral("openFolder"));
    const QString folder = QFileInfo(palmFile).absolutePath();
    connect(openFolder, &QPushButton::clicked, this,
            [this, folder] { openWithDesktop(folder, this, QString::fromUtf8(uitext::kFolderNotOpened)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    setDialogFrame(this);
    setMinimumWidth(480);
}

CPackageErrorDlg::CPackageErrorDlg(const QString& caption, const QString& introText, const QString& message,
                                   const QString& details, const QString& sourcePath, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(introText, this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* messageField = readOnlyLine(message, this);
    messageField->setObjectName(QStringLiteral("message"));
    layout->addWidget(messageField);
    auto* detailsField = new QPlainTextEdit(details, this);
    detailsField->setObjectName(QStringLiteral("details"));
    detailsField->setReadOnly(true);
    detailsField->setMinimumHeight(120);
    layout->addWidget(detailsField, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* editSource =
        buttons->addButton(QString::fromUtf8(messages::kEditSourceButton), QDialogButtonBox::ActionRole);
    editSource->setObjectName(QStringLiteral("editSource"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(editSource, &QPushButton::clicked, this, [this, sourcePath] {
        emit editSourceRequested(sourcePath);
        openWithDesktop(sourcePath, this, QString::fromUtf8(uitext::kSourceNotOpened));
    });
    layout->addWidget(buttons);
    setDialogFrame(this);
    resize(520, 300);
}

CBuildErrorDlg::CBuildErrorDlg(const QString& message, const QString& details, const QString& sourcePath,
                               QWidget* parent)
    : CPackageErrorDlg(QString::fromUtf8(messages::kBuildErrorCaption), QString::fromUtf8(messages::kBuildErrorText),
                       message, details, sourcePath, parent) {}

COpenErrorDlg::COpenErrorDlg(const QString& message, const QString& details, const QString& sourcePath, QWidget* parent)
    : CPackageErrorDlg(QString::fromUtf8(messages::kOpenErrorCaption), QString::fromUtf8(messages::kOpenErrorText),
                       message, details, sourcePath, parent) {}

}  // namespace skedlin

#include "editor/ui/BuildDialogs.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "editor/document/DocumentMessages.h"

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
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
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
    QPushButton* editSource = buttons->addButton(QString::fromUtf8(messages::kEditSourceButton),
                                                 QDialogButtonBox::ActionRole);
    editSource->setObjectName(QStringLiteral("editSource"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(editSource, &QPushButton::clicked, this, [this, sourcePath] {
        emit editSourceRequested(sourcePath);
        QDesktopServices::openUrl(QUrl::fromLocalFile(sourcePath));
    });
    layout->addWidget(buttons);
    resize(520, 300);
}

CBuildErrorDlg::CBuildErrorDlg(const QString& message, const QString& details, const QString& sourcePath,
                               QWidget* parent)
    : CPackageErrorDlg(QString::fromUtf8(messages::kBuildErrorCaption), QString::fromUtf8(messages::kBuildErrorText),
                       message, details, sourcePath, parent) {}

COpenErrorDlg::COpenErrorDlg(const QString& message, const QString& details, const QString& sourcePath,
                             QWidget* parent)
    : CPackageErrorDlg(QString::fromUtf8(messages::kOpenErrorCaption), QString::fromUtf8(messages::kOpenErrorText),
                       message, details, sourcePath, parent) {}

}  // namespace skedlin

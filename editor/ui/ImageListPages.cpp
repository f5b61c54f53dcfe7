#include "editor/ui/ImageListPages.h"

#include <algorithm>

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

namespace {

constexpr int kLauncherPageHelp = 0;  // the Launcher page has no manual page of its own
// The launcher preview clears a square big enough for the largest icon.
constexpr QSize kLauncherPreviewSize(46, 46);
constexpr QSize kLogoPreviewSize(160, 80);
constexpr int kDefaultIconSide = 22;
// Icon sides the handhelds use: 22 (Palm OS), 44 (Palm OS double density),
// 32 and 16 (Pocket PC).
constexpr int kIconSides[] = {16, 22, 32, 44};
constexpr int kLogoMaxWidth = 160;
constexpr int kLogoMaxHeight = 80;
// Icons of 8 or more bits per pixel are drawn with white as the see-through colour.
constexpr int kTransparentFromBits = 8;
constexpr std::int32_t kWhite = 0xFFFFFF;

// The icon shown while no launcher icon is chosen: a small calendar page.
QImage defaultLauncherIcon() {
    QImage icon(kDefaultIconSide, kDefaultIconSide, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(2, 3, 17, 16);
    painter.fillRect(3, 4, 16, 4, QColor(0, 0, 128));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) painter.fillRect(4 + column * 4, 10 + row * 3, 2, 2, Qt::black);
    return icon;
}

}  // namespace

QString resolveImagePath(const QString& path, const QString& documentFolder) {
    QString resolved = path;
    if (!documentFolder.isEmpty()) {
        if (path.startsWith(QLatin1String("./")) || path.startsWith(QLatin1String(".\\")))
            resolved = documentFolder + path.mid(2);
        else if (path.startsWith('.') || (!path.contains('\\') && !path.contains('/')))
            resolved = documentFolder + path;
    }
    // Packages written on Windows use backslashes; here both separate folders.
    if (QDir::separator() == '/') resolved.replace('\\', '/');
    return resolved;
}

CImagePreview::CImagePreview(QSize frameSize, QWidget* parent) : QWidget(parent) { setFixedSize(frameSize); }

void CImagePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QImage& shown = image_.isNull() ? fallback_ : image_;
    if (!shown.isNull()) painter.drawImage(QPoint(0, 0), shown);
}

CImageListPage::CImageListPage(const QString& caption, int helpContext, const QString& text, const char* textLabel,
                               bool multiLineText, const ImageList& images, const QString& documentFolder,
                               QSize previewSize, QWidget* parent)
    : CSheetPage(caption, helpContext, parent), images_(images), documentFolder_(documentFolder) {
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(textLabel, this);
    layout->addWidget(label);
    if (multiLineText) {
        textEdit_ = new QPlainTextEdit(text, this);
        textEdit_->setTabChangesFocus(true);
        label->setBuddy(textEdit_);
        layout->addWidget(textEdit_, 1);
    } else {
        lineEdit_ = new QLineEdit(text, this);
        label->setBuddy(lineEdit_);
        layout->addWidget(lineEdit_);
    }

    auto* images_row = new QHBoxLayout;
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    images_row->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    addButton_ = new QPushButton(sheettext::kAddButton, this);
    removeButton_ = new QPushButton(sheettext::kRemoveButton, this);
    buttons->addWidget(addButton_);
    buttons->addWidget(removeButton_);
    buttons->addStretch(1);
    images_row->addLayout(buttons);
    auto* previewColumn = new QVBoxLayout;
    preview_ = new CImagePreview(previewSize, this);
    sizeText_ = new QLabel(this);
    previewColumn->addWidget(preview_);
    previewColumn->addWidget(sizeText_);
    previewColumn->addStretch(1);
    images_row->addLayout(previewColumn);
    layout->addLayout(images_row, multiLineText ? 0 : 1);

    connect(addButton_, &QPushButton::clicked, this, &CImageListPage::chooseImageFile);
    connect(removeButton_, &QPushButton::clicked, this, &CImageListPage::removeSelectedImage);
    connect(list_, &QListWidget::currentRowChanged, this, &CImageListPage::showSelectedImage);
    refillList();
}

QString CImageListPage::textValue() const { return textEdit_ ? textEdit_->toPlainText() : lineEdit_->text(); }

void CImageListPage::chooseImageFile() {
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(sheettext::kBitmapFilter);
    dialog.setDefaultSuffix(sheettext::kBitmapSuffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!documentFolder_.isEmpty()) dialog.setDirectory(documentFolder_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    addImageFile(dialog.selectedFiles().first());
}

bool CImageListPage::addImageFile(const QString& path) {
    // The builder's own loader and checks, in the builder's order: the file,
    // then the size (the page's), then the colour depth.
    BmpImage image;
    if (!loadBitmapFile(path, image)) {
        showPlainMessage(this, sheettext::kBitmapUnreadable);
        return false;
    }
    ImageReference entry;
    entry.path = path;
    if (!acceptImage(image, entry)) return false;
    if (!image.hasAcceptedBitCount()) {
        showPlainMessage(this, sheettext::kBitmapUnreadable);
        return false;
    }
    images_.append(entry);
    refillList();
    return true;
}

bool CImageListPage::removeSelectedImage() {
    const int row = list_->currentRow();
    if (row < 0 || row >= images_.size()) return false;
    images_.removeAt(row);
    if (images_.isEmpty()) imagesEmptied();
    refillList();
    return true;
}

void CImageListPage::refillList() {
    {
        const QSignalBlocker blocker(list_);
        list_->clear();
        for (const ImageReference& image : images_) {
            // Files of one package often differ only in name while sharing a
            // long folder: the name comes first, the folder after it.
            if (image.isInline()) {
                list_->addItem(image.path);
                continue;
            }
            const QString native = QDir::toNativeSeparators(image.path);
            const qsizetype slash = std::max(image.path.lastIndexOf('/'), image.path.lastIndexOf('\\'));
            const QString name = native.mid(slash + 1);
            const QString folder = slash > 0 ? native.left(slash) : QString();
            auto* item =
                new QListWidgetItem(folder.isEmpty() ? name : QStringLiteral("%1  (%2)").arg(name, folder), list_);
            item->setToolTip(native);
        }
        if (!images_.isEmpty()) list_->setCurrentRow(0);
    }
    showSelectedImage();
}

void CImageListPage::showSelectedImage() {
    const int row = list_->currentRow();
    if (row < 0 || row >= images_.size()) {
        preview_->setImage(QImage());
        return;
    }
    // A file that is missing or unreadable draws nothing and keeps the size text.
    const QImage image = bitmapPreview(resolveImagePath(images_[row].path, documentFolder_));
    preview_->setImage(image);
    if (image.isNull()) return;
    lastPreviewSize_ = image.size();
    sizeText_->setText(QString::fromUtf8(sheettext::kImageSize).arg(image.width()).arg(image.height()));
}

CLauncherPage::CLauncherPage(const QString& launcherName, const ImageList& icons, const QString& documentFolder,
                             QWidget* parent)
    : CImageListPage(sheettext::kLauncherPage, kLauncherPageHelp, launcherName, sheettext::kLauncherNameLabel, false,
                     icons, documentFolder, kLauncherPreviewSize, parent) {
    preview()->setFallback(defaultLauncherIcon());
    auto* note = new QLabel(sheettext::kLauncherExplanation, this);
    note->setWordWrap(true);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, note);
}

QString CLauncherPage::launcherName() const { return textValue(); }

bool CLauncherPage::onKillActive() {
    if (launcherName().isEmpty()) {
        showExclamation(this, sheettext::kLauncherNameEmpty);
        lineEdit_->setFocus();
        return false;
    }
    return true;
}

bool CLauncherPage::acceptImage(const BmpImage& image, ImageReference& entry) {
    bool sideAllowed = false;
    for (int side : kIconSides) sideAllowed = sideAllowed || image.width() == side;
    if (image.width() != image.height() || !sideAllowed) {
        showExclamation(this, sheettext::kIconSize);
        return false;
    }
    if (image.bitCount() >= kTransparentFromBits) entry.transparentColor = kWhite;
    return true;
}

CWelcomePage::CWelcomePage(const QString& welcomeText, const ImageList& logos, const QString& documentFolder,
                           QWidget* parent)
    : CImageListPage(sheettext::kWelcomePage, kWelcomePageHelp, welcomeText, sheettext::kWelcomeTextLabel, true, logos,
                     documentFolder, kLogoPreviewSize, parent) {
    auto* note = new QLabel(sheettext::kWelcomeExplanation, this);
    note->setWordWrap(true);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, note);
}

QString CWelcomePage::welcomeText() const { return textValue(); }

bool CWelcomePage::onKillActive() {
    if (welcomeText().isEmpty()) {
        showExclamation(this, sheettext::kWelcomeEmpty);
        textEdit_->setFocus();
        return false;
    }
    return true;
}

bool CWelcomePage::acceptImage(const BmpImage& image, ImageReference&) {
    if (image.checkSize(kLogoMaxWidth, kLogoMaxHeight) != BmpError::None) {
        showExclamation(this, sheettext::kLogoTooLarge);
        return false;
    }
    // All logo images are versions of one picture and must share its size.
    const QSize shown = lastPreviewSize();
    if (!images().isEmpty() && shown.isValid() && QSize(image.width(), image.height()) != shown) {
        showExclamation(this, sheettext::kLogoSizeMismatch);
        return false;
    }
    return true;
}

void CWelcomePage::imagesEmptied() { forgetPreviewSize(); }

}  // namespace skedlin

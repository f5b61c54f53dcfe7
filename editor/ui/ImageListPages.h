#pragma once
// The two pages of the package properties sheet that hold a text and a list of
// bitmap files: Launcher (launcher name and icons) and Welcome (welcome text and
// logo images). Both check a bitmap before they take it and preview the
// selected entry with its size.

#include <QImage>
#include <QSize>
#include <QString>

#include "editor/document/PackageEntries.h"
#include "editor/ui/BitmapFiles.h"
#include "editor/ui/SheetPage.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace skedlin {

inline constexpr int kWelcomePageHelp = 146;

// Where a stored image path points: "./x" and ".\x" and a bare file name are
// taken relative to the package file's folder; anything else as it stands.
QString resolveImagePath(const QString& path, const QString& documentFolder);

// Draws an image unscaled at its top-left corner, or a fallback image.
class CImagePreview : public QWidget {
    Q_OBJECT
public:
    CImagePreview(QSize frameSize, QWidget* parent = nullptr);
    void setImage(const QImage& image) {
        image_ = image;
        update();
    }
    const QImage& image() const { return image_; }
    // Shown when no image is set (the launcher's default icon).
    void setFallback(const QImage& image) {
        fallback_ = image;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QImage fallback_;
};

class CImageListPage : public CSheetPage {
    Q_OBJECT
public:
    const ImageList& images() const { return images_; }
    QListWidget* imageList() const { return list_; }
    QLabel* sizeText() const { return sizeText_; }
    CImagePreview* preview() const { return preview_; }

    // Checks the bitmap file and appends it; shows the refusal message and
    // returns false when it is not fit. The Add button asks for the file first.
    bool addImageFile(const QString& path);
    // Removes the selected entry; false when none is selected.
    bool removeSelectedImage();

protected:
    CImageListPage(const QString& caption, int helpContext, const QString& text, const char* textLabel,
                   bool multiLineText, const ImageList& images, const QString& documentFolder, QSize previewSize,
                   QWidget* parent);

    // Shows its message and returns false when the bitmap does not fit this
    // page; may set the entry's transparent colour.
    virtual bool acceptImage(const BmpImage& image, ImageReference& entry) = 0;
    virtual void imagesEmptied() {}
    // The size of the image last shown in the preview; empty when none was.
    QSize lastPreviewSize() const { return lastPreviewSize_; }
    void forgetPreviewSize() { lastPreviewSize_ = QSize(); }
    QString textValue() const;
    QLineEdit* lineEdit_ = nullptr;
    QPlainTextEdit* textEdit_ = nullptr;

private:
    void chooseImageFile();
    void refillList();
    void showSelectedImage();

    ImageList images_;
    QString documentFolder_;
    QListWidget* list_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    CImagePreview* preview_;
    QLabel* sizeText_;
    QSize lastPreviewSize_;
};

// Launcher (dialog 144, no manual page): the launcher name and the icons.
class CLauncherPage : public CImageListPage {
    Q_OBJECT
public:
    CLauncherPage(const QString& launcherName, const ImageList& icons, const QString& documentFolder,
                  QWidget* parent = nullptr);
    QString launcherName() const;
    QLineEdit* nameEdit() const { return lineEdit_; }
    bool onKillActive() override;

protected:
    bool acceptImage(const BmpImage& image, ImageReference& entry) override;
};

// Welcome (dialog 146): the welcome text and the logo images.
class CWelcomePage : public CImageListPage {
    Q_OBJECT
public:
    CWelcomePage(const QString& welcomeText, const ImageList& logos, const QString& documentFolder,
                 QWidget* parent = nullptr);
    QString welcomeText() const;
    QPlainTextEdit* textEdit() const { return textEdit_; }
    bool onKillActive() override;

protected:
    bool acceptImage(const BmpImage& image, ImageReference& entry) override;
    void imagesEmptied() override;
};

}  // namespace skedlin

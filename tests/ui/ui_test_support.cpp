#include "ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace skedlin::test {
namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
        profileDir_ = std::make_unique<QTemporaryDir>();
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileDir_->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profileDir_->path());
    }
    void TearDown() override {
        profileDir_.reset();
        application_.reset();
    }

private:
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QTemporaryDir> profileDir_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void clearProfile() {
    QSettings profile(QStringLiteral("Quenby Software"), QStringLiteral("Skedlin"));
    profile.clear();
    profile.sync();
}

void withModalAnswer(const std::function<void()>& action, const std::function<void(QWidget*)>& answer) {
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
    });
    timer.start();
    action();
    timer.stop();
}

void acceptFileDialog(QFileDialog* dialog, const QString& path) {
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept is protected; still the virtual one
}

QString dialogText(QWidget* dialog) {
    QStringList texts;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) return box->text();
    for (auto* label : dialog->findChildren<QLabel*>()) texts.append(label->text());
    for (auto* line : dialog->findChildren<QLineEdit*>()) texts.append(line->text());
    for (auto* edit : dialog->findChildren<QPlainTextEdit*>()) texts.append(edit->toPlainText());
    return texts.join(QLatin1Char('\n'));
}

}  // namespace skedlin::test

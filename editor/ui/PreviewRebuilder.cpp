#include "editor/ui/PreviewRebuilder.h"

#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageWriter.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/document/BuildCommand.h"
#include "editor/ui/PreviewText.h"

namespace skedlin {
namespace {

// The files of a build inside the rebuilder's temporary folder.
constexpr const char* kPackageFile = "/preview.xml";
constexpr const char* kOutputBase = "/preview";
constexpr const char* kErrorFile = "/preview.err";

}  // namespace

PreviewRebuilder::PreviewRebuilder(QObject* parent) : QObject(parent) {
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        if (!process_) return;
        timedOut_ = true;
        process_->kill();
    });
    connect(&writer_, &QFutureWatcherBase::finished, this, &PreviewRebuilder::snapshotWritten);
}

PreviewRebuilder::~PreviewRebuilder() { cancel(); }

QString PreviewRebuilder::builderPath() const {
    return builderPath_.isEmpty() ? programDirectory() + QString::fromUtf8(kBuilderFileName) : builderPath_;
}

void PreviewRebuilder::request(bool force) {
    if (isRunning()) {
        pending_ = true;
        pendingForced_ = pendingForced_ || force;
        return;
    }
    if (!document_) return;
    // The copy shares the document's lists until the document changes them,
    // so taking it is cheap; writing a large package is not.
    copy_ = std::make_unique<CSkedlinDoc>();
    copy_->assignFrom(*document_);
    copy_->setPathName(document_->pathName());
    writing_ = true;
    writingForced_ = force;
    clock_.start();
    const CSkedlinDoc* copy = copy_.get();
    const QString prefix = packagePrefix();
    writer_.setFuture(QtConcurrent::run([copy, prefix] {
        return Snapshot{writePackage(*copy, prefix, BitmapPaths::Absolute), previewRecordIds(*copy)};
    }));
}

void PreviewRebuilder::snapshotWritten() {
    if (!writing_) return;  // cancelled meanwhile
    writing_ = false;
    Snapshot snapshot = writer_.result();
    copy_.reset();
    if (!writingForced_ && !lastFinishedXml_.isEmpty() && snapshot.xml == lastFinishedXml_) {
        if (pending_) {
            const bool force = pendingForced_;
            pending_ = false;
            pendingForced_ = false;
            request(force);
        }
        return;
    }
    start(std::move(snapshot));
}

void PreviewRebuilder::cancel() {
    pending_ = false;
    pendingForced_ = false;
    watchdog_.stop();
    if (writing_) {
        writer_.waitForFinished();
        writing_ = false;
        copy_.reset();
    }
    if (!process_) return;
    QProcess* process = process_;
    process_ = nullptr;
    process->disconnect(this);
    process->kill();
    process->waitForFinished(1000);
    delete process;
}

void PreviewRebuilder::start(Snapshot snapshot) {
    timedOut_ = false;
    failedToStart_ = false;
    ++buildsStarted_;
    emit buildStarted();

    if (!folder_.isValid()) {
        PreviewBuildResult result;
        result.message = QString::fromUtf8(previewtext::kNoTemporaryFolder);
        finish(result);
        return;
    }
    runningXml_ = std::move(snapshot.xml);
    runningIds_ = std::move(snapshot.ids);
    const QString folder = folder_.path();
    QFile::remove(folder + QLatin1String(kOutputBase) + QStringLiteral(".prc"));
    QFile::remove(folder + QLatin1String(kErrorFile));
    QFile packageFile(folder + QLatin1String(kPackageFile));
    if (!packageFile.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        packageFile.write(runningXml_) != runningXml_.size() || !packageFile.flush()) {
        PreviewBuildResult result;
        result.message =
            QString::fromUtf8(previewtext::kCannotWrite).arg(packageFile.fileName(), packageFile.errorString());
        finish(result);
        return;
    }
    packageFile.close();

    plan_ = std::make_unique<BuildPlan>(planPalmBuild(programDirectory(), folder + QLatin1String(kPackageFile),
                                                      folder + QLatin1String(kOutputBase),
                                                      folder + QLatin1String(kErrorFile)));
    plan_->builderPath = builderPath();
    process_ = new QProcess(this);
    process_->setProgram(plan_->builderPath);
    process_->setArguments(plan_->arguments);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    connect(process_, &QProcess::finished, this, &PreviewRebuilder::processEnded);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        failedToStart_ = true;
        processEnded();
    });
    watchdog_.start(timeLimitMs_);
    process_->start();
}

void PreviewRebuilder::processEnded() {
    if (!process_) return;
    watchdog_.stop();
    PreviewBuildResult result = collectResult();
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
    finish(std::move(result));
}

PreviewBuildResult PreviewRebuilder::collectResult() {
    PreviewBuildResult result;
    result.ids = runningIds_;
    if (timedOut_) {
        result.message = QString::fromUtf8(previewtext::kBuildTooLong).arg(timeLimitMs_ / 1000);
        return result;
    }
    const BuildOutcome outcome = buildOutcome(*plan_, *process_);
    if (outcome.succeeded()) {
        QFile prc(plan_->palmFile);
        if (prc.open(QIODevice::ReadOnly)) {
            result.package = prc.readAll();
            result.ok = !result.package.isEmpty();
        }
        // Success without a package would show a stale or empty screen.
        if (!result.ok) result.message = QString::fromUtf8(previewtext::kNoPackage);
        return result;
    }
    result.message = outcome.result.message();
    result.details = outcome.details;
    // Without an error file, whatever the builder printed is the best account.
    if (result.details.isEmpty() && !failedToStart_)
        result.details = QString::fromLocal8Bit(process_->readAll()).trimmed();
    return result;
}

void PreviewRebuilder::finish(PreviewBuildResult result) {
    result.milliseconds = clock_.elapsed();
    // Only a build that ran to its end stands for the document it wrote;
    // after a failure to write or start, the same document is tried again.
    lastFinishedXml_ = result.ok || !result.details.isEmpty() ? runningXml_ : QByteArray();
    runningXml_.clear();
    emit buildFinished(result);
    if (pending_) {
        const bool force = pendingForced_;
        pending_ = false;
        pendingForced_ = false;
        request(force);
    }
}

}  // namespace skedlin

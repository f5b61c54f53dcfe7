#pragma once
// Builds the open document for the handheld preview in the background: the
// document as it is when a build starts is written to a temporary package
// file, and the real SkedlinBuilder turns it into a .prc in a separate
// process, so the editor never waits for it; even the package file is written
// on a worker thread from a copy of the document. Requests made while a build runs
// are gathered into one build that starts when the running one ends.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include "editor/ui/PreviewRecordIds.h"

namespace skedlin {

class CSkedlinDoc;
struct BuildPlan;

struct PreviewBuildResult {
    bool ok = false;
    QByteArray package;       // the built .prc (ok)
    QString message;          // what went wrong, one sentence (not ok)
    QString details;          // the builder's own message, when it left one
    PreviewRecordIds ids;     // of the document as this build wrote it
    qint64 milliseconds = 0;  // from the start of the build to its end
};

class PreviewRebuilder : public QObject {
    Q_OBJECT

public:
    explicit PreviewRebuilder(QObject* parent = nullptr);
    ~PreviewRebuilder() override;

    void setDocument(CSkedlinDoc* document) { document_ = document; }
    // The builder program; by default SkedlinBuilder in the program directory.
    void setBuilderPath(const QString& path) { builderPath_ = path; }
    QString builderPath() const;
    // A build that runs longer than this is stopped and reported as failed.
    void setTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

    // Asks for a build of the document as it will be when the build starts:
    // at once when no build runs, otherwise after the running one (any number
    // of requests meanwhile make one more build). A document whose package
    // file would be the same as in the last finished build is not built
    // again unless `force` is set.
    void request(bool force = false);
    // Stops a running build and forgets a waiting request; no result follows.
    void cancel();

    bool isRunning() const { return writing_ || process_ != nullptr; }
    bool isPending() const { return pending_; }
    int buildsStarted() const { return buildsStarted_; }

    // The package file and record ids of one state of the document.
    struct Snapshot {
        QByteArray xml;
        PreviewRecordIds ids;
    };

signals:
    void buildStarted();
    void buildFinished(const skedlin::PreviewBuildResult& result);

private:
    void snapshotWritten();
    void start(Snapshot snapshot);
    void finish(PreviewBuildResult result);
    void processEnded();
    PreviewBuildResult collectResult();

    QPointer<CSkedlinDoc> document_;
    QString builderPath_;
    QTemporaryDir folder_;
    QProcess* process_ = nullptr;
    std::unique_ptr<BuildPlan> plan_;    // of the running build
    std::unique_ptr<CSkedlinDoc> copy_;  // the document as the worker writes it
    QFutureWatcher<Snapshot> writer_;
    bool writing_ = false;
    bool writingForced_ = false;
    QTimer watchdog_;
    QElapsedTimer clock_;
    int timeLimitMs_ = 60000;
    bool pending_ = false;
    bool pendingForced_ = false;
    bool timedOut_ = false;
    bool failedToStart_ = false;
    int buildsStarted_ = 0;
    QByteArray runningXml_;
    QByteArray lastFinishedXml_;
    PreviewRecordIds runningIds_;
};

}  // namespace skedlin

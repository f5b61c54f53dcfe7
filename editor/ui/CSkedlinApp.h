#pragma once
// The application object: the program directory, start-up (the file named on
// the command line, else the most recent file when it still exists, else a new
// package with its wizard) and the one main window.

#include <QStringList>

#include <memory>

namespace skedlin {

class CMainFrame;
class RecentFileList;

// The file start-up opens: the one on the command line, else the most recent
// file when it exists; empty for a new package.
QString startupFile(const QStringList& arguments, const RecentFileList& recentFiles);

class CSkedlinApp {
public:
    explicit CSkedlinApp(const QStringList& arguments);
    ~CSkedlinApp();

    // Creates and shows the main window and processes the start-up command.
    bool initInstance();
    CMainFrame* mainFrame() const { return frame_.get(); }

private:
    QStringList arguments_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace skedlin

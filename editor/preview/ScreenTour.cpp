#include "editor/preview/ScreenTour.h"

#include <QSet>

namespace skedlin::preview {

namespace {

// Pages of the list `screen` leads to (at least 1), or -1 when it cannot be shown.
int pageCount(PreviewSession& session, const QString& screen) {
    if (!session.goTo(screen, nullptr)) return -1;
    int pages = 1;
    while (session.nextPage()) ++pages;
    return session.ok() ? pages : -1;
}

class Tour {
public:
    Tour(PreviewSession& session, const std::function<bool(const TourStop&)>& visit)
        : session_(session), visit_(visit) {}

    bool run(QString* error) {
        // List screens are numbered in the order of the tour; the numbers get
        // as many digits as the largest needs, so the files sort in that order.
        int listScreens = 1;
        const int groupPages = pageCount(session_, QStringLiteral("groups"));
        if (groupPages < 0) return failed(error);
        listScreens += groupPages;
        for (int group = 1; group <= session_.groupCount(); ++group) {
            for (const char* list : {"events", "contacts"}) {
                const int pages =
                    pageCount(session_, QStringLiteral("group:%1:%2").arg(group).arg(QLatin1String(list)));
                if (pages < 0) return failed(error);
                listScreens += pages;
            }
        }
        digits_ = std::max(2, static_cast<int>(QString::number(listScreens).size()));

        if (!session_.goTo(QStringLiteral("welcome"), error)) return false;
        if (!listStop(QStringLiteral("welcome"), QStringLiteral("welcome"))) return true;
        if (!session_.goTo(QStringLiteral("groups"), error)) return false;
        for (int page = 1;; ++page) {
            if (!listStop(QStringLiteral("groups-page-%1").arg(page), QStringLiteral("groups:%1").arg(page)))
                return true;
            if (!session_.nextPage()) break;
        }
        if (!session_.ok()) return failed(error);
        for (int group = 1; group <= session_.groupCount(); ++group) {
            for (const char* list : {"events", "contacts"}) {
                if (!tourList(group, QLatin1String(list), error)) return stopped_ ? true : false;
            }
        }
        return true;
    }

private:
    bool failed(QString* error) {
        if (error) *error = session_.errorText();
        return false;
    }

    bool listStop(const QString& name, const QString& screen) {
        ++number_;
        return stop(QStringLiteral("%1-%2").arg(number_, digits_, 10, QLatin1Char('0')).arg(name), screen);
    }

    bool stop(const QString& name, const QString& screen) {
        if (!visit_(TourStop{name, screen})) {
            stopped_ = true;
            return false;
        }
        return true;
    }

    // One list of a group, page by page, with each entry it shows first.
    bool tourList(int group, const QString& list, QString* error) {
        const QString address = QStringLiteral("group:%1:%2").arg(group).arg(list);
        if (!session_.goTo(address, error)) return false;
        const bool events = list == QLatin1String("events");
        QSet<int>& seen = events ? seenEvents_ : seenContacts_;
        for (int page = 1;; ++page) {
            if (!listStop(QStringLiteral("group-%1-%2-page-%3").arg(group).arg(list).arg(page),
                          QStringLiteral("%1:%2").arg(address).arg(page)))
                return false;
            for (const PreviewSession::Row& row : session_.openableRows()) {
                if (row.kind != (events ? SKV_SCREEN_EVENT : SKV_SCREEN_CONTACT) || seen.contains(row.value)) continue;
                seen.insert(row.value);
                session_.tap(row.x, row.y);
                if (!session_.ok()) return failed(error);
                const QString kind = events ? QStringLiteral("event") : QStringLiteral("contact");
                if (!stop(QStringLiteral("%1-%2").arg(kind).arg(row.value),
                          QStringLiteral("%1:%2").arg(kind).arg(row.value)))
                    return false;
                session_.command(SKV_CMD_BACK);
                if (!session_.ok()) return failed(error);
            }
            if (!session_.nextPage()) break;
        }
        return session_.ok() || failed(error);
    }

    PreviewSession& session_;
    const std::function<bool(const TourStop&)>& visit_;
    QSet<int> seenEvents_, seenContacts_;
    int digits_ = 2;
    int number_ = 0;
    bool stopped_ = false;
};

}  // namespace

bool tourPackage(PreviewSession& session, const std::function<bool(const TourStop&)>& visit, QString* error) {
    return Tour(session, visit).run(error);
}

}  // namespace skedlin::preview

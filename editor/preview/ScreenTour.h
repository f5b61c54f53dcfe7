#pragma once
// Every screen of a package, in the order a person browsing it meets them:
// the welcome screen, the pages of the group list, then for each group the
// pages of its events with each event, and the pages of its contacts with
// each contact. Each event and contact is visited once, where it first
// appears. Each screen gets a file name a person can find it by.

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

#include "editor/preview/PreviewSession.h"

namespace skedlin::preview {

struct TourStop {
    QString name;    // file name without extension, e.g. "03-group-2-events-page-1", "event-7012"
    QString screen;  // the goTo() address of the same screen, e.g. "group:2:events:1"
};

// Calls `visit` with each stop while the session shows it; `visit` returns
// false to stop early. Returns false with a message when the package is
// damaged on the way (screens before the damage have been visited).
bool tourPackage(PreviewSession& session, const std::function<bool(const TourStop&)>& visit, QString* error);

}  // namespace skedlin::preview

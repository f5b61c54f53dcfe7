// Moving through a package by screen name and with taps, damaged and foreign
// files, and the tour of every screen.

#include <QSet>

#include <gtest/gtest.h>

#include "editor/preview/PreviewSession.h"
#include "editor/preview/ScreenTour.h"
#include "preview_test_support.h"

namespace skedlin::preview {
namespace {

using testing::examplePrc;

QString titleOf(const PreviewSession& session) {
    std::uint16_t count = 0;
    const skv_item* items = session.display(&count);
    for (std::uint16_t i = 0; i < count; ++i)
        if (items[i].kind == SKV_ITEM_TITLE) return QString::fromLatin1(items[i].text, items[i].length);
    return {};
}

bool shows(const PreviewSession& session, const char* text) {
    std::vector<DrawnText> texts;
    session.render(&texts);
    for (const DrawnText& t : texts)
        if (t.text.contains(text)) return true;
    return false;
}

TEST(PreviewSession, ReachesEveryKindOfScreenByName) {
    PreviewSession session(examplePrc(), 1);
    ASSERT_TRUE(session.ok()) << session.errorText().toStdString();
    QString error;
    const struct {
        const char* address;
        int screen;
        const char* text;
    } cases[] = {
        {"welcome", SKV_SCREEN_WELCOME, "Browse"},
        {"groups", SKV_SCREEN_GROUPS, "Keynotes & Plenary"},
        {"group:1", SKV_SCREEN_EVENTS, "Opening and welcome"},
        {"events", SKV_SCREEN_EVENTS, "Opening and welcome"},
        {"group:1:contacts", SKV_SCREEN_CONTACTS, "Achebe, Ngozi"},
        {"contacts:1", SKV_SCREEN_CONTACTS, "Achebe, Ngozi"},
        {"event:7000", SKV_SCREEN_EVENT, "Opening and welcome"},
        {" Contact:6000 ", SKV_SCREEN_CONTACT, "Work:"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(session.goTo(QString::fromLatin1(c.address), &error)) << c.address << ": " << error.toStdString();
        EXPECT_EQ(session.screen(), c.screen) << c.address;
        EXPECT_TRUE(shows(session, c.text)) << c.address << " does not show " << c.text;
    }
}

TEST(PreviewSession, ScreensThePackageDoesNotHaveAreRefusedWithAReason) {
    PreviewSession session(examplePrc(), 2);
    for (const char* address : {"group:99", "group:0", "event:1", "contact:7000", "group:1:9999", "groups:2", "bogus",
                                "group:1:people", "event:", "welcome:2"}) {
        QString error;
        EXPECT_FALSE(session.goTo(QString::fromLatin1(address), &error)) << address;
        EXPECT_FALSE(error.isEmpty()) << address;
        EXPECT_TRUE(session.ok()) << address;  // the package itself is fine
    }
}

TEST(PreviewSession, TapsGoWhereThePenGoes) {
    PreviewSession session(examplePrc(), 1);
    std::uint16_t count = 0;
    const skv_item* items = session.display(&count);
    int browseX = -1, browseY = -1;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (items[i].kind == SKV_ITEM_BUTTON && items[i].id == SKV_CMD_BROWSE) {
            browseX = items[i].x + items[i].w / 2;
            browseY = items[i].y + items[i].h / 2;
        }
    }
    ASSERT_GE(browseX, 0);
    EXPECT_TRUE(session.tap(browseX, browseY) & SKV_ACTION_REDRAW);
    EXPECT_EQ(session.screen(), SKV_SCREEN_GROUPS);
    const auto rows = session.openableRows();
    ASSERT_FALSE(rows.empty());
    session.tap(rows.front().x, rows.front().y);
    EXPECT_EQ(session.screen(), SKV_SCREEN_EVENTS);
    EXPECT_EQ(titleOf(session), QStringLiteral("Keynotes & Plenary"));
    session.command(SKV_CMD_BACK);
    EXPECT_EQ(session.screen(), SKV_SCREEN_GROUPS);
}

TEST(PreviewSession, ForeignAndDamagedFilesGiveMessagesNotCrashes) {
    QString error;
    EXPECT_FALSE(PreviewPackage::fromBytes(QByteArray("not a database"), &error));
    EXPECT_FALSE(error.isEmpty());
    const QByteArray good = testing::readAll(QStringLiteral(SKEDLIN_SOURCE_DIR "/examples/conference/Conference.xml"));
    EXPECT_FALSE(PreviewPackage::fromBytes(good, &error));  // an XML file is no resource database

    // A resource list announcing more resources than the file holds.
    QByteArray header(78, '\0');
    header[33] = 1;     // resource database
    header[76] = 0x10;  // 4096 resources
    EXPECT_FALSE(PreviewPackage::fromBytes(header, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("damaged"))) << error.toStdString();

    // A well-formed database without a package in it.
    header[76] = 0;
    const auto empty = PreviewPackage::fromBytes(header, &error);
    ASSERT_TRUE(empty);
    PreviewSession none(empty, 1);
    EXPECT_FALSE(none.ok());
    EXPECT_TRUE(none.errorText().contains(QStringLiteral("not a calendar package"))) << none.errorText().toStdString();
    EXPECT_FALSE(none.goTo(QStringLiteral("groups"), &error));
    EXPECT_EQ(none.render().size(), QSize(160, 160));

    // An event record cut short: the package opens, the event is reported as damage.
    QTemporaryDir folder;
    const QByteArray prc = testing::readAll(testing::buildPrc(testing::examplePackage(), folder.path()));
    const QByteArray cut = testing::truncateResource(prc, "Nevt", 7000, 3);
    ASSERT_FALSE(cut.isEmpty());
    const auto damaged = PreviewPackage::fromBytes(cut, &error);
    ASSERT_TRUE(damaged) << error.toStdString();
    PreviewSession session(damaged, 1);
    ASSERT_TRUE(session.ok());
    EXPECT_FALSE(session.goTo(QStringLiteral("group:1"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("damaged"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("Nevt 7000"))) << error.toStdString();
}

TEST(ScreenTour, VisitsEveryScreenOnceUnderAFindableName) {
    PreviewSession session(examplePrc(), 1);
    QStringList names;
    QSet<QString> events, contacts;
    QString error;
    const bool done = tourPackage(
        session,
        [&](const TourStop& stop) {
            names << stop.name;
            if (stop.name.startsWith(QLatin1String("event-"))) {
                EXPECT_EQ(session.screen(), SKV_SCREEN_EVENT) << stop.name.toStdString();
                EXPECT_FALSE(events.contains(stop.name));
                events.insert(stop.name);
            } else if (stop.name.startsWith(QLatin1String("contact-"))) {
                EXPECT_EQ(session.screen(), SKV_SCREEN_CONTACT) << stop.name.toStdString();
                contacts.insert(stop.name);
            }
            // The stop's address leads to the same picture.
            PreviewSession again(examplePrc(), 1);
            QString problem;
            EXPECT_TRUE(again.goTo(stop.screen, &problem)) << stop.screen.toStdString() << problem.toStdString();
            EXPECT_EQ(again.render(), session.render())
                << stop.name.toStdString() << " vs " << stop.screen.toStdString();
            return true;
        },
        &error);
    ASSERT_TRUE(done) << error.toStdString();
    ASSERT_GE(names.size(), 4);
    EXPECT_EQ(names[0], QStringLiteral("01-welcome"));
    EXPECT_EQ(names[1], QStringLiteral("02-groups-page-1"));
    EXPECT_EQ(names[2], QStringLiteral("03-group-1-events-page-1"));
    EXPECT_TRUE(events.contains(QStringLiteral("event-7000")));
    EXPECT_TRUE(contacts.contains(QStringLiteral("contact-6000")));
    // Every event record of the package is shown by some group.
    int eventRecords = 0;
    std::uint32_t size = 0;
    while (examplePrc()->resource(SKV_TYPE_EVENT, static_cast<std::uint16_t>(7000 + eventRecords), &size))
        ++eventRecords;
    EXPECT_EQ(events.size(), eventRecords);
    // Stopping early is honoured.
    int visited = 0;
    EXPECT_TRUE(tourPackage(
        session, [&](const TourStop&) { return ++visited < 3; }, &error));
    EXPECT_EQ(visited, 3);
}

}  // namespace
}  // namespace skedlin::preview

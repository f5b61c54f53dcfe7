// The package file as the editor writes and reads it: layout, escaping,
// encoding, relative bitmap paths, read result codes.

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "document_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageReader.h"
#include "editor/document/PackageWriter.h"
#include "editor/document/SettingsNames.h"

namespace skedlin {
namespace {

class PackageFile : public ::testing::Test {
protected:
    void SetUp() override {
        test::prepareEnvironment();
        QSettings(QString::fromLatin1(settings::kCompanyKey), QString::fromLatin1(settings::kApplicationName))
            .remove(QString::fromLatin1(settings::kPackagePrefixKey));
    }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

    // Writes a package file whose body (after the two header lines) is given.
    QString packageWithBody(const QByteArray& body) {
        const QString file = path("input.xml");
        test::writeBytes(file,
                         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
                         "<!DOCTYPE calendar-package SYSTEM \"" SKEDLIN_BIN_DIR "/CalendarPackage.dtd\">\r\n" +
                             body);
        return file;
    }
    // A minimal valid package around the given groups element content.
    QString packageWithGroups(const QByteArray& groups, const QByteArray& contacts = {}) {
        return packageWithBody(
            "<calendar-package navigation=\"events\"><package-title>T</package-title>"
            "<app-name>A</app-name><app-launcher><launcher-name>L</launcher-name></app-launcher>"
            "<welcome><description>D</description></welcome><contacts>" +
            contacts + "</contacts><groups>" + groups + "</groups></calendar-package>");
    }
    QByteArray saved(CSkedlinDoc& document, const char* name = "out.xml") {
        const SaveResult result = document.saveDocument(path(name));
        EXPECT_TRUE(result.ok()) << result.message().toStdString();
        return test::readBytes(path(name));
    }

    QTemporaryDir dir_;
};

TEST_F(PackageFile, ResavingAPackageReproducesTheLayoutByteForByte) {
    const QByteArray original = test::fixturePackage("full-package.xml");
    test::writeBytes(path("full.xml"), original);
    CSkedlinDoc document;
    const OpenResult opened = document.openDocument(path("full.xml"));
    ASSERT_TRUE(opened.ok()) << opened.message().toStdString();
    EXPECT_FALSE(document.isModified());

    const QByteArray written = saved(document, "full.xml");
    EXPECT_EQ(written.toStdString(), original.toStdString());

    // The relative bitmap paths were taken as relative to the package's folder.
    EXPECT_EQ(document.launcherIcons()[0].path, path("icon.bmp"));
    EXPECT_EQ(document.logoImages()[0].path, path("logos\\logo.bmp"));
    EXPECT_EQ(document.launcherIcons()[1].transparentColor, 0x00FF00);
}

TEST_F(PackageFile, TextsSurviveASaveAndReopenUnchanged) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    const QString tricky = QStringLiteral("Caf\u00e9 \u20ac \u2018q\u2019 \u4e2d\U0001F600 <&>\"' end");
    document.setTitle(tricky);
    document.setWelcomeText(QStringLiteral("line one\r\nline two\nline three"));
    EventEntry event;
    event.title = tricky;
    event.date = DateTimeValue::fromDate(2024, 12, 24);
    event.groupName = QStringLiteral("Events");
    document.addEvent(event);
    const QByteArray bytes = saved(document);
    EXPECT_TRUE(bytes.contains("Caf\xe9 &#x20AC; &#x2018;q&#x2019; &#x4E2D;&#x1F600; &lt;&amp;&gt;&quot;&apos; end"));
    EXPECT_TRUE(bytes.contains("<description>line one&#x0a;line two&#x0a;line three</description>\r\n"));

    CSkedlinDoc reopened;
    ASSERT_TRUE(reopened.openDocument(path("out.xml")).ok());
    EXPECT_EQ(reopened.title(), tricky);
    EXPECT_EQ(reopened.welcomeText(), QStringLiteral("line one\nline two\nline three"));
    EXPECT_EQ(reopened.events()[0].title, tricky);
}

// What the first save writes must be what the next read gives back: C1
// controls (from an import) read back as the old code page's characters, and
// a parser turns a raw tab in an attribute value into a space.
TEST_F(PackageFile, FirstSaveWritesWhatTheNextReadKeeps) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    const QString group = QStringLiteral("Tab\there");
    document.setTitle(QStringLiteral("a\u0080b \u0081"));
    EventEntry event;
    event.title = QStringLiteral("tab\tin text \u0093q\u0094");
    event.date = DateTimeValue::fromDate(2024, 12, 24);
    event.groupName = group;
    document.addEvent(event);
    const QByteArray first = saved(document, "first.xml");
    EXPECT_TRUE(first.contains("<group name=\"Tab&#x09;here\">"));

    CSkedlinDoc reopened;
    ASSERT_TRUE(reopened.openDocument(path("first.xml")).ok());
    EXPECT_EQ(reopened.title(), QStringLiteral("a\u20acb \u0081"));
    EXPECT_TRUE(reopened.groupExists(group));
    ASSERT_EQ(reopened.events().size(), 1);
    EXPECT_EQ(reopened.events()[0].groupName, group);
    EXPECT_EQ(reopened.events()[0].title, QStringLiteral("tab\tin text \u201cq\u201d"));
    EXPECT_EQ(saved(reopened, "second.xml"), first);
}

TEST_F(PackageFile, EmptyPartsAreWrittenAsTheReaderNeedsThem) {
    CSkedlinDoc document;
    document.setPathName(path("empty.xml"));
    EventEntry untitled;
    untitled.date = DateTimeValue::fromDate(2003, 1, 1);
    untitled.groupName = QStringLiteral("G");
    document.addEvent(untitled);
    ContactEntry contact;
    contact.id = 4;
    contact.phoneNumbers[2] = QStringLiteral("222");
    contact.phoneNumbers[4] = QStringLiteral("444");
    contact.phoneTypes[2] = 42;  // unknown types are written as work
    document.addContact(contact);
    const QByteArray bytes = saved(document, "empty.xml");

    EXPECT_TRUE(
        bytes.contains("<calendar-package navigation=\"events\">\r\n\t<app-launcher>\r\n\t</app-launcher>\r\n"
                       "\t<welcome>\r\n\t\t<description></description>\r\n\t\t<author-info></author-info>\r\n"
                       "\t</welcome>\r\n"));
    EXPECT_TRUE(
        bytes.contains("\t\t\t<phone-numbers>\r\n\t\t\t\t<phone-number type=\"work\">222</phone-number>\r\n"
                       "\t\t\t\t<phone-number type=\"other\">444</phone-number>\r\n\t\t\t</phone-numbers>\r\n"));
    EXPECT_TRUE(bytes.contains("\t\t\t\t<event>\r\n\t\t\t\t\t<date day=\"37620\">01 Jan 2003</date>\r\n"));

    // Title, application name, launcher name and event title were left out
    // because they were empty; the file still opens.
    CSkedlinDoc reopened;
    const OpenResult result = reopened.openDocument(path("empty.xml"));
    ASSERT_TRUE(result.ok()) << result.message().toStdString();
    EXPECT_EQ(reopened.title(), QString());
    EXPECT_EQ(reopened.events()[0].title, QString());
    EXPECT_EQ(reopened.contacts()[0].phoneCount, 2);
    EXPECT_EQ(reopened.contacts()[0].phoneNumbers[1], QStringLiteral("444"));
    EXPECT_EQ(reopened.contacts()[0].memberGroups, QStringList());
}

TEST_F(PackageFile, PackagePrefixComesFromTheSettings) {
    CSkedlinDoc document;
    document.setPathName(path("a.xml"));
    EXPECT_TRUE(saved(document, "a.xml").startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<!DOCTYPE"));
    QSettings settings(QString::fromLatin1(settings::kCompanyKey), QString::fromLatin1(settings::kApplicationName));
    EXPECT_EQ(settings.value(QString::fromLatin1(settings::kPackagePrefixKey)).toString(),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>"));  // stored back
    settings.setValue(QString::fromLatin1(settings::kPackagePrefixKey), QStringLiteral("<?xml version=\"1.0\"?>"));
    settings.sync();
    EXPECT_TRUE(saved(document, "a.xml").startsWith("<?xml version=\"1.0\"?>\r\n<!DOCTYPE"));
}

TEST_F(PackageFile, ReadingAppliesTheValueRules) {
    const QString file = packageWithGroups(
        "<group name=\"G\"><group-description/><events>"
        "<event><event-title>a</event-title><date day=\"37620\">nonsense</date>"
        "<time-range><start-time>9.5</start-time><end-time>25:10</end-time></time-range>"
        "<repeating-event interval=\"weekly\" "
        "frequency=\"3\"><days-of-week>X-X----</days-of-week></repeating-event></event>"
        "<event><event-title>b</event-title><date day=\"0\">02 Feb 2004</date>"
        "<time-range><start-time>7</start-time><end-time>23:59</end-time></time-range>"
        "<repeating-event interval=\"weekly\"/></event>"
        "</events><contact-ids><contact-id>1</contact-id><contact-id> 1</contact-id></contact-ids></group>",
        "<contact id=\"1\"><phone-numbers>"
        "<phone-number type=\"bogus\">0</phone-number><phone-number type=\"fax\">1</phone-number>"
        "<phone-number type=\"bogus\">2</phone-number><phone-number type=\"home\">3</phone-number>"
        "<phone-number type=\"home\">4</phone-number><phone-number type=\"home\">5</phone-number>"
        "<phone-number type=\"home\">6</phone-number></phone-numbers></contact>");
    test::writeBytes(file, test::readBytes(file).replace("navigation=\"events\"", "navigation=\"Groups\""));
    CSkedlinDoc document;
    const OpenResult result = document.openDocument(file);
    ASSERT_TRUE(result.ok()) << result.message().toStdString();
    EXPECT_EQ(document.navigationLevel(), kNavigationEvents);  // keywords are case-sensitive

    const EventEntry& first = document.events()[0];
    EXPECT_EQ(first.date.date(), QDate(2003, 1, 1));  // the day attribute wins over the text
    EXPECT_EQ(first.allDay, 0);
    EXPECT_EQ(first.startTime, DateTimeValue::fromTime(9, 5));
    EXPECT_EQ(first.endTime, DateTimeValue::fromTime(0, 10));
    EXPECT_EQ(first.repeatOnMask, 0b101);  // Sunday and Tuesday
    EXPECT_EQ(first.frequency, 3);
    const EventEntry& second = document.events()[1];
    EXPECT_EQ(second.date.date(), QDate(2004, 2, 2));  // day 0: the text is parsed
    EXPECT_EQ(second.startTime, DateTimeValue::fromTime(7, 0));
    EXPECT_EQ(second.repeatOnMask, 1 << 1);  // 2 Feb 2004 is a Monday

    const ContactEntry& contact = document.contacts()[0];
    EXPECT_EQ(contact.phoneCount, 5);              // the sixth and seventh are dropped
    EXPECT_EQ(contact.phoneTypes[0], kPhoneWork);  // an unknown first type
    EXPECT_EQ(contact.phoneTypes[2], kPhoneFax);   // an unknown type keeps the one before
    EXPECT_EQ(contact.phoneNumbers[4], QStringLiteral("4"));
    EXPECT_EQ(contact.memberGroups, (QStringList{QStringLiteral("G"), QStringLiteral("G")}));
}

TEST_F(PackageFile, BytesOfTheOldCodePageReadAsItsCharacters) {
    // Files written by older editors hold Windows-1252 bytes under the
    // ISO-8859-1 declaration: 0x80 is the euro sign, 0x93/0x94 curly quotes.
    const QString file = packageWithGroups("<group name=\"\x80 \x93q\x94\"><group-description/></group>");
    CSkedlinDoc document;
    ASSERT_TRUE(document.openDocument(file).ok());
    EXPECT_EQ(document.groups()[0].name, QStringLiteral("\u20ac \u201cq\u201d"));
}

struct BrokenPackage {
    const char* name;
    QByteArray groups;
    QByteArray contacts;
    builder::ExitCode code;
    const char* details;
};

TEST_F(PackageFile, BrokenPackagesFailWithTheirCodeAndKeepTheOpenDocument) {
    const BrokenPackage cases[] = {
        {"short days of week",
         "<group name=\"G\"><group-description/><events><event><date day=\"37620\"/>"
         "<repeating-event "
         "interval=\"weekly\"><days-of-week>X-</days-of-week></repeating-event></event></events></group>",
         {},
         builder::kExitDaysOfWeek,
         "Bad days of week string - 'X-'."},
        {"bad date",
         "<group name=\"G\"><group-description/><events><event><date>32 Foo 2003</date></event></events></group>",
         {},
         builder::kExitInvalidDate,
         "Invalid Date: 32 Foo 2003"},
        {"bad exception date",
         "<group name=\"G\"><group-description/><events><event><date day=\"5\"/><repeating-event interval=\"daily\">"
         "<except-days><date>soon</date></except-days></repeating-event></event></events></group>",
         {},
         builder::kExitInvalidDate,
         "Invalid Date: soon"},
        {"duplicate contact", "", "<contact id=\"7\"/><contact id=\"07\"/>", builder::kExitDuplicateContactId, ""},
        {"unknown contact",
         "<group name=\"G\"><group-description/><contact-ids><contact-id>99</contact-id></contact-ids></group>",
         "<contact id=\"7\"/>", builder::kExitInvalidContactId, ""},
    };
    CSkedlinDoc document;
    document.newDocument(nullptr);
    for (const BrokenPackage& broken : cases) {
        SCOPED_TRACE(broken.name);
        const OpenResult result = document.openDocument(packageWithGroups(broken.groups, broken.contacts));
        EXPECT_EQ(result.code(), broken.code);
        EXPECT_EQ(result.message(), QString::fromLatin1(broken.details));
        EXPECT_EQ(document.title(), QStringLiteral("Schedule"));  // the package open before stays
        EXPECT_TRUE(document.isModified());
    }
}

TEST_F(PackageFile, MalformedOrIncompleteFilesFailWithCode2NamingTheProblem) {
    CSkedlinDoc document;
    OpenResult result = document.openDocument(packageWithBody("<calendar-package navigation=\"none\">\r\n<oops>\r\n"));
    EXPECT_EQ(result.code(), builder::kExitXmlParser);
    EXPECT_TRUE(result.message().contains(QStringLiteral("Line #"))) << result.message().toStdString();
    EXPECT_FALSE(result.message().contains(QRegularExpression(QStringLiteral("\\SLine #"))))
        << "the reason runs into the line number: " << result.message().toStdString();

    // Without a DOCTYPE nothing validates: the reader itself names what is missing.
    test::writeBytes(path("nodtd.xml"), "<calendar-package navigation=\"none\"><app-launcher/></calendar-package>");
    result = document.openDocument(path("nodtd.xml"));
    EXPECT_EQ(result.code(), builder::kExitXmlParser);
    EXPECT_TRUE(result.message().contains(QStringLiteral("<welcome>"))) << result.message().toStdString();

    test::writeBytes(path("nodtd.xml"),
                     "<calendar-package navigation=\"none\"><app-launcher/><welcome><description/>"
                     "</welcome><groups><group name=\"G\"><group-description/><events><event>"
                     "<time-range><start-time>1</start-time></time-range></event></events></group>"
                     "</groups></calendar-package>");
    result = document.openDocument(path("nodtd.xml"));
    EXPECT_EQ(result.code(), builder::kExitXmlParser);
    EXPECT_TRUE(result.message().contains(QStringLiteral("<date>"))) << result.message().toStdString();

    result = document.openDocument(path("missing.xml"));
    EXPECT_EQ(result.code(), builder::kExitXmlParser);
}

TEST_F(PackageFile, AFailedSaveKeepsTheFileAndTheModifiedFlag) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    SaveResult result = document.saveDocument(path("no-such-folder/new.xml"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.message().contains(QStringLiteral("could not be saved")));
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(document.pathName().isEmpty());

    // A folder in the place of the file: the existing entry is left alone.
    QDir(dir_.path()).mkdir(QStringLiteral("taken.xml"));
    result = document.saveDocument(path("taken.xml"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(QFileInfo(path("taken.xml")).isDir());
    EXPECT_TRUE(document.isModified());
}

// Each group's contact-ids give its members their memberships in group order;
// the contacts keep the order of the contacts element.
TEST_F(PackageFile, ContactIdsOfEveryGroupReachTheirContacts) {
    CSkedlinDoc document;
    const OpenResult result = document.openDocument(packageWithGroups(
        "<group name=\"A\"><group-description/><contact-ids><contact-id>30</contact-id>"
        "<contact-id>10</contact-id></contact-ids></group>"
        "<group name=\"B\"><group-description/><contact-ids><contact-id>10</contact-id></contact-ids></group>",
        "<contact id=\"10\"><last-name>Ten</last-name></contact><contact id=\"20\"/><contact id=\"30\"/>"));
    ASSERT_TRUE(result.ok()) << result.message().toStdString();
    ASSERT_EQ(document.contacts().size(), 3);
    EXPECT_EQ(document.contacts()[0].id, 10);
    EXPECT_EQ(document.contacts()[0].lastName, QStringLiteral("Ten"));
    EXPECT_EQ(document.contacts()[0].memberGroups, (QStringList{"A", "B"}));
    EXPECT_TRUE(document.contacts()[1].memberGroups.isEmpty());
    EXPECT_EQ(document.contacts()[2].memberGroups, QStringList{"A"});
}

}  // namespace
}  // namespace skedlin

namespace skedlin {
namespace {

// A copy of the package written elsewhere (for a build in a temporary folder)
// must name every bitmap file so the builder finds it from there.
TEST(PackageCopyPaths, BitmapPathsAreAbsoluteAndResolvedAgainstTheDocumentsFolder) {
    CSkedlinDoc document;
    document.setPathName(QStringLiteral("/home/ann/fair/fair.xml"));
    ImageReference inside, below, outside, embedded;
    inside.path = QStringLiteral("/home/ann/fair/logo.bmp");
    below.path = QStringLiteral("art\\icon.bmp");  // kept relative by the reader
    outside.path = QStringLiteral("/srv/shared/big.bmp");
    embedded.path = QStringLiteral("424d00");
    embedded.inlineDataKind = QStringLiteral("hex");
    document.setLogoImages({inside, below, outside, embedded});

    const QByteArray normal = writePackage(document, QStringLiteral("<?xml version=\"1.0\"?>"));
    EXPECT_TRUE(normal.contains(">.\\logo.bmp<"));
    const QByteArray copy = writePackage(document, QStringLiteral("<?xml version=\"1.0\"?>"), BitmapPaths::Absolute);
    EXPECT_TRUE(copy.contains(">/home/ann/fair/logo.bmp<"));
    EXPECT_TRUE(copy.contains(">/home/ann/fair/art/icon.bmp<"));
    EXPECT_TRUE(copy.contains(">/srv/shared/big.bmp<"));
    EXPECT_TRUE(copy.contains(">424d00<"));
}

}  // namespace
}  // namespace skedlin

#pragma once
// The content of a package in words, the same for both targets: title and
// welcome texts, navigation level, groups with their events and contacts,
// every event (date, times, repeat, exceptions, note) and every contact
// (names, company, phones with labels, address). Checks on the way that the
// group tables agree with each other and with the records, and notes what
// does not in the findings.

#include <cstdint>
#include <map>
#include <string>

#include "tools/inspect/InspectStatus.h"
#include "tools/inspect/PackageContent.h"
#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

// Adds title, welcome, author, navigation, groups, events and contacts to report.
void describePackage(const PackageContent& content, Node& report, Findings& findings);

bool isCalendarDay(const DayDate& date);
// "2026-05-14"; a date that is no day of the calendar keeps its numbers ("2026-13-40").
std::string dateText(const DayDate& date);
// 0 = Sunday; the date must be a calendar day.
int weekdayOf(const DayDate& date);
std::string weekdayName(int weekday);
// "09:05"
std::string timeText(const ClockTime& time);
// "every 2 weeks on Monday and Wednesday until 2026-12-31"
std::string repeatWords(const EventRepeatInfo& repeat, const DayDate& eventDate);

// Phone label names of the handheld address book (0 "work" ... 7 "mobile");
// another code gives "label N".
std::string palmPhoneLabel(unsigned code);

// The end of every file's report: the viewer's own resources counted by type,
// the findings as members "problems" and "unexpected", and the status they
// give (damaged when there is a problem).
void finishReport(const std::map<std::string, std::int64_t>& viewerResources, const Findings& findings,
                  InspectResult& result);

}  // namespace skedlin::inspect

#!/usr/bin/python3
# An independent reading of an iCalendar file's events, with the icalendar
# package: one line per event whose start it can place in time, as
#   title<TAB>local start (YYYY-MM-DD or YYYY-MM-DD HH:MM)<TAB>repeats (0/1)
# Local time is the zone of the TZ environment variable. Events whose zone the
# package cannot resolve on its own (a TZID known only from the file's
# VTIMEZONE) are left out, so the caller compares only what both readings know.
import datetime
import sys

import icalendar
from dateutil import tz

local = tz.gettz()
with open(sys.argv[1], 'rb') as f:
    data = f.read()

# Files may hold several calendars one after another.
parts = []
for chunk in data.split(b'BEGIN:VCALENDAR')[1:]:
    parts.append(icalendar.Calendar.from_ical(b'BEGIN:VCALENDAR' + chunk.split(b'END:VCALENDAR')[0] + b'END:VCALENDAR\r\n'))

for calendar in parts:
    for event in calendar.walk('VEVENT'):
        start = event.get('DTSTART')
        if start is None:
            continue
        value = start.dt
        if isinstance(value, datetime.datetime):
            if value.tzinfo is None:
                if 'TZID' in start.params:
                    continue
                text = value.strftime('%Y-%m-%d %H:%M')
            else:
                text = value.astimezone(local).strftime('%Y-%m-%d %H:%M')
        else:
            text = value.strftime('%Y-%m-%d')
        title = str(event.get('SUMMARY', '')).replace('\r', '')
        repeats = 1 if ('RRULE' in event or 'RDATE' in event or 'RECURRENCE-ID' in event) else 0
        print('%s\t%s\t%d' % (title.replace('\t', ' ').replace('\n', ' '), text, repeats))

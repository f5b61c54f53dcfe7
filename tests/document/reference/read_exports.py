#!/usr/bin/python3
# Reads an exported .ics with the icalendar package and an exported .vcf with
# vobject, printing what each holds, one line per event or card, so that a
# test can compare them with the package they came from:
#   EVENT<TAB>summary<TAB>start<TAB>end<TAB>rrule<TAB>exdates<TAB>categories<TAB>description
#   CARD<TAB>family<TAB>given<TAB>org<TAB>tel types=number;...<TAB>emails<TAB>street|city|region|code|country<TAB>categories<TAB>note
import sys

import icalendar
import vobject


def text(value):
    return str(value).replace('\\', '\\\\').replace('\n', '\\n').replace('\t', ' ')


def when(prop):
    if prop is None:
        return ''
    value = prop.dt
    return value.isoformat()


with open(sys.argv[1], 'rb') as f:
    calendar = icalendar.Calendar.from_ical(f.read())
for event in calendar.walk('VEVENT'):
    rrule = event.get('RRULE')
    rule = rrule.to_ical().decode() if rrule is not None else ''
    exdates = []
    ex = event.get('EXDATE')
    if ex is not None:
        for item in (ex if isinstance(ex, list) else [ex]):
            exdates.extend(d.dt.isoformat() for d in item.dts)
    categories = event.get('CATEGORIES')
    if categories is not None:
        categories = ','.join(str(c) for c in categories.cats)
    print('\t'.join(['EVENT', text(event.get('SUMMARY', '')), when(event.get('DTSTART')), when(event.get('DTEND')),
                     rule, ','.join(exdates), text(categories or ''), text(event.get('DESCRIPTION', ''))]))

with open(sys.argv[2], encoding='utf-8') as f:
    for card in vobject.readComponents(f.read()):
        n = card.n.value
        org = card.org.value[0] if hasattr(card, 'org') else ''
        tels = []
        for tel in card.contents.get('tel', []):
            tels.append('%s=%s' % (','.join(sorted(t.upper() for t in tel.params.get('TYPE', []))), tel.value))
        emails = [e.value for e in card.contents.get('email', [])]
        adr = ''
        if hasattr(card, 'adr'):
            a = card.adr.value
            adr = '|'.join([a.street, a.city, a.region, a.code, a.country])
        cats = ','.join(card.categories.value) if hasattr(card, 'categories') else ''
        note = card.note.value if hasattr(card, 'note') else ''
        print('\t'.join(['CARD', text(n.family), text(n.given), text(org), ';'.join(tels), ';'.join(emails), text(adr),
                         text(cats), text(note)]))

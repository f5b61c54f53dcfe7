#ifndef SKEDLIN_UI_IDS_H
#define SKEDLIN_UI_IDS_H
/* Resource and object ids of the Palm viewer's own user interface, shared by
 * the program and the host tool that encodes the resources. They stay in
 * 1000..1999, clear of the package's resources (4000 and up) and of the
 * launcher name and icons (1000 and 1001 of types tAIN and tAIB). */

#define VIEWER_FORM 1000      /* the one form: title bar, scroll bar, menu */
#define VIEWER_SCROLLBAR 1001 /* its scroll bar, shown when a list is longer than the screen */
#define VIEWER_MENUBAR 1000

#define MENU_COPY 1001  /* Options > Copy to Handheld */
#define MENU_ABOUT 1002 /* Options > About */
#define MENU_BACK 1003  /* Options > Back */

#define ALERT_DAMAGED 1100        /* ^1 reason, ^2 resource: error, back to the launcher */
#define ALERT_COPY_AGAIN 1101     /* confirmation: button 0 copies, 1 cancels */
#define ALERT_COPIED 1102         /* ^1 events, ^2 contacts, ^3 refused entries */
#define ALERT_COPY_FAILED 1103    /* ^1 what failed */
#define ALERT_NO_MEMORY 1104      /* not enough memory to show the package */
#define ALERT_NOTHING_CHOSEN 1105 /* the copy choice is empty */

#endif

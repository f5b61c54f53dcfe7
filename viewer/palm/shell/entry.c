/* The application's entry point, at the first byte of code resource 1. The
 * system calls it like a C function; the launch code and its parameters are
 * taken from the application information SysAppStartup returns. Every launch
 * is bracketed by SysAppStartup and SysAppExit; only the normal launch runs
 * the viewer, every other launch code returns errNone without touching any
 * state. */

#include "palmos.h"
#include "viewer.h"

__attribute__((section(".text.entry"), used)) UInt32 PilotMain(void) {
    SysAppInfoHead *appInfo = 0;
    MemPtr prevGlobals = 0;
    MemPtr globals = 0;
    Err err = SysAppStartup(&appInfo, &prevGlobals, &globals);
    if (err != errNone) return err;
    UInt32 result = errNone;
    if (appInfo && appInfo->cmd == sysAppLaunchCmdNormalLaunch) result = ViewerRun();
    SysAppExit(appInfo, prevGlobals, globals);
    return result;
}

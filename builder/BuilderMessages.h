#pragma once
// The builder's exit codes and message strings, in one place. The
// numbered strings are the builder's string table (2000 to 2012), quoted
// exactly; "%s", "%d" and "%ld" are filled by the step that fails.

#include <string>
#include <string_view>

#include "formats/Result.h"

namespace skedlin::builder {

// ---- Exit codes (the published list) ----------------------------
enum ExitCode : int {
    kExitSuccess = 0,
    kExitNonFatal = 1,      // also: the program cannot start (no build step returns it)
    kExitXmlParser = 2,     // the file does not load, parse or validate
    kExitXmlComponent = 3,  // the XML parser cannot be created
    kExitMissingFile = 4,   // a bitmap file cannot be loaded, or inline data is invalid
    kExitBitmapSize = 5,
    kExitBitmapColorDepth = 6,
    kExitBitmapFormat = 7,
    kExitDaysOfWeek = 8,
    kExitInvalidDate = 9,
    kExitDuplicateContactId = 10,
    kExitInvalidContactId = 11,
    kExitCabWizardStart = 12,
    kExitCabWizardError = 13,
};

// The outcome of a build step: kExitSuccess, or the exit code the build ends
// with and the message (Windows-1252) that main reports on standard error or
// in the error file.
using BuildResult = Result<ExitCode>;

// A required element or attribute that is missing: the file
// does not satisfy the package format, like a file that fails validation
// against the DTD, so it ends with the same code as an XML parser error.
inline constexpr ExitCode kExitMissingRequired = kExitXmlParser;

// A .prc, .exe or .inf that cannot be written is reported, with the code of
// a file that cannot be made.
inline constexpr ExitCode kExitOutputFile = kExitMissingFile;

// ---- Banner and usage text (standard output) -------------------------------
inline constexpr std::string_view kBannerProduct = "Quenby Skedlin";
inline constexpr std::string_view kBannerProgram = " Calendar Package Builder";
inline constexpr std::string_view kBannerVersionLabel = "     Version ";
inline constexpr std::string_view kBannerVersion = "1.6.2";
inline constexpr std::string_view kBannerMakerLine =
    "Turns a calendar package into handheld packages for Palm OS and Pocket PC.";

inline constexpr std::string_view kUsageLines[] = {
    "usage: <in file name>.XML <out file name> [ /ERR <err file name> ] [ /PALM /WINCE ] ",
    "   Exit codes:",
    "       0 - No errors",
    "       1 - Non-fatal errors (string length limits)",
    "       2 - XML Parser error",
    "       3 - Microsoft XML Component not available",
    "       4 - Missing file error",
    "       5 - Bitmap size error",
    "       6 - Unsupport bitmap color depth",
    "       7 - Unsupport bitmap format",
    "       8 - Invalid Days Of Week string, length must be 7 characters",
    "       9 - Invalid date format",
    "      10 - Duplicate contact Id",
    "      11 - Invalid contact Id",
    "      12 - Unable to run the Microsoft CAB Wizard",
    "      13 - Error returned by Microsoft CAB Wizard",
};

// ---- Options (compared case-insensitively with the whole argument) --------
inline constexpr std::string_view kOptionErrorFile = "/ERR";
inline constexpr std::string_view kOptionPalm = "/PALM";
inline constexpr std::string_view kOptionPocketPc = "/WINCE";

// ---- Reports ---------------------------------------------------------------
inline constexpr std::string_view kFatalErrorPrefix = "Fatal error: ";
inline constexpr std::string_view kErrorFileSeparator = "\nFatal error: ";
inline constexpr std::string_view kStartupFailure = "Fatal Error: MFC initialization failed";

// ---- The builder's string table --------------------------------------------
inline constexpr std::string_view kMsgXmlParserMissing =  // 2000
    "Unable to load Microsoft XLM Parser.\nDownload and install MSXML (Microsoft XML Parser) 3.0 from "
    "http://msdn.microsoft.com/xml.";
inline constexpr std::string_view kMsgBadDaysOfWeek = "Bad days of week string - '%s'.";                      // 2001
inline constexpr std::string_view kMsgUnableToLoadBitmap = "Unable to load bitmap file: ";                    // 2002
inline constexpr std::string_view kMsgInvalidInlineBitmap = "Invalid inline bitmap.";                         // 2003
inline constexpr std::string_view kMsgBitmapFormat = "The bitmap format is not supported -  ";                // 2004
inline constexpr std::string_view kMsgBitmapTooWide = "The bitmap is too wide - ";                            // 2005
inline constexpr std::string_view kMsgBitmapTooTall = "The bitmap is too tall - ";                            // 2006
inline constexpr std::string_view kMsgBitmapColors = "The number of colors in the bitmap is not support - ";  // 2007
inline constexpr std::string_view kMsgRelatedBitmaps = "Related bitmaps must have the same dimensions - ";    // 2008
inline constexpr std::string_view kMsgLineNumber = "Line #%ld: ";                                             // 2009
inline constexpr std::string_view kMsgInline = "inline";                                                      // 2010
inline constexpr std::string_view kMsgCabWizardError =                                                        // 2011
    "An error was returned by the Microsoft CAB Wizard.  Error number = %d";
inline constexpr std::string_view kMsgCabWizardStart =  // 2012
    "Unable to run the Microsoft CAB Wizard. The CAB Wizard may be missing or corrupted. Run the Skedlin setup "
    "to correct this error.";
// A message without a number of its own.
inline constexpr std::string_view kMsgInvalidDate = "Invalid Date: %s";

// ---- Messages of our own (our own choices) --
// "Missing required element <launcher-name> in <app-launcher> (line 4)."
std::string missingElementMessage(std::string_view element, std::string_view parent, long parentLine = 0);
// "Missing required attribute "id" of <contact> (line 12)."
std::string missingAttributeMessage(std::string_view attribute, std::string_view element, long elementLine = 0);
// "Unable to write the output file: <path> (<reason>)."
std::string outputFileMessage(std::string_view path, std::string_view reason);
// "The transparent-color attribute "red" is not a hexadecimal colour (0xRRGGBB) - <bitmap>"
std::string transparentColourMessage(std::string_view value, std::string_view bitmapName);
// "The output name "a,b" holds the character ',', which the Pocket PC installation
// description cannot hold."
std::string outputNameCharacterMessage(std::string_view outputName, char character);
// "The Palm viewer template is damaged."
inline constexpr std::string_view kMsgTemplateDamaged = "The Palm viewer template built into the program is damaged.";

// printf-style filling of one "%s", "%d" or "%ld" of a message string.
std::string fillMessage(std::string_view format, std::string_view text);
std::string fillMessage(std::string_view format, long number);

}  // namespace skedlin::builder

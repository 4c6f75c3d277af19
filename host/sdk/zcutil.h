// Utilities of the host interface: printing on the command line and unit conversion.
#pragma once

#include "zcadstatus.h"
#include "zcadstrc.h"

// Prints on the command line. The format follows the host's conventions: "%s" and "%c" take
// wide strings and characters; the other conversions are those of printf. The text reaches the
// transcript unchanged. Returns the number of characters printed.
int zcutPrintf(const wchar_t* format, ...);

// Converts a value between units named as in the INSUNITS table ("millimeter", "inch", "foot",
// "meter", ... singular or plural, any case). RTERROR for an unknown or incompatible name.
int zcutCvUnit(zds_real value, const wchar_t* oldunit, const wchar_t* newunit, zds_real* result);

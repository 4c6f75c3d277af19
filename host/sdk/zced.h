// The editor of the host interface: commands, prompts, selection sets, coordinate systems,
// system variables, LISP symbols, loaded modules, help and the status bar.
//
// Prompts answer RTNORM when the user gave a value, RTNONE for Enter (no value), RTCAN for Esc,
// and RTERROR when nothing could be had (a pick that hit nothing, a call outside a session).
#pragma once

#include <cstddef>
#include <cstdint>

#include "zcadstatus.h"
#include "zcadstrc.h"

typedef zds_real zds_matrix[4][4];

// --- Commands and LISP --------------------------------------------------------------------------

// Runs a host command given as (type, value) pairs ended by RTNONE or 0, e.g.
// zcedCommand(RTSTR, L"_REGEN", RTNONE). The first string names the command (a leading "_" or
// "." is allowed); the values after it answer the command's prompts in order.
int zcedCommand(int rtype, ...);
// The same with the pairs as a result-buffer chain.
int zcedCmd(const resbuf* rbp);

// Sets a LISP symbol to a copy of value (null sets it to nil).
int zcedPutSym(const wchar_t* sname, resbuf* value);
// A copy of a symbol's value (the caller releases it); an unset symbol gives RTNIL.
int zcedGetSym(const wchar_t* sname, resbuf** value);
// Queues a LISP expression to be evaluated when the current command ends.
int zds_queueexpr(const wchar_t* expr);

// --- Prompts -------------------------------------------------------------------------------------

// Restrictions for the next prompt (one call of zcedGetInt, zcedGetReal, zcedGetPoint...).
constexpr int RSG_NONULL = 0x0001; // Enter is refused
constexpr int RSG_NOZERO = 0x0002; // zero is refused
constexpr int RSG_NONEG = 0x0004;  // negative numbers are refused
// Sets the restrictions and the keywords (separated by blanks) the next prompt accepts; a
// keyword answer returns RTKWORD and zcedGetInput gives it.
int zcedInitGet(int val, const wchar_t* kwl);
int zcedGetInput(wchar_t* str, std::size_t bufLen = 512);

// A point in user coordinates. pt is an optional base point (may be null).
int zcedGetPoint(const zds_point pt, const wchar_t* prompt, zds_point result);
// The other corner of a rectangle whose first corner is pt (required).
int zcedGetCorner(const zds_point pt, const wchar_t* prompt, zds_point result);
int zcedGetInt(const wchar_t* prompt, int* result);
int zcedGetReal(const wchar_t* prompt, zds_real* result);
// A text; with cronly 0 the text ends at the first blank. Enter gives RTNORM and "".
int zcedGetString(int cronly, const wchar_t* prompt, wchar_t* result, std::size_t bufLen = 2049);
// Picks one entity of the drawing: its name and the picked point.
int zcedEntSel(const wchar_t* str, zds_name entres, zds_point ptres);
// Picks the innermost entity at a point, through block references. xformres is the transform
// from the entity's block to the world; refstkres lists the references holding it, innermost
// first (null for an entity of the drawing itself). With pickflag set, ptres is the pick
// point and nothing is asked.
int zcedNEntSelP(const wchar_t* str, zds_name entres, zds_point ptres, int pickflag,
                 zds_matrix xformres, resbuf** refstkres);

// --- Selection sets ------------------------------------------------------------------------------

// Modes: null (ask), "X" (every entity), "I" (the implied selection), "C" and "W" (crossing and
// window between pt1 and pt2), ":S" (one answer), "L" (the last entity). Nothing selected gives
// RTERROR; Esc gives RTCAN.
int zcedSSGet(const wchar_t* str, const void* pt1, const void* pt2, const resbuf* filter,
              zds_name ss);
int zcedSSLength(const zds_name ss, std::int32_t* len);
int zcedSSName(const zds_name ss, std::int32_t i, zds_name entres);
// How element i was selected: (method name marker [point list]); a pick holds its point as
// an RT3DPOINT. The caller releases the chain.
int zcedSSNameX(resbuf** rbpp, const zds_name ss, std::int32_t i);
// Adds ename to sname (both null: a new empty set) and gives the set in result.
int zcedSSAdd(const zds_name ename, const zds_name sname, zds_name result);
int zcedSSDel(const zds_name ename, const zds_name ss);
int zcedSSFree(const zds_name sname);
// The implied (pre-picked) selection as an RTPICKS element in pset (null when there is none).
int zcedSSGetFirst(resbuf** gset, resbuf** pset);
int zcedSSSetFirst(const zds_name pset, const zds_name unused);

// --- Coordinates and variables
// --------------------------------------------------------------------

// Converts a point (disp 0) or displacement (disp 1) between coordinate systems given as RTSHORT
// codes: 0 world, 1 user, 2 display.
int zcedTrans(const zds_point pt, const resbuf* from, const resbuf* to, int disp, zds_point result);
// The value of a system variable in its own type (RTSHORT, RTREAL, RTSTR, RT3DPOINT).
int zcedGetVar(const wchar_t* sym, resbuf* result);
// Sets a variable from a one-element chain; RTERROR for an unknown or read-only variable, a
// value of the wrong type or out of range.
int zcedSetVar(const wchar_t* sym, const resbuf* val);

// --- Modules, files, help
// --------------------------------------------------------------------------

// The file names (without folder) of the loaded modules, as RTSTR elements.
resbuf* zcedZrxLoaded();
int zcedZrxLoad(const wchar_t* app);
int zcedZrxUnload(const wchar_t* app);
// Looks a file up as given, then beside the drawing and the loaded modules; the found path in
// result.
int zcedFindFile(const wchar_t* fname, wchar_t* result, std::size_t bufLen = 260);
// Binds F1 help to a command ("C:" + name).
int zcedSetFunHelp(const wchar_t* functionName, const wchar_t* helpFile, const wchar_t* topic,
                   int cmd);

// --- Status bar
// ------------------------------------------------------------------------------------

int zcedSetStatusBarProgressMeter(const wchar_t* label, int minPos, int maxPos);
int zcedSetStatusBarProgressMeterPos(int pos);
void zcedRestoreStatusBar();

// Status values of the host interface: input results (RT*) and database error statuses.
#pragma once

// Results of input functions and result-buffer type codes.
constexpr int RTNONE = 5000;
constexpr int RTREAL = 5001;
constexpr int RTPOINT = 5002;
constexpr int RTSHORT = 5003;
constexpr int RTANG = 5004;
constexpr int RTSTR = 5005;
constexpr int RTENAME = 5006;
constexpr int RTPICKS = 5007;
constexpr int RTORINT = 5008;
constexpr int RT3DPOINT = 5009;
constexpr int RTLONG = 5010;
constexpr int RTVOID = 5014;
constexpr int RTLB = 5016;
constexpr int RTLE = 5017;
constexpr int RTDOTE = 5018;
constexpr int RTNIL = 5019;
constexpr int RTDXF0 = 5020;
constexpr int RTT = 5021;
constexpr int RTNORM = 5100;
constexpr int RTERROR = -5001;
constexpr int RTCAN = -5002;
constexpr int RTREJ = -5003;
constexpr int RTFAIL = -5004;
constexpr int RTKWORD = -5005;

namespace Zcad {

// Error statuses of database operations; 0 means success. The numeric values are part of the
// interface: callers print them and compare them.
enum ErrorStatus : int {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eOutOfMemory = 6,
    eInvalidOpenState = 8,
    eHandleExists = 10,
    eNullHandle = 11,
    eUnknownHandle = 13,
    eNullObjectPointer = 15,
    eNullBlockName = 17,
    eNullEntityPointer = 20,
    eIllegalEntityType = 21,
    eKeyNotFound = 22,
    eDuplicateKey = 23,
    eInvalidIndex = 24,
    eAlreadyInDb = 25,
    eSelfReference = 26,
    eWrongObjectType = 34,
    eDegenerateGeometry = 35,
    eInvalidExtents = 40,
    eFileAccessErr = 72,
    eFileSystemErr = 73,
    eFileNotFound = 76,
    eNotOpenForRead = 78,
    eNotOpenForWrite = 79,
    eWasErased = 80,
    eWasOpenedForRead = 82,
    eWasOpenedForWrite = 83,
    eNotInDatabase = 89,
    eInvalidDxfCode = 120,
    eBadDxfSequence = 122,
    eNoDatabase = 221,
    eNullObjectId = 374,
    eUndefinedBlock = 379,
    eNotThatKindOfClass = 20077,
};

} // namespace Zcad

// The host's text for a status: its name, as the host prints it.
const wchar_t* zcadErrorStatusText(Zcad::ErrorStatus status);

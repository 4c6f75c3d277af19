// Status values of the handles and the exception that carries a host status.
#pragma once

namespace gantrel {

namespace HandleStatus {
constexpr int kOk = 0;
constexpr int kNoObject = 15;      // a block table record that cannot be opened
constexpr int kNotOpened = 20;     // the object cannot be opened, or nothing is open
constexpr int kWrongClass = 21;    // the object is not of the handle's host class
constexpr int kErased = 80;        // the object is erased
constexpr int kInvalidId = 374;    // the id is null (also the initial status)
constexpr int kCannotCast = 20077; // passed the class test but cannot be seen as that class
} // namespace HandleStatus

// A host status thrown by the few operations that cannot return one.
struct HostStatusError {
    int status;
};

} // namespace gantrel

// DXF text as (group code, value) data for comparisons: records keyed by their handle, reals
// compared by value, and a printed diff of what differs.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dxftest {

struct GroupRecord {
    std::string name;
    std::vector<std::pair<int, std::string>> groups;
};

// The records of DXF text in order (a record per 0 group). Throws std::runtime_error for text
// that is not DXF groups.
std::vector<GroupRecord> parseGroups(std::string_view text);

// The value of the first group with this code, or "".
std::string valueOf(const GroupRecord& r, int code);
// Records of one DXF name.
std::vector<const GroupRecord*> recordsNamed(const std::vector<GroupRecord>& records,
                                             std::string_view name);
// The records must outlive the pointers.
std::vector<const GroupRecord*> recordsNamed(std::vector<GroupRecord>&& records,
                                             std::string_view name) = delete;

// Compares two files' records: records with a handle by handle, the others in order. Reals
// compare equal within a relative 1e-12; header variables listed in ignoredVariables are
// skipped. Returns "" when equal, else one line per difference.
std::string diffGroups(const std::vector<GroupRecord>& expected,
                       const std::vector<GroupRecord>& actual,
                       const std::vector<std::string>& ignoredVariables = {"$HANDSEED"});

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view text);

} // namespace dxftest

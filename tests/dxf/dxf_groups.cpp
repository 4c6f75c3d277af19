// Group-pair parsing and comparison.
#include "dxf_groups.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace dxftest {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool isReal(int code) {
    return (code >= 10 && code < 60) || (code >= 110 && code < 150) ||
           (code >= 210 && code < 240) || (code >= 460 && code < 470) ||
           (code >= 1010 && code < 1060);
}

bool sameValue(int code, const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    if (isReal(code)) {
        char* ea = nullptr;
        char* eb = nullptr;
        const double x = std::strtod(a.c_str(), &ea);
        const double y = std::strtod(b.c_str(), &eb);
        if (*ea || *eb)
            return false;
        return std::abs(x - y) <= 1e-12 * std::max({1.0, std::abs(x), std::abs(y)});
    }
    // Integers may be written with blanks or as "1" and "1.0".
    return trimmed(a) == trimmed(b);
}

std::string handleOf(const GroupRecord& r) {
    for (const auto& [code, value] : r.groups)
        if (code == 5 || code == 105)
            return value;
    return {};
}

std::string describe(const GroupRecord& r) {
    const std::string h = handleOf(r);
    return r.name + (h.empty() ? "" : " #" + h);
}

// Header variables as records of their own, so that they compare by name.
std::vector<GroupRecord> split(const std::vector<GroupRecord>& records) {
    std::vector<GroupRecord> out;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GroupRecord& r = records[i];
        if (r.name == "SECTION" && !r.groups.empty() && r.groups[0].second == "HEADER") {
            for (const auto& [code, value] : r.groups) {
                if (code == 9)
                    out.push_back({"$" + value.substr(value.starts_with("$") ? 1 : 0), {}});
                else if (code != 2 && !out.empty())
                    out.back().groups.emplace_back(code, value);
            }
            continue;
        }
        out.push_back(r);
    }
    return out;
}

} // namespace

std::vector<GroupRecord> parseGroups(std::string_view text) {
    std::vector<GroupRecord> records;
    std::size_t pos = 0, line = 0;
    auto nextLine = [&](std::string_view& out) {
        if (pos >= text.size())
            return false;
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        out = text.substr(pos, end - pos);
        if (!out.empty() && out.back() == '\r')
            out.remove_suffix(1);
        pos = end + 1;
        ++line;
        return true;
    };
    std::string_view codeLine, value;
    while (nextLine(codeLine)) {
        if (trimmed(codeLine).empty() && pos >= text.size())
            break;
        if (!nextLine(value))
            throw std::runtime_error("no value after line " + std::to_string(line));
        const int code = std::stoi(std::string(trimmed(codeLine)));
        if (code == 0)
            records.push_back({std::string(trimmed(value)), {}});
        else if (!records.empty())
            records.back().groups.emplace_back(code, std::string(value));
    }
    return records;
}

std::string valueOf(const GroupRecord& r, int code) {
    for (const auto& [c, v] : r.groups)
        if (c == code)
            return v;
    return {};
}

std::vector<const GroupRecord*> recordsNamed(const std::vector<GroupRecord>& records,
                                             std::string_view name) {
    std::vector<const GroupRecord*> out;
    for (const GroupRecord& r : records)
        if (r.name == name)
            out.push_back(&r);
    return out;
}

std::string diffGroups(const std::vector<GroupRecord>& expectedRecords,
                       const std::vector<GroupRecord>& actualRecords,
                       const std::vector<std::string>& ignoredVariables) {
    const std::vector<GroupRecord> expected = split(expectedRecords);
    const std::vector<GroupRecord> actual = split(actualRecords);
    auto ignored = [&](const GroupRecord& r) {
        for (const std::string& v : ignoredVariables)
            if (r.name == v)
                return true;
        return false;
    };
    auto key = [](const GroupRecord& r, std::size_t index) {
        if (r.name.starts_with("$"))
            return r.name;
        const std::string h = handleOf(r);
        return h.empty() ? r.name + "@" + std::to_string(index) : "#" + h;
    };
    std::map<std::string, const GroupRecord*> byKey;
    std::map<std::string, std::size_t> seen;
    for (const GroupRecord& r : actual)
        byKey[key(r, seen[r.name]++)] = &r;
    std::ostringstream out;
    seen.clear();
    std::map<std::string, bool> matched;
    for (const GroupRecord& e : expected) {
        const std::string k = key(e, seen[e.name]++);
        if (ignored(e))
            continue;
        auto it = byKey.find(k);
        if (it == byKey.end()) {
            out << "- missing " << describe(e) << "\n";
            continue;
        }
        matched[k] = true;
        const GroupRecord& a = *it->second;
        if (a.name != e.name)
            out << "~ " << describe(e) << ": is " << a.name << "\n";
        const std::size_t n = std::max(e.groups.size(), a.groups.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (i < e.groups.size() && i < a.groups.size() &&
                e.groups[i].first == a.groups[i].first &&
                sameValue(e.groups[i].first, e.groups[i].second, a.groups[i].second))
                continue;
            out << "~ " << describe(e) << " group " << i << ": expected ";
            if (i < e.groups.size())
                out << e.groups[i].first << " \"" << e.groups[i].second << "\"";
            else
                out << "nothing";
            out << ", actual ";
            if (i < a.groups.size())
                out << a.groups[i].first << " \"" << a.groups[i].second << "\"";
            else
                out << "nothing";
            out << "\n";
            break;
        }
    }
    seen.clear();
    for (const GroupRecord& a : actual) {
        const std::string k = key(a, seen[a.name]++);
        if (!matched.count(k) && !ignored(a))
            out << "+ extra " << describe(a) << "\n";
    }
    return out.str();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace dxftest

#include "Esicup.h"

#include "nesting/geometry/Predicates.h"

#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <variant>

namespace gantrel::testing {

namespace {

// A minimal JSON value: enough for the instance files (objects, arrays, numbers, strings).
struct Json {
    std::variant<std::nullptr_t, double, std::string, std::vector<Json>,
                 std::map<std::string, Json>, bool>
        value;

    const Json& operator[](const std::string& key) const {
        const auto& object = std::get<std::map<std::string, Json>>(value);
        const auto it = object.find(key);
        if (it == object.end()) {
            throw std::runtime_error("missing key " + key);
        }
        return it->second;
    }
    bool Has(const std::string& key) const {
        return std::get<std::map<std::string, Json>>(value).count(key) != 0;
    }
    const std::vector<Json>& Array() const { return std::get<std::vector<Json>>(value); }
    double Number() const { return std::get<double>(value); }
    const std::string& String() const { return std::get<std::string>(value); }
};

class Parser {
public:
    explicit Parser(const std::string& text) : m_text(text) {}

    Json Parse() {
        Json j = Value();
        Skip();
        if (m_pos != m_text.size()) {
            Fail();
        }
        return j;
    }

private:
    [[noreturn]] void Fail() const {
        throw std::runtime_error("malformed JSON at offset " + std::to_string(m_pos));
    }
    void Skip() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }
    char Peek() {
        Skip();
        if (m_pos >= m_text.size()) {
            Fail();
        }
        return m_text[m_pos];
    }
    void Expect(char c) {
        if (Peek() != c) {
            Fail();
        }
        ++m_pos;
    }
    Json Value() {
        const char c = Peek();
        if (c == '{') {
            ++m_pos;
            std::map<std::string, Json> object;
            if (Peek() == '}') {
                ++m_pos;
                return Json{object};
            }
            for (;;) {
                const std::string key = String();
                Expect(':');
                object[key] = Value();
                if (Peek() == ',') {
                    ++m_pos;
                    continue;
                }
                Expect('}');
                return Json{object};
            }
        }
        if (c == '[') {
            ++m_pos;
            std::vector<Json> array;
            if (Peek() == ']') {
                ++m_pos;
                return Json{array};
            }
            for (;;) {
                array.push_back(Value());
                if (Peek() == ',') {
                    ++m_pos;
                    continue;
                }
                Expect(']');
                return Json{array};
            }
        }
        if (c == '"') {
            return Json{String()};
        }
        if (m_text.compare(m_pos, 4, "true") == 0) {
            m_pos += 4;
            return Json{true};
        }
        if (m_text.compare(m_pos, 5, "false") == 0) {
            m_pos += 5;
            return Json{false};
        }
        if (m_text.compare(m_pos, 4, "null") == 0) {
            m_pos += 4;
            return Json{nullptr};
        }
        std::size_t used = 0;
        const double number = std::stod(m_text.substr(m_pos, 40), &used);
        if (used == 0) {
            Fail();
        }
        m_pos += used;
        return Json{number};
    }
    std::string String() {
        Expect('"');
        std::string s;
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            if (m_text[m_pos] == '\\') {
                ++m_pos;
            }
            s += m_text[m_pos++];
        }
        Expect('"');
        return s;
    }

    const std::string& m_text;
    std::size_t m_pos = 0;
};

std::string DataFolder() {
    return std::string(GANTREL_TEST_DATA) + "/nesting/esicup/";
}

} // namespace

EsicupInstance LoadEsicup(const std::string& name) {
    std::ifstream in(DataFolder() + name + ".json");
    if (!in) {
        throw std::runtime_error("cannot read instance " + name);
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    const Json root = Parser(text).Parse();

    EsicupInstance instance;
    instance.name = name;
    instance.stripHeight = root["strip_height"].Number();
    for (const Json& item : root["items"].Array()) {
        EsicupItem e;
        e.id = static_cast<int>(item["id"].Number());
        e.demand = static_cast<int>(item["demand"].Number());
        for (const Json& angle : item["allowed_orientations"].Array()) {
            e.orientations.push_back(angle.Number());
        }
        for (const Json& point : item["shape"]["data"].Array()) {
            e.shape.AddXY(point.Array().at(0).Number(), point.Array().at(1).Number());
        }
        if (item.Has("solution_placement")) {
            const std::vector<Json>& at = item["solution_placement"].Array();
            e.hasSolutionPlacement = true;
            e.solutionPlacement = GePoint(at.at(0).Number(), at.at(1).Number());
        }
        if (e.shape.Size() > 1 && Coincident(e.shape[0], e.shape.Last())) {
            e.shape.RemoveLast();
        }
        if (SignedArea(e.shape) > 0) {
            e.shape.Reverse();
        }
        e.shape.SetName(std::wstring(name.begin(), name.end()) + L"-" + std::to_wstring(e.id));
        instance.items.push_back(std::move(e));
    }
    return instance;
}

std::vector<std::string> EsicupNames() {
    return {"albano",  "blaz1",   "dagli",   "fu",     "jakobs1", "jakobs2", "mao",
            "marques", "shapes0", "shapes1", "shirts", "swim",    "trousers"};
}

std::vector<std::string> AllEsicupNames() {
    std::vector<std::string> names = EsicupNames();
    names.insert(names.begin() + 3, {"dighe1", "dighe2"});
    return names;
}

} // namespace gantrel::testing

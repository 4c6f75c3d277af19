// zcutCvUnit over the length units of the INSUNITS table.
#include <string>

#include "winhost.h"
#include "zcutil.h"

namespace {

struct LengthUnit {
    const char* name; // singular, lower case
    const char* plural;
    double meters;
};

// The units of INSUNITS 1 to 24 (0 is unitless and converts to nothing).
const LengthUnit kUnits[] = {
    {"inch", "inches", 0.0254},
    {"foot", "feet", 0.3048},
    {"mile", "miles", 1609.344},
    {"millimeter", "millimeters", 0.001},
    {"centimeter", "centimeters", 0.01},
    {"meter", "meters", 1.0},
    {"kilometer", "kilometers", 1000.0},
    {"microinch", "microinches", 2.54e-8},
    {"mil", "mils", 2.54e-5},
    {"yard", "yards", 0.9144},
    {"angstrom", "angstroms", 1e-10},
    {"nanometer", "nanometers", 1e-9},
    {"micron", "microns", 1e-6},
    {"decimeter", "decimeters", 0.1},
    {"decameter", "decameters", 10.0},
    {"hectometer", "hectometers", 100.0},
    {"gigameter", "gigameters", 1e9},
    {"astronomical unit", "astronomical units", 149597870700.0},
    {"light year", "light years", 9460730472580800.0},
    {"parsec", "parsecs", 3.0856775814913673e16},
    {"us survey foot", "us survey feet", 1200.0 / 3937.0},
    {"us survey inch", "us survey inches", 100.0 / 3937.0},
    {"us survey yard", "us survey yards", 3600.0 / 3937.0},
    {"us survey mile", "us survey miles", 6336000.0 / 3937.0},
};

// The unit's size in meters; 0 when the name is unknown. "metre" spellings are accepted.
double metersOf(const wchar_t* name) {
    if (!name)
        return 0.0;
    std::string n;
    for (char c : win::Narrow(name)) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '_' || c == '-')
            c = ' ';
        n += c;
    }
    while (!n.empty() && n.back() == ' ')
        n.pop_back();
    while (!n.empty() && n.front() == ' ')
        n.erase(0, 1);
    for (std::size_t pos; (pos = n.find("metre")) != std::string::npos;)
        n.replace(pos, 5, "meter");
    for (const LengthUnit& u : kUnits)
        if (n == u.name || n == u.plural)
            return u.meters;
    return 0.0;
}

} // namespace

int zcutCvUnit(zds_real value, const wchar_t* oldunit, const wchar_t* newunit, zds_real* result) {
    double from = metersOf(oldunit), to = metersOf(newunit);
    if (from == 0.0 || to == 0.0 || !result)
        return RTERROR;
    *result = from == to ? value : value * from / to;
    return RTNORM;
}

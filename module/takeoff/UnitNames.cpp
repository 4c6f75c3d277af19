#include "takeoff/UnitNames.h"

namespace gantrel {

const std::vector<std::wstring>& UnitNames() {
    static const std::vector<std::wstring> names = {L"No units",
                                                    L"Inches",
                                                    L"Feet",
                                                    L"Miles",
                                                    L"Millimeters",
                                                    L"Centimeters",
                                                    L"Meters",
                                                    L"Kilometers",
                                                    L"Microinches",
                                                    L"Mils",
                                                    L"Yards",
                                                    L"Angstroms",
                                                    L"Nanometers",
                                                    L"Microns",
                                                    L"Decimeters",
                                                    L"Decameters",
                                                    L"Hectometers",
                                                    L"Gigameters",
                                                    L"Astronomical Units",
                                                    L"Light Years",
                                                    L"Parsecs"};
    return names;
}

std::wstring UnitName(int insunits) {
    const std::vector<std::wstring>& names = UnitNames();
    if (insunits < 0 || static_cast<std::size_t>(insunits) >= names.size()) {
        return {};
    }
    return names[static_cast<std::size_t>(insunits)];
}

} // namespace gantrel

#include "SvgDump.h"

#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace gantrel::testing {

std::string WriteSvg(const std::string& name, const std::vector<SvgShape>& shapes) {
    BoundingBox box;
    for (const SvgShape& s : shapes) {
        for (const GePoint& p : s.points) {
            box.Add(p);
        }
    }
    const double margin = 0.05 * std::max({box.Width(), box.Height(), 1e-9});
    box.Inflate(margin);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "gantrel-svg";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / (name + ".svg");
    const std::filesystem::path temporary = folder / (name + ".svg.tmp");
    {
        std::ofstream out(temporary);
        out << "<svg xmlns='http://www.w3.org/2000/svg' viewBox='" << box.Min().x << ' '
            << -box.Max().y << ' ' << box.Width() << ' ' << box.Height() << "'>\n";
        const double stroke = 0.002 * std::max(box.Width(), box.Height());
        for (const SvgShape& s : shapes) {
            out << "<polygon fill='" << s.colour << "' fill-opacity='0.3' stroke='" << s.colour
                << "' stroke-width='" << stroke << "' points='";
            for (const GePoint& p : s.points) {
                out << p.x << ',' << -p.y << ' ';
            }
            out << "'/>\n";
        }
        out << "</svg>\n";
    }
    std::filesystem::rename(temporary, path);
    return path.string();
}

} // namespace gantrel::testing

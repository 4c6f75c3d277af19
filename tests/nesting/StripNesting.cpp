#include "StripNesting.h"

#include "SvgDump.h"
#include "common/Random.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/search/ArrangementStep.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace gantrel::testing {

namespace {

constexpr double kCheckScaleFactor = 1e6;

ClipperLib::Path ToPath(const GePoints& points) {
    ClipperLib::Path path;
    for (const GePoint& p : points) {
        path.emplace_back(std::llround(p.x * kCheckScaleFactor),
                          std::llround(p.y * kCheckScaleFactor));
    }
    return path;
}

double AreaOf(const ClipperLib::Paths& paths) {
    double area = 0.0;
    for (const ClipperLib::Path& path : paths) {
        area += ClipperLib::Area(path);
    }
    return std::fabs(area) / (kCheckScaleFactor * kCheckScaleFactor);
}

double Clip(const GePoints& a, const GePoints& b, ClipperLib::ClipType type) {
    ClipperLib::Clipper clipper;
    clipper.AddPath(ToPath(a), ClipperLib::ptSubject, true);
    clipper.AddPath(ToPath(b), ClipperLib::ptClip, true);
    ClipperLib::Paths solution;
    clipper.Execute(type, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return AreaOf(solution);
}

} // namespace

NestPolygon NamedRectangle(const std::wstring& name, double width, double height) {
    NestPolygon p{GePoint(0, 0), GePoint(width, 0), GePoint(width, height), GePoint(0, height)};
    p.SetName(name);
    return p;
}

StripProblem MakeStripProblem(const EsicupInstance& instance, bool allowRotation) {
    StripProblem problem;
    problem.name = instance.name;
    while (instance.stripHeight * problem.scale < 1000.0) {
        problem.scale *= 10.0;
    }
    while (instance.stripHeight * problem.scale > 10000.0) {
        problem.scale /= 10.0;
    }
    problem.stripHeight = instance.stripHeight * problem.scale;
    double length = 0.0;
    for (const EsicupItem& item : instance.items) {
        const bool rotatable = allowRotation && item.orientations.size() > 1;
        if (rotatable) {
            problem.rotationCount =
                std::max(problem.rotationCount, static_cast<int>(item.orientations.size()));
        }
        NestPolygon shape;
        for (const GePoint& p : item.shape) {
            shape.AddXY(p.x * problem.scale, p.y * problem.scale);
        }
        shape.SetRotatable(rotatable);
        const BoundingBox box = BoundingBoxOf(shape);
        for (int copy = 0; copy < item.demand; ++copy) {
            NestPolygon piece = shape;
            piece.SetName(item.shape.Name() + L"#" + std::to_wstring(copy));
            problem.parts.Add(piece);
            if (item.hasSolutionPlacement && item.demand == 1) {
                problem.solution[piece.Name()] = GePoint(item.solutionPlacement.x * problem.scale,
                                                         item.solutionPlacement.y * problem.scale);
            }
            problem.totalArea += std::fabs(SignedArea(piece));
            length += std::max(box.Width(), box.Height());
        }
    }
    std::stable_sort(problem.parts.begin(), problem.parts.end(),
                     [](const NestPolygon& a, const NestPolygon& b) {
                         return std::fabs(SignedArea(a)) > std::fabs(SignedArea(b));
                     });
    problem.sheet =
        NestPolygon{GePoint(0.0, 0.0), GePoint(length, 0.0), GePoint(length, problem.stripHeight),
                    GePoint(0.0, problem.stripHeight)};
    problem.sheet.SetName(L"-1");
    return problem;
}

NestSettings StripSettings(const StripProblem& problem, bool allowRotation, int population) {
    NestSettings settings;
    settings.spacing = 0.0;
    settings.population = population;
    settings.rotationAllowed = allowRotation && problem.rotationCount > 1;
    settings.rotationCount = problem.rotationCount;
    return settings;
}

SearchRun RunStripSearch(const StripProblem& problem, const NestSettings& settings, int evaluations,
                         unsigned seed, bool sequentialNfp) {
    srand(seed);
    NfpCache cache;
    Losowacz search(problem.parts, problem.sheet, settings);
    SearchRun run;
    for (int i = 0; i < evaluations; ++i) {
        StepOutcome outcome =
            EvaluateNextArrangement(search, problem.sheet, settings, cache, sequentialNfp, nullptr);
        if (!outcome.evaluated) {
            break;
        }
        run.results.Add(std::move(outcome.result));
        ++run.evaluated;
    }
    run.best = run.results.Best();
    return run;
}

NestPolygon PlacedOutline(const StripProblem& problem, const Position& position) {
    for (const NestPolygon& part : problem.parts) {
        if (part.Name() == position.name) {
            NestPolygon rotated = part;
            rotated.SetRotation(position.rotation);
            return rotated.Rotated().Translated(
                Vector(position.translation.x, position.translation.y));
        }
    }
    return NestPolygon();
}

double UsedLength(const StripProblem& problem, const Positions& positions) {
    BoundingBox box;
    for (const Position& position : positions) {
        for (const GePoint& p : PlacedOutline(problem, position)) {
            box.Add(p);
        }
    }
    return box.IsSet() ? box.Width() : 0.0;
}

std::string CheckLayout(const StripProblem& problem, const Positions& positions,
                        const std::string& caseName) {
    const double tolerance = 1e-9 * problem.stripHeight * problem.stripHeight;
    std::vector<NestPolygon> outlines;
    std::vector<BoundingBox> boxes;
    std::ostringstream faults;
    for (const Position& position : positions) {
        outlines.push_back(PlacedOutline(problem, position));
        boxes.push_back(BoundingBoxOf(outlines.back()));
        if (outlines.back().IsEmpty()) {
            faults << "no part named like a position\n";
        }
    }
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        const double outside = Clip(outlines[i], problem.sheet, ClipperLib::ctDifference);
        if (outside > tolerance) {
            faults << "part " << i << " lies " << outside << " outside the sheet\n";
        }
        for (std::size_t j = i + 1; j < outlines.size(); ++j) {
            const BoundingBox& a = boxes[i];
            const BoundingBox& b = boxes[j];
            if (a.Max().x < b.Min().x || b.Max().x < a.Min().x || a.Max().y < b.Min().y ||
                b.Max().y < a.Min().y) {
                continue;
            }
            const double overlap = Clip(outlines[i], outlines[j], ClipperLib::ctIntersection);
            if (overlap > tolerance) {
                faults << "parts " << i << " and " << j << " overlap by " << overlap << "\n";
            }
        }
    }
    const std::string text = faults.str();
    if (!text.empty()) {
        std::vector<SvgShape> shapes{{problem.sheet, "black"}};
        for (const NestPolygon& outline : outlines) {
            shapes.push_back({outline, "blue"});
        }
        return text + "picture: " + WriteSvg(caseName, shapes);
    }
    return text;
}

} // namespace gantrel::testing

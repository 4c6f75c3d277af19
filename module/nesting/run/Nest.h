// One nesting run: prepares the sheet and the parts, evaluates one arrangement of the genetic
// search after another, and tells its observers about every result and about the end.
#pragma once

#include "drawing/Observer.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/place/NestingStopProvider.h"
#include "nesting/place/Result.h"
#include "nesting/search/Losowacz.h"
#include "nesting/settings/NestSettings.h"

#include <functional>
#include <memory>
#include <string>

namespace gantrel {

class ImprovingSearch;

// The run as the nesting command drives it: sheet and parts are set, observers attached, a stop
// provider set, then Prepare, Run and Finish. Observers and the stop provider belong to the
// caller; the run keeps pointers to them. Everything runs on the calling thread except the
// no-fit polygons of each arrangement, which are computed on the worker threads.
class Nest : public Subject {
public:
    // Seconds since some fixed moment; bounds the run by the maximum calculation time.
    using Clock = std::function<double()>;

    explicit Nest(const NestSettings& settings);
    ~Nest() override;
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

    // The end of the run: the best result (and the prepared parts) to every result observer,
    // then Finish to every observer.
    virtual void Finish();
    // Grows the parts and shrinks the sheet by half the spacing, cleans, simplifies and orients
    // them, sorts the parts largest first and builds the first generation of the search.
    // Empties the process-wide no-fit-polygon cache, announces the total and sends Start.
    // Does nothing without a stop provider, parts or sheet points.
    virtual void Prepare();
    // The result with the highest rating so far; the empty result when there is none.
    virtual Result Best();
    // Evaluates the next arrangement of the search.
    virtual void Step();
    // Text for the user.
    virtual void Message(const std::wstring& text) = 0;
    // The number of arrangements the run evaluates: the population times the generations.
    virtual int Total();
    // Tells the observers about one result.
    virtual void OnResult(const Result& result);
    // Steps until Total() arrangements are evaluated, a stop is requested or the maximum
    // calculation time has passed.
    virtual void Run();
    // True to compute the no-fit polygons of an arrangement in a plain loop.
    virtual bool SingleThreaded() { return false; }
    virtual void SetStopProvider(NestingStopProvider* provider) { m_stopProvider = provider; }

    void SetSheet(const NestPolygon& sheet) { m_sheet = sheet; }
    void SetParts(const Polygons& parts) { m_parts = parts; }
    const NestPolygon& Sheet() const { return m_sheet; }
    const Polygons& Parts() const { return m_parts; }
    const NestSettings& Settings() const { return m_settings; }
    // The number of arrangements evaluated so far. Only the best result is kept: the observers
    // hear of every other one as it is made.
    int EvaluatedCount() const { return m_evaluated; }
    // How far from the sheet's lower-left corner a part may reach for the integer arithmetic
    // of the run (drawing units): the run works relative to that corner.
    static double Reach(const NestSettings& settings);
    // The search state; null before Prepare built it.
    const Losowacz* Search() const { return m_search.get(); }
    void SetClock(Clock clock) { m_clock = std::move(clock); }

protected:
    // Moves the result's positions from the run's frame (sheet corner at the origin) back to the
    // drawing's.
    void ToDrawing(Result& result) const { MoveResult(result, 1.0); }
    // The inverse: from the drawing's frame to the run's.
    void ToRun(Result& result) const { MoveResult(result, -1.0); }
    bool StopRequested() const { return m_stopProvider != nullptr && m_stopProvider->ShouldStop(); }
    // Prepare's cleaning of the sheet outline: false when nothing usable is left.
    bool CleanSheet();
    // With the settings' improve on, after the generations: the improving search from the best
    // result until deadline (clock seconds), a stop request or a layout that cannot be bettered.
    // Every better layout is told to the observers; the latest is kept among the results.
    void Improve(double deadline);
    // Around the improving search: a chance to set it up (placement rule, batch) before it
    // starts, and to read its counts when it has ended. Nothing by default.
    virtual void ConfigureImprovement(ImprovingSearch& /*search*/) {}

private:
    // Sends the no-fit-polygon calculator's messages to Message.
    class MessagePrinter : public Printer {
    public:
        explicit MessagePrinter(Nest& nest) : m_nest(nest) {}
        void PrintLines(const std::vector<std::wstring>& lines) override {
            for (const std::wstring& line : lines)
                m_nest.Message(L"\n" + line);
            m_nest.Message(L"\n");
        }
        void PrintText(const std::wstring& text) override { m_nest.Message(text); }
        void NewLine() override { m_nest.Message(L"\n"); }

    private:
        Nest& m_nest;
    };

    NestingStopProvider* m_stopProvider = nullptr;
    NestSettings m_settings;
    NestPolygon m_sheet;
    Polygons m_parts;
    std::unique_ptr<Losowacz> m_search;
    // The best result so far; the empty result until one is evaluated.
    Result m_best;
    int m_evaluated = 0;
    // Moves each position by direction times the shift between the two frames.
    void MoveResult(Result& result, double direction) const;
    // The sheet's lower-left corner: Prepare moves sheet and parts by its negative, and results
    // are moved back before anyone sees them.
    GePoint m_origin;
    MessagePrinter m_printer{*this};
    Clock m_clock;
};

// The sheet outline as the run nests into it: simplified into strictly simple loops with the
// non-zero fill rule, the loop of largest absolute area kept (the first among equals), cleaned
// at distance arcTolerance / integerScale and converted back. Empty when nothing is left or the
// arithmetic cannot take the outline. The name is kept, holes are dropped.
NestPolygon CleanSheetOutline(const NestPolygon& sheet, const NestSettings& settings);

} // namespace gantrel

// DXF speed: loading and saving a drawing of 100,000 mixed entities, beside the floors they are
// measured against: tokenising the same text (the least any reader does), and writing the same
// groups with the group writer (the least any writer does). Goal: load within 2x of
// tokenising, save within 2x of writing the groups.
//
// Counters: bytes_per_second (MB/s of DXF text), entities_per_second, and for loading the
// peak heap per entity (bytes allocated at the peak of a load over its entity count, from the
// counting allocator below) and the heap the loaded database keeps per entity.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <sstream>
#include <streambuf>

#include "dxf_io.h"
#include "group_writer.h"
#include "text_codec.h"
#include "tokenizer.h"
#include "zcdball.h"

// --- a counting allocator: the heap in use and its peak --------------------------------------

namespace {
// Counting is on only in a measuring pass outside the timed iterations.
std::atomic<bool> g_counting{false};
std::atomic<std::int64_t> g_inUse{0};
std::atomic<std::int64_t> g_peak{0};

void* counted(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (!g_counting.load(std::memory_order_relaxed))
        return p;
    const auto now = g_inUse.fetch_add(static_cast<std::int64_t>(malloc_usable_size(p))) +
                     static_cast<std::int64_t>(malloc_usable_size(p));
    std::int64_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void uncounted(void* p) {
    if (!p)
        return;
    if (g_counting.load(std::memory_order_relaxed))
        g_inUse.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(p)));
    std::free(p);
}
} // namespace

void* operator new(std::size_t size) {
    return counted(size);
}
void* operator new[](std::size_t size) {
    return counted(size);
}
void operator delete(void* p) noexcept {
    uncounted(p);
}
void operator delete[](void* p) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    uncounted(p);
}

namespace {

constexpr int kEntities = 100000;

void add(ZcDbBlockTableRecord* space, ZcDbEntity* e) {
    space->appendZcDbEntity(e);
    e->close();
}

// A drawing of mixed entities as a nesting input has them: polylines with arcs, circles,
// lines and arcs, with some ellipses, splines, texts, points and block references.
std::string makeDrawing() {
    ZcDbDatabase db;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-5000.0, 5000.0), size(0.5, 50.0);
    ZcDbBlockTable* table = nullptr;
    db.getBlockTable(table, ZcDb::kForWrite);
    auto* part = new ZcDbBlockTableRecord;
    part->setName(L"PART");
    ZcDbObjectId partId;
    table->add(partId, part);
    add(part, new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 5.0));
    part->close();
    table->close();
    ZcDbBlockTableRecord* ms = nullptr;
    zcdbOpenObject(ms, db.modelSpaceId(), ZcDb::kForWrite);
    for (int i = 0; i < kEntities; ++i) {
        const ZcGePoint3d p(coord(rng), coord(rng), 0.0);
        const double s = size(rng);
        switch (i % 20) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            auto* pl = new ZcDbPolyline;
            const int n = 4 + i % 5;
            for (int k = 0; k < n; ++k) {
                const double a = 2 * kPi * k / n;
                pl->addVertexAt(static_cast<unsigned>(k),
                                {p.x + s * std::cos(a), p.y + s * std::sin(a)},
                                k % 3 == 0 ? 0.25 : 0.0, 0.0, 0.0);
            }
            pl->setClosed(true);
            add(ms, pl);
            break;
        }
        case 6:
        case 7:
        case 8:
        case 9:
            add(ms, new ZcDbLine(p, {p.x + s, p.y + s / 3, 0}));
            break;
        case 10:
        case 11:
        case 12:
            add(ms, new ZcDbCircle(p, ZcGeVector3d::kZAxis, s));
            break;
        case 13:
        case 14:
            add(ms, new ZcDbArc(p, s, 0.3, 2.9));
            break;
        case 15:
            add(ms, new ZcDbEllipse(p, ZcGeVector3d::kZAxis, {s, 0, 0}, 0.5));
            break;
        case 16: {
            ZcGePoint3dArray fit;
            for (int k = 0; k < 5; ++k)
                fit.append({p.x + k * s, p.y + (k % 2) * s, 0});
            add(ms, new ZcDbSpline(fit));
            break;
        }
        case 17:
            add(ms, new ZcDbText(p, L"Part 17 / Ø 12", 2.5, 0.5));
            break;
        case 18:
            add(ms, new ZcDbPoint(p));
            break;
        default:
            add(ms, new ZcDbBlockReference(p, partId));
            break;
        }
    }
    ms->close();
    std::ostringstream out;
    gantrel::dxf::writeDxf(db, out);
    return out.str();
}

const std::string& drawing() {
    static const std::string text = makeDrawing();
    return text;
}

// A stream that counts what it is given and keeps nothing.
class DiscardBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
    int overflow(int c) override {
        ++bytes;
        return traits_type::not_eof(c);
    }
};

void setRates(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["entities_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kEntities, benchmark::Counter::kIsRate);
}

void BM_Tokenise(benchmark::State& state) {
    const std::string& text = drawing();
    std::size_t groups = 0;
    for (auto _ : state) {
        gantrel::dxf::Tokenizer tokens(text);
        gantrel::dxf::Group g;
        groups = 0;
        while (tokens.next(g))
            ++groups;
        benchmark::DoNotOptimize(groups);
    }
    state.counters["groups"] = static_cast<double>(groups);
    setRates(state, text.size());
}
BENCHMARK(BM_Tokenise)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
    const std::string& text = drawing();
    // The heap of one load, measured apart: at its peak and what the database keeps. Blocks
    // freed during the pass that were allocated before it count as negative; the loaded
    // text was made before, and is not freed.
    std::int64_t peak = 0, kept = 0;
    {
        g_inUse.store(0);
        g_peak.store(0);
        g_counting.store(true);
        auto db = std::make_unique<ZcDbDatabase>(false);
        gantrel::dxf::readDxfText(*db, text, "bench.dxf");
        peak = g_peak.load();
        kept = g_inUse.load();
        g_counting.store(false);
    }
    for (auto _ : state) {
        auto db = std::make_unique<ZcDbDatabase>(false);
        const auto result = gantrel::dxf::readDxfText(*db, text, "bench.dxf");
        if (!result.ok)
            state.SkipWithError(result.message.c_str());
        state.PauseTiming(); // the database is destroyed outside the measurement
        db.reset();
        state.ResumeTiming();
    }
    setRates(state, text.size());
    state.counters["peak_heap_bytes_per_entity"] = static_cast<double>(peak) / kEntities;
    state.counters["kept_heap_bytes_per_entity"] = static_cast<double>(kept) / kEntities;
}
// Loading tokenises long texts on two threads where there are two processors: the CPU column
// is the time of both, Time the time that passes.
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_Save(benchmark::State& state) {
    ZcDbDatabase db(false);
    gantrel::dxf::readDxfText(db, drawing(), "bench.dxf");
    std::size_t bytes = 0;
    for (auto _ : state) {
        DiscardBuffer sink;
        std::ostream out(&sink);
        gantrel::dxf::writeDxf(db, out);
        bytes = sink.bytes;
    }
    setRates(state, bytes);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// The groups of the saved drawing with their values parsed, written again by the group
// writer: the formatting and buffering any writer of these groups does.
void BM_WriteGroups(benchmark::State& state) {
    struct Parsed {
        int code;
        gantrel::dxf::ValueType type;
        double real;
        std::int64_t integer;
        std::string_view text;
    };
    std::vector<Parsed> groups;
    {
        ZcDbDatabase db(false);
        gantrel::dxf::readDxfText(db, drawing(), "bench.dxf");
        static std::string saved;
        std::ostringstream out;
        gantrel::dxf::writeDxf(db, out);
        saved = out.str();
        gantrel::dxf::Tokenizer tokens(saved);
        gantrel::dxf::Group g;
        while (tokens.next(g)) {
            Parsed p{g.code, gantrel::dxf::valueType(g.code), 0.0, 0, g.value};
            if (p.type == gantrel::dxf::ValueType::Real)
                gantrel::dxf::parseReal(g.value, p.real);
            else if (gantrel::dxf::isNumeric(p.type))
                gantrel::dxf::parseInteger(g.value, p.integer);
            groups.push_back(p);
        }
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        DiscardBuffer sink;
        std::ostream out(&sink);
        {
            gantrel::dxf::GroupWriter w(out);
            for (const Parsed& p : groups) {
                if (p.type == gantrel::dxf::ValueType::Real)
                    w.real(p.code, p.real);
                else if (gantrel::dxf::isNumeric(p.type))
                    w.integer(p.code, p.integer);
                else
                    w.text(p.code, p.text);
            }
        }
        bytes = sink.bytes;
    }
    state.counters["groups"] = static_cast<double>(groups.size());
    setRates(state, bytes);
}
BENCHMARK(BM_WriteGroups)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// The record stream against the plain tokenizer read group by group: the same records, groups,
// lines and numbers across chunk boundaries, and the same faults at the same records. The
// tokenizer's one-pass reading of numbers against parsing the value text afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <optional>
#include <string>
#include <vector>

#include "record_stream.h"

using gantrel::dxf::Group;
using gantrel::dxf::Parsed;
using gantrel::dxf::ReadError;
using gantrel::dxf::Record;
using gantrel::dxf::RecordStream;
using gantrel::dxf::Tokenizer;

namespace {

struct ExpectedRecord {
    std::string name;
    std::size_t line;
    std::vector<Group> groups;
};

// Records as reading group by group makes them, and the fault that ends the reading if any.
struct Expected {
    std::vector<ExpectedRecord> records;
    std::optional<std::size_t> faultLine;
};

Expected readGroupByGroup(const std::string& text) {
    Expected out;
    Tokenizer tokens(text);
    Group g;
    try {
        while (tokens.next(g)) {
            if (g.code == 0) {
                out.records.push_back({std::string(gantrel::dxf::trim(g.value)), g.line, {}});
            } else if (out.records.empty()) {
                out.faultLine = g.line; // a record must start with a 0 group
                return out;
            } else {
                out.records.back().groups.push_back(g);
            }
        }
    } catch (const ReadError& e) {
        out.faultLine = e.line();
        // The record the fault cuts short is not given.
        if (!out.records.empty())
            out.records.pop_back();
    }
    return out;
}

// Lines of n records of mixed groups: reals, integers, handles and text.
std::string records(int n, const char* eol = "\n") {
    std::string text;
    for (int i = 0; i < n; ++i) {
        const std::string e = eol;
        text += "  0" + e + (i % 2 ? "LINE" : "CIRCLE") + e + "  5" + e + std::to_string(i + 0x20) +
                e + "  8" + e + "Layer " + std::to_string(i % 7) + e + " 10" + e +
                std::to_string(i * 0.25) + e + " 20" + e + "-1.5e-3 " + e + " 70" + e +
                std::to_string(i % 5) + e;
    }
    return text;
}

void expectSameRecords(const std::string& text,
                       std::size_t pieceBytes = RecordStream::kPieceBytes) {
    SCOPED_TRACE("pieces of " + std::to_string(pieceBytes) + " bytes");
    const Expected expected = readGroupByGroup(text);
    RecordStream stream(text, pieceBytes);
    Record r;
    std::size_t i = 0;
    try {
        for (; stream.next(r); ++i) {
            ASSERT_LT(i, expected.records.size());
            const ExpectedRecord& want = expected.records[i];
            EXPECT_EQ(r.name, want.name);
            EXPECT_EQ(r.line, want.line);
            ASSERT_EQ(r.groups.size(), want.groups.size()) << "record " << i;
            for (std::size_t k = 0; k < r.groups.size(); ++k) {
                EXPECT_EQ(r.groups[k].code, want.groups[k].code);
                EXPECT_EQ(r.groups[k].value, want.groups[k].value);
                EXPECT_EQ(r.groups[k].line, want.groups[k].line);
            }
        }
        EXPECT_FALSE(expected.faultLine) << "the fault was not reported";
        if (!expected.records.empty()) {
            const ExpectedRecord& last = expected.records.back();
            EXPECT_EQ(stream.endLine(), last.groups.empty() ? last.line : last.groups.back().line);
        }
    } catch (const ReadError& e) {
        ASSERT_TRUE(expected.faultLine) << e.what();
        EXPECT_EQ(e.line(), *expected.faultLine);
    }
    EXPECT_EQ(i, expected.records.size());
}

} // namespace

TEST(RecordStream, GivesTheRecordsOfReadingGroupByGroup) {
    // Six thousand records of seven groups make several chunks, tokenised as pieces or, with
    // no piece size, as one text.
    for (std::size_t bytes : {RecordStream::kPieceBytes, std::size_t{0}}) {
        expectSameRecords(records(6000), bytes);
        expectSameRecords(records(6000, "\r\n"), bytes);
    }
    expectSameRecords(records(1));
    expectSameRecords("");
    expectSameRecords("0\nEOF\n\n\n");
}

TEST(RecordStream, FaultsComeAtTheRecordTheyCutShort) {
    const std::string good = records(3000);
    // A bad group code inside a record, right after a record's last group, at the very start,
    // and a file that ends after a group code.
    expectSameRecords(good + "  0\nLINE\n 10\n1.0\nten\n2.0\n" + records(5));
    expectSameRecords(good + "ten\n1.0\n");
    expectSameRecords("ten\n1.0\n" + good);
    expectSameRecords(good + "  0\nLINE\n 10\n");
    expectSameRecords(good + "  0\nLINE\n\n0\nEOF\n");
}

TEST(RecordStream, PiecesTokenisedApartGiveTheRecordsOfReadingGroupByGroup) {
    // From a piece a record long to pieces of many records; one of them holds all the text.
    for (std::size_t bytes : {1, 100, 1000, 50000, 1 << 20}) {
        expectSameRecords(records(3000), bytes);
        expectSameRecords(records(3000, "\r\n"), bytes);
        expectSameRecords(records(200) + "  0\nEOF\n\n  \n", bytes);
    }
}

TEST(RecordStream, FaultsNearWherePiecesAreCutComeAtTheLineOfReadingGroupByGroup) {
    const std::string good = records(400);
    const std::string after = records(400);
    const std::string faults[] = {
        // A value "0" before a line that is no group code looks like a record start.
        "  1\n0\nLINE\n 10\n1.0\n",
        // A blank line in the middle of the text, just before a record.
        "  0\nLINE\n\n",
        "  0\nLINE\n 10\n1.0\n\n\n",
        // A record cut short by a bad group code.
        "  0\nLINE\n 10\n1.0\nten\n",
    };
    for (std::size_t bytes : {1, 64, 700, 5000}) {
        for (const std::string& fault : faults) {
            SCOPED_TRACE(fault);
            expectSameRecords(good + fault + after, bytes);
        }
        // The text ends after a group code.
        expectSameRecords(good + "  0\nLINE\n 10\n", bytes);
    }
}

TEST(RecordStream, ARecordStartsWithA0Group) {
    RecordStream stream(" 10\n1.0\n  0\nEOF\n");
    Record r;
    try {
        stream.next(r);
        ADD_FAILURE() << "a record without its 0 group was given";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.line(), 1u);
        EXPECT_NE(std::string(e.what()).find("expected a 0 group"), std::string::npos);
    }
}

TEST(RecordStream, UnreadStepsBackOneRecordAlsoAtAChunkBoundary) {
    const std::string text = records(6000);
    for (std::size_t bytes : {RecordStream::kPieceBytes, std::size_t{0}}) {
        RecordStream stream(text, bytes);
        Record r, again;
        std::size_t boundaries = 0;
        const void* storage = nullptr;
        while (stream.next(r)) {
            const bool firstOfChunk = r.storage.get() != storage;
            storage = r.storage.get();
            if (!firstOfChunk && r.line % 3 != 0)
                continue;
            boundaries += firstOfChunk;
            stream.unread();
            ASSERT_TRUE(stream.next(again));
            EXPECT_EQ(again.line, r.line);
            EXPECT_EQ(again.groups.data(), r.groups.data());
        }
        EXPECT_GE(boundaries, 3u);
        // After the end, unread gives nothing back.
        stream.unread();
        EXPECT_FALSE(stream.next(r));
        EXPECT_GT(stream.endLine(), 0u);
    }
}

TEST(RecordStream, HeldRecordsKeepTheirGroupsWhileLaterOnesAreRead) {
    const std::string text = records(6000);
    RecordStream stream(text);
    Record first, r;
    ASSERT_TRUE(stream.next(first));
    std::vector<Record> held{first};
    while (stream.next(r))
        if (r.line % 997 == 0)
            held.push_back(r);
    const Expected expected = readGroupByGroup(text);
    for (const Record& h : held) {
        const auto& want = *std::find_if(expected.records.begin(), expected.records.end(),
                                         [&](const auto& e) { return e.line == h.line; });
        ASSERT_EQ(h.groups.size(), want.groups.size());
        for (std::size_t k = 0; k < h.groups.size(); ++k)
            EXPECT_EQ(h.groups[k].value, want.groups[k].value);
    }
}

TEST(Tokenizer, ARecordStartIsA0LineBeforeALineThatIsNoGroupCode) {
    using gantrel::dxf::findRecordStart;
    constexpr auto none = std::string_view::npos;
    const std::string text = "  8\n0\n 10\n1.5\n  0\r\nLINE\r\n  0\n\n  0\nEOF\n";
    const std::size_t line = text.find("  0\r\nLINE"), eof = text.find("  0\nEOF");
    // Layer "0" is followed by a group code, and a 0 line by a blank one: neither starts one.
    EXPECT_EQ(findRecordStart(text, 0), line);
    EXPECT_EQ(findRecordStart(text, line), line);
    // From inside a line, the search starts at the next.
    EXPECT_EQ(findRecordStart(text, line + 1), eof);
    EXPECT_EQ(findRecordStart(text, eof + 1), none);
    EXPECT_EQ(findRecordStart("  0\n", 0), none);
    EXPECT_EQ(findRecordStart("", 0), none);
}

// Group code, value line, and the number the value is read as (nothing when it is not one).
TEST(Tokenizer, NumbersReadInOnePassAreThoseOfTheirText) {
    struct Case {
        const char* code;
        const char* value;
        Parsed parsed;
        double real = 0;
        std::int64_t integer = 0;
    };
    const Case cases[] = {
        {"10", " 1.5 ", Parsed::Real, 1.5},
        {"10", "+2", Parsed::Real, 2.0},
        {"40", "1e3\r", Parsed::Real, 1000.0},
        {"20", "-0.1000000000000000055511151231257827", Parsed::Real, -0.1},
        {"10", "abc", Parsed::No},
        {"10", "1.5x", Parsed::No},
        {"10", "", Parsed::No},
        {"10", "1.5 2.5", Parsed::No},
        {"70", "  42", Parsed::Integer, 0, 42},
        {"70", "1.0", Parsed::No}, // read where it is used, as some writers give integers
        {"90", "-2147483648", Parsed::Integer, 0, -2147483648LL},
        {"160", "99999999999999999999", Parsed::No},
        {" 5", "1A", Parsed::Handle, 0, 0x1A},
        {"330", "FF", Parsed::Handle, 0, 0xFF},
        {"1", "3.5", Parsed::No}, // text
    };
    for (const char* eol : {"\n", "\r\n"}) {
        for (const Case& c : cases) {
            for (bool atEnd : {false, true}) {
                std::string text = std::string(c.code) + eol + c.value;
                if (!atEnd)
                    text += std::string(eol) + "999" + eol + "next" + eol;
                SCOPED_TRACE(text);
                Tokenizer plain(text), fused(text);
                Group want, got;
                if (!*c.value && atEnd) { // a code line is the last: the file is truncated
                    EXPECT_THROW(plain.next(want), ReadError);
                    EXPECT_THROW(fused.nextParsed(got), ReadError);
                    continue;
                }
                ASSERT_TRUE(plain.next(want));
                ASSERT_TRUE(fused.nextParsed(got));
                EXPECT_EQ(got.code, want.code);
                EXPECT_EQ(got.value, want.value);
                EXPECT_EQ(got.line, want.line);
                EXPECT_EQ(got.parsed, c.parsed);
                if (c.parsed == Parsed::Real) {
                    EXPECT_EQ(std::bit_cast<double>(got.number), c.real);
                } else if (c.parsed != Parsed::No) {
                    EXPECT_EQ(static_cast<std::int64_t>(got.number), c.integer);
                }
                // Both continue at the same line.
                const bool more = plain.next(want);
                EXPECT_EQ(fused.nextParsed(got), more);
                if (more) {
                    EXPECT_EQ(got.line, want.line);
                }
            }
        }
    }
}

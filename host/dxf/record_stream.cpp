// The record stream: chunks of whole records, tokenised as the reader asks for them.
#include "record_stream.h"

#include <fmt/format.h>

#include <exception>

namespace gantrel::dxf {

namespace {

// Groups in a chunk (it ends at the first record boundary after this many): enough that a
// chunk is made rarely, few enough that it stays in the processor's cache while it is read.
constexpr std::size_t kChunkGroups = 8192;

} // namespace

struct RecordStream::Chunk {
    std::vector<Group> groups;
    std::vector<std::uint32_t> starts; // index of each record's first group
    bool last = false;                 // the end of the text or a fault: nothing follows
    std::exception_ptr fault;          // what stopped the tokenizer before the end
    std::size_t endLine = 0;           // line of the last group tokenised
};

// Chunks whose records are all released come back with their storage, so that a long text is
// tokenised into the same few blocks of memory. The pool lives as long as the last record.
struct RecordStream::ChunkPool {
    std::vector<std::unique_ptr<Chunk>> free;
};

RecordStream::RecordStream(std::string_view text)
    : m_tokens(text), m_pool(std::make_shared<ChunkPool>()) {}

std::shared_ptr<RecordStream::Chunk> RecordStream::newChunk() {
    std::unique_ptr<Chunk> chunk;
    if (!m_pool->free.empty()) {
        chunk = std::move(m_pool->free.back());
        m_pool->free.pop_back();
        chunk->groups.clear();
        chunk->starts.clear();
    } else {
        chunk = std::make_unique<Chunk>();
        chunk->groups.reserve(kChunkGroups + 64);
    }
    return {chunk.release(), [pool = m_pool](Chunk* done) {
                std::unique_ptr<Chunk> owned(done);
                try {
                    pool->free.push_back(std::move(owned));
                } catch (const std::bad_alloc&) {
                    // Not kept for reuse: freed here.
                }
            }};
}

std::shared_ptr<const RecordStream::Chunk> RecordStream::produce() {
    std::shared_ptr<Chunk> chunk = newChunk();
    try {
        Group g;
        for (;;) {
            if (!m_tokens.nextParsed(g)) {
                chunk->last = true;
                break;
            }
            if (g.code == 0 || chunk->groups.empty()) {
                if (chunk->groups.size() >= kChunkGroups) {
                    m_tokens.unread(); // the record starts the next chunk
                    break;
                }
                chunk->starts.push_back(static_cast<std::uint32_t>(chunk->groups.size()));
            }
            chunk->groups.push_back(g);
        }
    } catch (...) {
        // Kept until the reader reaches the record the fault cuts short.
        chunk->fault = std::current_exception();
        chunk->last = true;
    }
    chunk->endLine = m_tokens.line();
    return chunk;
}

bool RecordStream::next(Record& record) {
    m_lastWasRecord = false;
    while (!m_chunk || m_record == m_chunk->starts.size()) {
        if (m_chunk && m_chunk->last) {
            if (m_chunk->fault)
                std::rethrow_exception(m_chunk->fault);
            m_endLine = m_chunk->endLine;
            return false;
        }
        m_chunk = produce();
        m_record = 0;
    }
    const Chunk& chunk = *m_chunk;
    const std::size_t begin = chunk.starts[m_record];
    const bool lastInChunk = m_record + 1 == chunk.starts.size();
    const std::size_t end = lastInChunk ? chunk.groups.size() : chunk.starts[m_record + 1];
    const Group& head = chunk.groups[begin];
    if (head.code != 0)
        throw ReadError(head.line, fmt::format("expected a 0 group starting a record, found "
                                               "group code {}",
                                               head.code));
    // The tokenizer failed before it found where this record ends.
    if (lastInChunk && chunk.fault)
        std::rethrow_exception(chunk.fault);
    record.name = trim(head.value);
    record.line = head.line;
    record.groups = std::span<const Group>(chunk.groups).subspan(begin + 1, end - begin - 1);
    if (record.storage != m_chunk) // most records are read into the variable of the one before
        record.storage = m_chunk;
    ++m_record;
    m_lastWasRecord = true;
    return true;
}

void RecordStream::unread() {
    // The last record is always in the chunk being read: a chunk is left only when the next
    // record is asked for.
    if (m_lastWasRecord)
        --m_record;
    m_lastWasRecord = false;
}

} // namespace gantrel::dxf

// The records of a DXF text: a 0 group naming the record, then the groups up to the next 0
// group. The text is tokenised a chunk of a few thousand groups at a time, numbers parsed in
// the same pass, and a record is a view of its groups in the chunk rather than a copy of them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "tokenizer.h"

namespace gantrel::dxf {

// One record. Its groups live in a chunk of the stream that the record keeps alive, so a
// record may be held while later ones are read.
struct Record {
    std::string_view name;
    std::size_t line = 0;
    std::span<const Group> groups;
    std::shared_ptr<const void> storage;
};

class RecordStream {
public:
    explicit RecordStream(std::string_view text);

    // The next record; false at the end of the text. Throws ReadError for a record that does
    // not start with a 0 group, and where the text cannot be tokenised: at the record the
    // fault cuts short (as reading group by group would).
    bool next(Record& record);
    // Makes next() return the last record again (one record back, as the tokenizer's unread).
    void unread();
    // Line of the text's last group, once next() has returned false.
    std::size_t endLine() const { return m_endLine; }

private:
    struct Chunk;
    struct ChunkPool;

    // Tokenises the records of the next chunk.
    std::shared_ptr<const Chunk> produce();
    std::shared_ptr<Chunk> newChunk();

    Tokenizer m_tokens;
    // Chunks come from a pool their storage returns to.
    std::shared_ptr<ChunkPool> m_pool;
    // The chunk being read and the index of its next record.
    std::shared_ptr<const Chunk> m_chunk;
    std::size_t m_record = 0;
    bool m_lastWasRecord = false;
    std::size_t m_endLine = 0;
};

} // namespace gantrel::dxf

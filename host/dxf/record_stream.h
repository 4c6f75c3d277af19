// The records of a DXF text: a 0 group naming the record, then the groups up to the next 0
// group. The text is tokenised a chunk of a few thousand groups at a time, numbers parsed in
// the same pass, and a record is a view of its groups in the chunk rather than a copy of them.
// A long text is cut at record starts into pieces of about pieceBytes, which a second thread
// tokenises ahead of the reader where the machine has more than one processor.
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
    static constexpr std::size_t kPieceBytes = 128 * 1024;

    // pieceBytes 0: the text is tokenised as one, on the reader's thread.
    explicit RecordStream(std::string_view text, std::size_t pieceBytes = kPieceBytes);
    ~RecordStream();
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

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
    class Pieces;

    // The chunk after the one being read.
    std::shared_ptr<const Chunk> nextChunk();
    // A chunk with no groups, from the pool where one is free.
    static std::shared_ptr<Chunk> takeChunk(const std::shared_ptr<ChunkPool>& pool);
    // Tokenises records into the chunk until the tokenizer's text ends or, with a limit, at
    // the first record start after that many groups. A fault is kept in the chunk, for the
    // reader to meet at the record it cuts short.
    static void tokenise(Tokenizer& tokens, Chunk& chunk, std::size_t limit, bool streaming);

    std::string_view m_text;
    // Chunks come from a pool their storage returns to.
    std::shared_ptr<ChunkPool> m_pool;
    // The pieces of a long text, until one of them cannot be tokenised on its own.
    std::unique_ptr<Pieces> m_pieces;
    // Tokenises the text from where the pieces end (from its start for a short text).
    std::unique_ptr<Tokenizer> m_rest;
    // The chunk being read and the index of its next record.
    std::shared_ptr<const Chunk> m_chunk;
    std::size_t m_record = 0;
    bool m_lastWasRecord = false;
    std::size_t m_endLine = 0;
};

} // namespace gantrel::dxf

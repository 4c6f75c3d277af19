// The record stream: chunks of whole records, tokenised as the reader asks for them or, for the
// pieces of a long text, ahead of it on a second thread.
#include "record_stream.h"

#include <fmt/format.h>

#include <condition_variable>
#include <cstring>
#include <exception>
#include <limits>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <type_traits>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace gantrel::dxf {

namespace {

// Groups in a chunk of text tokenised as one (it ends at the first record boundary after this
// many): enough that a chunk is made rarely, few enough that it stays in the processor's cache
// while it is read.
constexpr std::size_t kChunkGroups = 8192;
// Pieces the second thread may have tokenised ahead of the reader: enough to keep it busy
// while the reader is slower, few enough to bound the memory of groups waiting to be read.
constexpr std::size_t kPiecesAhead = 6;

// Groups tokenised for the other thread are stored past the caches: the storage of a chunk was
// last read (and its lines written) on the other processor, and ordinary stores would first
// fetch every cache line of it from there.
void storeStreaming(Group& to, const Group& g) {
#if defined(__SSE2__) && defined(__x86_64__)
    static_assert(sizeof(Group) % 8 == 0 && std::is_trivially_copyable_v<Group>);
    long long words[sizeof(Group) / 8];
    std::memcpy(words, &g, sizeof(Group));
    auto* out = reinterpret_cast<long long*>(&to);
    for (std::size_t i = 0; i < sizeof(Group) / 8; ++i)
        _mm_stream_si64(out + i, words[i]);
#else
    to = g;
#endif
}

// Makes the streamed stores visible to the other thread before the chunk is handed over.
void finishStreaming() {
#if defined(__SSE2__) && defined(__x86_64__)
    _mm_sfence();
#endif
}

} // namespace

struct RecordStream::Chunk {
    std::vector<Group> groups; // storage: the first `used` are the chunk's
    std::size_t used = 0;
    std::vector<std::uint32_t> starts; // index of each record's first group
    bool last = false;                 // the end of the text or a fault: nothing follows
    std::exception_ptr fault;          // what stopped the tokenizer before the end
    std::size_t endLine = 0;           // line of the last group tokenised
    std::size_t lines = 0;             // lines of a piece
};

// Chunks whose records are all released come back with their storage, so that a long text is
// tokenised into the same few blocks of memory. The pool lives as long as the last record;
// chunks are made on both threads and released on the reader's.
struct RecordStream::ChunkPool {
    std::mutex mutex;
    std::vector<std::unique_ptr<Chunk>> free;
};

std::shared_ptr<RecordStream::Chunk>
RecordStream::takeChunk(const std::shared_ptr<ChunkPool>& pool) {
    std::unique_ptr<Chunk> chunk;
    {
        std::lock_guard lock(pool->mutex);
        if (!pool->free.empty()) {
            chunk = std::move(pool->free.back());
            pool->free.pop_back();
        }
    }
    if (chunk) {
        chunk->used = 0;
        chunk->starts.clear();
        chunk->last = false;
        chunk->fault = nullptr;
    } else {
        chunk = std::make_unique<Chunk>();
        chunk->groups.resize(kChunkGroups + 64);
    }
    return {chunk.release(), [pool](Chunk* done) {
                std::unique_ptr<Chunk> owned(done);
                try {
                    std::lock_guard lock(pool->mutex);
                    pool->free.push_back(std::move(owned));
                } catch (...) {
                    // Not kept for reuse: freed here.
                }
            }};
}

void RecordStream::tokenise(Tokenizer& tokens, Chunk& chunk, std::size_t limit, bool streaming) {
    try {
        Group g;
        for (;;) {
            if (!tokens.nextParsed(g)) {
                chunk.last = true;
                break;
            }
            if (g.code == 0 || chunk.used == 0) {
                if (chunk.used >= limit) {
                    tokens.unread(g); // the record starts the next chunk
                    break;
                }
                chunk.starts.push_back(static_cast<std::uint32_t>(chunk.used));
            }
            if (chunk.used == chunk.groups.size())
                chunk.groups.resize(2 * chunk.used);
            if (streaming)
                storeStreaming(chunk.groups[chunk.used], g);
            else
                chunk.groups[chunk.used] = g;
            ++chunk.used;
        }
    } catch (...) {
        chunk.fault = std::current_exception();
        chunk.last = true;
    }
    chunk.endLine = tokens.line();
    chunk.lines = tokens.linesRead();
    if (streaming)
        finishStreaming();
}

// The pieces of a long text, cut where records start. Each is tokenised on its own, with lines
// counted from its start, by whichever thread comes to it first: the second thread takes them
// in order up to a few ahead of the reader, and the reader takes the next one itself where
// that is not yet begun, or a later one while it waits. A piece is correct on its own when the
// pieces before it tokenised cleanly to their ends: they then end where a group ends, so the
// piece starts with a group code as reading the whole text would find it.
class RecordStream::Pieces {
public:
    Pieces(std::string_view text, const std::vector<std::size_t>& starts,
           std::shared_ptr<ChunkPool> pool)
        : m_pool(std::move(pool)) {
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
            Piece& piece = m_pieces.emplace_back();
            piece.offset = starts[i];
            piece.text = text.substr(starts[i], end - starts[i]);
        }
        if (std::thread::hardware_concurrency() > 1) {
            try {
                m_helper = std::thread([this] { help(); });
            } catch (const std::system_error&) {
                // No second thread: the reader tokenises every piece.
            }
        }
    }

    ~Pieces() { stopHelper(); }

    // The next piece's chunk, its lines counted from the start of the text; null where the
    // piece cannot be tokenised on its own (the text is malformed there), and the text must be
    // tokenised from offset() on as one.
    std::shared_ptr<Chunk> next() {
        std::unique_lock lock(m_mutex);
        const std::size_t k = m_taken;
        while (!m_pieces[k].done) {
            // Pieces are claimed in order. Where the helper is at this one, a later one is
            // tokenised meanwhile, as far ahead as the helper may go.
            if (m_claimed == k || (m_claimed < m_pieces.size() && m_claimed < k + kPiecesAhead)) {
                const std::size_t index = m_claimed++;
                lock.unlock();
                tokenisePiece(index, false);
                lock.lock();
            } else {
                m_changed.wait(lock);
            }
        }
        Piece& piece = m_pieces[k];
        std::shared_ptr<Chunk> chunk = std::move(piece.chunk);
        if (piece.fault || chunk->fault) {
            lock.unlock();
            stopHelper();
            return nullptr;
        }
        ++m_taken;
        lock.unlock();
        m_changed.notify_all(); // the helper may go further ahead
        // Lines are made absolute on the reader's thread, as the piece is taken: the pass also
        // brings the groups into this processor's cache in one sweep, which loads faster than
        // counting the lines before a piece on the thread that tokenises it.
        for (Group& g : std::span(chunk->groups).first(chunk->used))
            g.line += m_linesBefore;
        chunk->endLine += m_linesBefore;
        m_linesBefore += chunk->lines;
        // The piece's text, which the records' text values point into, is asked into this
        // processor's cache likewise, ahead of the reading that touches it here and there.
        const std::string_view text = m_pieces[k].text;
        for (std::size_t i = 0; i < text.size(); i += 64)
            __builtin_prefetch(text.data() + i);
        chunk->last = m_taken == m_pieces.size();
        return chunk;
    }

    // Where the next piece starts, and the lines before it.
    std::size_t offset() const { return m_pieces[m_taken].offset; }
    std::size_t linesBefore() const { return m_linesBefore; }

private:
    struct Piece {
        std::size_t offset = 0;
        std::string_view text;
        bool done = false;
        std::shared_ptr<Chunk> chunk;
        std::exception_ptr fault; // where no chunk could be made
    };

    // Called without the lock: the piece is claimed, and only its thread touches it.
    void tokenisePiece(std::size_t index, bool streaming) {
        std::shared_ptr<Chunk> chunk;
        std::exception_ptr fault;
        try {
            chunk = takeChunk(m_pool);
            // Room for the groups of a piece, so that its storage is not grown and copied:
            // groups of written drawings take 15 bytes on average.
            if (const std::size_t room = m_pieces[index].text.size() / 12 + 64;
                chunk->groups.size() < room)
                chunk->groups.resize(room);
            const bool moreFollows = index + 1 < m_pieces.size();
            Tokenizer tokens(m_pieces[index].text, 0, moreFollows);
            tokenise(tokens, *chunk, std::numeric_limits<std::size_t>::max(), streaming);
        } catch (...) {
            fault = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            Piece& piece = m_pieces[index];
            piece.chunk = std::move(chunk);
            piece.fault = fault;
            piece.done = true;
        }
        m_changed.notify_all();
    }

    void help() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] {
                return m_stop || m_claimed == m_pieces.size() || m_claimed < m_taken + kPiecesAhead;
            });
            if (m_stop || m_claimed == m_pieces.size())
                return;
            const std::size_t index = m_claimed++;
            lock.unlock();
            tokenisePiece(index, true);
            lock.lock();
        }
    }

    void stopHelper() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        if (m_helper.joinable())
            m_helper.join();
    }

    std::shared_ptr<ChunkPool> m_pool;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Piece> m_pieces;
    std::size_t m_claimed = 0; // pieces before this one are claimed by a thread
    std::size_t m_taken = 0;   // pieces given to the reader
    bool m_stop = false;
    std::size_t m_linesBefore = 0; // lines of the pieces given
    std::thread m_helper;
};

RecordStream::RecordStream(std::string_view text, std::size_t pieceBytes)
    : m_text(text), m_pool(std::make_shared<ChunkPool>()) {
    std::vector<std::size_t> starts{0};
    for (std::size_t target = pieceBytes; pieceBytes > 0 && target < text.size();) {
        const std::size_t at = findRecordStart(text, target);
        if (at == std::string_view::npos)
            break;
        starts.push_back(at);
        target = at + pieceBytes;
    }
    if (starts.size() > 1)
        m_pieces = std::make_unique<Pieces>(text, starts, m_pool);
    else
        m_rest = std::make_unique<Tokenizer>(text);
}

RecordStream::~RecordStream() = default;

std::shared_ptr<const RecordStream::Chunk> RecordStream::nextChunk() {
    if (m_pieces) {
        if (std::shared_ptr<Chunk> chunk = m_pieces->next())
            return chunk;
        // From the piece that failed on its own, the text is tokenised as one: that finds its
        // fault where reading group by group finds it.
        m_rest = std::make_unique<Tokenizer>(m_text.substr(m_pieces->offset()),
                                             m_pieces->linesBefore(), false);
        m_pieces.reset();
    }
    std::shared_ptr<Chunk> chunk = takeChunk(m_pool);
    tokenise(*m_rest, *chunk, kChunkGroups, false);
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
        m_chunk = nextChunk();
        m_record = 0;
    }
    const Chunk& chunk = *m_chunk;
    const std::size_t begin = chunk.starts[m_record];
    const bool lastInChunk = m_record + 1 == chunk.starts.size();
    const std::size_t end = lastInChunk ? chunk.used : chunk.starts[m_record + 1];
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

#pragma once

#include <QHash>
#include <QList>
#include <QVariantList>

#include <utility>

// Rows of a long result kept in chunks around what was last asked for: at most MaxChunks
// chunks of ChunkRows rows, the least recently used going first, so memory does not grow
// with the result.
class RowCache
{
public:
    static constexpr int ChunkRows = 256;
    static constexpr int MaxChunks = 16;

    // Row `row`, reading its chunk with read(firstRowOfChunk) when it is not kept; a read that
    // throws keeps nothing. Null when the chunk came back shorter than the row (rows deleted
    // by someone else since they were counted).
    template<typename Read>
    const QVariantList *row(int row, Read &&read)
    {
        const int chunk = row / ChunkRows;
        auto it = m_chunks.find(chunk);
        if (it == m_chunks.end()) {
            QList<QVariantList> rows = read(chunk * ChunkRows);
            while (m_chunks.size() >= MaxChunks && !m_recent.isEmpty())
                m_chunks.remove(m_recent.takeFirst());
            it = m_chunks.insert(chunk, std::move(rows));
            m_recent << chunk;
        } else if (m_recent.last() != chunk) {
            m_recent.removeOne(chunk);
            m_recent << chunk;
        }
        const int inChunk = row % ChunkRows;
        return inChunk < it->size() ? &it->at(inChunk) : nullptr;
    }

    int chunks() const { return int(m_chunks.size()); }
    void clear()
    {
        m_chunks.clear();
        m_recent.clear();
    }

private:
    QHash<int, QList<QVariantList>> m_chunks;
    QList<int> m_recent; // chunk numbers, most recently used last
};

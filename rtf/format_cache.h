#pragma once

#include <QHash>

namespace ct::rtf {

// Formats made from reader states, so that each distinct state builds its Qt format
// once. Each format gets an id that names it for the document builder: equal states
// share an id, so runs of text can join across groups. The cache is bounded; a file
// with more distinct states than that starts it again.
template <typename State, typename Format> class FormatCache {
public:
    static constexpr qsizetype kMaxEntries = 4096;

    struct Entry {
        Format format;
        quint64 id = 0;
    };

    // The entry for `state`, made with `make(state)` and the next id from `nextId`
    // the first time.
    template <typename Make> const Entry &get(const State &state, quint64 &nextId, Make make)
    {
        if (m_lastValid && state == m_lastState)
            return m_last;
        auto it = m_entries.find(state);
        if (it == m_entries.end()) {
            if (m_entries.size() >= kMaxEntries)
                m_entries.clear();
            it = m_entries.insert(state, {make(state), nextId++});
        }
        m_last = it.value();
        m_lastState = state;
        m_lastValid = true;
        return m_last;
    }

    void clear()
    {
        m_entries.clear();
        m_lastValid = false;
    }

private:
    QHash<State, Entry> m_entries;
    State m_lastState{};
    Entry m_last;
    bool m_lastValid = false;
};

} // namespace ct::rtf

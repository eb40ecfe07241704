#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/sqldriver.h"

namespace contado {

// Prepared statements kept by their text, the least recently used one given up first when full.
// Applying many changes runs few distinct texts, so each is prepared once.
class TSQLStatementCache {
  public:
    explicit TSQLStatementCache(std::size_t capacity = 64) : capacity_(capacity) {}

    // The statement prepared for the text, which becomes the most recent one and stays kept; null
    // when none is kept.
    ISQLCommand* Find(const std::string& text);
    // Keeps the statement of a text that ran; gives up the oldest beyond the capacity.
    void Put(const std::string& text, std::unique_ptr<ISQLCommand> command);
    // Gives up the statement of a text, one that failed to run.
    void Drop(const std::string& text);
    void Clear();
    std::size_t Size() const { return entries_.size(); }
    // Texts asked for that had no statement kept, each of which was then prepared anew.
    std::size_t Misses() const { return misses_; }

  private:
    struct TEntry {
        std::string Text;
        std::unique_ptr<ISQLCommand> Command;
    };

    std::size_t capacity_;
    std::size_t misses_ = 0;
    std::list<TEntry> entries_;  // most recent first
    std::unordered_map<std::string, std::list<TEntry>::iterator> index_;
};

}  // namespace contado

#include "data/sql/sqlstatementcache.h"

namespace contado {

// The most recent statement is compared first: a run of changes asks for the same text again and
// again.
ISQLCommand* TSQLStatementCache::Find(const std::string& text) {
    if (!entries_.empty() && entries_.front().Text == text) {
        return entries_.front().Command.get();
    }
    const auto found = index_.find(text);
    if (found == index_.end()) {
        ++misses_;
        return nullptr;
    }
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->Command.get();
}

void TSQLStatementCache::Drop(const std::string& text) {
    const auto found = index_.find(text);
    if (found != index_.end()) {
        entries_.erase(found->second);
        index_.erase(found);
    }
}

void TSQLStatementCache::Put(const std::string& text, std::unique_ptr<ISQLCommand> command) {
    Drop(text);
    entries_.push_front(TEntry{text, std::move(command)});
    index_[text] = entries_.begin();
    while (entries_.size() > capacity_) {
        index_.erase(entries_.back().Text);
        entries_.pop_back();
    }
}

void TSQLStatementCache::Clear() {
    index_.clear();
    entries_.clear();
}

}  // namespace contado

#include "data/sql/sqlstatementcache.h"

namespace contado {

std::unique_ptr<ISQLCommand> TSQLStatementCache::Take(const std::string& text) {
    std::unique_ptr<ISQLCommand> command = Remove(text);
    if (command == nullptr) {
        ++misses_;
    }
    return command;
}

std::unique_ptr<ISQLCommand> TSQLStatementCache::Remove(const std::string& text) {
    const auto found = index_.find(text);
    if (found == index_.end()) {
        return nullptr;
    }
    std::unique_ptr<ISQLCommand> command = std::move(found->second->Command);
    entries_.erase(found->second);
    index_.erase(found);
    return command;
}

void TSQLStatementCache::Put(const std::string& text, std::unique_ptr<ISQLCommand> command) {
    Remove(text);
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

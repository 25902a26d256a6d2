// Pairing of old rows and fresh items by key, in time linear in their count.
#include "navigation/ROWMATCH.h"

#include <unordered_map>

// Rows of one key are taken in their order, so that the pairing does not
// depend on how the hash table orders them.
CLSRowMatch MatchKeys(const std::vector<std::string_view>& oldKeys, const std::vector<std::string_view>& freshKeys)
{
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::unordered_map<std::string_view, std::size_t> first;  // the first unpaired row of a key
    std::vector<std::size_t> next(oldKeys.size(), kNone);     // the row of the same key after it
    first.reserve(oldKeys.size());
    for (std::size_t i = oldKeys.size(); i-- > 0;) {
        auto [it, added] = first.try_emplace(oldKeys[i], i);
        if (!added) {
            next[i] = it->second;
            it->second = i;
        }
    }
    CLSRowMatch match;
    std::vector<bool> paired(oldKeys.size(), false);
    for (std::size_t j = 0; j < freshKeys.size(); ++j) {
        auto it = first.find(freshKeys[j]);
        if (it == first.end() || it->second == kNone) {
            match.freshOnly.push_back(j);
            continue;
        }
        match.pairs.emplace_back(it->second, j);
        paired[it->second] = true;
        it->second = next[it->second];
    }
    for (std::size_t i = 0; i < oldKeys.size(); ++i) {
        if (!paired[i]) {
            match.oldOnly.push_back(i);
        }
    }
    return match;
}

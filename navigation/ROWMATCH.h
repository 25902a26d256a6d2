// Which rows of a list stay when the list is read again: the rows and the
// fresh items are paired by a key (the bytes of an item, or its name), and
// what is left on either side has no partner.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

struct CLSRowMatch {
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // old row, fresh item
    std::vector<std::size_t> oldOnly;                         // ascending
    std::vector<std::size_t> freshOnly;                       // ascending
};

// Pairs each fresh key with an old row of the equal key; a key that occurs
// more than once pairs as often as it occurs on both sides.
CLSRowMatch MatchKeys(const std::vector<std::string_view>& oldKeys, const std::vector<std::string_view>& freshKeys);

#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using StringCompare = int (*)(const char*, const char*);

// An array of {key, value} pairs kept sorted by a comparison chosen per map
// and searched by bisection. Keys are NUL-free text.
template <class Value>
class SortedStringMap {
public:
    struct Pair {
        std::string key;
        Value value;
    };

    explicit SortedStringMap(StringCompare compare = std::strcmp) : m_compare(compare) {}

    Value* Find(const char* key) {
        const auto it = LowerBound(m_pairs, key);
        return it != m_pairs.end() && m_compare(it->key.c_str(), key) == 0 ? &it->value : nullptr;
    }
    const Value* Find(const char* key) const {
        const auto it = LowerBound(m_pairs, key);
        return it != m_pairs.end() && m_compare(it->key.c_str(), key) == 0 ? &it->value : nullptr;
    }

    // A present key keeps its stored spelling and gets the new value.
    Value& Insert(const char* key, Value value) {
        auto it = LowerBound(m_pairs, key);
        if (it != m_pairs.end() && m_compare(it->key.c_str(), key) == 0) {
            it->value = std::move(value);
            return it->value;
        }
        return m_pairs.insert(it, Pair{key, std::move(value)})->value;
    }

    bool Remove(const char* key) {
        const auto it = LowerBound(m_pairs, key);
        if (it == m_pairs.end() || m_compare(it->key.c_str(), key) != 0)
            return false;
        m_pairs.erase(it);
        return true;
    }

    // Appending leaves the map unsorted until SortUnique.
    void Append(std::string key, Value value) {
        m_pairs.push_back(Pair{std::move(key), std::move(value)});
    }

    // Sorts appended pairs; of keys that compare equal the last appended wins.
    void SortUnique() {
        std::stable_sort(m_pairs.begin(), m_pairs.end(), [this](const Pair& a, const Pair& b) {
            return m_compare(a.key.c_str(), b.key.c_str()) < 0;
        });
        std::vector<Pair> unique;
        unique.reserve(m_pairs.size());
        for (auto& pair : m_pairs) {
            if (!unique.empty() && m_compare(unique.back().key.c_str(), pair.key.c_str()) == 0)
                unique.back() = std::move(pair);
            else
                unique.push_back(std::move(pair));
        }
        m_pairs = std::move(unique);
    }

    void Clear() { m_pairs.clear(); }
    bool Empty() const { return m_pairs.empty(); }
    std::size_t Size() const { return m_pairs.size(); }
    auto begin() const { return m_pairs.begin(); }
    auto end() const { return m_pairs.end(); }

private:
    // Shared by the const and non-const lookups.
    template <class Pairs>
    auto LowerBound(Pairs& pairs, const char* key) const {
        return std::lower_bound(
            pairs.begin(), pairs.end(), key,
            [this](const Pair& pair, const char* k) { return m_compare(pair.key.c_str(), k) < 0; });
    }

    StringCompare m_compare;
    std::vector<Pair> m_pairs;
};

// The folders of many paths numbered as a tree: a folder not seen yet gets the next number, after
// every folder above it that is new too, so that a parent is always numbered before its
// children. The texts and the parents are the caller's, both starting with folder 0, the top
// (the empty text, its own parent); the texts are views of the paths given.
#pragma once

#include "lists/ListFile.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vyp {

class FolderNumbers {
public:
    FolderNumbers(std::vector<std::string_view>& texts, std::vector<uint32_t>& parents,
                  size_t expectedFolders = 0)
        : m_texts(texts), m_parents(parents) {
        m_known.reserve(expectedFolders);
    }

    // The number of the folder path ("A\\B\\"; empty for the top).
    uint32_t Of(std::string_view path) {
        if (const auto found = m_known.find(path); found != m_known.end())
            return found->second;
        m_missing = {path};
        uint32_t parent = 0;
        for (std::string_view above = ParentFolderOf(path); !above.empty();
             above = ParentFolderOf(above)) {
            if (const auto found = m_known.find(above); found != m_known.end()) {
                parent = found->second;
                break;
            }
            m_missing.push_back(above);
        }
        for (size_t i = m_missing.size(); i-- > 0;) {
            const auto folder = static_cast<uint32_t>(m_texts.size());
            m_texts.push_back(m_missing[i]);
            m_parents.push_back(parent);
            m_known.emplace(m_missing[i], folder);
            parent = folder;
        }
        return parent;
    }

private:
    std::vector<std::string_view>& m_texts;
    std::vector<uint32_t>& m_parents;
    std::unordered_map<std::string_view, uint32_t> m_known{{std::string_view(), 0}};
    std::vector<std::string_view> m_missing; // the new folders of one path, from the bottom up
};

} // namespace vyp

// A list file's whole text in UTF-8, at hand at once, for readers that go through a whole list
// and look back into it (comparing two lists). A list in UTF-8 is used as its file holds it,
// without a copy (FileContents); a list that is not valid UTF-8 was made under Czech Windows
// settings and is decoded into memory.
#pragma once

#include "platform/FileContents.h"

#include <string>
#include <string_view>

namespace vyp {

class ListText {
public:
    // Throws VypisnikError "Cannot open file "PATH". REASON" when path cannot be read.
    explicit ListText(const std::string& path);

    std::string_view Text() const { return m_decodedUsed ? m_decoded : m_file.Bytes(); }

private:
    FileContents m_file;
    std::string m_decoded;
    bool m_decodedUsed = false;
};

} // namespace vyp

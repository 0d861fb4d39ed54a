#include "lists/ListText.h"

#include "util/Encoding.h"
#include "util/Errors.h"

namespace vyp {

ListText::ListText(const std::string& path) {
    if (const int err = m_file.Open(path))
        throw VypisnikError(FileOpenErrorText(path, err));
    if (!IsValidUtf8(m_file.Bytes())) {
        m_decoded = ToUtf8(m_file.Bytes(), TextEncoding::Windows1250);
        m_decodedUsed = true;
        m_file.Close();
    }
}

} // namespace vyp

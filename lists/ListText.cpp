#include "lists/ListText.h"

#include "platform/SystemError.h"
#include "util/Encoding.h"
#include "util/Errors.h"

namespace vyp {

ListText::ListText(const std::string& path) {
    if (const int err = m_file.Open(path))
        throw VypisnikError(FileOpenErrorText(path, err));
    const bool utf8 = IsValidUtf8(m_file.Bytes());
    if (m_file.CutShort()) // met cut short in place while it was checked
        throw VypisnikError(FileOpenErrorText(path, kErrorCutShort));
    if (!utf8) {
        m_decoded = ToUtf8(m_file.Bytes(), TextEncoding::Windows1250);
        m_decodedUsed = true;
        m_file.Close();
    }
}

} // namespace vyp

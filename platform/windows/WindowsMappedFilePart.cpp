#include "platform/MappedFilePart.h"

namespace vyp {

// A mapped file cannot be replaced on Windows while the mapping lasts: the readers read instead.
bool MappedFilePart::Map(const InputFile&, int64_t, size_t) {
    Close();
    return false;
}

void MappedFilePart::AllowMapping(bool) {}

void MappedFilePart::Close() {
    m_base = nullptr;
    m_length = 0;
    m_data = nullptr;
    m_size = 0;
}

bool MappedFilePart::CutShort() const {
    return false;
}

} // namespace vyp

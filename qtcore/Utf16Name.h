// A name as UTF-16 for the collator, decoded into a buffer that is kept from name to name rather
// than a new QString each; bytes that are not UTF-8 go through Utf8, which decides how they show.
// A path may come in two parts (its folder and its name), decoded one after the other.
#pragma once

#include "qtcore/Utf8.h"
#include "util/Utf8Decoding.h"

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace vyp {

class Utf16Name {
public:
    QStringView Of(std::string_view name, std::string_view more = {}) {
        // Never more units than bytes.
        if (m_units.size() < name.size() + more.size())
            m_units.resize(name.size() + more.size());
        char16_t* out = m_units.data();
        if (!Decode(name, out) || !Decode(more, out)) {
            m_fallback = Utf8(std::string(name).append(more));
            return m_fallback;
        }
        return QStringView(m_units.data(), out - m_units.data());
    }

private:
    static bool Decode(std::string_view name, char16_t*& out) {
        for (size_t at = 0; at < name.size();) {
            const auto byte = static_cast<unsigned char>(name[at]);
            if (byte < 0x80) {
                *out++ = byte;
                ++at;
                continue;
            }
            char32_t code = 0;
            const size_t length = DecodeUtf8(name, at, code);
            if (length == 0)
                return false;
            at += length;
            if (code < 0x10000) {
                *out++ = static_cast<char16_t>(code);
            } else {
                *out++ = static_cast<char16_t>(0xD7C0 + (code >> 10));
                *out++ = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
            }
        }
        return true;
    }

    std::u16string m_units;
    QString m_fallback;
};

} // namespace vyp

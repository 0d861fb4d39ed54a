// The one conversion between the core's texts (UTF-8 bytes in std::string) and Qt's QString.
// Bytes that are not UTF-8 become U+FFFD, as QString::fromUtf8 makes them; lists in
// Windows-1250 are converted to UTF-8 by the core before they get here.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vyp {

QString Utf8(std::string_view text);
// The UTF-8 bytes of text, as the core takes them.
std::string Utf8Bytes(const QString& text);

} // namespace vyp

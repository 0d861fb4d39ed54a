// Paths between Qt's texts and the core's bytes. The core holds a path as the system names it:
// on Windows the UTF-16 name in UTF-8, on Linux the name's own bytes (which Qt decodes and
// encodes again without loss). Qt's 8-bit conversions would take the Windows code page instead.
#pragma once

#include <QString>

#include <string>

namespace vyp {

std::string CorePath(const QString& path);
QString PathText(const std::string& path);

} // namespace vyp

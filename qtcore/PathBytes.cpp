#include "qtcore/PathBytes.h"

#include <QFile>

namespace vyp {

std::string CorePath(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString PathText(const std::string& path) {
#ifdef _WIN32
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

} // namespace vyp

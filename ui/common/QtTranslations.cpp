#include "ui/common/QtTranslations.h"

#include <QLibraryInfo>

namespace vyp {

std::unique_ptr<QTranslator> QtTranslationFor(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

} // namespace vyp

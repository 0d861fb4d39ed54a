// Qt's own texts (the standard buttons of message boxes, the folder dialog) in the user's
// language: the program's captions are Czech, so "Yes"/"No" would stand out under Czech settings.
// The translations come with the system's Qt (Debian: qt6-translations-l10n).
#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace vyp {

// Qt's translation for locale, or nothing when the system has none for it (the C locale, or the
// translations not installed): Qt's texts then stay English.
std::unique_ptr<QTranslator> QtTranslationFor(const QLocale& locale);

} // namespace vyp

#include "qtcore/LocaleSettings.h"

#include <QRegularExpression>
#include <QString>

namespace vyp {

namespace {

// Drops the time-zone name ("t", "tt", …) and the blanks around it from a time format.
QString WithoutTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out.append(c);
    }
    return out.trimmed();
}

// The separator after the hours of a time format (":" for "H:mm", "." for "H.mm").
QString TimeSeparator(const QString& format) {
    const int hour = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    if (hour < 0)
        return QStringLiteral(":");
    int i = hour;
    while (i < format.size() && (format[i] == QLatin1Char('h') || format[i] == QLatin1Char('H')))
        ++i;
    if (i >= format.size() || format[i].isLetter() || format[i] == QLatin1Char('\''))
        return QStringLiteral(":");
    return QString(format[i]);
}

} // namespace

RegionalSettings RegionalSettingsFromLocale(const QLocale& locale) {
    RegionalSettings regional;
    regional.decimalSeparator = locale.decimalPoint().toStdString();
    regional.timeSeparator = TimeSeparator(locale.timeFormat(QLocale::ShortFormat)).toStdString();
    regional.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
    regional.longTimeFormat = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)).toStdString();
    for (int month = 1; month <= 12; ++month) {
        regional.shortMonthNames[month - 1] =
            locale.monthName(month, QLocale::ShortFormat).toStdString();
        regional.longMonthNames[month - 1] =
            locale.monthName(month, QLocale::LongFormat).toStdString();
    }
    for (int day = 1; day <= 7; ++day) {
        regional.shortDayNames[day - 1] = locale.dayName(day, QLocale::ShortFormat).toStdString();
        regional.longDayNames[day - 1] = locale.dayName(day, QLocale::LongFormat).toStdString();
    }
    return regional;
}

} // namespace vyp

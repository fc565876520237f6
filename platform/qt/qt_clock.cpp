#include "platform/qt/qt_clock.h"

#include <QDateTime>
#include <cmath>

namespace glugmo {

int weekdayFromIsoDay(int isoDayOfWeek) { return isoDayOfWeek % 7 + 1; }

double QtClock::now() const { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }

CalendarFields QtClock::calendarAt(double instant) const {
    const auto ms = static_cast<qint64>(std::floor(instant * 1000.0));
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
    CalendarFields fields;
    fields.hour = local.time().hour();
    fields.minute = local.time().minute();
    fields.weekday = weekdayFromIsoDay(local.date().dayOfWeek());
    fields.dateKey = local.date().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    return fields;
}

}  // namespace glugmo

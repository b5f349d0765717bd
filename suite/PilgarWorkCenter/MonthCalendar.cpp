#include "suite/PilgarWorkCenter/MonthCalendar.h"

#include <QCalendarWidget>
#include <QSignalBlocker>
#include <cmath>

#include "platform/vcl/TypInfo.h"

namespace pilgarwc {

using platform::DateTime;

const vcl::TClassInfo* TMonthCalendar::StaticClassInfo() {
  static const vcl::TClassInfo info("TMonthCalendar", vcl::TWinControl::StaticClassInfo());
  return &info;
}

TMonthCalendar::TMonthCalendar(vcl::TComponent* owner)
    : TWinControl(owner), date_(platform::Date()) {
  SetTabStop(true);
  SetColor(vcl::clWindow);
  SetBounds(0, 0, 250, 180);
}

void TMonthCalendar::SetDate(DateTime date) {
  date_ = DateTime{std::floor(date.Value)};
  ShowDate();
}

void TMonthCalendar::UserPicked(int year, int month, int day) {
  DateTime picked;
  if (!platform::TryEncodeDate(year, month, day, picked) || picked.Value == date_.Value) return;
  date_ = picked;
  OnChange(this);
}

QWidget* TMonthCalendar::CreateWidget(QWidget* parentWidget) {
  auto* calendar = new QCalendarWidget(parentWidget);
  calendar->setGridVisible(true);
  calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  auto live = [this] { return vcl::IsLiveComponent(this) && !Disposed(); };
  // Clicks and key moves both change the selection; code changes it only
  // with the signals blocked (ShowDate).
  QObject::connect(calendar, &QCalendarWidget::selectionChanged, [this, calendar, live] {
    if (!live()) return;
    const QDate d = calendar->selectedDate();
    UserPicked(d.year(), d.month(), d.day());
  });
  QObject::connect(calendar, &QCalendarWidget::activated, [this, live](QDate d) {
    if (!live()) return;
    UserPicked(d.year(), d.month(), d.day());
    if (live()) DblClick();
  });
  return calendar;
}

void TMonthCalendar::InitWidget() {
  TWinControl::InitWidget();
  ShowDate();
}

void TMonthCalendar::ShowDate() {
  auto* calendar = qobject_cast<QCalendarWidget*>(Widget());
  if (!calendar) return;
  int year, month, day;
  platform::DecodeDate(date_, year, month, day);
  const QSignalBlocker quiet(calendar);
  calendar->setSelectedDate(QDate(year, month, day));
}

}  // namespace pilgarwc

#include "KvVtCalendar.h"

#include "KvDialogs.h"
#include "ui_KvVtCalendar.h"

#include <QLocale>

TFrCalendar::TFrCalendar(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrCalendar>())
{
    FUi->setupUi(this);
    connect(FUi->CaDate, &QCalendarWidget::selectionChanged, this, &TFrCalendar::ShowDate);
    connect(FUi->BtToday, &QPushButton::clicked, this, [this] { FUi->CaDate->setSelectedDate(QDate::currentDate()); });
}

TFrCalendar::~TFrCalendar() = default;

void TFrCalendar::ShowDate()
{
    FUi->LaDate->setText(QLocale().toString(FUi->CaDate->selectedDate(), QLocale::LongFormat));
}

QDateTime TFrCalendar::DateTime() const
{
    return QDateTime(FUi->CaDate->selectedDate(), FUi->EdTime->time());
}

bool TFrCalendar::Execute(QDateTime& Value)
{
    const QDateTime Start = Value.isValid() ? Value : QDateTime::currentDateTime();
    FUi->CaDate->setSelectedDate(Start.date());
    FUi->EdTime->setTime(Start.time());
    ShowDate();
    FUi->CaDate->setFocus();
    if (KvShowModal(*this) != QDialog::Accepted)
        return false;
    Value = DateTime();
    return true;
}

#pragma once

#include <QDateTime>
#include <QDialog>

#include <memory>

namespace Ui {
class TFrCalendar;
}

// The library's month calendar: the chosen date written out above the month, the time below.
// A double click on a day or Enter confirms it.
class TFrCalendar : public QDialog
{
    Q_OBJECT

public:
    explicit TFrCalendar(QWidget* Parent = nullptr);
    ~TFrCalendar() override;

    // Shows Value's month with its day chosen; on OK Value becomes the date and time chosen.
    bool Execute(QDateTime& Value);

    QDateTime DateTime() const;
    Ui::TFrCalendar* ui() const { return FUi.get(); }

private:
    void ShowDate();

    std::unique_ptr<Ui::TFrCalendar> FUi;
};

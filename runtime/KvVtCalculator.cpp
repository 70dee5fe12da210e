#include "KvVtCalculator.h"

#include "KvDialogs.h"
#include "ui_KvVtCalculator.h"

#include <QKeyEvent>

TFrCalculator::TFrCalculator(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrCalculator>())
{
    FUi->setupUi(this);
    // Each key button names the calculator key it presses.
    for (QPushButton* Button : findChildren<QPushButton*>()) {
        const QString Key = Button->property("KvKey").toString();
        if (!Key.isEmpty())
            connect(Button, &QPushButton::clicked, this, [this, Key] { Press(Key.at(0)); });
    }
    FUi->EdDisplay->setText(FCalculator.Display());
}

TFrCalculator::~TFrCalculator() = default;

void TFrCalculator::Press(QChar Key)
{
    FCalculator.Key(Key);
    FUi->EdDisplay->setText(FCalculator.Display());
}

bool TFrCalculator::Execute(double& Value)
{
    FCalculator.SetValue(Value);
    FUi->EdDisplay->setText(FCalculator.Display());
    if (KvShowModal(*this) != QDialog::Accepted)
        return false;
    FCalculator.Finish();
    if (FCalculator.Error())
        return false;
    Value = FCalculator.Value();
    return true;
}

void TFrCalculator::keyPressEvent(QKeyEvent* Event)
{
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Press(u'='); return;
    case Qt::Key_Backspace: Press(u'b'); return;
    case Qt::Key_Delete: Press(u'e'); return;
    default: break;
    }
    const QString Text = Event->text();
    if (Text.size() == 1 && FCalculator.Key(Text.at(0))) {
        FUi->EdDisplay->setText(FCalculator.Display());
        return;
    }
    QDialog::keyPressEvent(Event);
}

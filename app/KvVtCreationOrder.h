#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrKvCreationOrder;
}

// Edit > Creation Order: the form's components in the order they are made when the form loads.
class TFrKvCreationOrder : public QDialog
{
    Q_OBJECT

public:
    explicit TFrKvCreationOrder(QWidget* Parent = nullptr);
    ~TFrKvCreationOrder() override;

    void SetItems(const QStringList& Names, const QStringList& Classes);
    // The names in the order the user left them.
    QStringList Names() const;

private:
    std::unique_ptr<Ui::TFrKvCreationOrder> ui;
};

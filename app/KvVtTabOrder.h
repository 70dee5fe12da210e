#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrKvTabOrder;
}

// Edit > Tab Order: the windowed controls of one container in the order Tab visits them.
class TFrKvTabOrder : public QDialog
{
    Q_OBJECT

public:
    explicit TFrKvTabOrder(QWidget* Parent = nullptr);
    ~TFrKvTabOrder() override;

    void SetItems(const QStringList& Names, const QStringList& Classes);
    // The names in the order the user left them.
    QStringList Names() const;

private:
    std::unique_ptr<Ui::TFrKvTabOrder> ui;
};

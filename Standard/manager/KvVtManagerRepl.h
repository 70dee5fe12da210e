#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrManagerRepl;
}

// Asks for the package and value that Replace writes.
class TFrManagerRepl : public QDialog
{
    Q_OBJECT

public:
    explicit TFrManagerRepl(QWidget* Parent = nullptr);
    ~TFrManagerRepl() override;

    // Without a package (sets and privileges) the package row is hidden and the value row and
    // the buttons move up.
    void Prepare(bool WithPackage, const QStringList& Packages, const QString& PkgName, const QString& Value);
    QString PkgName() const;
    QString Value() const;

    Ui::TFrManagerRepl* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrManagerRepl> FUi;
};

#pragma once

#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <memory>

class QLineEdit;
class TKvPkgLanguage;
struct TKvLocaleSetting;

namespace Ui {
class TFrLocale;
}

// The locale settings of a language package, changed in place as the controls change: there is
// no cancel. With AutoLoad on they follow the system and are shown only.
class TFrLocale : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrLocale(QWidget* Parent = nullptr);
    ~TFrLocale() override;

    // The package whose locale is edited; set before Execute.
    QPointer<TKvPkgLanguage> PkgLanguage;

    void Execute();
    // Every control from the locale.
    void RefreshLocale();

    Ui::TFrLocale* ui() const { return FUi.get(); }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void done(int Result) override;

private:
    void AutoLoadClick();
    void EnableSettings();
    // Writes a setting; an error is shown and the control shows the stored value again.
    void Write(const TKvLocaleSetting& Setting, const QString& Text);
    void WriteBox(QLineEdit* Box);
    void EditNames(const TKvLocaleSetting& Setting);
    void RestoreDefaults();
    void CenturyChanged(const QString& Text);

    std::unique_ptr<Ui::TFrLocale> FUi;
    bool FRefreshing = false;
};

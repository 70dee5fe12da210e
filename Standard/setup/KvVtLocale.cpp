#include "KvVtLocale.h"
#include "ui_KvVtLocale.h"

#include "KvPkgLanguage.h"
#include "controls/KvVtMultiLine.h"
#include "setup/KvLocaleSettings.h"

#include <QKeyEvent>

TFrLocale::TFrLocale(QWidget* Parent) : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrLocale>())
{
    FUi->setupUi(this);
    for (const TKvLocaleSetting& Setting : KvLocaleSettings()) {
        QWidget* Control = findChild<QWidget*>(QLatin1String(Setting.Control));
        Q_ASSERT(Control);
        if (auto* List = qobject_cast<QComboBox*>(Control)) {
            List->addItems(KvLocaleItems(Setting));
            connect(List, &QComboBox::currentIndexChanged, this, [this, List, &Setting] {
                if (!FRefreshing)
                    Write(Setting, List->currentText());
            });
        } else if (auto* Box = qobject_cast<QLineEdit*>(Control)) {
            Box->installEventFilter(this);
        } else if (auto* Button = qobject_cast<QAbstractButton*>(Control)) {
            connect(Button, &QAbstractButton::clicked, this, [this, &Setting] { EditNames(Setting); });
        }
    }
    connect(FUi->CBAutoLoad, &QCheckBox::clicked, this, &TFrLocale::AutoLoadClick);
    connect(FUi->EdDateCentury, &QLineEdit::textChanged, this, &TFrLocale::CenturyChanged);
    connect(FUi->BtRestoreDefaults, &QPushButton::clicked, this, &TFrLocale::RestoreDefaults);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrLocale::~TFrLocale() = default;

void TFrLocale::Execute()
{
    if (!PkgLanguage)
        return;
    FUi->CBAutoLoad->setChecked(PkgLanguage->Locale().AutoLoad);
    // Switched on, the settings are read from the system again.
    if (FUi->CBAutoLoad->isChecked())
        AutoLoadClick();
    RefreshLocale();
    EnableSettings();
    exec();
}

void TFrLocale::RefreshLocale()
{
    if (!PkgLanguage)
        return;
    FRefreshing = true;
    const TKvPkgLanguageLocale& Locale = PkgLanguage->Locale();
    for (const TKvLocaleSetting& Setting : KvLocaleSettings()) {
        QWidget* Control = findChild<QWidget*>(QLatin1String(Setting.Control));
        if (auto* List = qobject_cast<QComboBox*>(Control))
            List->setCurrentIndex(List->findText(KvLocaleText(Locale, Setting)));
        else if (auto* Box = qobject_cast<QLineEdit*>(Control))
            Box->setText(KvLocaleText(Locale, Setting));
    }
    FRefreshing = false;
}

void TFrLocale::AutoLoadClick()
{
    try {
        PkgLanguage->SetAutoLoad(FUi->CBAutoLoad->isChecked());
    } catch (const Exception& E) {
        KvShowError(E);
        FUi->CBAutoLoad->setChecked(PkgLanguage->Locale().AutoLoad);
    }
    RefreshLocale();
    EnableSettings();
}

void TFrLocale::EnableSettings()
{
    const bool Enabled = !FUi->CBAutoLoad->isChecked();
    for (const TKvLocaleSetting& Setting : KvLocaleSettings())
        // The names stay viewable; their dialog is read-only then.
        if (Setting.Kind != TKvLocaleKind::Names)
            findChild<QWidget*>(QLatin1String(Setting.Control))->setEnabled(Enabled);
    FUi->BtRestoreDefaults->setEnabled(Enabled);
}

void TFrLocale::Write(const TKvLocaleSetting& Setting, const QString& Text)
{
    if (!PkgLanguage)
        return;
    try {
        KvSetLocaleText(PkgLanguage, Setting, Text);
    } catch (const Exception& E) {
        KvShowError(E);
    }
    RefreshLocale();
}

void TFrLocale::WriteBox(QLineEdit* Box)
{
    if (!PkgLanguage)
        return;
    if (const TKvLocaleSetting* Setting = KvFindLocaleSetting(Box->objectName()))
        if (Box->isEnabled() && Box->text() != KvLocaleText(PkgLanguage->Locale(), *Setting))
            Write(*Setting, Box->text());
}

bool TFrLocale::eventFilter(QObject* Watched, QEvent* Event)
{
    auto* Box = qobject_cast<QLineEdit*>(Watched);
    if (Box && PkgLanguage) {
        if (Event->type() == QEvent::FocusOut) {
            // Only leaving the box for another control of this window writes it: a message box or
            // a drop-down taking the focus does not.
            const Qt::FocusReason Reason = static_cast<QFocusEvent*>(Event)->reason();
            if (Reason != Qt::ActiveWindowFocusReason && Reason != Qt::PopupFocusReason)
                WriteBox(Box);
        } else if (Event->type() == QEvent::KeyPress && (Box == FUi->EdDateCentury || Box == FUi->EdMaskDateYearFix)) {
            // Years take digits only; keys that type nothing (arrows, Enter, backspace) pass.
            const QString Typed = static_cast<QKeyEvent*>(Event)->text();
            if (!Typed.isEmpty() && Typed.at(0).isPrint() && !(Typed.at(0) >= u'0' && Typed.at(0) <= u'9'))
                return true;
        }
    }
    return TKvKeptBoundsDialog::eventFilter(Watched, Event);
}

// The box being edited is written before the window goes, however it is closed.
void TFrLocale::done(int Result)
{
    if (auto* Box = qobject_cast<QLineEdit*>(focusWidget()))
        WriteBox(Box);
    TKvKeptBoundsDialog::done(Result);
}

void TFrLocale::EditNames(const TKvLocaleSetting& Setting)
{
    if (!PkgLanguage)
        return;
    const QString Text = KvLocaleText(PkgLanguage->Locale(), Setting);
    TFrMultiLine Dialog(this);
    Dialog.ReadOnly = PkgLanguage->Locale().AutoLoad;
    const QString Result = Dialog.Execute(QLatin1String(Setting.Caption), Text);
    if (Result != Text)
        Write(Setting, Result);
}

void TFrLocale::RestoreDefaults()
{
    if (!PkgLanguage)
        return;
    PkgLanguage->RestoreDefaults();
    RefreshLocale();
}

void TFrLocale::CenturyChanged(const QString& Text)
{
    try {
        FUi->Label18->setText(KvCenturyRange(Text));
    } catch (const Exception& E) {
        FUi->Label18->clear();
        if (!FRefreshing)
            KvShowError(E);
    }
}

#include "KvVtDataBase.h"
#include "ui_KvVtDataBase.h"

#include "setup/KvSetupSettings.h"

#include <QMetaEnum>

namespace {

void AddKeys(QComboBox* List, const QMetaEnum& Enum)
{
    for (int i = 0; i < Enum.keyCount(); ++i)
        List->addItem(QString::fromLatin1(Enum.key(i)));
}

} // namespace

TFrDataBase::TFrDataBase(QWidget* Parent) : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrDataBase>())
{
    FUi->setupUi(this);
    connect(FUi->CBDataBaseEngine, &QComboBox::activated, this, &TFrDataBase::LoadEngine);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrDataBase::~TFrDataBase() = default;

int TFrDataBase::Execute()
{
    if (!PkgSetup)
        return 2;
    FUi->CBDataBaseEngine->clear();
    AddKeys(FUi->CBDataBaseEngine, QMetaEnum::fromType<KvSetupTypes::TKvDataBaseEngine>());
    FUi->CBDateFormat->clear();
    AddKeys(FUi->CBDateFormat, QMetaEnum::fromType<KvLocaleTypes::TKvDateFormat>());
    Show(PkgSetup->DataBase());
    LoadEngine();
    return exec() == QDialog::Accepted ? 1 : 2;
}

TKvPkgSetupDataBase TFrDataBase::Shown() const
{
    TKvPkgSetupDataBase D = PkgSetup ? PkgSetup->DataBase() : TKvPkgSetupDataBase();
    D.DataBaseEngine = FUi->CBDataBaseEngine->currentIndex();
    D.DateFormat = FUi->CBDateFormat->currentIndex();
    D.DateSeparator = KvSeparatorOf(FUi->EdDateSeparator->text());
    D.TimeSeparator = KvSeparatorOf(FUi->EdTimeSeparator->text());
    D.NumericDecimalSeparator = KvSeparatorOf(FUi->EdNumericDecimalSeparator->text());
    D.QuotedNumber = FUi->CBQuotedNumber->isChecked();
    D.SQLSyntax = FUi->CBSQLSyntax->isChecked();
    return D;
}

void TFrDataBase::Show(const TKvPkgSetupDataBase& D)
{
    FUi->CBDataBaseEngine->setCurrentIndex(D.DataBaseEngine);
    FUi->CBDateFormat->setCurrentIndex(D.DateFormat);
    FUi->EdDateSeparator->setText(KvSeparatorText(D.DateSeparator));
    FUi->EdTimeSeparator->setText(KvSeparatorText(D.TimeSeparator));
    FUi->EdNumericDecimalSeparator->setText(KvSeparatorText(D.NumericDecimalSeparator));
    FUi->CBQuotedNumber->setChecked(D.QuotedNumber);
    FUi->CBSQLSyntax->setChecked(D.SQLSyntax);
}

void TFrDataBase::LoadEngine()
{
    TKvPkgSetupDataBase D = Shown();
    KvApplyDataBaseEngine(D);
    Show(D);
    const bool Custom = D.DataBaseEngine == KvSetupTypes::deCustom;
    for (QWidget* Control : {static_cast<QWidget*>(FUi->CBDateFormat), static_cast<QWidget*>(FUi->EdDateSeparator),
                             static_cast<QWidget*>(FUi->EdTimeSeparator),
                             static_cast<QWidget*>(FUi->EdNumericDecimalSeparator),
                             static_cast<QWidget*>(FUi->CBQuotedNumber), static_cast<QWidget*>(FUi->CBSQLSyntax)})
        Control->setEnabled(Custom);
}

// Ok writes everything; a value the package refuses keeps the dialog open.
void TFrDataBase::done(int Result)
{
    if (Result == QDialog::Accepted && PkgSetup) {
        try {
            PkgSetup->SetDataBase(Shown());
        } catch (const Exception& E) {
            KvShowError(E);
            return;
        }
    }
    TKvKeptBoundsDialog::done(Result);
}

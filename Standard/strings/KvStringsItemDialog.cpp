#include "KvStringsItemDialog.h"

#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

void KvSetupIdBox(QLineEdit* Box)
{
    Box->setMaxLength(4);
    Box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), Box));
}

TKvPkgStringsItem* KvStoreStringsItem(TKvStringsKind Kind, TKvPkgStrings* Pkg, bool Modify, const QString& IdOld,
                                      const QString& IdText, const QString& Text, const QString& Hint,
                                      bool Protected)
{
    if (!Pkg)
        KvExcept(QStringLiteral("No strings package"));
    TKvScreenUpdate Busy;
    const int Id = KvStrToId(IdText);
    TKvPkgStringsItem* Item = nullptr;
    if (Modify) {
        bool Ok = false;
        const int Old = IdOld.toInt(&Ok);
        Item = Ok ? KvStringsFindId(Kind, Pkg, Old) : nullptr;
        if (!Item)
            KvExcept(QStringLiteral("%1 %2 not found").arg(KvStringsNoun(Kind, 1), IdOld));
        Item->List()->CheckId(Id, Item);
        Item->SetText(Text);
        Item->SetId(Id);
        if (Kind == TKvStringsKind::Labels)
            static_cast<TKvPkgStringsLabel*>(Item)->SetHint(Hint);
    } else {
        switch (Kind) {
        case TKvStringsKind::Labels: Item = Pkg->Labels()->Add(Id, Text, Hint); break;
        case TKvStringsKind::Messages: Item = Pkg->Messages()->Add(Id, Text); break;
        case TKvStringsKind::Texts: Item = Pkg->Texts()->Add(Id, Text); break;
        }
    }
    Item->SetProtected(Protected);
    return Item;
}

TKvStringsItemDialog::TKvStringsItemDialog(TKvStringsKind Kind, QWidget* Parent) : QDialog(Parent), FKind(Kind) {}

void TKvStringsItemDialog::Bind(QLineEdit* EdId, QCheckBox* CbProtected)
{
    FEdId = EdId;
    FCbProtected = CbProtected;
    KvSetupIdBox(FEdId);
}

void TKvStringsItemDialog::SetId(int Id)
{
    FEdId->setText(QString::number(Id));
}

QString TKvStringsItemDialog::IdText() const
{
    return FEdId->text();
}

int TKvStringsItemDialog::Id() const
{
    bool Ok = false;
    const int Value = FEdId->text().toInt(&Ok);
    return Ok ? Value : -1;
}

int TKvStringsItemDialog::Execute()
{
    Prepare();
    FIdOld = FEdId->text();
    FCbProtected->setChecked(true);
    // Only the library's own strings carry the flag.
    const bool System = FPkg && KvIsSystemPkgName(FPkg->PkgName());
    if (!System) {
        FCbProtected->setVisible(false);
        FCbProtected->setChecked(false);
    }
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TKvStringsItemDialog::done(int Result)
{
    if (Result == QDialog::Accepted) {
        try {
            KvStoreStringsItem(FKind, FPkg, FModify, FIdOld, FEdId->text(), Text(), Hint(),
                               FCbProtected->isChecked());
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            FEdId->setFocus();
            return;
        }
    }
    QDialog::done(Result);
}

void TKvStringsItemDialog::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TKvStringsItemDialog::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}

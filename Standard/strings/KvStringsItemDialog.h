#pragma once

#include "KvStringsList.h"
#include "common/KvPkgDialogs.h"

class QCheckBox;
class QLineEdit;
class TKvPkgStrings;
class TKvPkgStringsItem;

// Id boxes take the digits 0 to 9 and backspace, at most four of them typed.
constexpr int KvIdBoxDigits = 4;
void KvSetupIdBox(QLineEdit* Box);

// Writes one item of a strings package, the only place where id, text, hint and protected flag
// are stored. Modify finds the item of IdOld; otherwise a new item is added. Every check (the id
// text, the item to modify, the id already in use) comes before the first change, so a refused
// item leaves the package as it was. Raises what the runtime library raises.
TKvPkgStringsItem* KvStoreStringsItem(TKvStringsKind Kind, TKvPkgStrings* Pkg, bool Modify, const QString& IdOld,
                                      const QString& IdText, const QString& Text, const QString& Hint,
                                      bool Protected);

// What the add dialogs of labels, messages and texts share: the package, add or modify, the id
// box and "Protected", and the store on OK that keeps the dialog open when it fails.
class TKvStringsItemDialog : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    TKvPkgStrings* FPkg = nullptr;
    bool FModify = false;

    // 1 when the item was stored, 2 otherwise.
    int Execute();

    void SetId(int Id);
    // The id box as a number; -1 when it holds none.
    int Id() const;
    QString IdText() const;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& Value) = 0;
    virtual QString Hint() const { return QString(); }
    virtual void SetHint(const QString&) {}

    void done(int Result) override;

protected:
    TKvStringsItemDialog(TKvStringsKind Kind, QWidget* Parent);
    void Bind(QLineEdit* EdId, QCheckBox* CbProtected);
    virtual void Prepare() {}

    QString FIdOld;

private:
    bool ConfirmEmpty();

    TKvStringsKind FKind;
    QLineEdit* FEdId = nullptr;
    QCheckBox* FCbProtected = nullptr;
};

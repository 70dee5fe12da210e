#include "KvStringsItemDialog.h"

#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

// Limits what the developer types, never what the program puts in the box: lists may hold ids
// above 9999, and a box cut to four digits would name another item.
class TKvIdBoxFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != QEvent::KeyPress)
            return false;
        auto* Box = static_cast<QLineEdit*>(Watched);
        auto* Key = static_cast<QKeyEvent*>(Event);
        if (Key->matches(QKeySequence::Paste)) {
            Insert(Box, QGuiApplication::clipboard()->text());
            return true;
        }
        const QString Text = Key->text();
        if (Text.isEmpty() || !Text.at(0).isPrint() || (Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false; // backspace, arrows, shortcuts
        Insert(Box, Text);
        return true;
    }

private:
    static void Insert(QLineEdit* Box, const QString& Text)
    {
        static const QRegularExpression Digits(QStringLiteral("^[0-9]+$"));
        if (!Digits.match(Text).hasMatch())
            return;
        if (Box->text().size() - Box->selectedText().size() + Text.size() > KvIdBoxDigits)
            return;
        Box->insert(Text);
    }
};

} // namespace

void KvSetupIdBox(QLineEdit* Box)
{
    Box->installEventFilter(new TKvIdBoxFilter(Box));
    // Dropped text bypasses the key filter.
    Box->setDragEnabled(false);
    Box->setAcceptDrops(false);
    // The context menu's paste bypasses it too; "-" stays for the -1 and -2 a picker sets.
    Box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), Box));
}

TKvPkgStringsItem* KvStoreStringsItem(TKvStringsKind Kind, TKvPkgStrings* Pkg, bool Modify, const QString& IdOld,
                                      const QString& IdText, const QString& Text, const QString& Hint,
                                      bool Protected)
{
    if (!Pkg)
        KvExcept(QStringLiteral("No strings package"));
    TKvScreenUpdate Busy;
    // An id kept as it was may lie above what can be typed.
    bool Kept = false;
    int Id = Modify && IdText.trimmed() == IdOld.trimmed() ? IdOld.toInt(&Kept) : 0;
    if (!Kept)
        Id = KvStrToId(IdText);
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

TKvStringsItemDialog::TKvStringsItemDialog(TKvStringsKind Kind, QWidget* Parent) : TKvKeptBoundsDialog(Parent), FKind(Kind) {}

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

// An item with nothing to show is most often an OK pressed too early; a label that has only a
// hint is a real one.
bool TKvStringsItemDialog::ConfirmEmpty()
{
    if (!Text().trimmed().isEmpty() || !Hint().trimmed().isEmpty())
        return true;
    static const char* const Questions[] = {"The label has neither text nor hint. Store it anyway?",
                                            "The message is empty. Store it anyway?",
                                            "The text is empty. Store it anyway?"};
    return KvMessage(KvMsgQuestion, QString::fromLatin1(Questions[int(FKind)]), {KvBtnAccept, KvBtnCancel},
                     KvBtnCancel) == KvBtnAccept;
}

void TKvStringsItemDialog::done(int Result)
{
    if (Result == QDialog::Accepted) {
        if (!ConfirmEmpty())
            return;
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


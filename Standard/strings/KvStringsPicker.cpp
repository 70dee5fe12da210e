#include "KvStringsPicker.h"

#include "KvStringsItemDialog.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "common/KvPkgDialogs.h"
#include "manager/KvVtManager.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

bool SystemEditing()
{
    const TKvCApplication* App = KvCApp();
    return App && App->EditSystem();
}

} // namespace

bool KvPickerValidPkg(const QString& Name)
{
    return SystemEditing() || !KvIsSystemPkgName(Name);
}

TKvPickerTarget KvPickerInitialTarget(const TKvMemoryReference* Reference)
{
    TKvPickerTarget Target;
    if (Reference->HasDefault() && Reference->Id() == TKvMemoryReference::IdDefault) {
        Target.PkgName = Reference->DefaultPkgName();
        Target.Id = Reference->DefaultId();
    } else {
        Target.PkgName = Reference->PkgName();
        Target.Id = Reference->Id();
    }
    if (Target.PkgName.isEmpty())
        Target.PkgName = QStringLiteral("User");
    return Target;
}

int KvPickerResultId(const TKvMemoryReference* Reference, const QString& PkgName, const QString& IdText,
                     bool Confirmed)
{
    bool Ok = false;
    int Id = IdText.toInt(&Ok);
    if (!Ok)
        Id = Reference->HasDefault() ? TKvMemoryReference::IdDefault : TKvMemoryReference::IdNone;
    if (Confirmed && Id >= 0 && Reference->HasDefault() && Id == Reference->DefaultId() &&
        PkgName.compare(Reference->DefaultPkgName(), Qt::CaseInsensitive) == 0)
        Id = TKvMemoryReference::IdDefault;
    return Id;
}

// ---------------------------------------------------------------------------------------------

TKvStringsPicker::TKvStringsPicker(TKvStringsKind Kind, QWidget* Parent)
    : TKvKeptBoundsDialog(Parent), FKind(Kind), FModel(new TKvStringsModel(Kind, this)), FMenu(new QMenu(this))
{
    static const char* const Nouns[] = {"Labels", "Messages", "Texts"};
    const QString Noun = QString::fromLatin1(Nouns[int(Kind)]);
    FMnProtectAll = FMenu->addAction(QStringLiteral("Protect All ") + Noun);
    FMnProtectAll->setObjectName(QStringLiteral("MnProtectAll"));
    FMnUnprotectAll = FMenu->addAction(QStringLiteral("Unprotect All ") + Noun);
    FMnUnprotectAll->setObjectName(QStringLiteral("MnUnprotectAll"));
    connect(FMnProtectAll, &QAction::triggered, this, [this] { ProtectAll(true); });
    connect(FMnUnprotectAll, &QAction::triggered, this, [this] { ProtectAll(false); });
}

TKvStringsPicker::~TKvStringsPicker() = default;

void TKvStringsPicker::Bind(const TKvPickerControls& Controls)
{
    C = Controls;
    C.List->setModel(FModel);
    KvSetupIdBox(C.EdId);
    connect(C.BtManager, &QPushButton::clicked, this,
            [this] { KvShowManager(this, KvManagerKindOf(FKind), C.EdPackage->currentText(), C.EdId->text()); });

    connect(C.EdPackage, &QComboBox::editTextChanged, this, [this] { PackageChange(); });
    connect(C.EdId, &QLineEdit::textEdited, this, [this] { IdChange(); });
    connect(C.EdSearch, &QLineEdit::textEdited, this, &TKvStringsPicker::SearchEdited);
    connect(C.List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ChangeState(); });
    // The new current row, not the selection: a mouse press moves the current row before it
    // selects.
    connect(C.List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) {
                if (!FSelecting)
                    RowClicked(Current.row());
            });
    connect(C.List, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(C.List, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->popup(C.List->viewport()->mapToGlobal(At)); });
    connect(C.BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(C.BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(C.BtNull, &QPushButton::clicked, this, [this] {
        C.EdId->setText(QStringLiteral("-1"));
        accept();
    });
    connect(C.BtDefault, &QPushButton::clicked, this, [this] {
        C.EdId->setText(QStringLiteral("-2"));
        accept();
    });
    connect(C.BtAdd, &QPushButton::clicked, this, &TKvStringsPicker::AddItem);
    connect(C.BtModify, &QPushButton::clicked, this, &TKvStringsPicker::ModifyItem);
    connect(C.BtDelete, &QPushButton::clicked, this, [this] { DeleteRow(C.List->CurrentRow()); });
    if (C.OrderLabel) {
        connect(C.OrderLabel, &QRadioButton::clicked, this, [this] { LoadList(); });
        connect(C.OrderId, &QRadioButton::clicked, this, [this] { LoadList(); });
    }
}

int TKvStringsPicker::Execute()
{
    const TKvMemoryReference* Ref = Reference();
    C.BtDefault->setEnabled(Ref->HasDefault());

    QStringList Names = KvPkgStringsActives();
    std::sort(Names.begin(), Names.end(),
              [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
    const TKvPickerTarget Target = KvPickerInitialTarget(Ref);
    {
        const QSignalBlocker Block(C.EdPackage);
        C.EdPackage->clear();
        C.EdPackage->addItems(Names);
        const int Index = C.EdPackage->findText(Target.PkgName, Qt::MatchFixedString);
        C.EdPackage->setCurrentIndex(Index);
        // As the reference spells it: confirming unchanged must not rewrite it.
        C.EdPackage->setEditText(Target.PkgName);
    }
    C.EdId->setText(QString::number(Target.Id));
    PackageChange();

    if (C.EdPackage->count() > 0)
        C.EdId->setFocus();
    else
        C.EdPackage->setFocus();
    if (focusWidget() == C.EdSearch)
        C.EdSearch->selectAll();
    UpdateInfo();
    C.List->CheckItemHeight();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TKvStringsPicker::SaveShown()
{
    if (!FPkg)
        return;
    try {
        FPkg->SaveFile();
    } catch (const Exception& E) {
        KvShowError(E);
    }
}

void TKvStringsPicker::PackageChange()
{
    SaveShown();
    FModel->Clear();
    C.EdSearch->clear();
    if (C.EdDetail)
        C.EdDetail->clear();
    FPkg = KvFindPkgStrings(C.EdPackage->currentText());
    if (FPkg) {
        if (FPkg->InitMode() == TKvPkgInfo::imFILE && FPkg->FileModified()) {
            try {
                FPkg->LoadFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
        }
        LoadList();
    }
    FSystem = FPkg && KvIsSystemPkgName(FPkg->PkgName());
    FMnProtectAll->setVisible(FSystem);
    FMnUnprotectAll->setVisible(FSystem);
    C.List->SetSystem(FSystem);
    ChangeState();
    UpdateInfo();
}

// Refills the rows (messages and texts through the search text) and selects the id box's item.
void TKvStringsPicker::LoadList()
{
    if (C.EdDetail && FKind == TKvStringsKind::Texts)
        C.EdDetail->clear();
    if (FKind == TKvStringsKind::Labels) {
        C.EdSearch->clear();
        if (C.EdDetail)
            C.EdDetail->clear();
        FModel->Fill(FPkg, !C.OrderId || !C.OrderId->isChecked());
    } else {
        FModel->Fill(FPkg, false, C.EdSearch->text());
    }
    IdChange();
}

void TKvStringsPicker::SelectRow(int Row)
{
    FSelecting = true;
    C.List->SelectRow(Row);
    FSelecting = false;
    // Resets and removals change the selection without telling.
    ChangeState();
}

void TKvStringsPicker::IdChange()
{
    bool Ok = false;
    const int Id = C.EdId->text().toInt(&Ok);
    TKvPkgStringsItem* Item = Ok ? KvStringsFindId(FKind, FPkg, Id) : nullptr;
    if (!Item) {
        SelectRow(-1);
        if (FKind == TKvStringsKind::Labels)
            C.EdSearch->clear();
        if (C.EdDetail)
            C.EdDetail->clear();
        return;
    }
    const int Row = FModel->RowOf(Item);
    // Filtered out: the selection stays as it was.
    if (Row < 0) {
        ChangeState();
        return;
    }
    SelectRow(Row);
    if (FKind == TKvStringsKind::Labels) {
        C.EdSearch->setText(Item->Text());
        C.EdDetail->setPlainText(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
    } else if (FKind == TKvStringsKind::Texts) {
        C.EdDetail->setPlainText(Item->Text());
    }
}

void TKvStringsPicker::RowClicked(int Row)
{
    TKvPkgStringsItem* Item = FModel->Item(Row);
    if (!Item)
        return;
    C.EdId->setText(QString::number(Item->Id()));
    if (FKind == TKvStringsKind::Labels) {
        C.EdSearch->setText(Item->Text());
        C.EdDetail->setPlainText(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
    } else {
        IdChange();
    }
}

void TKvStringsPicker::SearchEdited(const QString& Text)
{
    if (FKind != TKvStringsKind::Labels) {
        LoadList();
        return;
    }
    const std::optional<int> Row = FModel->SearchLabel(Text);
    if (!Row)
        return;
    SelectRow(*Row);
    // Of labels sharing a text, the package's first one answers.
    const QString RowText = FModel->Item(*Row)->Text();
    const TKvPkgStringsLabels* Labels = FPkg->Labels();
    const TKvPkgStringsLabel* Found = static_cast<TKvPkgStringsLabel*>(FModel->Item(*Row));
    for (int I = 0; I < Labels->Count(); ++I)
        if (Labels->GetItems(I)->Text() == RowText) {
            Found = Labels->GetItems(I);
            break;
        }
    C.EdId->setText(QString::number(Found->Id()));
    C.EdDetail->setPlainText(Found->Hint());
}

void TKvStringsPicker::ChangeState()
{
    const bool Editable = FPkg && KvPickerValidPkg(C.EdPackage->currentText());
    const bool Selected = Editable && C.List->CurrentRow() >= 0;
    C.BtAdd->setEnabled(Editable);
    C.BtModify->setEnabled(Selected);
    C.BtDelete->setEnabled(Selected);
    const Qt::FocusPolicy Policy = Editable ? Qt::StrongFocus : Qt::ClickFocus;
    C.EdSearch->setFocusPolicy(Policy);
    C.List->setFocusPolicy(Policy);
    FMnProtectAll->setEnabled(SystemEditing());
    FMnUnprotectAll->setEnabled(SystemEditing());
}

void TKvStringsPicker::UpdateInfo()
{
    C.LaStatus->setText(KvStringsStatus(FKind, FPkg));
}

void TKvStringsPicker::Modified()
{
    if (!FPkg || FPkg->InitMode() != TKvPkgInfo::imDFM)
        return;
    KvDesignerModified(FPkg);
    if (TKvCApplication* App = KvCApp())
        KvDesignerModified(App);
}

// After any change of the package's items: open forms redraw what refers to it.
void TKvStringsPicker::Changed()
{
    KvFormsPerform(KvMmPkgStrings, FPkg);
    UpdateInfo();
    Modified();
}

void TKvStringsPicker::AddItem()
{
    if (!FPkg || !C.BtAdd->isEnabled())
        return;
    static const char* const Captions[] = {"Add Label", "Add Message", "Add Text"};
    if (FKind == TKvStringsKind::Texts)
        C.EdSearch->clear();
    std::unique_ptr<TKvStringsItemDialog> Dialog = CreateItemDialog();
    Dialog->FModify = false;
    Dialog->setWindowTitle(QString::fromLatin1(Captions[int(FKind)]));
    Dialog->FPkg = FPkg;
    switch (FKind) {
    case TKvStringsKind::Labels: Dialog->SetId(FPkg->Labels()->UniqueId()); break;
    case TKvStringsKind::Messages: Dialog->SetId(FPkg->Messages()->UniqueId()); break;
    case TKvStringsKind::Texts: Dialog->SetId(FPkg->Texts()->UniqueId()); break;
    }
    if (Dialog->Execute() != 1)
        return;
    C.EdId->setText(Dialog->IdText());
    if (FKind == TKvStringsKind::Labels) {
        if (TKvPkgStringsItem* Item = KvStringsFindId(FKind, FPkg, Dialog->Id()))
            FModel->Insert(Item);
        IdChange();
    } else {
        LoadList();
    }
    UpdateInfo();
    C.EdSearch->setFocus();
    Changed();
}

void TKvStringsPicker::ModifyItem()
{
    const int Row = C.List->CurrentRow();
    TKvPkgStringsItem* Item = FModel->Item(Row);
    if (!FPkg || !Item || !C.BtModify->isEnabled())
        return;
    static const char* const Captions[] = {"Modify Label", "Modify Message", "Modify Text"};
    std::unique_ptr<TKvStringsItemDialog> Dialog = CreateItemDialog();
    Dialog->FModify = true;
    Dialog->setWindowTitle(QString::fromLatin1(Captions[int(FKind)]));
    Dialog->FPkg = FPkg;
    Dialog->SetId(Item->Id());
    Dialog->SetText(Item->Text());
    if (FKind == TKvStringsKind::Labels)
        Dialog->SetHint(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
    if (Dialog->Execute() != 1)
        return;
    if (FKind == TKvStringsKind::Labels) {
        FModel->Update(Row);
        C.EdId->setText(Dialog->IdText());
        IdChange();
    } else {
        // The id box takes a changed id first, so that the refill selects the item again.
        if (Dialog->IdText() != C.EdId->text()) {
            C.EdId->setText(Dialog->IdText());
            LoadList();
        }
        FModel->Update(C.List->CurrentRow());
        if (FKind == TKvStringsKind::Texts)
            C.EdDetail->setPlainText(Item->Text());
    }
    C.EdSearch->setFocus();
    Changed();
}

void TKvStringsPicker::DeleteRow(int Row)
{
    TKvPkgStringsItem* Item = FModel->Item(Row);
    if (!Item)
        return;
    FModel->Remove(Row);
    delete Item;
    const int Count = FModel->rowCount();
    const int Next = std::min(Row, Count - 1);
    SelectRow(Next);
    const TKvPkgStringsItem* Selected = FModel->Item(Next);
    C.EdId->setText(Selected ? QString::number(Selected->Id()) : QString());
    IdChange();
    Changed();
}

void TKvStringsPicker::DeleteItem(TKvPkgStringsItem* Item)
{
    const int Row = FModel->RowOf(Item);
    if (Row >= 0)
        DeleteRow(Row);
}

void TKvStringsPicker::ProtectAll(bool Value)
{
    if (!FPkg || !SystemEditing())
        return;
    if (KvStringsProtectAll(FKind, FPkg, Value) == 0)
        return;
    ChangeState();
    UpdateInfo();
    Modified();
    C.List->viewport()->update();
}

void TKvStringsPicker::done(int Result)
{
    SaveShown();
    if (FPkg)
        if (auto* Language = qobject_cast<TKvPkgLanguage*>(FPkg->Container())) {
            try {
                Language->SaveFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
        }
    TKvMemoryReference* Ref = Reference();
    const bool Confirmed = Result == QDialog::Accepted;
    const QString PkgName = C.EdPackage->currentText();
    const int Id = KvPickerResultId(Ref, PkgName, C.EdId->text(), Confirmed);
    if (Confirmed)
        Ref->PkgId(PkgName, Id);
    QDialog::done(Result);
}


#include "KvSetsWindow.h"

#include "KvSetAddDialog.h"

#include "KvApplication.h"
#include "KvForms.h"
#include "KvPkgDisplay.h"
#include "manager/KvVtManager.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

TKvDlgManager ManagerKind(TKvSetKind Kind)
{
    switch (Kind) {
    case TKvSetKind::Color: return TKvDlgManager::dlmSetsColor;
    case TKvSetKind::Font: return TKvDlgManager::dlmSetsFont;
    case TKvSetKind::BackGround: return TKvDlgManager::dlmSetsBackGround;
    }
    return TKvDlgManager::dlmSetsColor;
}

} // namespace

TKvSetsWindow::TKvSetsWindow(TKvSetKind Kind, QWidget* Parent)
    : QDialog(Parent), FKind(Kind), FModel(new TKvSetsModel(Kind, this))
{
}

TKvSetsWindow::~TKvSetsWindow() = default;

TKvPkgDisplay* TKvSetsWindow::Pkg() const
{
    return CApplication ? CApplication->PkgDisplay() : nullptr;
}

void TKvSetsWindow::Bind(const TKvSetsControls& Controls)
{
    C = Controls;
    static const char* const ListNames[] = {"Colors", "Fonts", "BackGrounds"};
    C.List->setObjectName(QString::fromLatin1(ListNames[int(FKind)]));
    C.List->SetKind(FKind);
    C.List->setModel(FModel);
    C.PnButtons->installEventFilter(this);
    connect(C.EdDescrip, &QLineEdit::textEdited, this, &TKvSetsWindow::SearchEdited);
    // The new current row, not the selection: a mouse press moves the current row first.
    connect(C.List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) {
                if (FSelecting)
                    return;
                if (const TKvDisplaySet* Set = FModel->Set(Current.row()))
                    C.EdDescrip->setText(Set->Name());
                ChangeState();
            });
    connect(C.List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ChangeState(); });
    connect(C.List, &QAbstractItemView::doubleClicked, this, [this] { RowDoubleClicked(); });
    connect(C.BtAdd, &QPushButton::clicked, this, &TKvSetsWindow::AddSet);
    connect(C.BtModify, &QPushButton::clicked, this, &TKvSetsWindow::ModifySet);
    connect(C.BtDelete, &QPushButton::clicked, this, [this] { DeleteRow(C.List->CurrentRow()); });
    connect(C.BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(C.BtManager, &QPushButton::clicked, this,
            [this] { KvShowManager(this, ManagerKind(FKind), QString(), C.EdDescrip->text()); });
}

void TKvSetsWindow::SetCaption()
{
    setWindowTitle(QStringLiteral("Sets") + KvSetKindName(FKind) + QStringLiteral(" (")
                   + (CApplication ? CApplication->GetName() : QString()) + QLatin1Char(')'));
}

void TKvSetsWindow::Load()
{
    FModel->Fill(Pkg());
    ChangeState();
}

void TKvSetsWindow::SelectRow(int Row)
{
    FSelecting = true;
    C.List->SelectRow(Row);
    FSelecting = false;
}

void TKvSetsWindow::Change(const QString& Name)
{
    const TKvDisplaySet* Set = KvFindSet(FKind, Pkg(), Name);
    const int Row = Set ? FModel->RowOf(Set) : -1;
    SelectRow(Row);
    C.EdDescrip->setText(Row >= 0 ? Set->Name() : Name);
    ChangeState();
}

// Typing a name makes current the first set not before it; past the last one the current set
// stays, so that a typo at the end does not lose the place.
void TKvSetsWindow::SearchEdited(const QString& Text)
{
    if (const std::optional<int> Row = FModel->Search(Text))
        SelectRow(*Row);
    ChangeState();
}

void TKvSetsWindow::ChangeState()
{
    const bool Editable = CApplication && Pkg();
    const bool Selected = Editable && C.List->CurrentRow() >= 0;
    C.BtAdd->setEnabled(Editable);
    C.BtModify->setEnabled(Selected);
    C.BtDelete->setEnabled(Selected);
    const Qt::FocusPolicy Policy = Editable ? Qt::StrongFocus : Qt::ClickFocus;
    C.EdDescrip->setFocusPolicy(Policy);
    C.List->setFocusPolicy(Policy);
}

void TKvSetsWindow::UpdateInfo()
{
    const TKvDisplaySets* List = KvSetList(FKind, Pkg());
    C.StatusBar1->showMessage(KvSetsStatus(FKind, List ? List->Count() : 0));
}

void TKvSetsWindow::CheckItemHeight()
{
    C.List->CheckItemHeight();
}

void TKvSetsWindow::AddSet()
{
    if (!C.BtAdd->isEnabled())
        return;
    std::unique_ptr<TKvSetAddDialog> Dialog = KvCreateSetAddDialog(FKind, this);
    Dialog->FModify = false;
    Dialog->FCApplication = CApplication;
    Dialog->setWindowTitle(QStringLiteral("Add ") + KvSetKindName(FKind));
    if (Dialog->Execute() != 1)
        return;
    Load();
    Change(Dialog->Set()->Name());
    UpdateInfo();
    C.EdDescrip->setFocus();
    Modified();
}

void TKvSetsWindow::ModifySet()
{
    const int Row = C.List->CurrentRow();
    TKvDisplaySet* Set = FModel->Set(Row);
    if (!Set || !C.BtModify->isEnabled())
        return;
    const QString OldName = Set->Name();
    std::unique_ptr<TKvSetAddDialog> Dialog = KvCreateSetAddDialog(FKind, this);
    Dialog->FModify = true;
    Dialog->FCApplication = CApplication;
    Dialog->SetSet(Set);
    Dialog->setWindowTitle(QStringLiteral("Modify ") + KvSetKindName(FKind));
    if (Dialog->Execute() != 1)
        return;
    if (Set->Name() != OldName) {
        Load();
        Change(Set->Name());
    } else {
        FModel->Changed(Row);
    }
    Modified();
}

void TKvSetsWindow::DeleteRow(int Row)
{
    TKvDisplaySet* Set = FModel->Set(Row);
    TKvDisplaySets* List = KvSetList(FKind, Pkg());
    if (!Set || !List)
        return;
    FModel->Remove(Row);
    List->Delete(List->IndexOf(Set));
    const int Next = std::min(Row, FModel->rowCount() - 1);
    SelectRow(Next);
    const TKvDisplaySet* Shown = FModel->Set(Next);
    C.EdDescrip->setText(Shown ? Shown->Name() : QString());
    ChangeState();
    UpdateInfo();
    Modified();
}

void TKvSetsWindow::DeleteItem(TKvDisplaySet* Set)
{
    const int Row = FModel->RowOf(Set);
    if (Row >= 0)
        DeleteRow(Row);
}

// The buttons stand on the bottom of their panel, Ok and Cancel lowest, in groups parted by
// half a button's height; within a group a fifth of it.
void TKvSetsWindow::AdjustComponents()
{
    C.List->viewport()->update();
    const int h = C.BtOk->sizeHint().height();
    const int d = h / 5, e = h / 2;
    const int w = C.PnButtons->width();
    int y = C.PnButtons->height() - d;
    const auto Place = [&](QPushButton* Button, int Gap) {
        if (!Button)
            return;
        y -= Gap + h;
        Button->setGeometry(0, y, w, h);
    };
    Place(C.BtCancel, 0);
    Place(C.BtOk, C.BtCancel ? d : 0);
    Place(C.BtDefault, e);
    Place(C.BtNull, d);
    Place(C.BtDelete, e);
    Place(C.BtModify, d);
    Place(C.BtAdd, d);
    Place(C.BtManager, e);
}

// The button panel has its size only after the window's own resize event.
bool TKvSetsWindow::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == C.PnButtons && Event->type() == QEvent::Resize)
        AdjustComponents();
    return QDialog::eventFilter(Watched, Event);
}

void TKvSetsWindow::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
    AdjustComponents();
}

void TKvSetsWindow::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}

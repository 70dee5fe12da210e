#include "KvMenus.h"

#include "KvShortCuts.h"
#include "SysUtils.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>

// ---------------------------------------------------------------------------------------------
// TKvMenuItem

TKvMenuItem::TKvMenuItem(TComponent* AOwner)
    : TComponent(AOwner),
      FMemoryLabel(new TKvMemoryLabel(this)),
      FMemoryImage(new TKvMemoryImage(this)),
      FPrivilege(new TKvPrivilege(this))
{
}

TKvMenuItem::~TKvMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.isEmpty())
        delete FItems.last(); // removes itself
}

void TKvMenuItem::NotifyChanged()
{
    emit Changed();
}

void TKvMenuItem::SetCaption(const QString& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    NotifyChanged();
}

QString TKvMenuItem::DisplayCaption() const
{
    return KvDisplayCaption(FMemoryLabel, FCaption);
}

void TKvMenuItem::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    // A checked radio item unchecks the others of its group.
    if (FChecked && FRadioItem && FParent && !(ComponentState() & csLoading))
        for (TKvMenuItem* Item : std::as_const(FParent->FItems))
            if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
                Item->FChecked = false;
    NotifyChanged();
}

void TKvMenuItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    NotifyChanged();
}

void TKvMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    NotifyChanged();
}

void TKvMenuItem::SetRadioItem(bool Value)
{
    FRadioItem = Value;
    NotifyChanged();
}

void TKvMenuItem::SetGroupIndex(int Value)
{
    if (Value < 0 || Value > 255)
        throw EConvertError(QStringLiteral("%1 is not a valid group index (0 to 255)").arg(Value));
    FGroupIndex = Value;
    NotifyChanged();
}

void TKvMenuItem::SetShortCut(int Value)
{
    FShortCut = Value;
    NotifyChanged();
}

void TKvMenuItem::SetDefaultAction(TKvMenuItemDefaultAction Value)
{
    FDefaultAction = Value;
    NotifyChanged();
}

TKvMenuItem* TKvMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= FItems.size())
        throw EListError(QStringLiteral("Menu index out of range (%1)").arg(Index));
    return FItems.at(Index);
}

bool TKvMenuItem::Contains(const TKvMenuItem* Item) const
{
    for (; Item; Item = Item->FParent)
        if (Item == this)
            return true;
    return false;
}

void TKvMenuItem::Add(TKvMenuItem* Item)
{
    Insert(Count(), Item);
}

void TKvMenuItem::Insert(int Index, TKvMenuItem* Item)
{
    if (!Item)
        return;
    if (Item->FParent)
        throw EInvalidOperation(QStringLiteral("Menu item %1 is already in a menu").arg(Item->GetName()));
    if (Item->Contains(this))
        throw EInvalidOperation(QStringLiteral("Menu item %1 cannot contain itself").arg(Item->GetName()));
    if (Item->FRootOf)
        throw EInvalidOperation(QStringLiteral("The items of a menu cannot be a menu item"));
    if (Index < 0 || Index > FItems.size())
        throw EListError(QStringLiteral("Menu index out of range (%1)").arg(Index));
    FItems.insert(Index, Item);
    Item->FParent = this;
    NotifyChanged();
}

void TKvMenuItem::Remove(TKvMenuItem* Item)
{
    if (!Item || Item->FParent != this)
        return;
    FItems.removeOne(Item);
    Item->FParent = nullptr;
    NotifyChanged();
}

void TKvMenuItem::Clear()
{
    while (!FItems.isEmpty())
        delete FItems.last();
}

void TKvMenuItem::SetMenuIndex(int Value)
{
    if (!FParent)
        return;
    QList<TKvMenuItem*>& Siblings = FParent->FItems;
    const int Target = qBound(0, Value, int(Siblings.size()) - 1);
    const int Current = int(Siblings.indexOf(this));
    if (Current != Target) {
        Siblings.move(Current, Target);
        FParent->NotifyChanged();
    }
}

TComponent* TKvMenuItem::GetParentMenu() const
{
    const TKvMenuItem* Item = this;
    while (Item->FParent)
        Item = Item->FParent;
    return Item->FRootOf;
}

TComponent* TKvMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FRootOf)
        return FParent->FRootOf;
    return FParent;
}

void TKvMenuItem::SetParentComponent(TComponent* Value)
{
    TKvMenuItem* NewParent = qobject_cast<TKvMenuItem*>(Value);
    if (!NewParent)
        NewParent = KvMenuItemsOf(Value);
    if (NewParent == FParent)
        return;
    if (FParent)
        FParent->Remove(this);
    if (NewParent)
        NewParent->Add(this);
}

void TKvMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    for (TKvMenuItem* Item : FItems)
        if (Item->Owner() == Root)
            Proc(Item);
}

// ---------------------------------------------------------------------------------------------
// TKvMenuTree

TKvMenuTree::TKvMenuTree(TComponent* Menu) : FMenu(Menu), FItems(new TKvMenuItem(Menu))
{
    FItems->FRootOf = Menu;
}

void TKvMenuTree::DestroyItems()
{
    delete std::exchange(FItems, nullptr);
    FWindowsList = nullptr;
    delete FEditorWindow.data();
}

bool TKvMenuTree::ValidAssignWindowsList(const TKvMenuItem* Item) const
{
    return Item && FItems && Item != FItems && FItems->Contains(Item);
}

void TKvMenuTree::SetWindowsList(TKvMenuItem* Value)
{
    if (Value == FWindowsList)
        return;
    // While loading, the reference may be resolved before the item joins the tree.
    if (Value && !(FMenu->ComponentState() & csLoading) && !ValidAssignWindowsList(Value))
        throw EInvalidOperation(
            QStringLiteral("%1 is not an item of %2").arg(Value->GetName(), FMenu->GetName()));
    FWindowsList = Value;
    if (Value && (!Value->Owner() || Value->Owner() != FMenu->Owner()))
        Value->FreeNotification(FMenu);
}

void TKvMenuTree::Removed(const TComponent* Component)
{
    if (Component && Component == FWindowsList)
        FWindowsList = nullptr;
}

TKvMenuItem* KvMenuItemsOf(const TComponent* Menu)
{
    if (const auto* M = qobject_cast<const TKvMenu*>(Menu))
        return M->Items();
    if (const auto* P = qobject_cast<const TKvPanelMenu*>(Menu))
        return P->Items();
    return nullptr;
}

namespace {

void CheckImagesSize(int Value)
{
    if (Value != 16 && Value != 24 && Value != 32)
        throw EConvertError(QStringLiteral("Menu images are 16, 24 or 32 pixels, not %1").arg(Value));
}

// Images: the icons' size in pixels, 0 for none.
void FillQMenu(QMenu* Target, const TKvMenuItem* Parent, int Images)
{
    for (int I = 0; I < Parent->Count(); ++I) {
        const TKvMenuItem* Item = Parent->Items(I);
        if (!Item->Visible())
            continue;
        if (Item->IsLine()) {
            Target->addSeparator();
            continue;
        }
        QAction* Action;
        if (Item->Count() > 0) {
            QMenu* Sub = Target->addMenu(Item->DisplayCaption());
            FillQMenu(Sub, Item, Images);
            Action = Sub->menuAction();
        } else {
            Action = Target->addAction(Item->DisplayCaption());
            Action->setCheckable(Item->Checked() || Item->RadioItem());
            Action->setChecked(Item->Checked());
            Action->setShortcut(QKeySequence(KvShortCutToKey(Item->ShortCut())));
        }
        Action->setEnabled(Item->Enabled());
        Action->setObjectName(Item->GetName());
        if (Images > 0) {
            const QImage Graphic = Item->MemoryImage()->Graphic();
            if (!Graphic.isNull())
                Action->setIcon(QIcon(QPixmap::fromImage(
                    Graphic.scaled(Images, Images, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Menus

TKvMenu::TKvMenu(TComponent* AOwner) : TComponent(AOwner), FTree(this), FSetFont(new TKvSetFont(this))
{
    KvNameDefaultSets(QStringLiteral("Mn"), nullptr, FSetFont, nullptr);
}

TKvMenu::~TKvMenu()
{
    FTree.DestroyItems();
}

void TKvMenu::SetImagesSize(int Value)
{
    CheckImagesSize(Value);
    FImagesSize = Value;
}

std::unique_ptr<QMenu> TKvMenu::CreateQMenu(QWidget* Parent) const
{
    auto Menu = std::make_unique<QMenu>(Parent);
    Menu->setObjectName(GetName());
    FillQMenu(Menu.get(), Items(), FImagesVisible ? FImagesSize : 0);
    return Menu;
}

void TKvMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    if (Items())
        Items()->GetChildren(Proc, Root);
}

void TKvMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FTree.Removed(AComponent);
    TComponent::Notification(AComponent, Operation);
}

TKvMainMenu::TKvMainMenu(TComponent* AOwner) : TKvMenu(AOwner) {}

TKvPopupMenu::TKvPopupMenu(TComponent* AOwner) : TKvMenu(AOwner) {}

TKvPopupMenu::~TKvPopupMenu() = default;

void TKvPopupMenu::ConfigApp()
{
    FShown = CreateQMenu();
}

void TKvPopupMenu::Popup(int X, int Y)
{
    if (!FShown)
        ConfigApp();
    FShown->popup(QPoint(X, Y));
}

TKvPanelMenu::TKvPanelMenu(TComponent* AOwner) : TKvWinControl(AOwner), FTree(this)
{
    NameDefaultSets(QStringLiteral("Mn"));
    SetBounds(0, 0, 145, 185);
}

TKvPanelMenu::~TKvPanelMenu()
{
    FTree.DestroyItems();
}

void TKvPanelMenu::SetImagesSize(int Value)
{
    CheckImagesSize(Value);
    FImagesSize = Value;
}

void TKvPanelMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    TKvWinControl::GetChildren(Proc, Root);
    if (Items())
        Items()->GetChildren(Proc, Root);
}

void TKvPanelMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FTree.Removed(AComponent);
    TKvWinControl::Notification(AComponent, Operation);
}

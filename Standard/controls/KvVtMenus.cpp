#include "controls/KvVtMenus.h"

#include "ui_KvVtMenus.h"

#include "KvDesignHooks.h"
#include "KvMenus.h"
#include "KvMessages.h"
#include "controls/KvMenuTreeModel.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>

#include <functional>

namespace {

QObject* EditorWindowOf(const TComponent* Menu)
{
    if (const auto* M = qobject_cast<const TKvMenu*>(Menu))
        return M->EditorWindow();
    if (const auto* P = qobject_cast<const TKvPanelMenu*>(Menu))
        return P->EditorWindow();
    return nullptr;
}

void SetEditorWindowOf(TComponent* Menu, QObject* Window)
{
    if (auto* M = qobject_cast<TKvMenu*>(Menu))
        M->SetEditorWindow(Window);
    else if (auto* P = qobject_cast<TKvPanelMenu*>(Menu))
        P->SetEditorWindow(Window);
}

bool IsMenuOrItem(const TPersistent* P)
{
    return qobject_cast<const TKvMenuItem*>(P) || KvMenuItemsOf(qobject_cast<const TComponent*>(P));
}

} // namespace

TFrMenus::TFrMenus(QWidget* Parent)
    : TDesignWindow(Parent), ui(std::make_unique<Ui::TFrMenus>()), FModel(new TKvMenuTreeModel(this)),
      FPopup(new QMenu(this))
{
    ui->setupUi(this);
    setWindowFlag(Qt::Window);
    // Opening the editor again makes a fresh window; a closed one would only pile up.
    setAttribute(Qt::WA_DeleteOnClose);
    ui->Tree->viewport()->installEventFilter(this);

    const QStyle* S = style();
    const std::pair<QAction*, QStyle::StandardPixmap> Icons[] = {
        {ui->MnAdd, QStyle::SP_FileDialogNewFolder}, {ui->MnInsert, QStyle::SP_ArrowUp},
        {ui->MnSubMenu, QStyle::SP_ArrowRight},      {ui->MnModify, QStyle::SP_FileDialogDetailedView},
        {ui->MnDelete, QStyle::SP_TrashIcon},        {ui->MnCut, QStyle::SP_DialogDiscardButton},
        {ui->MnCopy, QStyle::SP_FileLinkIcon},       {ui->MnPaste, QStyle::SP_DialogOpenButton},
        {ui->MnClear, QStyle::SP_DialogResetButton}};
    for (const auto& [Action, Pixmap] : Icons)
        Action->setIcon(S->standardIcon(Pixmap));
    // Each tool button is its menu entry, with the entry's enabled state and its own hint.
    const std::pair<QToolButton*, QAction*> Tools[] = {
        {ui->SBAdd, ui->MnAdd},       {ui->SBInsert, ui->MnInsert}, {ui->SBSubMenu, ui->MnSubMenu},
        {ui->SBModify, ui->MnModify}, {ui->SBDelete, ui->MnDelete}, {ui->SBCut, ui->MnCut},
        {ui->SBCopy, ui->MnCopy},     {ui->SBPaste, ui->MnPaste},   {ui->SBClear, ui->MnClear}};
    for (const auto& [Button, Action] : Tools) {
        const QString Hint = Button->toolTip();
        Action->setToolTip(Hint);
        Button->setDefaultAction(Action);
    }
    FPopup->addActions({ui->MnModify, ui->MnAdd, ui->MnInsert, ui->MnDelete});
    FPopup->addSeparator();
    FPopup->addActions({ui->MnCut, ui->MnCopy, ui->MnPaste});
    FPopup->addSeparator();
    FPopup->addActions({ui->MnSubMenu, ui->MnClear});
    addActions(FPopup->actions()); // the shortcuts work without the menu open

    connect(ui->MnModify, &QAction::triggered, this, &TFrMenus::ModifyItem);
    connect(ui->MnAdd, &QAction::triggered, this, &TFrMenus::AddItem);
    connect(ui->MnInsert, &QAction::triggered, this, &TFrMenus::InsertItem);
    connect(ui->MnDelete, &QAction::triggered, this, &TFrMenus::DeleteItem);
    connect(ui->MnCut, &QAction::triggered, this, &TFrMenus::CutItem);
    connect(ui->MnCopy, &QAction::triggered, this, &TFrMenus::CopyItem);
    connect(ui->MnPaste, &QAction::triggered, this, &TFrMenus::PasteItem);
    connect(ui->MnSubMenu, &QAction::triggered, this, &TFrMenus::AddSubItem);
    connect(ui->MnClear, &QAction::triggered, this, &TFrMenus::ClearAll);
    connect(ui->Tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& Pos) { FPopup->popup(ui->Tree->viewport()->mapToGlobal(Pos)); });
    connect(ui->Tree, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& Index) {
        TKvMenuItem* Item = FModel->ItemAt(Index);
        if (Item && Item->Count() == 0 && KvDsgnCreateMethodMenuClick)
            Run([&] { KvDsgnCreateMethodMenuClick(Item); });
    });
    connect(FModel, &TKvMenuTreeModel::DropDone, this, [this](const QModelIndex& Placed) {
        if (Placed.isValid())
            Select(Placed);
    });
    // A rebuild keeps what was expanded and selected, by component name, so that it survives
    // undo making the items anew. The view forgets its tree when the model is reset: note it
    // before the view hears of it, and put it back after.
    connect(FModel, &QAbstractItemModel::modelAboutToBeReset, this, &TFrMenus::RememberTree);
    ui->Tree->setModel(FModel);
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] {
        if (!FModel->Menu())
            return; // the menu is being made anew: keep what was noted for it
        FRemembered = false;
        const TComponent* Form = Menu ? Menu->Owner() : nullptr;
        ui->Tree->expand(FModel->RootIndex());
        for (const QString& Name : std::as_const(FExpanded))
            if (TComponent* Item = Form ? Form->FindComponent(Name) : nullptr)
                ui->Tree->expand(FModel->IndexOf(Item));
        TComponent* Current = Form && !FSelectedName.isEmpty() ? Form->FindComponent(FSelectedName) : nullptr;
        const QModelIndex Index = Current ? FModel->IndexOf(Current) : QModelIndex();
        const bool Following = std::exchange(FFollowing, true);
        ui->Tree->setCurrentIndex(Index.isValid() ? Index : FModel->RootIndex());
        FFollowing = Following;
        UpdateCommands();
    });
    connect(ui->Tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFrMenus::TreeSelectionChanged);
    UpdateCommands();
}

TFrMenus::~TFrMenus()
{
    if (Menu && EditorWindowOf(Menu) == this)
        SetEditorWindowOf(Menu, nullptr);
}

void TFrMenus::RememberTree()
{
    if (std::exchange(FRemembered, true))
        return;
    FExpanded.clear();
    const std::function<void(const QModelIndex&)> Walk = [&](const QModelIndex& Index) {
        if (!ui->Tree->isExpanded(Index))
            return;
        if (const TKvMenuItem* Item = FModel->ItemAt(Index))
            FExpanded << Item->GetName();
        for (int I = 0; I < FModel->rowCount(Index); ++I)
            Walk(FModel->index(I, 0, Index));
    };
    Walk(FModel->RootIndex());
    const TKvMenuItem* Current = FModel->ItemAt(Selected());
    FSelectedName = Current ? Current->GetName() : QString();
}

QModelIndex TFrMenus::Selected() const
{
    return ui->Tree->currentIndex();
}

void TFrMenus::Attach(TComponent* AMenu)
{
    Menu = AMenu;
    FMenuName = Menu ? Menu->GetName() : QString();
    if (Menu)
        SetEditorWindowOf(Menu, this);
    FModel->SetDesigner(Designer());
    FModel->SetMenu(Menu);
}

void TFrMenus::Execute()
{
    if (!Menu)
        return;
    if (FModel->Menu() != Menu) {
        Attach(Menu);
        setWindowTitle(Menu->GetName());
        const bool Following = std::exchange(FFollowing, true);
        ui->Tree->setCurrentIndex(FModel->RootIndex());
        FFollowing = Following;
    }
    FModel->SetDesigner(Designer());
    UpdateCommands();
    ui->Tree->expand(FModel->RootIndex());
    show();
    raise();
    activateWindow();
}

template <class F>
void TFrMenus::Run(F Command)
{
    FInternalCreate = true;
    try {
        Command();
    } catch (const Exception& E) {
        FInternalCreate = false;
        KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        FModel->Sync();
    }
    FInternalCreate = false;
    UpdateCommands();
}

void TFrMenus::Select(const QModelIndex& Index, bool Edit)
{
    if (!Index.isValid())
        return;
    ui->Tree->scrollTo(Index);
    ui->Tree->setCurrentIndex(Index);
    TreeSelectionChanged(); // also when the node stayed the same after a rebuild
    if (Edit)
        ui->Tree->edit(Index);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TFrMenus::InsertItem()
{
    Run([this] { Select(FModel->InsertItem(Selected()), true); });
}

void TFrMenus::AddItem()
{
    ui->Tree->setFocus(); // ends a text edit first
    Run([this] { Select(FModel->AddItem(Selected()), true); });
}

void TFrMenus::AddSubItem()
{
    Run([this] {
        const bool Creates = FModel->rowCount(Selected()) == 0;
        Select(FModel->AddSubItem(Selected()), Creates);
    });
}

void TFrMenus::DeleteItem()
{
    Run([this] { Select(FModel->DeleteItem(Selected())); });
}

void TFrMenus::ClearAll()
{
    if (!Designer() || FModel->NodeCount() <= 1)
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 57, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    Run([this] {
        FModel->ClearAll();
        Select(FModel->RootIndex());
    });
}

void TFrMenus::CutItem()
{
    Run([this] { Select(FModel->CutItem(Selected())); });
}

void TFrMenus::CopyItem()
{
    Run([this] { FModel->CopyItem(Selected()); });
}

void TFrMenus::PasteItem()
{
    Run([this] { Select(FModel->Paste(Selected())); });
}

void TFrMenus::ModifyItem()
{
    if (FModel->ItemAt(Selected()))
        ui->Tree->edit(Selected());
}

void TFrMenus::UpdateCommands()
{
    const TEditState State = GetEditState();
    ui->MnCut->setEnabled(State & esCanCut);
    ui->MnCopy->setEnabled(State & esCanCopy);
    ui->MnPaste->setEnabled(State & esCanPaste);
    ui->MnDelete->setEnabled(State & esCanDelete);
    ui->MnModify->setEnabled(State & esCanDelete);
    ui->MnClear->setEnabled(FModel->NodeCount() > 1);
}

TEditState TFrMenus::GetEditState() const
{
    TEditState State;
    if (ClipboardComponents())
        State |= esCanPaste;
    if (FModel->ItemAt(Selected()))
        State |= esCanCut | esCanCopy | esCanDelete;
    return State;
}

void TFrMenus::EditAction(TEditAction Action)
{
    switch (Action) {
    case eaCut: CutItem(); break;
    case eaCopy: CopyItem(); break;
    case eaPaste: PasteItem(); break;
    case eaDelete: DeleteItem(); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// In step with the designer

void TFrMenus::TreeSelectionChanged()
{
    const QModelIndex Index = Selected();
    ui->StatusBar->showMessage(FModel->PathOf(Index));
    UpdateCommands();
    if (FFollowing || !Index.isValid())
        return;
    if (FModel->IsRoot(Index))
        SelectInDesigner(Menu);
    else if (TKvMenuItem* Item = FModel->ItemAt(Index))
        SelectInDesigner(Item);
}

void TFrMenus::SelectInDesigner(TPersistent* Instance)
{
    if (!Designer() || !Instance)
        return;
    FSelectionList = {Instance};
    SetSelection(FSelectionList);
}

void TFrMenus::SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection)
{
    if (ADesigner != Designer() || FInternalCreate || Selecting() || ASelection.isEmpty() || !Menu)
        return;
    if (!IsMenuOrItem(ASelection.first())) {
        FSelectionList.clear();
        return;
    }
    const QModelIndex Index = FModel->IndexOf(qobject_cast<TComponent*>(ASelection.first()));
    if (!Index.isValid())
        return;
    const bool Following = std::exchange(FFollowing, true);
    ui->Tree->scrollTo(Index);
    ui->Tree->setCurrentIndex(Index);
    FFollowing = Following;
}

void TFrMenus::ItemDeleted(IDesigner* ADesigner, TPersistent* Item)
{
    if (ADesigner != Designer() || !Menu)
        return;
    // Before the first of them goes, while the tree can still name its items.
    if (FModel->IndexOf(qobject_cast<TComponent*>(Item)).isValid())
        RememberTree();
    if (Item != Menu)
        return;
    // Undo makes the menu anew: stay open, and look for it by name when the form settles.
    SetEditorWindowOf(Menu, nullptr);
    Menu = nullptr;
    FModel->SetMenu(nullptr);
}

void TFrMenus::ItemsModified(IDesigner* ADesigner)
{
    if (ADesigner != Designer())
        return;
    if (!Menu) {
        TComponent* Found = Designer() ? Designer()->GetComponent(FMenuName) : nullptr;
        if (!KvMenuItemsOf(Found) || EditorWindowOf(Found)) {
            close(); // the menu is gone for good
            return;
        }
        Attach(Found);
    }
    setWindowTitle(Menu->GetName());
    FMenuName = Menu->GetName();
    FModel->Sync();
    ui->StatusBar->showMessage(FModel->PathOf(Selected())); // a caption may have changed
    UpdateCommands();
}

// ---------------------------------------------------------------------------------------------
// Events

void TFrMenus::changeEvent(QEvent* Event)
{
    TDesignWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow() && !FInternalCreate)
        TreeSelectionChanged();
}

bool TFrMenus::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == ui->Tree->viewport() && Event->type() == QEvent::MouseButtonPress) {
        const auto* Mouse = static_cast<QMouseEvent*>(Event);
        if (Mouse->button() == Qt::RightButton) {
            const QModelIndex Index = ui->Tree->indexAt(Mouse->position().toPoint());
            Select(Index.isValid() ? Index : FModel->RootIndex());
        }
    }
    return TDesignWindow::eventFilter(Watched, Event);
}

TFrMenus* KvEditMenu(TComponent* Menu, IDesigner* Designer)
{
    if (!KvMenuItemsOf(Menu))
        return nullptr;
    auto* Window = qobject_cast<TFrMenus*>(EditorWindowOf(Menu));
    if (!Window) {
        Window = new TFrMenus(QApplication::activeWindow());
        Window->Menu = Menu;
        Window->SetDesigner(Designer);
        SetEditorWindowOf(Menu, Window);
    }
    Window->Execute();
    return Window;
}

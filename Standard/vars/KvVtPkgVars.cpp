#include "KvVtPkgVars.h"
#include "ui_KvVtPkgVars.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgSetup.h"
#include "common/KvPkgDialogs.h"
#include "common/KvPkgListView.h"
#include "controls/KvVtFindDialog.h"
#include "strings/KvVtPkgStrings.h"
#include "vars/KvVtPkgVarsModify.h"

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>

namespace {

const QString System = QStringLiteral("System");

} // namespace

void KvEditPkgVars(TKvPkgVars* Pkg, QWidget* Parent)
{
    if (!Pkg)
        return;
    TFrPkgVars Editor(Parent);
    Editor.PkgVars = Pkg;
    Editor.Execute();
}

TFrPkgVars::TFrPkgVars(QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::TFrPkgVars>()), FTree(new TKvVarsTreeModel(this)),
      FList(new TKvVarsListModel(this))
{
    FUi->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    FUi->TView->setModel(FTree);
    FUi->LView->setModel(FList);
    FUi->LView->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    FUi->LView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // One-line rows as compact as the other package editors' lists.
    const int RowHeight = KvListRowHeight(FUi->LView->font());
    FUi->LView->verticalHeader()->setMinimumSectionSize(RowHeight);
    FUi->LView->verticalHeader()->setDefaultSectionSize(RowHeight);
    FUi->LView->setColumnWidth(0, 180);
    FUi->Splitter->setStretchFactor(0, 1);
    FUi->Splitter->setStretchFactor(1, 2);
    FUi->Splitter->setSizes({220, 400});
    BuildMenus();

    // A refused name is reported once the editor has closed, not from inside the edit.
    connect(FTree, &TKvVarsTreeModel::Error, this, &TFrPkgVars::ShowError, Qt::QueuedConnection);
    connect(FList, &TKvVarsListModel::Error, this, &TFrPkgVars::ShowError, Qt::QueuedConnection);
    connect(FTree, &TKvVarsTreeModel::Renamed, this, [this](const QModelIndex& Index) {
        FUi->TView->scrollTo(Index);
        UpdateStatus();
        ChangeModified();
    });
    connect(FList, &TKvVarsListModel::Renamed, this, [this] { ChangeModified(); });
    connect(FUi->TView->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFrPkgVars::FolderSelected);
    connect(FUi->LView->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrPkgVars::ChangeState);
    connect(FUi->LView, &QAbstractItemView::doubleClicked, this, [this] { ModifyVariable(); });
    connect(FUi->TView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FTreeMenu->popup(FUi->TView->viewport()->mapToGlobal(At)); });
    connect(FUi->LView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FListMenu->popup(FUi->LView->viewport()->mapToGlobal(At)); });

    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtClearAll, &QPushButton::clicked, this, &TFrPkgVars::ClearAll);
    connect(FUi->BtClearFolder, &QPushButton::clicked, this, &TFrPkgVars::ClearFolder);
    connect(FUi->BtFind, &QPushButton::clicked, this, &TFrPkgVars::ShowFind);
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrPkgVars::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, &TFrPkgVars::SaveTo);
}

TFrPkgVars::~TFrPkgVars() = default;

void TFrPkgVars::BuildMenus()
{
    // Each view's keys act on that view only.
    auto Add = [this](QMenu* Menu, QWidget* View, const char* Name, const QString& Text, QKeySequence Key,
                      auto Slot) {
        QAction* Action = Menu->addAction(Text);
        Action->setObjectName(QString::fromLatin1(Name));
        if (!Key.isEmpty()) {
            Action->setShortcut(Key);
            Action->setShortcutContext(Qt::WidgetShortcut);
            View->addAction(Action);
        }
        connect(Action, &QAction::triggered, this, Slot);
        return Action;
    };
    QWidget* T = FUi->TView;
    FTreeMenu = new QMenu(this);
    Add(FTreeMenu, T, "MnNewFolder", QStringLiteral("&New "), QKeySequence(Qt::Key_Insert), [this] { NewFolder(false); });
    Add(FTreeMenu, T, "MnNewSubFolder", QStringLiteral("New &SubFolder"), QKeySequence(Qt::CTRL | Qt::Key_Right),
        [this] { NewFolder(true); });
    FMnDeleteFolder = Add(FTreeMenu, T, "MnDeleteFolder", QStringLiteral("&Delete"),
                          QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { DeleteFolder(); });
    FMnRenameFolder = Add(FTreeMenu, T, "MnRenameFolder", QStringLiteral("&Change Name"), QKeySequence(Qt::Key_F2),
                          [this] { RenameFolder(); });

    QWidget* L = FUi->LView;
    FListMenu = new QMenu(this);
    FRowActions << Add(FListMenu, L, "MnModify", QStringLiteral("&Modify"), {}, [this] { ModifyVariable(); });
    FListMenu->addSeparator();
    Add(FListMenu, L, "MnNewString", QStringLiteral("New &String"), {}, [this] { NewVariable(vtString); });
    Add(FListMenu, L, "MnNewInteger", QStringLiteral("New &Integer"), {}, [this] { NewVariable(vtInteger); });
    Add(FListMenu, L, "MnNewFloat", QStringLiteral("New Fl&oat"), {}, [this] { NewVariable(vtFloat); });
    Add(FListMenu, L, "MnNewBoolean", QStringLiteral("New &Boolean"), {}, [this] { NewVariable(vtBoolean); });
    FListMenu->addSeparator();
    FRowActions << Add(FListMenu, L, "MnDeleteVariable", QStringLiteral("&Delete"),
                       QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { DeleteVariable(); });
    FRowActions << Add(FListMenu, L, "MnRenameVariable", QStringLiteral("&Change Name"), QKeySequence(Qt::Key_F2),
                       [this] { RenameVariable(); });
    QMenu* Types = FListMenu->addMenu(QStringLiteral("Change &Type"));
    Types->setObjectName(QStringLiteral("MnChangeType"));
    FRowActions << Types->menuAction();
    FTypes = new QActionGroup(this);
    for (TKvPkgVarsItemType Type : {vtString, vtInteger, vtFloat, vtBoolean}) {
        QAction* Action = Types->addAction(KvPkgVarsTypeName(Type));
        Action->setObjectName(QStringLiteral("MnType") + KvPkgVarsTypeName(Type));
        Action->setCheckable(true);
        Action->setData(int(Type));
        FTypes->addAction(Action);
        connect(Action, &QAction::triggered, this, [this, Type] { ChangeType(Type); });
    }
    connect(Types, &QMenu::aboutToShow, this, [this] {
        const TKvPkgVarsItem* Item = FList->Item(CurrentRow());
        for (QAction* Action : FTypes->actions())
            Action->setChecked(Item && Action->data().toInt() == int(Item->GetItemType()));
    });
    FListMenu->addSeparator();
    FMnClearFolder = Add(FListMenu, L, "MnClearFolder", QStringLiteral("C&lear Folder"), {}, [this] { ClearFolder(); });

    auto* Find = new QAction(this);
    Find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    Find->setShortcutContext(Qt::WindowShortcut);
    addAction(Find);
    connect(Find, &QAction::triggered, this, &TFrPkgVars::ShowFind);
}

void TFrPkgVars::Execute()
{
    Prepare();
    exec();
    if (FFindDialog)
        FFindDialog->close();
    if (TKvPkgVars* Pkg = PkgVars) {
        const QRect Bounds = normalGeometry();
        const TKvEditorBounds Now{Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height(),
                                  isMaximized() ? KvWindowStateMaximized : 0};
        if (Now != Pkg->EditorBounds()) {
            Pkg->SetEditorBounds(Now);
            Modified();
        }
    }
    UpdateFile();
}

void TFrPkgVars::Prepare()
{
    TKvPkgVars* Pkg = PkgVars;
    setWindowTitle(QStringLiteral("PkgVars : ") + (Pkg ? Pkg->PkgName() : QString()));
    FSeparator = KvPkgVarsSeparator();
    const TKvEditorBounds Bounds = Pkg ? Pkg->EditorBounds() : TKvEditorBounds();
    if (!Bounds.IsStored()) {
        KvCenterWindow(this, true);
    } else {
        setGeometry(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height);
        KvAdjustWindow(this);
        if (Bounds.WindowState == KvWindowStateMaximized)
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    Detach();
    if (Pkg && Pkg->InitMode() == TKvPkgInfo::imFILE && Pkg->FileModified()) {
        try {
            Pkg->LoadFile();
        } catch (const Exception& E) {
            ShowError(E.Message);
        }
    }
    LoadTree();
}

void TFrPkgVars::Detach()
{
    FList->Clear();
    FTree->SetPkg(nullptr);
}

void TFrPkgVars::LoadTree()
{
    FList->Clear();
    FTree->SetPkg(PkgVars);
    const QModelIndex Root = FTree->RootIndex();
    FUi->TView->expand(Root);
    SelectFolder(Root);
    FolderSelected();
}

QModelIndex TFrPkgVars::CurrentFolder() const
{
    return FUi->TView->currentIndex();
}

int TFrPkgVars::CurrentRow() const
{
    const QModelIndexList Rows = FUi->LView->selectionModel()->selectedRows();
    return Rows.isEmpty() ? -1 : Rows.first().row();
}

void TFrPkgVars::SelectFolder(const QModelIndex& Index)
{
    if (!Index.isValid())
        return;
    FUi->TView->setCurrentIndex(Index);
    FUi->TView->scrollTo(Index);
}

void TFrPkgVars::SelectRow(int Row)
{
    QItemSelectionModel* Selection = FUi->LView->selectionModel();
    if (!FList->Item(Row)) {
        Selection->clearSelection();
        Selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex Index = FList->index(Row, 0);
        Selection->setCurrentIndex(Index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        FUi->LView->scrollTo(Index);
    }
    ChangeState();
}

void TFrPkgVars::FolderSelected()
{
    FList->SetFolder(FTree->Folder(CurrentFolder()), FSeparator);
    UpdateStatus();
    ChangeState();
}

void TFrPkgVars::UpdateStatus()
{
    FUi->LaStatus->setText(KvPkgVarsStatusLine(PkgVars, FTree->Folder(CurrentFolder())));
}

void TFrPkgVars::ChangeState()
{
    const TKvPkgVars* Pkg = PkgVars;
    FUi->LaInitMode->setText(Pkg && Pkg->InitMode() != TKvPkgInfo::imDFM ? QStringLiteral("FILE")
                                                                          : QStringLiteral("DFM"));
    const QString Name = Pkg ? Pkg->FileName() : QString();
    FUi->LaFileName->setText(Name.isEmpty() ? QStringLiteral("(Memory)") : Name);
    const bool Rows = FList->rowCount() > 0;
    FUi->BtClearAll->setEnabled(FTree->FolderCount() > 0 || Rows);
    FUi->BtClearFolder->setEnabled(Rows);
    FMnClearFolder->setEnabled(Rows);
    const bool Folder = CurrentFolder().parent().isValid();
    FMnDeleteFolder->setEnabled(Folder);
    FMnRenameFolder->setEnabled(Folder);
    const bool Row = CurrentRow() >= 0;
    for (QAction* Action : FRowActions)
        Action->setEnabled(Row);
}

void TFrPkgVars::Modified()
{
    if (TPersistent* Target = KvPkgVarsModifiedTarget(PkgVars))
        KvDesignerModified(Target);
}

// A package kept in its own file is written when the editor closes; one in the form tells the
// designer at each change.
void TFrPkgVars::ChangeModified()
{
    if (PkgVars && PkgVars->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}

void TFrPkgVars::ShowError(const QString& Message)
{
    KvMessage(KvMsgError, Message, {KvBtnAccept}, KvBtnAccept);
}

void TFrPkgVars::UpdateFile()
{
    KvPkgUpdateFile(PkgVars);
}

// ---------------------------------------------------------------------------------------------

void TFrPkgVars::NewFolder(bool Sub)
{
    if (!PkgVars)
        return;
    QModelIndex Selected = CurrentFolder();
    if (!Selected.isValid())
        Selected = FTree->RootIndex();
    const QModelIndex Parent = Sub || !Selected.parent().isValid() ? Selected : Selected.parent();
    TKvPkgVarsItem* Folder = FTree->Folder(Parent);
    const QString Name = KvPkgVarsNewName(Folder, QStringLiteral("New Folder #"));
    TKvPkgVarsItem* Item = nullptr;
    try {
        Item = PkgVars->Add(Folder->Parent() ? Folder->Path() + QLatin1Char('\\') + Name : Name, vtFolder);
    } catch (const Exception& E) {
        ShowError(E.Message);
        return;
    }
    const QModelIndex Index = FTree->AddFolder(Parent, Item);
    FUi->TView->expand(Parent);
    SelectFolder(Index);
    ChangeState();
    ChangeModified();
    FUi->TView->setFocus();
    FUi->TView->edit(Index);
}

void TFrPkgVars::NewVariable(TKvPkgVarsItemType Type)
{
    TKvPkgVarsItem* Folder = FTree->Folder(CurrentFolder());
    if (!PkgVars || !Folder)
        return;
    const QString Name = KvPkgVarsNewName(Folder, QStringLiteral("New Var #"));
    TKvPkgVarsItem* Item = nullptr;
    try {
        Item = PkgVars->Add(Folder->Parent() ? Folder->Path() + QLatin1Char('\\') + Name : Name, Type);
    } catch (const Exception& E) {
        ShowError(E.Message);
        return;
    }
    const int Row = FList->Append(Item);
    SelectRow(Row);
    ChangeModified();
    FUi->LView->setFocus();
    FUi->LView->edit(FList->index(Row, 0));
}

void TFrPkgVars::RenameFolder()
{
    const QModelIndex Index = CurrentFolder();
    if (Index.parent().isValid())
        FUi->TView->edit(Index);
}

void TFrPkgVars::RenameVariable()
{
    const int Row = CurrentRow();
    if (FList->Item(Row))
        FUi->LView->edit(FList->index(Row, 0));
}

void TFrPkgVars::ModifyVariable()
{
    const int Row = CurrentRow();
    TKvPkgVarsItem* Item = FList->Item(Row);
    if (!Item)
        return;
    TFrPkgVarsModify Dialog(this);
    Dialog.FItem = Item;
    Dialog.FSeparator = FSeparator;
    if (Dialog.Execute() != 1)
        return;
    FList->RowChanged(Row);
    ChangeModified();
}

void TFrPkgVars::ChangeType(TKvPkgVarsItemType Type)
{
    const int Row = CurrentRow();
    TKvPkgVarsItem* Item = FList->Item(Row);
    if (!Item || Item->GetItemType() == Type)
        return;
    if (KvMsgPkg(KvMsgQuestion, System, 36, {KvBtnAccept, KvBtnCancel}, KvBtnAccept) != KvBtnAccept)
        return;
    try {
        Item->SetItemType(Type);
    } catch (const Exception& E) {
        ShowError(E.Message);
        return;
    }
    FList->RowChanged(Row);
    ChangeModified();
}

void TFrPkgVars::DeleteFolder()
{
    const QModelIndex Index = CurrentFolder();
    const QModelIndex Parent = Index.parent();
    if (!Parent.isValid())
        return;
    if (KvMsgPkg(KvMsgQuestion, System, 34, {KvBtnYes, KvBtnNo}, KvBtnYes) != KvBtnYes)
        return;
    // Another folder is shown before this one goes, so that no row outlives its variable.
    const int Row = Index.row();
    const int Count = FTree->rowCount(Parent);
    const QModelIndex Next = Row == Count - 1 && Row > 0 ? FTree->index(Row - 1, 0, Parent)
        : Row + 1 < Count                               ? FTree->index(Row + 1, 0, Parent)
                                                        : Parent;
    const QPersistentModelIndex Gone(Index);
    SelectFolder(Next);
    FTree->DeleteFolder(Gone);
    ChangeState();
    ChangeModified();
}

void TFrPkgVars::DeleteVariable()
{
    const int Row = CurrentRow();
    if (!FList->Item(Row))
        return;
    if (KvMsgPkg(KvMsgQuestion, System, 35, {KvBtnYes, KvBtnNo}, KvBtnYes) != KvBtnYes)
        return;
    FList->DeleteRow(Row);
    SelectRow(KvPkgStringsRowAfterDelete(Row, FList->rowCount()));
    ChangeModified();
}

void TFrPkgVars::ClearFolder()
{
    if (FList->rowCount() == 0)
        return;
    if (KvMsgPkg(KvMsgQuestion, System, 60, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    FList->DeleteAll();
    ChangeState();
    ChangeModified();
}

void TFrPkgVars::ClearAll()
{
    if (!PkgVars)
        return;
    if (KvMsgPkg(KvMsgQuestion, System, 59, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    FList->Clear();
    FTree->ClearFolders();
    PkgVars->Clear();
    SelectFolder(FTree->RootIndex());
    FolderSelected();
    ChangeModified();
}

void TFrPkgVars::ShowFind()
{
    if (!FFindDialog) {
        FFindDialog = new TFrFindDialog(this);
        FFindDialog->FOnFind = [this](TFrFindDialog* Sender) {
            FindNext({Sender->FindText(), Sender->CaseSensitive(), Sender->WholeWords(), Sender->Backward()});
        };
    }
    FFindDialog->show();
    FFindDialog->raise();
    FFindDialog->activateWindow();
}

void TFrPkgVars::FindNext(const TKvVarsFindOptions& Options)
{
    const std::optional<TKvVarsPlace> Found =
        KvPkgVarsFind(*FTree, {CurrentFolder(), CurrentRow()}, FEndFind, Options, FSeparator);
    if (!Found) {
        FEndFind = true;
        KvMsgPkg(KvMsgNotice, System, 2, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    FEndFind = false;
    if (Found->Folder != CurrentFolder())
        SelectFolder(Found->Folder);
    SelectRow(Found->Row);
}

void TFrPkgVars::LoadSave(bool Load)
{
    TKvPkgVars* Pkg = PkgVars;
    if (!Pkg)
        return;
    // The rows point into the content a load replaces.
    const bool Done = KvPkgLoadSave(this, Pkg, Load, [this] { Detach(); });
    if (Load)
        LoadTree();
    if (!Done)
        return;
    ChangeState();
    Modified();
    // The application's setup package names the variables file it starts with.
    const auto* App = qobject_cast<TKvCApplication*>(Pkg->Owner());
    if (App && App->PkgSetup() && App->PkgSetup()->InitMode() == TKvPkgInfo::imFILE)
        KvPkgUpdateFile(App->PkgSetup());
}

void TFrPkgVars::LoadFrom()
{
    bool Detached = false;
    KvPkgLoadFrom(this, PkgVars, KvPkgVarsFileFilter(PkgVars), [&] {
        Detach();
        Detached = true;
    });
    if (!Detached)
        return;
    LoadTree();
    ChangeModified();
}

void TFrPkgVars::SaveTo()
{
    KvPkgSaveTo(this, PkgVars, KvPkgVarsFileFilter(PkgVars));
}

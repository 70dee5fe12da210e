#include "controls/KvVtCollection.h"

#include "ui_KvVtCollection.h"

#include "KvCollections.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "controls/KvCollectionEdit.h"
#include "controls/KvVtCollPageControl.h"
#include "controls/KvVtFindDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QStyledItemDelegate>

namespace {

// The code by which a control is asked to show one of its collection's items.
constexpr int ShowItemMessage = 36;

// A selected line of a list without the focus is drawn in the button colours.
class TLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override
    {
        QStyledItemDelegate::initStyleOption(Option, Index);
        const auto* View = qobject_cast<const QWidget*>(parent());
        if ((Option->state & QStyle::State_Selected) && View && !View->hasFocus()) {
            Option->palette.setColor(QPalette::Highlight, Option->palette.color(QPalette::Button));
            Option->palette.setColor(QPalette::HighlightedText, Option->palette.color(QPalette::WindowText));
        }
    }
};

TKvCollection* CollectionOf(const TComponent* Owner, const QString& PropName)
{
    if (!Owner || PropName.isEmpty())
        return nullptr;
    return qobject_cast<TKvCollection*>(Owner->property(PropName.toLatin1().constData()).value<QObject*>());
}

} // namespace

TKvCollectionWindow::TKvCollectionWindow(QWidget* Parent) : TDesignWindow(Parent), FPopup(new QMenu(this))
{
    setWindowFlag(Qt::Window);
    // Opening the editor again makes a fresh window; a closed one would only pile up.
    setAttribute(Qt::WA_DeleteOnClose);
}

TKvCollectionWindow::~TKvCollectionWindow()
{
    if (FCollection && FCollection->EditorWindow() == this)
        FCollection->SetEditorWindow(nullptr);
}

void TKvCollectionWindow::Setup(const TControls& Controls)
{
    FControls = Controls;
    QListWidget* List = FControls.List;
    List->setItemDelegate(new TLineDelegate(List));
    List->setUniformItemSizes(true);
    List->setDragDropMode(QAbstractItemView::InternalMove);
    List->setContextMenuPolicy(Qt::CustomContextMenu);
    FControls.ButtonPanel->installEventFilter(this);

    connect(FControls.Add, &QPushButton::clicked, this, &TKvCollectionWindow::Add);
    connect(FControls.Insert, &QPushButton::clicked, this, &TKvCollectionWindow::Insert);
    connect(FControls.Delete, &QPushButton::clicked, this, &TKvCollectionWindow::Delete);
    connect(FControls.Up, &QPushButton::clicked, this, &TKvCollectionWindow::MoveUp);
    connect(FControls.Down, &QPushButton::clicked, this, &TKvCollectionWindow::MoveDown);
    connect(FControls.Owner, &QPushButton::clicked, this, &TKvCollectionWindow::SelectOwner);

    FPopup->addAction(QStringLiteral("&First"), this, &TKvCollectionWindow::SelectFirst);
    FPopup->addAction(QStringLiteral("&Last"), this, &TKvCollectionWindow::SelectLast);
    FPopup->addAction(QStringLiteral("&Clear"), this, &TKvCollectionWindow::Clear);
    QAction* Find = FPopup->addAction(QStringLiteral("Find"), this, &TKvCollectionWindow::ShowFind);
    Find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    Find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(Find);
    connect(List, &QWidget::customContextMenuRequested, this,
            [this, List](const QPoint& Pos) { FPopup->popup(List->viewport()->mapToGlobal(Pos)); });
    connect(List, &QListWidget::currentRowChanged, this, [this] {
        if (!FFollowing)
            LineChosen();
    });
    // A line dragged to another place: the item goes there.
    connect(List->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int From, int, const QModelIndex&, int Row) {
                if (FFollowing)
                    return;
                const int To = Row > From ? Row - 1 : Row;
                QMetaObject::invokeMethod(this, [this, From, To] {
                    Run([&] {
                        const int At = KvCollectionEdit::Move(Designer(), FCollection, From, To);
                        DisplayInfo(false);
                        SelectLine(At);
                        LineChosen();
                    });
                }, Qt::QueuedConnection);
            });
}

void TKvCollectionWindow::SetCollection(TKvCollection* Collection)
{
    FCollection = Collection;
    const auto* Owner = Collection ? qobject_cast<const TComponent*>(Collection->GetOwner()) : nullptr;
    FOwnerName = Owner ? Owner->GetName() : QString();
    FPropName = Collection ? Collection->PropName() : QString();
    if (Collection)
        Collection->SetEditorWindow(this);
}

void TKvCollectionWindow::Execute()
{
    DisplayInfo(true);
    // What was selected before the window opened comes back when it closes.
    const TDesignerSelectionList Selection = Designer() ? Designer()->GetSelections() : TDesignerSelectionList{};
    // Reopening while a collection or an item is selected keeps what was remembered.
    if (Selection.isEmpty())
        FSelectComponent.clear();
    else if (const auto* Component = qobject_cast<TComponent*>(Selection.first()))
        FSelectComponent = Component->GetName();
    const int Row = SelectedIndex();
    SelectInDesigner(Row >= 0 && FCollection ? static_cast<TPersistent*>(FCollection->Items(Row))
                                             : static_cast<TPersistent*>(FCollection.data()));
    show();
    raise();
    activateWindow();
}

void TKvCollectionWindow::DisplayInfo(bool KeepSelection)
{
    if (FProcess)
        return;
    QListWidget* List = FControls.List;
    const bool Following = std::exchange(FFollowing, true);
    const QListWidgetItem* Current = List->currentItem();
    const int SelectedId = Current ? Current->data(Qt::UserRole).toInt() : -1;
    int NewRow = -1;
    const int Count = FCollection ? FCollection->Count() : 0;
    for (int I = 0; I < Count; ++I) {
        const TCollectionItem* Item = FCollection->Items(I);
        const QString Text = KvCollectionEdit::Line(Item);
        if (List->count() < I + 1) {
            auto* Line = new QListWidgetItem(Text, List);
            Line->setData(Qt::UserRole, Item->ID());
        } else {
            QListWidgetItem* Line = List->item(I);
            if (Line->text() != Text)
                Line->setText(Text);
            if (Line->data(Qt::UserRole).toInt() != Item->ID())
                Line->setData(Qt::UserRole, Item->ID());
        }
        if (Item->ID() == SelectedId)
            NewRow = I;
    }
    while (List->count() > Count)
        delete List->takeItem(List->count() - 1);
    if (KeepSelection)
        SelectLine(NewRow);
    FFollowing = Following;
}

int TKvCollectionWindow::SelectedIndex() const
{
    return FControls.List->currentRow();
}

void TKvCollectionWindow::SelectLine(int Index)
{
    const bool Following = std::exchange(FFollowing, true);
    if (Index >= 0 && Index < FControls.List->count())
        FControls.List->setCurrentRow(Index);
    else
        FControls.List->setCurrentRow(-1);
    FFollowing = Following;
}

void TKvCollectionWindow::LineChosen()
{
    const int Row = SelectedIndex();
    if (Row >= 0 && FCollection && Row < FCollection->Count())
        SelectInDesigner(FCollection->Items(Row));
}

void TKvCollectionWindow::SelectInDesigner(TPersistent* Instance)
{
    if (!Instance)
        return;
    if (Designer())
        SetSelection({Instance});
    // The owning control shows the item chosen (a page control its page).
    auto* Owner = FCollection ? qobject_cast<TComponent*>(FCollection->GetOwner()) : nullptr;
    if (Owner && Instance != FCollection.data())
        KvMasterMessage(Owner, ShowItemMessage, Instance);
}

void TKvCollectionWindow::Run(const std::function<void()>& Command)
{
    try {
        Command();
    } catch (const Exception& E) {
        FProcess = false;
        KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        DisplayInfo(true);
    }
}

// ---------------------------------------------------------------------------------------------
// Commands

void TKvCollectionWindow::Add()
{
    Run([this] {
        const int Index = KvCollectionEdit::Add(Designer(), FCollection);
        DisplayInfo(false);
        SelectLine(Index);
        LineChosen();
    });
}

void TKvCollectionWindow::Insert()
{
    Run([this] {
        const int Index = KvCollectionEdit::Insert(Designer(), FCollection, SelectedIndex());
        DisplayInfo(false);
        SelectLine(Index);
        LineChosen();
    });
}

void TKvCollectionWindow::Delete()
{
    const int Row = SelectedIndex();
    Run([&] {
        FProcess = true;
        const int Index = KvCollectionEdit::Delete(Designer(), FCollection, Row);
        FProcess = false;
        if (Row < 0)
            return; // only the designer was told
        DisplayInfo(false);
        SelectLine(Index);
        if (Index >= 0)
            LineChosen();
        else
            SelectInDesigner(FCollection);
    });
}

void TKvCollectionWindow::MoveUp()
{
    const int Row = SelectedIndex();
    if (Row > 0)
        Run([&] {
            SelectLine(KvCollectionEdit::Move(Designer(), FCollection, Row, Row - 1));
            DisplayInfo(true);
            LineChosen();
        });
}

void TKvCollectionWindow::MoveDown()
{
    const int Row = SelectedIndex();
    if (Row >= 0 && FCollection && Row + 1 < FCollection->Count())
        Run([&] {
            SelectLine(KvCollectionEdit::Move(Designer(), FCollection, Row, Row + 1));
            DisplayInfo(true);
            LineChosen();
        });
}

void TKvCollectionWindow::SelectFirst()
{
    if (FControls.List->count() > 0) {
        SelectLine(0);
        LineChosen();
    }
}

void TKvCollectionWindow::SelectLast()
{
    if (FControls.List->count() > 0) {
        SelectLine(FControls.List->count() - 1);
        LineChosen();
    }
}

void TKvCollectionWindow::Clear()
{
    Run([this] {
        KvCollectionEdit::Clear(Designer(), FCollection);
        DisplayInfo(false);
        SelectInDesigner(FCollection);
    });
}

void TKvCollectionWindow::SelectOwner()
{
    if (auto* Owner = FCollection ? qobject_cast<TComponent*>(FCollection->GetOwner()) : nullptr; Owner && Designer())
        Designer()->SelectComponent(Owner);
    if (QWidget* Main = parentWidget() ? parentWidget()->window() : nullptr) {
        Main->raise();
        Main->activateWindow();
    }
}

void TKvCollectionWindow::ShowFind()
{
    if (!FFind) {
        FFind = new TFrFindDialog(this);
        FFind->FOnFind = [this](TFrFindDialog* Sender) {
            if (!FindNext(Sender->FindText(), !Sender->Backward(), Sender->CaseSensitive(), Sender->WholeWords()))
                QApplication::beep();
        };
    }
    FFind->show();
    FFind->raise();
    FFind->activateWindow();
}

bool TKvCollectionWindow::FindNext(const QString& Text, bool Down, bool MatchCase, bool WholeWord)
{
    QStringList Lines;
    for (int I = 0; I < FControls.List->count(); ++I)
        Lines << FControls.List->item(I)->text();
    const int Found = KvCollectionEdit::Find(Lines, SelectedIndex(), Text, Down, MatchCase, WholeWord);
    if (Found < 0)
        return false;
    SelectLine(Found);
    LineChosen();
    return true;
}

// ---------------------------------------------------------------------------------------------
// In step with the designer

void TKvCollectionWindow::ItemsModified(IDesigner* ADesigner)
{
    if (ADesigner != Designer())
        return;
    if (!FCollection) {
        // Undo made the owner anew: its collection of that name takes this window.
        TKvCollection* Found = CollectionOf(Designer() ? Designer()->GetComponent(FOwnerName) : nullptr, FPropName);
        if (!Found || Found->EditorWindow()) {
            close();
            return;
        }
        SetCollection(Found);
    }
    DisplayInfo(true);
}

void TKvCollectionWindow::SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection)
{
    if (ADesigner != Designer() || Selecting() || ASelection.isEmpty() || !FCollection)
        return;
    const auto* Item = qobject_cast<const TCollectionItem*>(ASelection.first());
    if (Item && Item->Collection() == FCollection.data())
        SelectLine(Item->Index());
}

void TKvCollectionWindow::ItemDeleted(IDesigner* ADesigner, TPersistent* Item)
{
    if (ADesigner != Designer() || !FCollection || Item != FCollection->GetOwner())
        return;
    FCollection->SetEditorWindow(nullptr); // the owner would take the window with it
    FCollection = nullptr;
    DisplayInfo(false);
}

void TKvCollectionWindow::closeEvent(QCloseEvent* Event)
{
    TComponent* Root = Designer() ? Designer()->GetRoot() : nullptr;
    TComponent* Selected = Root && !FSelectComponent.isEmpty() ? Designer()->GetComponent(FSelectComponent) : nullptr;
    if (Selected && (Selected == Root || Selected->Owner() == Root))
        Designer()->SelectComponent(Selected);
    if (FFind)
        FFind->close();
    TDesignWindow::closeEvent(Event);
}

bool TKvCollectionWindow::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FControls.ButtonPanel && Event->type() == QEvent::Resize)
        LayoutButtons();
    return TDesignWindow::eventFilter(Watched, Event);
}

void TKvCollectionWindow::LayoutButtons()
{
    // From the bottom up, gaps of a fifth and a third of a button's height in turn.
    const int H = FControls.Owner->sizeHint().height();
    const int Left = (FControls.ButtonPanel->width() - FControls.Owner->sizeHint().width()) / 2;
    int Top = FControls.ButtonPanel->height() - H / 5 - H;
    const std::pair<QPushButton*, int> Order[] = {{FControls.Owner, H / 3}, {FControls.Down, H / 5},
                                                  {FControls.Up, H / 3},    {FControls.Delete, H / 5},
                                                  {FControls.Insert, H / 5}, {FControls.Add, 0}};
    const int Width = FControls.ButtonPanel->width() - 2 * qMax(0, Left);
    for (const auto& [Button, Gap] : Order) {
        Button->setGeometry(qMax(0, Left), Top, qMax(Width, Button->sizeHint().width()), H);
        Top -= Gap + H;
    }
}

// ---------------------------------------------------------------------------------------------
// TFrCollection

TFrCollection::TFrCollection(QWidget* Parent) : TKvCollectionWindow(Parent), ui(std::make_unique<Ui::TFrCollection>())
{
    ui->setupUi(this);
    Setup({ui->lb, ui->PnButtons, ui->BtAdd, ui->BtInsert, ui->BtDelete, ui->BtUp, ui->BtDown, ui->BtOwner});
}

TFrCollection::~TFrCollection() = default;

TKvCollectionWindow* KvEditCollection(TKvCollection* Collection, IDesigner* Designer, bool PageControl)
{
    if (!Collection)
        return nullptr;
    auto* Window = qobject_cast<TKvCollectionWindow*>(Collection->EditorWindow());
    if (!Window) {
        QWidget* Main = QApplication::activeWindow();
        if (PageControl && KvCollectionEdit::PageControlOf(Collection))
            Window = new TFrCollPageControl(Main);
        else
            Window = new TFrCollection(Main);
        Window->SetDesigner(Designer);
        Window->SetCollection(Collection);
        Window->setWindowTitle(QStringLiteral("Editing ") + Collection->GetNamePath());
        Window->DisplayInfo(true);
    }
    Window->Execute();
    return Window;
}

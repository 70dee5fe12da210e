#include "KvDesignerMain.h"
#include "KvVtCreationOrder.h"
#include "KvVtInstalledPackages.h"
#include "KvVtTabOrder.h"
#include "ui_KvDesignerMain.h"

#include "Controls.h"
#include "DesignRegistry.h"
#include "DesignWindows.h"
#include "KvAppPackage.h"
#include "KvComponentTreeModel.h"
#include "DesignNotify.h"
#include "KvFormDesigner.h"
#include "KvFormView.h"
#include "KvHostServices.h"
#include "KvInspectorDelegate.h"
#include "KvInspectorModel.h"
#include "KvPascalHighlighter.h"
#include "KvPackages.h"
#include "KvUnitSource.h"
#include "SysUtils.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QTextBlock>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUndoGroup>
#include <QUndoStack>
#include <QWindow>

namespace {

const QString RecentKey = QStringLiteral("RecentProjects");
constexpr int MaxRecent = 8;
constexpr int FileRole = Qt::UserRole + 1;

} // namespace

TFrKvDesigner::TFrKvDesigner(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TFrKvDesigner>()), FHost(std::make_unique<TKvHostServices>())
{
    Prompts = TKvAppPrompts::Interactive();
    KvLoadDesignPackage();
    ui->setupUi(this);
    FUndo = new QUndoGroup(this);
    FInspector = new TKvInspectorModel(this);
    FTree = new TKvComponentTreeModel(this);
    FPaletteGroup = new QButtonGroup(this);

    ui->TvComponents->setModel(FTree);
    ui->TvInspector->setModel(FInspector);
    ui->TvInspector->setItemDelegate(new TKvInspectorDelegate(FInspector, ui->TvInspector));
    ui->TvInspector->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                                     | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    ui->TvInspector->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    ui->TvInspector->header()->setStretchLastSection(true);
    ui->TvInspector->setColumnWidth(0, 140);
    ui->TvInspector->setIndentation(12);
    ui->TbInspector->addTab(QStringLiteral("Properties"));
    ui->TbInspector->addTab(QStringLiteral("Events"));
    ui->TbInspector->setExpanding(false);
    ui->TbInspector->updateGeometry(); // a hidden tab bar does not tell its layout of new tabs
    ui->TbForms->setDocumentMode(true);
    ui->TbForms->setExpanding(false);
    ui->SaForm->setBackgroundRole(QPalette::Window);
    ui->EdCode->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FHighlighter = new TKvPascalHighlighter(ui->EdCode->document());
    FInspector->OnError = [this](const QString& Message) { Prompts.ShowError(this, Message); };

    // Palette on top; project and components left, the form in the middle, the inspector right.
    ui->SpMain->setStretchFactor(0, 0);
    ui->SpMain->setStretchFactor(1, 1);
    ui->SpMain->setStretchFactor(2, 0);
    ui->SpMain->setSizes({270, 660, 330});
    ui->SpLeft->setSizes({170, 480});

    BuildPalette();
    ConnectActions();
    FillRecentMenu();
    UpdateTitle();
    qApp->installEventFilter(this);
    resize(1280, 800);
}

TFrKvDesigner::~TFrKvDesigner()
{
    qApp->removeEventFilter(this);
    // The views let go of the forms before the host destroys them.
    ui->FvForm->SetDesigner(nullptr);
    FInspector->Clear();
    FTree->SetRoot(nullptr);
    disconnect(DesignNotifier(), nullptr, this, nullptr);
    FHost.reset();
}

TKvFormView* TFrKvDesigner::FormView() const
{
    return ui->FvForm;
}

void TFrKvDesigner::BuildPalette()
{
    FPaletteGroup->addButton(ui->BtPointer, -1);
    FPaletteGroup->setExclusive(true);
    QPixmap Arrow(24, 24);
    Arrow.fill(Qt::transparent);
    {
        QPainter P(&Arrow);
        P.setRenderHint(QPainter::Antialiasing);
        P.setBrush(Qt::black);
        P.drawPolygon(QPolygonF({{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}}));
    }
    ui->BtPointer->setIcon(Arrow);
    ui->BtPointer->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const TKvPalettePageInfo& Page : KvRegisteredPalette()) {
        auto* Holder = new QWidget(ui->TcPalette);
        Holder->setObjectName(QStringLiteral("PnPalette") + QString(Page.Name).remove(u' '));
        auto* Layout = new QHBoxLayout(Holder);
        Layout->setContentsMargins(2, 2, 2, 2);
        Layout->setSpacing(1);
        for (const QMetaObject* Class : Page.Classes) {
            const QString Name = QString::fromLatin1(Class->className());
            auto* Button = new QToolButton(Holder);
            Button->setObjectName(QStringLiteral("Bt") + Name);
            Button->setIcon(KvPaletteIcon(Class));
            Button->setIconSize({24, 24});
            Button->setToolTip(Name);
            Button->setCheckable(true);
            Button->setAutoRaise(true);
            Button->setFixedSize(30, 30);
            FPaletteGroup->addButton(Button);
            connect(Button, &QToolButton::clicked, this, [this, Class] { ui->FvForm->SetCreateClass(Class); });
            Layout->addWidget(Button);
        }
        Layout->addStretch(1);
        ui->TcPalette->addTab(Holder, Page.Name);
    }
    connect(ui->BtPointer, &QToolButton::clicked, this, [this] { ui->FvForm->SetCreateClass(nullptr); });
    connect(ui->FvForm, &TKvFormView::CreateClassCleared, this, [this] { ui->BtPointer->setChecked(true); });
    ui->TcPalette->setFixedHeight(ui->TcPalette->tabBar()->sizeHint().height() + 36);
}

void TFrKvDesigner::ConnectActions()
{
    connect(ui->AcOpenProject, &QAction::triggered, this, [this] {
        const QString Folder = Host().ActiveProject() ? Host().ActiveProject()->ProjectDir() : QString();
        const QString File = Prompts.ChooseProject(this, Folder);
        if (!File.isEmpty())
            OpenProject(File);
    });
    connect(ui->AcOpenForm, &QAction::triggered, this, [this] {
        QString Folder = Host().ActiveProject() ? Host().ActiveProject()->ProjectDir() : QString();
        if (TKvUnitModule* Unit = CurrentUnit())
            Folder = QFileInfo(Unit->FormFileName()).absolutePath();
        const QString File = Prompts.ChooseForm(this, Folder);
        if (!File.isEmpty())
            OpenForm(QFileInfo(File).absoluteFilePath());
    });
    connect(ui->AcSave, &QAction::triggered, this, &TFrKvDesigner::Save);
    connect(ui->AcSaveAll, &QAction::triggered, this, &TFrKvDesigner::SaveAll);
    connect(ui->AcClose, &QAction::triggered, this, &TFrKvDesigner::CloseForm);
    connect(ui->AcExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->AcInstalledPackages, &QAction::triggered, this, [this] {
        TFrInstalledPackages Window(this);
        Window.SetPackages(KvInstalledPackages());
        Window.exec();
    });
    connect(ui->AcCut, &QAction::triggered, this, &TFrKvDesigner::CutSelection);
    connect(ui->AcCopy, &QAction::triggered, this, &TFrKvDesigner::CopySelection);
    connect(ui->AcPaste, &QAction::triggered, this, &TFrKvDesigner::PasteIntoSelection);
    connect(ui->AcDelete, &QAction::triggered, this, &TFrKvDesigner::DeleteSelection);
    connect(ui->AcTabOrder, &QAction::triggered, this, &TFrKvDesigner::EditTabOrder);
    connect(ui->AcCreationOrder, &QAction::triggered, this, &TFrKvDesigner::EditCreationOrder);
    connect(ui->AcViewAsText, &QAction::triggered, this, &TFrKvDesigner::ToggleFormText);
    connect(ui->AcViewUnit, &QAction::triggered, this, &TFrKvDesigner::ToggleUnitView);
    connect(ui->AcAlignToGrid, &QAction::triggered, this, [this] {
        if (TKvFormDesigner* D = CurrentDesigner())
            Guarded([&] { D->AlignToGrid(TKvFormView::GridSize); });
    });
    connect(ui->AcBringToFront, &QAction::triggered, this, [this] {
        if (TKvFormDesigner* D = CurrentDesigner())
            Guarded([&] { D->BringToFront(); });
    });
    connect(ui->AcSendToBack, &QAction::triggered, this, [this] {
        if (TKvFormDesigner* D = CurrentDesigner())
            Guarded([&] { D->SendToBack(); });
    });

    // Undo and redo act on the form shown; their texts name the step ("Undo Move EdName").
    QAction* Undo = FUndo->createUndoAction(this, QStringLiteral("&Undo"));
    QAction* Redo = FUndo->createRedoAction(this, QStringLiteral("&Redo"));
    Undo->setObjectName(QStringLiteral("AcUndo"));
    Redo->setObjectName(QStringLiteral("AcRedo"));
    Undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QAction* First = ui->MnEdit->actions().value(0);
    ui->MnEdit->insertAction(First, Undo);
    ui->MnEdit->insertAction(First, Redo);
    ui->MnEdit->insertSeparator(First);
    // A line edit with the focus (the inspector's) undoes its own typing first: it overrides
    // the shortcut.

    connect(ui->LsForms, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* Item) { OpenForm(Item->data(FileRole).toString()); });
    connect(ui->TbForms, &QTabBar::currentChanged, this, [this](int Index) {
        TKvUnitModule* Unit = Index >= 0 ? Host().FindUnitModule(FormFileOfTab(Index)) : nullptr;
        Host().SetActiveForm(Unit ? Unit->FormEditor() : nullptr);
    });
    connect(ui->TbInspector, &QTabBar::currentChanged, this, [this](int Index) {
        FInspector->SetPage(Index == 1 ? TKvInspectorModel::Events : TKvInspectorModel::Properties);
    });
    connect(ui->TvInspector, &QTreeView::doubleClicked, this, [this](const QModelIndex& Index) {
        if (Index.column() == 1)
            FInspector->Edit(Index);
    });

    connect(ui->TvComponents->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrKvDesigner::TreeSelectionChanged);
    connect(FTree, &QAbstractItemModel::modelReset, this, [this] {
        ui->TvComponents->expandAll();
        SyncTreeSelection();
    });
    connect(ui->TvComponents, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& Index) { EditComponent(FTree->ComponentAt(Index)); });
    connect(ui->TvComponents, &QWidget::customContextMenuRequested, this, [this](const QPoint& Pos) {
        TComponent* C = FTree->ComponentAt(ui->TvComponents->indexAt(Pos));
        if (!C)
            return;
        std::unique_ptr<QMenu> Menu(CreateComponentMenu(C));
        Menu->exec(ui->TvComponents->viewport()->mapToGlobal(Pos));
    });
    auto* TreeDelete = new QShortcut(QKeySequence::Delete, ui->TvComponents, nullptr, nullptr, Qt::WidgetShortcut);
    connect(TreeDelete, &QShortcut::activated, this, &TFrKvDesigner::DeleteSelection);

    TKvFormView* View = ui->FvForm;
    connect(View, &TKvFormView::DeleteRequested, this, &TFrKvDesigner::DeleteSelection);
    connect(View, &TKvFormView::ComponentDoubleClicked, this, &TFrKvDesigner::EditComponent);
    connect(View, &TKvFormView::ErrorRaised, this, [this](const QString& Message) { Prompts.ShowError(this, Message); });
    connect(View, &TKvFormView::ContextMenuRequested, this, [this](TComponent* C, const QPoint& GlobalPos) {
        std::unique_ptr<QMenu> Menu(CreateComponentMenu(C));
        Menu->exec(GlobalPos);
    });

    TDesignNotifier* N = DesignNotifier();
    connect(N, &TDesignNotifier::SelectionChanged, this, &TFrKvDesigner::OnSelectionChanged);
    connect(N, &TDesignNotifier::ItemsModified, this, &TFrKvDesigner::OnItemsModified);
    connect(N, &TDesignNotifier::ItemDeleted, this, &TFrKvDesigner::OnItemDeleted);
    connect(N, &TDesignNotifier::DesignerClosed, this, &TFrKvDesigner::OnDesignerClosed);
    connect(N, &TDesignNotifier::ActiveDesignerChanged, this, &TFrKvDesigner::OnActiveDesignerChanged);
    // Once the step that made the handler is done.
    connect(N, &TDesignNotifier::MethodShown, this, &TFrKvDesigner::ShowMethodCode, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------------
// Projects and forms

bool TFrKvDesigner::Guarded(const std::function<void()>& Work)
{
    try {
        Work();
        return true;
    } catch (const Exception& E) {
        Prompts.ShowError(this, E.Message);
    } catch (const std::exception& E) {
        Prompts.ShowError(this, QString::fromLocal8Bit(E.what()));
    }
    return false;
}

bool TFrKvDesigner::QuerySaveAll()
{
    if (!LeaveCode())
        return false;
    QStringList Modified;
    for (int I = 0; I < Host().ModuleCount(); ++I)
        if (auto* Unit = dynamic_cast<TKvUnitModule*>(Host().Modules(I)); Unit && Unit->IsModified())
            Modified << (Unit->FormEditor() ? Unit->FormFileName() : Unit->FileName());
    if (Modified.isEmpty())
        return true;
    switch (Prompts.AskSave(this, Modified)) {
    case TKvAppPrompts::Save: return SaveAll();
    case TKvAppPrompts::Discard: return true;
    case TKvAppPrompts::Cancel: return false;
    }
    return false;
}

bool TFrKvDesigner::OpenProject(const QString& FileName)
{
    if (!QuerySaveAll())
        return false;
    TKvProject* Project = nullptr;
    const bool Ok = Guarded([&] {
        // Read first: a project that does not load leaves the open one as it is.
        TKvProject Probe;
        Probe.LoadFromFile(FileName);
        ShowForm(nullptr);
        ui->TbForms->blockSignals(true);
        while (ui->TbForms->count() > 0)
            ui->TbForms->removeTab(0);
        ui->TbForms->blockSignals(false);
        Host().CloseProject(true);
        Project = Host().OpenProject(FileName);
        // Package files named relative to the project (FileName = 'KvDemoCustomer.kvstr') sit
        // beside it: its forms read them from there, whatever the working directory.
        KvSetAppPath(Project->ProjectDir());
    });
    FillFormsList();
    UpdateTitle();
    if (!Ok || !Project)
        return false;
    AddRecentProject(Project->FileName());
    for (int I = 0; I < Project->GetModuleCount(); ++I) {
        auto* Info = static_cast<TKvModuleInfo*>(Project->GetModule(I));
        if (!Info->FormName().isEmpty()) {
            OpenForm(Info->FileName());
            break;
        }
    }
    statusBar()->showMessage(QStringLiteral("Opened %1").arg(QDir::toNativeSeparators(Project->FileName())), 4000);
    return true;
}

TKvFormEditor* TFrKvDesigner::OpenForm(const QString& FileName)
{
    TKvFormEditor* Form = nullptr;
    // Without a project, package files a form names by a relative path sit beside the form.
    if (!Host().ActiveProject())
        KvSetAppPath(QFileInfo(FileName).absolutePath());
    if (!Guarded([&] { Form = Host().OpenForm(FileName); }))
        return nullptr;
    const QString Unit = Form->UnitModule()->FileName();
    int Tab = TabOfUnit(Unit);
    if (Tab < 0) {
        ui->TbForms->blockSignals(true);
        Tab = ui->TbForms->addTab(Form->GetRootComponent()->GetName());
        ui->TbForms->setTabData(Tab, Unit);
        ui->TbForms->blockSignals(false);
        ui->TbForms->updateGeometry();
    }
    FUndo->addStack(Form->Designer()->UndoStack());
    Host().SetActiveForm(Form);
    UpdateMarkers();
    if (const QString Warning = Form->UnitModule()->LoadWarning(); !Warning.isEmpty())
        statusBar()->showMessage(Warning);
    return Form;
}

QString TFrKvDesigner::FormFileOfTab(int Index) const
{
    return ui->TbForms->tabData(Index).toString();
}

int TFrKvDesigner::TabOfUnit(const QString& UnitFile) const
{
    for (int I = 0; I < ui->TbForms->count(); ++I)
        if (FormFileOfTab(I).compare(UnitFile, Qt::CaseInsensitive) == 0)
            return I;
    return -1;
}

TKvUnitModule* TFrKvDesigner::CurrentUnit() const
{
    TKvFormEditor* Form = CurrentForm();
    return Form ? Form->UnitModule() : nullptr;
}

TKvFormEditor* TFrKvDesigner::CurrentForm() const
{
    return Host().ActiveForm();
}

void TFrKvDesigner::OnActiveDesignerChanged(IDesigner*)
{
    TKvFormEditor* Form = Host().ActiveForm();
    // Another form is shown as a form: text that does not apply is dropped, with the error.
    if (FCodeDesigner && (!Form || Form->Designer() != FCodeDesigner))
        LeaveCode(true);
    if (Form) {
        const int Tab = TabOfUnit(Form->UnitModule()->FileName());
        ui->TbForms->blockSignals(true);
        ui->TbForms->setCurrentIndex(Tab);
        ui->TbForms->blockSignals(false);
    }
    FUndo->setActiveStack(Form ? Form->Designer()->UndoStack() : nullptr);
    ShowForm(Form);
}

TKvFormDesigner* TFrKvDesigner::CurrentDesigner() const
{
    TKvFormEditor* Form = CurrentForm();
    return Form ? Form->Designer() : nullptr;
}

void TFrKvDesigner::ShowForm(TKvFormEditor* Form)
{
    TKvFormDesigner* Designer = Form ? Form->Designer() : nullptr;
    if (Designer == ui->FvForm->Designer() && Designer)
        return;
    ui->FvForm->SetDesigner(Designer);
    FTree->SetRoot(Form ? Form->GetRootComponent() : nullptr);
    if (Designer) {
        TDesignerSelectionList Selection = Designer->GetSelections();
        if (Selection.isEmpty())
            Designer->SelectComponent(Form->GetRootComponent()); // comes back through OnSelectionChanged
        else
            OnSelectionChanged(Designer);
    } else {
        FInspector->Clear();
    }
    UpdateTitle();
}

bool TFrKvDesigner::Save()
{
    if (!LeaveCode())
        return false;
    TKvUnitModule* Unit = CurrentUnit();
    if (!Unit)
        return true;
    const bool Ok = Guarded([&] { Host().SaveModule(Unit); });
    UpdateMarkers();
    if (Ok)
        statusBar()->showMessage(QStringLiteral("Saved %1").arg(QFileInfo(Unit->FormFileName()).fileName()), 4000);
    return Ok;
}

bool TFrKvDesigner::SaveAll()
{
    if (!LeaveCode())
        return false;
    const bool Ok = Guarded([&] { Host().SaveAll(); });
    UpdateMarkers();
    if (Ok)
        statusBar()->showMessage(QStringLiteral("All saved"), 4000);
    return Ok;
}

bool TFrKvDesigner::CloseForm()
{
    if (!LeaveCode())
        return false;
    TKvUnitModule* Unit = CurrentUnit();
    if (!Unit)
        return true;
    if (Unit->IsModified()) {
        switch (Prompts.AskSave(this, {Unit->FormFileName()})) {
        case TKvAppPrompts::Save:
            if (!Save())
                return false;
            break;
        case TKvAppPrompts::Discard: break;
        case TKvAppPrompts::Cancel: return false;
        }
    }
    const int Tab = TabOfUnit(Unit->FileName());
    ui->TbForms->blockSignals(true);
    ui->TbForms->removeTab(Tab);
    ui->TbForms->blockSignals(false);
    Unit->CloseModule(true);
    if (ui->TbForms->count() > 0) {
        TKvUnitModule* Next = Host().FindUnitModule(FormFileOfTab(ui->TbForms->currentIndex()));
        Host().SetActiveForm(Next ? Next->FormEditor() : nullptr);
    }
    UpdateMarkers();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Tab order and creation order

namespace {

// Shows the order window TWindow on Names; the order the user left, or nothing when cancelled or
// unchanged.
template <class TWindow>
QStringList AskOrder(QWidget* Parent, TKvFormDesigner* Designer, const QStringList& Names)
{
    QStringList Classes;
    for (const QString& Name : Names)
        Classes << Designer->GetComponent(Name)->ClassName();
    TWindow Window(Parent);
    Window.SetItems(Names, Classes);
    if (Window.exec() != QDialog::Accepted || Window.Names() == Names)
        return {};
    return Window.Names();
}

} // namespace

void TFrKvDesigner::EditTabOrder()
{
    TKvFormDesigner* D = CurrentDesigner();
    if (!D)
        return;
    TComponent* Container = D->TabOrderContainer();
    const QStringList Order = AskOrder<TFrKvTabOrder>(this, D, D->TabOrderNames(Container));
    if (!Order.isEmpty())
        Guarded([&] { D->SetTabOrder(Container, Order); });
}

void TFrKvDesigner::EditCreationOrder()
{
    TKvFormDesigner* D = CurrentDesigner();
    if (!D)
        return;
    const QStringList Order = AskOrder<TFrKvCreationOrder>(this, D, D->CreationOrderNames());
    if (!Order.isEmpty())
        Guarded([&] { D->SetCreationOrder(Order); });
}

// ---------------------------------------------------------------------------------------------
// The form as text, the unit

void TFrKvDesigner::ShowCode(TCodeMode Mode, const QString& Text)
{
    FCodeMode = Mode;
    FHighlighter->SetFormText(Mode == FormTextCode);
    if (Mode == NoCode)
        FCodeDesigner = nullptr;
    ui->EdCode->setPlainText(Text);
    ui->EdCode->setReadOnly(Mode == UnitCode);
    ui->EdCode->document()->setModified(false);
    ui->EdCode->setVisible(Mode != NoCode);
    ui->SaForm->setVisible(Mode == NoCode);
    ui->AcViewAsText->setChecked(Mode == FormTextCode);
    ui->AcViewUnit->setChecked(Mode == UnitCode);
    // While the form is text, Undo is the text's own: the form's history would be overwritten
    // when the text is applied.
    TKvFormDesigner* Designer = CurrentDesigner();
    FUndo->setActiveStack(Mode == FormTextCode || !Designer ? nullptr : Designer->UndoStack());
    if (Mode == NoCode)
        ui->FvForm->setFocus();
    else
        ui->EdCode->setFocus();
}

bool TFrKvDesigner::LeaveCode(bool Discard)
{
    if (FCodeMode == FormTextCode && FCodeDesigner && ui->EdCode->document()->isModified()) {
        const QString File = QFileInfo(FCodeDesigner->FormEditor()->FileName()).fileName();
        try {
            FCodeDesigner->ApplyFormText(ui->EdCode->toPlainText());
        } catch (const Exception& E) {
            QString Message = QStringLiteral("%1: %2").arg(File, E.Message);
            if (const auto* Parse = dynamic_cast<const EParserError*>(&E)) {
                Message = QStringLiteral("%1(%2,%3): %4").arg(File).arg(Parse->Line).arg(Parse->Column).arg(Parse->Reason);
                QTextCursor At(ui->EdCode->document()->findBlockByNumber(Parse->Line - 1));
                At.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::max(0, Parse->Column - 1));
                ui->EdCode->setTextCursor(At);
            }
            if (Discard)
                Message += QStringLiteral("\nThe text was not applied; the form is as it was.");
            statusBar()->showMessage(Message);
            Prompts.ShowError(this, Message);
            if (!Discard) {
                ui->AcViewAsText->setChecked(true); // the action's own toggle is taken back
                ui->AcViewUnit->setChecked(false);
                ui->EdCode->setFocus();
                return false;
            }
        }
    }
    if (FCodeMode != NoCode)
        ShowCode(NoCode, {});
    return true;
}

// The code shown follows changes made elsewhere (the inspector); text being edited is left alone.
void TFrKvDesigner::ReloadCode()
{
    QString Text;
    if (FCodeMode == UnitCode)
        Text = FCodeDesigner->FormEditor()->UnitModule()->SourceEditor()->Text();
    else if (FCodeMode != FormTextCode || ui->EdCode->document()->isModified()
             || !Guarded([&] { Text = FCodeDesigner->FormText(); }))
        return;
    if (Text == ui->EdCode->toPlainText())
        return;
    const int At = ui->EdCode->textCursor().position();
    ui->EdCode->setPlainText(Text);
    ui->EdCode->document()->setModified(false);
    QTextCursor Cursor(ui->EdCode->document());
    Cursor.setPosition(qMin(At, int(Text.size())));
    ui->EdCode->setTextCursor(Cursor);
}

bool TFrKvDesigner::ToggleFormText()
{
    const bool WasText = FCodeMode == FormTextCode;
    if (!LeaveCode())
        return false;
    TKvFormDesigner* Designer = CurrentDesigner();
    if (WasText || !Designer) {
        ShowCode(NoCode, {});
        return true;
    }
    QString Text;
    if (!Guarded([&] { Text = Designer->FormText(); })) {
        ShowCode(NoCode, {});
        return false;
    }
    ShowCode(FormTextCode, Text);
    FCodeDesigner = Designer;
    return true;
}

bool TFrKvDesigner::ToggleUnitView()
{
    const bool WasUnit = FCodeMode == UnitCode;
    if (!LeaveCode())
        return false;
    TKvUnitModule* Unit = CurrentUnit();
    if (WasUnit || !Unit) {
        ShowCode(NoCode, {});
        return true;
    }
    if (!Unit->HasUnitFile()) {
        statusBar()->showMessage(QStringLiteral("%1 has no unit").arg(QFileInfo(Unit->FormFileName()).fileName()));
        return true;
    }
    ShowCode(UnitCode, Unit->SourceEditor()->Text());
    FCodeDesigner = CurrentDesigner();
    return true;
}

void TFrKvDesigner::FillFormsList()
{
    ui->LsForms->clear();
    TKvProject* Project = Host().ActiveProject();
    ui->LaForms->setText(Project ? QStringLiteral("Project %1").arg(Project->ProjectName()) : QStringLiteral("Project"));
    if (!Project)
        return;
    for (int I = 0; I < Project->GetModuleCount(); ++I) {
        IOTAModuleInfo* Info = Project->GetModule(I);
        if (Info->FormName().isEmpty())
            continue;
        auto* Item = new QListWidgetItem(ui->LsForms);
        Item->setData(FileRole, Info->FileName());
        Item->setToolTip(QDir::toNativeSeparators(Info->FileName()));
    }
    UpdateMarkers();
}

// Form names carry a '*' while they have unsaved changes; open forms are bold.
void TFrKvDesigner::UpdateMarkers()
{
    FShownMarks.clear();
    TKvProject* Project = Host().ActiveProject();
    for (int I = 0; I < ui->LsForms->count(); ++I) {
        QListWidgetItem* Item = ui->LsForms->item(I);
        const QString File = Item->data(FileRole).toString();
        TKvUnitModule* Unit = Host().FindUnitModule(File);
        TKvModuleInfo* Info = Project ? Project->FindModuleInfo(File) : nullptr;
        const QString Name = Info ? Info->FormName() : QFileInfo(File).completeBaseName();
        const QString Unitname = QFileInfo(File).fileName();
        Item->setText(QStringLiteral("%1%2  (%3)").arg(Name, Unit && Unit->IsModified() ? QStringLiteral(" *") : QString(), Unitname));
        QFont Font = Item->font();
        Font.setBold(Unit && Unit->FormEditor());
        Item->setFont(Font);
    }
    for (int I = 0; I < ui->TbForms->count(); ++I) {
        TKvUnitModule* Unit = Host().FindUnitModule(FormFileOfTab(I));
        if (!Unit || !Unit->FormEditor())
            continue;
        ui->TbForms->setTabText(I, Unit->FormEditor()->GetRootComponent()->GetName()
                                       + (Unit->IsModified() ? QStringLiteral(" *") : QString()));
    }
    UpdateTitle();
}

void TFrKvDesigner::UpdateTitle()
{
    TKvProject* Project = Host().ActiveProject();
    bool Modified = false;
    for (int I = 0; I < Host().ModuleCount(); ++I)
        if (auto* Unit = dynamic_cast<TKvUnitModule*>(Host().Modules(I)); Unit && Unit->IsModified())
            Modified = true;
    // Without a project, the form shown names the window.
    const TKvFormEditor* Form = CurrentForm();
    const QString Shown = Project ? Project->FileName() : Form ? Form->FileName() : QString();
    setWindowTitle(Shown.isEmpty() ? QStringLiteral("kvdesigner[*]")
                                   : QStringLiteral("%1[*] - kvdesigner").arg(QFileInfo(Shown).fileName()));
    setWindowModified(Modified);
}

// ---------------------------------------------------------------------------------------------
// Selection and changes

void TFrKvDesigner::OnSelectionChanged(IDesigner* Designer)
{
    if (!Designer || Designer != CurrentDesigner())
        return;
    RefreshViews(); // the tree must know a component made just before it is selected
    const TDesignerSelectionList Selection = Designer->GetSelections();
    FInspector->SetSelection(Designer, Selection);
    SyncTreeSelection();
    ui->FvForm->ShowPagesOf(Selection);
    ui->FvForm->update();
    QStringList Names;
    for (TPersistent* P : Selection)
        if (auto* C = qobject_cast<TComponent*>(P))
            Names << QStringLiteral("%1: %2").arg(C->GetName(), C->ClassName());
    statusBar()->showMessage(Names.join(QStringLiteral(", ")));
}

void TFrKvDesigner::OnItemsModified(IDesigner* Designer)
{
    // The marks change only with the modified state or the form's name, not with every step.
    auto* Form = dynamic_cast<TKvFormDesigner*>(Designer);
    const QString Mark = Form ? Form->GetRoot()->GetName() + (Form->FormEditor()->UnitModule()->IsModified() ? u'*' : u' ')
                              : QString();
    if (!Form || FShownMarks.value(Designer) != Mark) {
        FShownMarks.insert(Designer, Mark);
        UpdateMarkers();
    }
    if (!Designer || Designer != CurrentDesigner())
        return;
    if (FCodeMode != NoCode && Designer == FCodeDesigner)
        ReloadCode();
    ui->FvForm->Changed();
    FInspector->RefreshValues();
    // A run of changes (undoing a thousand moves) rebuilds the tree once.
    if (std::exchange(FViewsStale, true))
        return;
    QTimer::singleShot(0, this, &TFrKvDesigner::RefreshViews);
}

void TFrKvDesigner::RefreshViews()
{
    if (!std::exchange(FViewsStale, false))
        return;
    FTree->Refresh();
}

void TFrKvDesigner::OnItemDeleted(IDesigner* Designer, TPersistent* Item)
{
    if (!Designer || Designer != CurrentDesigner())
        return;
    FInspector->ItemDeleted(Item);
    FTree->ItemDeleted(Item);
}

void TFrKvDesigner::OnDesignerClosed(IDesigner* Designer)
{
    if (Designer && Designer == FCodeDesigner) {
        FCodeDesigner = nullptr;
        ShowCode(NoCode, {});
    }
    FShownMarks.remove(Designer);
    if (Designer && Designer == ui->FvForm->Designer()) {
        ui->FvForm->SetDesigner(nullptr);
        FTree->SetRoot(nullptr);
        FInspector->Clear();
    }
}

void TFrKvDesigner::SyncTreeSelection()
{
    TKvFormDesigner* Designer = CurrentDesigner();
    if (!Designer)
        return;
    FSyncingTree = true;
    QItemSelection Selection;
    QModelIndex Current;
    for (TPersistent* P : Designer->GetSelections())
        if (const QModelIndex Index = FTree->IndexOf(qobject_cast<TComponent*>(P)); Index.isValid()) {
            Selection.select(Index, Index);
            if (!Current.isValid())
                Current = Index;
        }
    QItemSelectionModel* Model = ui->TvComponents->selectionModel();
    Model->select(Selection, QItemSelectionModel::ClearAndSelect);
    if (Current.isValid()) {
        Model->setCurrentIndex(Current, QItemSelectionModel::NoUpdate);
        ui->TvComponents->scrollTo(Current);
    }
    FSyncingTree = false;
}

void TFrKvDesigner::TreeSelectionChanged()
{
    TKvFormDesigner* Designer = CurrentDesigner();
    if (FSyncingTree || !Designer)
        return;
    TDesignerSelectionList Selection;
    for (const QModelIndex& Index : ui->TvComponents->selectionModel()->selectedRows())
        if (TComponent* C = FTree->ComponentAt(Index))
            Selection << C;
    if (!Selection.isEmpty())
        Designer->SetSelections(Selection);
}

// ---------------------------------------------------------------------------------------------
// Component commands

QMenu* TFrKvDesigner::CreateComponentMenu(TComponent* Component)
{
    auto* Menu = new QMenu(this);
    TKvFormDesigner* Designer = CurrentDesigner();
    if (Designer && Component) {
        std::shared_ptr<TComponentEditor> Editor;
        Guarded([&] { Editor = GetComponentEditor(Component, Designer); });
        const int Verbs = Editor ? Editor->GetVerbCount() : 0;
        for (int I = 0; I < Verbs; ++I) {
            QAction* Verb = Menu->addAction(Editor->GetVerb(I));
            if (const QString Why = Editor->VerbUnavailable(I); !Why.isEmpty()) {
                Verb->setEnabled(false);
                Verb->setToolTip(Why);
                Menu->setToolTipsVisible(true);
                continue;
            }
            connect(Verb, &QAction::triggered, this, [this, Editor, I] {
                Guarded([&] {
                    TDesignerChange Change(Editor->GetDesigner(), QString(Editor->GetVerb(I)).remove(u'&'));
                    Editor->ExecuteVerb(I);
                });
                OnItemsModified(Editor->GetDesigner());
            });
        }
        if (Verbs > 0)
            Menu->addSeparator();
    }
    const bool Root = Designer && Component == Designer->GetRoot();
    ui->AcCut->setEnabled(Designer && !Root);
    ui->AcCopy->setEnabled(Designer && !Root);
    ui->AcPaste->setEnabled(Designer && ClipboardComponents());
    ui->AcDelete->setEnabled(Designer && !Root);
    Menu->addAction(ui->AcCut);
    Menu->addAction(ui->AcCopy);
    Menu->addAction(ui->AcPaste);
    Menu->addAction(ui->AcDelete);
    // The Edit menu's actions stay usable after the context menu is gone.
    connect(Menu, &QObject::destroyed, this, [this] {
        for (QAction* A : {ui->AcCut, ui->AcCopy, ui->AcPaste, ui->AcDelete})
            A->setEnabled(true);
    });
    return Menu;
}

void TFrKvDesigner::EditComponent(TComponent* Component)
{
    TKvFormDesigner* Designer = CurrentDesigner();
    if (!Designer || !Component)
        return;
    // Whatever the editor's window changes is one step: Ctrl+Z takes the whole session back.
    Guarded([&] {
        TDesignerChange Change(Designer, QStringLiteral("Edit %1").arg(Component->GetName()));
        GetComponentEditor(Component, Designer)->Edit();
    });
}

void TFrKvDesigner::ShowMethodCode(IDesigner* Designer, const QString& Name)
{
    TKvFormDesigner* Current = CurrentDesigner();
    if (!Current || Designer != Current || !LeaveCode())
        return;
    TKvSourceEditor* Unit = Current->FormEditor()->UnitModule()->SourceEditor();
    ShowCode(UnitCode, Unit->Text());
    FCodeDesigner = Current;
    if (const qsizetype At = KvUnitSource::MethodCodePosition(Unit->Text(), Current->GetRoot()->ClassName(), Name); At >= 0) {
        QTextCursor Cursor(ui->EdCode->document());
        Cursor.setPosition(int(At));
        ui->EdCode->setTextCursor(Cursor);
        ui->EdCode->centerCursor();
    }
    statusBar()->showMessage(QStringLiteral("Event handler %1 in %2").arg(Name, QFileInfo(Unit->FileName()).fileName()));
}

void TFrKvDesigner::CopySelection()
{
    if (TKvFormDesigner* Designer = CurrentDesigner())
        Guarded([&] { CopyComponents(Designer->GetRoot(), Designer->GetSelections()); });
}

void TFrKvDesigner::CutSelection()
{
    TKvFormDesigner* Designer = CurrentDesigner();
    if (Designer && Guarded([&] { CopyComponents(Designer->GetRoot(), Designer->GetSelections()); }))
        DeleteSelection();
}

void TFrKvDesigner::PasteIntoSelection()
{
    TKvFormDesigner* Designer = CurrentDesigner();
    if (!Designer)
        return;
    // Into the selected container, else beside the selected control.
    TComponent* Parent = nullptr;
    const TDesignerSelectionList Selection = Designer->GetSelections();
    if (Selection.size() == 1) {
        if (auto* W = qobject_cast<TWinControl*>(Selection.first()))
            Parent = W;
        else if (auto* C = qobject_cast<TControl*>(Selection.first()))
            Parent = C->Parent();
    }
    TDesignerSelectionList Pasted;
    Guarded([&] {
        // The copies go where they hide nothing, in the same step of the history.
        TDesignerChange Change(Designer, QStringLiteral("Paste"));
        Pasted = Designer->Paste(Parent);
        QList<TComponent*> Components;
        for (TPersistent* P : std::as_const(Pasted))
            if (auto* C = qobject_cast<TComponent*>(P))
                Components << C;
        const QPoint Offset = KvPasteOffset(Designer->GetRoot(), Components, ui->FvForm->fontMetrics());
        if (!Offset.isNull()) {
            KvMoveComponents(Components, Offset);
            Designer->Modified();
        }
    });
    // Selected again once the step is told, so that the views know the copies.
    if (!Pasted.isEmpty())
        Designer->SetSelections(Pasted);
}

void TFrKvDesigner::DeleteSelection()
{
    if (TKvFormDesigner* Designer = CurrentDesigner())
        Guarded([&] { Designer->DeleteSelection(); });
}

// ---------------------------------------------------------------------------------------------
// Recent projects

QStringList TFrKvDesigner::RecentProjects() const
{
    return QSettings().value(RecentKey).toStringList();
}

void TFrKvDesigner::AddRecentProject(const QString& FileName)
{
    QStringList Recent = RecentProjects();
    Recent.removeAll(FileName);
    Recent.prepend(FileName);
    while (Recent.size() > MaxRecent)
        Recent.removeLast();
    QSettings().setValue(RecentKey, Recent);
    FillRecentMenu();
}

void TFrKvDesigner::FillRecentMenu()
{
    ui->MnRecent->clear();
    const QStringList Recent = RecentProjects();
    for (const QString& File : Recent) {
        QAction* A = ui->MnRecent->addAction(QDir::toNativeSeparators(File));
        connect(A, &QAction::triggered, this, [this, File] { OpenProject(File); });
    }
    ui->MnRecent->setEnabled(!Recent.isEmpty());
}

// ---------------------------------------------------------------------------------------------

void TFrKvDesigner::closeEvent(QCloseEvent* Event)
{
    if (!QuerySaveAll()) {
        Event->ignore();
        return;
    }
    Event->accept();
}

// The package's design windows stay above the main window.
bool TFrKvDesigner::eventFilter(QObject* Object, QEvent* Event)
{
    if (Event->type() == QEvent::Show) {
        auto* Window = qobject_cast<TDesignWindow*>(Object);
        if (Window && Window->isWindow() && Window->windowHandle() && windowHandle())
            Window->windowHandle()->setTransientParent(windowHandle());
    }
    return QMainWindow::eventFilter(Object, Event);
}

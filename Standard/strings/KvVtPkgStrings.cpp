#include "KvVtPkgStrings.h"
#include "ui_KvVtPkgStrings.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "KvUtils.h"
#include "common/KvPkgDialogs.h"
#include "manager/KvVtManager.h"
#include "manager/KvVtPkgSynchronizer.h"
#include "porting/KvPortDsgn.h"
#include "strings/KvStringsExchange.h"
#include "strings/KvStringsItemDialog.h"
#include "strings/KvStringsReport.h"
#include "strings/KvVtMemoryLabelAdd.h"
#include "strings/KvVtMemoryMessageAdd.h"
#include "strings/KvVtMemoryTextAdd.h"
#include "strings/KvVtPkgStringsLabelsTranslator.h"
#include "strings/KvVtPkgStringsMessagesTranslator.h"
#include "strings/KvVtPkgStringsTextsTranslator.h"
#include "strings/KvVtUpdateSystemStrings.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPrinter>

#include <algorithm>

namespace {

const char* const PluralNouns[] = {"Labels", "Messages", "Texts"};

} // namespace

TKvPkgLanguage* KvPkgStringsLanguage(const TKvPkgStrings* Pkg)
{
    return Pkg ? qobject_cast<TKvPkgLanguage*>(Pkg->Owner()) : nullptr;
}

bool KvPkgStringsIsSavePkg(const TKvPkgStrings* Pkg)
{
    if (!Pkg)
        return false;
    const TKvPkgInfo* Holder = KvPkgStringsLanguage(Pkg);
    if (!Holder)
        Holder = Pkg;
    return Holder->InitMode() == TKvPkgInfo::imFILE && !Holder->FileName().isEmpty();
}

bool KvPkgStringsValidPkg(const QString& Name)
{
    const TKvCApplication* App = KvCApp();
    if (!App || App->EditSystem())
        return true;
    return !KvIsSystemPkgName(Name);
}

QString KvPkgStringsStatusLine(TKvStringsKind Kind, const TKvPkgStrings* Pkg)
{
    const int Count = KvStringsCount(Kind, Pkg);
    QString Line = QString::number(Count) + QLatin1Char(' ') + KvStringsNoun(Kind, Count) + QLatin1Char(' ');
    const TKvPkgLanguage* Lang = KvPkgStringsLanguage(Pkg);
    if (Lang && KvIsSystemPkgName(Pkg->PkgName()))
        Line += QStringLiteral("(LastUpdateFile:") + Lang->LastUpdateFile() + QStringLiteral(") (UpdateDateTime:") +
                QLocale().toString(Lang->UpdateDateTime(), QLocale::ShortFormat) + QLatin1Char(')');
    return Line;
}

QString KvPkgStringsFileFilter(const TKvPkgStrings* Pkg)
{
    const QString P = QLatin1Char('*') + KvAddPointExt(Pkg ? Pkg->DefaultExt() : QStringLiteral("kvstr"));
    return QStringLiteral("Package Strings (") + P + QStringLiteral(")|") + P + QStringLiteral("|All files (*.*)|*.*");
}

int KvPkgStringsRowAfterDelete(int Removed, int Count)
{
    if (Count <= 0)
        return -1;
    return Removed < Count ? Removed : Count - 1;
}

void KvEditPkgStrings(TKvPkgStrings* Pkg)
{
    if (!Pkg)
        return;
    auto Editor = std::make_unique<TFrPkgStrings>();
    Editor->PkgStrings = Pkg;
    Editor->Execute();
}

// ---------------------------------------------------------------------------------------------

TFrPkgStrings::TFrPkgStrings(QWidget* parent) : TDesignWindow(parent), FUi(new Ui::TFrPkgStrings)
{
    FUi->setupUi(this);
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto Set = [this](TKvStringsKind Kind, TKvStringsListView* List, QWidget* PnSearch, QLineEdit* EdSearch,
                      QLineEdit* EdId, QWidget* LaSearch, QWidget* LaId, QPlainTextEdit* EdDetail) {
        TTab& Tab = TabOf(Kind);
        Tab.Kind = Kind;
        Tab.List = List;
        Tab.PnSearch = PnSearch;
        Tab.EdSearch = EdSearch;
        Tab.EdId = EdId;
        Tab.LaSearch = LaSearch;
        Tab.LaId = LaId;
        Tab.EdDetail = EdDetail;
    };
    Set(TKvStringsKind::Labels, FUi->Labels, FUi->PnSearchLabels, FUi->EdSearchLabels, FUi->EdIdLabels,
        FUi->LaSearchLabels, FUi->LaIdLabels, FUi->EdHint);
    Set(TKvStringsKind::Messages, FUi->Messages, FUi->PnSearchMessages, FUi->EdSearchMessages, FUi->EdIdMessages,
        FUi->LaSearchMessages, FUi->LaIdMessages, nullptr);
    Set(TKvStringsKind::Texts, FUi->Texts, FUi->PnSearchTexts, FUi->EdSearchTexts, FUi->EdIdTexts, FUi->LaSearchTexts,
        FUi->LaIdTexts, FUi->EdText);
    for (TTab& Tab : FTabs)
        BindTab(Tab);

    connect(FUi->BtManager, &QPushButton::clicked, this, [this] {
        const TKvStringsKind Kind = ActiveKind();
        KvShowManager(this, KvManagerKindOf(Kind), PkgStrings ? PkgStrings->PkgName() : QString(),
                      TabOf(Kind).EdId->text());
    });
    connect(FUi->BtSynchronizer, &QPushButton::clicked, this, [this] {
        if (!PkgStrings)
            return;
        KvShowSynchronizer(this, PkgStrings);
        LoadStrings();
    });

    connect(FUi->OrderLabel, &QRadioButton::clicked, this, [this] { FillList(TabOf(TKvStringsKind::Labels)); });
    connect(FUi->OrderId, &QRadioButton::clicked, this, [this] { FillList(TabOf(TKvStringsKind::Labels)); });
    connect(FUi->PageControl, &QTabWidget::currentChanged, this, [this] {
        ChangeState(Active());
        AdjustLayout();
        UpdateInfo();
    });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QWidget::close);
    connect(FUi->BtAdd, &QPushButton::clicked, this, &TFrPkgStrings::AddItem);
    connect(FUi->BtModify, &QPushButton::clicked, this, &TFrPkgStrings::ModifyItem);
    connect(FUi->BtDelete, &QPushButton::clicked, this, &TFrPkgStrings::DeleteSelected);
    connect(FUi->BtClearAll, &QPushButton::clicked, this, &TFrPkgStrings::ClearAll);
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrPkgStrings::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, &TFrPkgStrings::SaveTo);
    connect(FUi->BtReport, &QPushButton::clicked, this, &TFrPkgStrings::Report);
    connect(FUi->BtTranslator, &QPushButton::clicked, this, &TFrPkgStrings::Translator);

    // The buttons and search panels are placed by AdjustLayout, not by layouts.
    FUi->PnButtons->installEventFilter(this);
    for (TTab& Tab : FTabs)
        Tab.PnSearch->installEventFilter(this);
    ChangeState();
}

TFrPkgStrings::~TFrPkgStrings() = default;

void TFrPkgStrings::BindTab(TTab& Tab)
{
    Tab.Model = new TKvStringsModel(Tab.Kind, this);
    Tab.List->setModel(Tab.Model);
    KvSetupIdBox(Tab.EdId);

    const QString Noun = QString::fromLatin1(PluralNouns[int(Tab.Kind)]);
    Tab.Menu = new QMenu(this);
    Tab.Menu->setToolTipsVisible(true);
    Tab.MnImport = Tab.Menu->addAction(QStringLiteral("Import ") + Noun);
    Tab.MnExport = Tab.Menu->addAction(QStringLiteral("Export ") + Noun);
    Tab.SystemSeparators << Tab.Menu->addSeparator();
    Tab.MnUpdateSystem = Tab.Menu->addAction(QStringLiteral("Update System Strings"));
    Tab.SystemSeparators << Tab.Menu->addSeparator();
    Tab.MnProtectAll = Tab.Menu->addAction(QStringLiteral("Protect All ") + Noun);
    // The messages entry has always been spelt this way.
    Tab.MnUnprotectAll = Tab.Menu->addAction(
        (Tab.Kind == TKvStringsKind::Messages ? QStringLiteral("UnProtect All ") : QStringLiteral("Unprotect All ")) +
        Noun);
    Tab.MnImport->setObjectName(QStringLiteral("MnImport") + Noun);
    Tab.MnExport->setObjectName(QStringLiteral("MnExport") + Noun);
    Tab.MnUpdateSystem->setObjectName(QStringLiteral("MnUpdateSystem") + Noun);
    Tab.MnProtectAll->setObjectName(QStringLiteral("MnProtectAll") + Noun);
    Tab.MnUnprotectAll->setObjectName(QStringLiteral("MnUnprotectAll") + Noun);

    const TKvStringsKind Kind = Tab.Kind;
    connect(Tab.MnImport, &QAction::triggered, this, [this, Kind] { ImportList(Kind); });
    connect(Tab.MnExport, &QAction::triggered, this, [this, Kind] { ExportList(Kind); });
    connect(Tab.MnUpdateSystem, &QAction::triggered, this, &TFrPkgStrings::UpdateSystemStrings);
    connect(Tab.MnProtectAll, &QAction::triggered, this, [this, Kind] { ProtectAll(Kind, true); });
    connect(Tab.MnUnprotectAll, &QAction::triggered, this, [this, Kind] { ProtectAll(Kind, false); });
    connect(Tab.List, &QWidget::customContextMenuRequested, this, [this, Kind](const QPoint& At) {
        TTab& T = TabOf(Kind);
        T.Menu->popup(T.List->viewport()->mapToGlobal(At));
    });
    connect(Tab.EdId, &QLineEdit::textEdited, this, [this, Kind] { IdChange(TabOf(Kind)); });
    connect(Tab.EdSearch, &QLineEdit::textEdited, this,
            [this, Kind](const QString& Text) { SearchEdited(TabOf(Kind), Text); });
    connect(Tab.List->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, Kind] { ChangeState(TabOf(Kind)); });
    // The new current row, not the selection: a mouse press moves the current row before it
    // selects.
    connect(Tab.List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, Kind](const QModelIndex& Current) {
                if (!FSelecting)
                    RowClicked(TabOf(Kind), Current.row());
            });
    connect(Tab.List, &QAbstractItemView::doubleClicked, this, [this] {
        if (FUi->BtModify->isEnabled())
            ModifyItem();
    });
}

TKvStringsKind TFrPkgStrings::ActiveKind() const
{
    return TKvStringsKind(std::clamp(FUi->PageControl->currentIndex(), 0, 2));
}

bool TFrPkgStrings::IsSavePkg() const
{
    return KvPkgStringsIsSavePkg(PkgStrings);
}

bool TFrPkgStrings::ValidPkg(const QString& Name) const
{
    return KvPkgStringsValidPkg(Name);
}

void TFrPkgStrings::Modified()
{
    if (!Memory && PkgStrings)
        KvDesignerModified(PkgStrings);
}

void TFrPkgStrings::UpdateFile()
{
    KvPkgUpdateFile(PkgStrings);
}

// The designer learns of a change unless the package's own file keeps it.
void TFrPkgStrings::ItemsChanged()
{
    if (!IsSavePkg())
        Modified();
}

void TFrPkgStrings::Execute()
{
    Prepare();
    setWindowModality(Qt::ApplicationModal);
    show();
    activateWindow();
    QEventLoop Loop;
    FLoop = &Loop;
    Loop.exec();
    FLoop = nullptr;
    StoreBounds();
    UpdateFile();
}

void TFrPkgStrings::Prepare()
{
    TKvPkgStrings* Pkg = PkgStrings;
    setWindowTitle(QStringLiteral("Package : ") + (Pkg ? Pkg->PkgName() : QString()));
    FSystem = Pkg && KvIsSystemPkgName(Pkg->PkgName());

    const TKvCApplication* App = KvCApp();
    const bool SystemEditing = App && App->EditSystem();
    for (TTab& Tab : FTabs) {
        for (QAction* Entry : Tab.SystemSeparators)
            Entry->setVisible(FSystem);
        for (QAction* Entry : {Tab.MnUpdateSystem, Tab.MnProtectAll, Tab.MnUnprotectAll})
            Entry->setVisible(FSystem);
        Tab.MnUpdateSystem->setEnabled(SystemEditing);
        Tab.MnProtectAll->setEnabled(SystemEditing);
        Tab.MnUnprotectAll->setEnabled(SystemEditing);
        Tab.List->SetSystem(FSystem);
    }

    const TKvEditorBounds Bounds = Pkg ? Pkg->EditorBounds() : TKvEditorBounds();
    if (!Bounds.IsStored()) {
        KvCenterWindow(this, true);
    } else {
        setGeometry(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height);
        KvAdjustWindow(this);
    }
    FMaximized = Bounds.IsStored() && Bounds.WindowState == KvWindowStateMaximized;
    RecordBounds();

    FUi->PnTop->setVisible(!Memory);
    FUi->BtLoad->setVisible(!Memory);
    FUi->BtSave->setVisible(!Memory);
    FUi->BtSynchronizer->setVisible(!Memory);

    if (Pkg) {
        // A load replaces every item: the rows must not outlive them.
        disconnect(FAfterLoad);
        FAfterLoad = connect(Pkg, &TKvPkgInfo::AfterLoad, this, [this] {
            LoadStrings();
            UpdateInfo();
        });
        if (IsSavePkg() && Pkg->FileModified()) {
            try {
                Pkg->LoadFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
        }
    }
    LoadStrings();
    ChangeState();
    for (TTab& Tab : FTabs)
        ChangeState(Tab);
    AdjustLayout();
    UpdateInfo();
    CheckItemHeight();
}

void TFrPkgStrings::StoreBounds()
{
    if (!PkgStrings)
        return;
    const TKvEditorBounds Bounds{FLeft, FTop, FWidth, FHeight, isMaximized() ? KvWindowStateMaximized : 0};
    if (Bounds != PkgStrings->EditorBounds()) {
        PkgStrings->SetEditorBounds(Bounds);
        Modified();
    }
}

void TFrPkgStrings::LoadStrings()
{
    for (TTab& Tab : FTabs)
        FillList(Tab);
}

void TFrPkgStrings::FillList(TTab& Tab)
{
    if (Tab.Kind == TKvStringsKind::Labels) {
        Tab.EdSearch->clear();
        Tab.EdDetail->clear();
        Tab.Model->Fill(PkgStrings, FUi->OrderLabel->isChecked());
    } else {
        if (Tab.EdDetail)
            Tab.EdDetail->clear();
        Tab.Model->Fill(PkgStrings, false, Tab.EdSearch->text());
    }
    IdChange(Tab);
}

void TFrPkgStrings::SelectRow(TTab& Tab, int Row)
{
    FSelecting = true;
    Tab.List->SelectRow(Row);
    FSelecting = false;
    // A reset or a removal changes the selection without telling.
    ChangeState(Tab);
}

void TFrPkgStrings::IdChange(TTab& Tab)
{
    bool Ok = false;
    const int Id = Tab.EdId->text().toInt(&Ok);
    TKvPkgStringsItem* Item = Ok ? KvStringsFindId(Tab.Kind, PkgStrings, Id) : nullptr;
    if (!Item) {
        SelectRow(Tab, -1);
        if (Tab.Kind == TKvStringsKind::Labels)
            Tab.EdSearch->clear();
        if (Tab.EdDetail)
            Tab.EdDetail->clear();
        return;
    }
    const int Row = Tab.Model->RowOf(Item);
    // Filtered out: the selection stays as it was.
    if (Row < 0) {
        ChangeState(Tab);
        return;
    }
    SelectRow(Tab, Row);
    if (Tab.Kind == TKvStringsKind::Labels) {
        Tab.EdSearch->setText(Item->Text());
        Tab.EdDetail->setPlainText(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
    } else if (Tab.EdDetail) {
        Tab.EdDetail->setPlainText(Item->Text());
    }
}

void TFrPkgStrings::SearchEdited(TTab& Tab, const QString& Text)
{
    if (Tab.Kind != TKvStringsKind::Labels) {
        FillList(Tab);
        return;
    }
    const std::optional<int> Row = Tab.Model->SearchLabel(Text);
    if (!Row)
        return;
    SelectRow(Tab, *Row);
    const auto* Item = static_cast<TKvPkgStringsLabel*>(Tab.Model->Item(*Row));
    Tab.EdId->setText(QString::number(Item->Id()));
    Tab.EdDetail->setPlainText(Item->Hint());
}

void TFrPkgStrings::RowClicked(TTab& Tab, int Row)
{
    TKvPkgStringsItem* Item = Tab.Model->Item(Row);
    if (!Item)
        return;
    Tab.EdId->setText(QString::number(Item->Id()));
    if (Tab.Kind == TKvStringsKind::Labels) {
        Tab.EdSearch->setText(Item->Text());
        Tab.EdDetail->setPlainText(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
    } else {
        IdChange(Tab);
    }
}

void TFrPkgStrings::ChangeState(TTab& Tab)
{
    const bool Editable = PkgStrings && ValidPkg(PkgStrings->PkgName());
    const bool Selected = Editable && Tab.List->CurrentRow() >= 0;
    const Qt::FocusPolicy Policy = Editable ? Qt::StrongFocus : Qt::ClickFocus;
    Tab.EdSearch->setFocusPolicy(Policy);
    Tab.List->setFocusPolicy(Policy);
    Tab.MnImport->setEnabled(Editable);
    if (Tab.Kind != ActiveKind())
        return;
    FUi->BtAdd->setEnabled(Editable);
    FUi->BtModify->setEnabled(Selected);
    FUi->BtDelete->setEnabled(Selected);
    FUi->BtClearAll->setEnabled(Editable);
    FUi->BtLoadFrom->setEnabled(Editable);
    FUi->BtTranslator->setEnabled(Editable);
}

// The top bar.
void TFrPkgStrings::ChangeState()
{
    const TKvPkgStrings* Pkg = PkgStrings;
    const bool Dfm = !Pkg || Pkg->InitMode() == TKvPkgInfo::imDFM;
    FUi->LaInitMode->setText(Dfm ? QStringLiteral("DFM") : QStringLiteral("FILE"));
    const QString Name = Pkg ? Pkg->FileName() : QString();
    FUi->LaFileName->setText(Name.isEmpty() ? QStringLiteral("(Memory)") : Name);
}

void TFrPkgStrings::UpdateInfo()
{
    FUi->LaStatus->setText(KvPkgStringsStatusLine(ActiveKind(), PkgStrings));
}

void TFrPkgStrings::CheckItemHeight()
{
    for (TTab& Tab : FTabs)
        Tab.List->CheckItemHeight();
}

void TFrPkgStrings::AdjustLayout()
{
    for (TTab& Tab : FTabs) {
        const int W = Tab.PnSearch->width();
        const int EdH = Tab.EdSearch->sizeHint().height();
        const int LaH = Tab.LaSearch->sizeHint().height();
        const int IdW = Tab.EdId->fontMetrics().horizontalAdvance(QStringLiteral("999999")) + 12;
        const int IdX = W - IdW;
        Tab.LaSearch->setGeometry(0, 0, std::max(0, IdX - 6), LaH);
        Tab.EdSearch->setGeometry(0, LaH + 2, std::max(0, IdX - 6), EdH);
        Tab.LaId->setGeometry(IdX, 0, IdW, LaH);
        Tab.EdId->setGeometry(IdX, LaH + 2, IdW, EdH);
        Tab.PnSearch->setMinimumHeight(LaH + 2 + EdH);
    }

    // Stacked upwards from the bottom: a fifth of a button's height within a group, a half
    // between groups.
    QWidget* Panel = FUi->PnButtons;
    const int H = FUi->BtOk->sizeHint().height();
    const int W = Panel->width() - 4;
    const QList<QList<QPushButton*>> Groups = {
        {FUi->BtOk},
        {FUi->BtClearAll, FUi->BtDelete, FUi->BtModify, FUi->BtAdd},
        {FUi->BtSaveTo, FUi->BtLoadFrom, FUi->BtSave, FUi->BtLoad},
        {FUi->BtSynchronizer, FUi->BtTranslator, FUi->BtManager, FUi->BtReport}};
    int Y = Panel->height();
    for (const QList<QPushButton*>& Group : Groups) {
        bool First = true;
        for (QPushButton* Button : Group) {
            if (Button->isHidden())
                continue;
            Y -= H + (First ? 0 : H / 5);
            First = false;
            Button->setGeometry(2, Y, W, H);
        }
        Y -= H / 2;
    }
}

bool TFrPkgStrings::event(QEvent* Event)
{
    if (Event->type() == QEvent::WindowActivate && FMaximized) {
        FMaximized = false;
        showMaximized();
    }
    return TDesignWindow::event(Event);
}

bool TFrPkgStrings::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::Resize)
        AdjustLayout();
    return TDesignWindow::eventFilter(Watched, Event);
}

// The restored bounds, in the terms KvCenterWindow and KvAdjustWindow use: the client area.
void TFrPkgStrings::RecordBounds()
{
    const QRect Bounds = geometry();
    FLeft = Bounds.x();
    FTop = Bounds.y();
    FWidth = Bounds.width();
    FHeight = Bounds.height();
}

void TFrPkgStrings::resizeEvent(QResizeEvent* Event)
{
    TDesignWindow::resizeEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

void TFrPkgStrings::moveEvent(QMoveEvent* Event)
{
    TDesignWindow::moveEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

void TFrPkgStrings::closeEvent(QCloseEvent* Event)
{
    Event->accept();
    if (FLoop)
        FLoop->quit();
}

void TFrPkgStrings::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TDesignWindow::keyPressEvent(Event);
}

// ---------------------------------------------------------------------------------------------

void TFrPkgStrings::AddItem()
{
    TKvPkgStrings* Pkg = PkgStrings;
    if (!Pkg || !FUi->BtAdd->isEnabled())
        return;
    TTab& Tab = Active();
    std::unique_ptr<TKvStringsItemDialog> Dialog;
    switch (Tab.Kind) {
    case TKvStringsKind::Labels:
        Dialog = std::make_unique<TFrMemoryLabelAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Add Label"));
        Dialog->SetId(Pkg->Labels()->UniqueId());
        Dialog->SetHint(QString());
        break;
    case TKvStringsKind::Messages:
        Dialog = std::make_unique<TFrMemoryMessageAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Add Message"));
        Dialog->SetId(Pkg->Messages()->UniqueId());
        break;
    case TKvStringsKind::Texts:
        // So that the new text is among the rows after the refill.
        Tab.EdSearch->clear();
        Dialog = std::make_unique<TFrMemoryTextAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Add Text"));
        Dialog->SetId(Pkg->Texts()->UniqueId());
        break;
    }
    Dialog->FPkg = Pkg;
    Dialog->FModify = false;
    Dialog->SetText(QString());
    if (Dialog->Execute() != 1)
        return;
    Tab.EdId->setText(Dialog->IdText());
    if (Tab.Kind == TKvStringsKind::Labels) {
        if (TKvPkgStringsItem* Item = Pkg->Labels()->FindId(Dialog->Id()))
            Tab.Model->Insert(Item);
        IdChange(Tab);
    } else {
        FillList(Tab);
    }
    UpdateInfo();
    Tab.EdSearch->setFocus();
    ItemsChanged();
}

void TFrPkgStrings::ModifyItem()
{
    TKvPkgStrings* Pkg = PkgStrings;
    if (!Pkg || !FUi->BtModify->isEnabled())
        return;
    TTab& Tab = Active();
    const int Row = Tab.List->CurrentRow();
    TKvPkgStringsItem* Item = Tab.Model->Item(Row);
    if (!Item)
        return;
    std::unique_ptr<TKvStringsItemDialog> Dialog;
    switch (Tab.Kind) {
    case TKvStringsKind::Labels:
        Dialog = std::make_unique<TFrMemoryLabelAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Modify Label"));
        Dialog->SetHint(static_cast<TKvPkgStringsLabel*>(Item)->Hint());
        break;
    case TKvStringsKind::Messages:
        Dialog = std::make_unique<TFrMemoryMessageAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Modify Message"));
        break;
    case TKvStringsKind::Texts:
        Dialog = std::make_unique<TFrMemoryTextAdd>(this);
        Dialog->setWindowTitle(QStringLiteral("Modify Text"));
        break;
    }
    Dialog->FPkg = Pkg;
    Dialog->FModify = true;
    Dialog->SetId(Item->Id());
    Dialog->SetText(Item->Text());
    if (Dialog->Execute() != 1)
        return;
    if (Tab.Kind == TKvStringsKind::Labels) {
        Tab.Model->Update(Row);
        Tab.EdId->setText(Dialog->IdText());
        IdChange(Tab);
    } else {
        // The id box takes the new id first, so that the refill selects the item again.
        if (Dialog->IdText() != Tab.EdId->text()) {
            Tab.EdId->setText(Dialog->IdText());
            FillList(Tab);
        }
        Tab.Model->Update(Tab.List->CurrentRow());
        if (Tab.EdDetail)
            Tab.EdDetail->setPlainText(Dialog->Text());
    }
    Tab.EdSearch->setFocus();
    ItemsChanged();
}

void TFrPkgStrings::DeleteSelected()
{
    if (!PkgStrings || !FUi->BtDelete->isEnabled())
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 26, {KvBtnAccept, KvBtnCancel}, KvBtnAccept) != KvBtnAccept)
        return;
    TTab& Tab = Active();
    DeleteRow(Tab, Tab.List->CurrentRow());
}

void TFrPkgStrings::DeleteRow(TTab& Tab, int Row)
{
    TKvPkgStringsItem* Item = Tab.Model->Item(Row);
    if (!Item)
        return;
    Tab.Model->Remove(Row);
    delete Item;
    const int Next = KvPkgStringsRowAfterDelete(Row, Tab.Model->rowCount());
    TKvPkgStringsItem* Shown = Tab.Model->Item(Next);
    Tab.EdId->setText(Shown ? QString::number(Shown->Id()) : QString());
    IdChange(Tab);
    UpdateInfo();
    ItemsChanged();
}

void TFrPkgStrings::DeleteItem(TKvStringsKind Kind, TKvPkgStringsItem* Item)
{
    TTab& Tab = TabOf(Kind);
    const int Row = Tab.Model->RowOf(Item);
    if (Row >= 0)
        DeleteRow(Tab, Row);
}

void TFrPkgStrings::DeleteLabel(TKvPkgStringsItem* Item)
{
    DeleteItem(TKvStringsKind::Labels, Item);
}

void TFrPkgStrings::DeleteMessage(TKvPkgStringsItem* Item)
{
    DeleteItem(TKvStringsKind::Messages, Item);
}

void TFrPkgStrings::DeleteText(TKvPkgStringsItem* Item)
{
    DeleteItem(TKvStringsKind::Texts, Item);
}

void TFrPkgStrings::ClearAll()
{
    if (!PkgStrings || !FUi->BtClearAll->isEnabled())
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 58, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    for (TTab& Tab : FTabs)
        Tab.Model->Clear();
    PkgStrings->Clear();
    ItemsChanged();
    LoadStrings();
    UpdateInfo();
}

void TFrPkgStrings::LoadSave(bool Load)
{
    if (!PkgStrings || !KvPkgLoadSave(this, PkgStrings, Load))
        return;
    ChangeState();
    if (Load) {
        LoadStrings();
        UpdateInfo();
    }
    Modified();
}

void TFrPkgStrings::LoadFrom()
{
    if (!PkgStrings || !FUi->BtLoadFrom->isEnabled() ||
        !KvPkgLoadFrom(this, PkgStrings, KvPkgStringsFileFilter(PkgStrings)))
        return;
    LoadStrings();
    UpdateInfo();
    ItemsChanged();
}

void TFrPkgStrings::SaveTo()
{
    KvPkgSaveTo(this, PkgStrings, KvPkgStringsFileFilter(PkgStrings));
}

void TFrPkgStrings::ProtectAll(TKvStringsKind Kind, bool Value)
{
    if (!PkgStrings || KvStringsProtectAll(Kind, PkgStrings, Value) == 0)
        return;
    ChangeState(TabOf(Kind));
    ChangeState();
    LoadStrings();
    UpdateInfo();
    Modified();
}

namespace {

const QString ExchangeFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

} // namespace

void TFrPkgStrings::ImportList(TKvStringsKind Kind)
{
    TTab& Tab = TabOf(Kind);
    if (!PkgStrings || !Tab.MnImport->isEnabled())
        return;
    TKvFileDialogRequest Request;
    Request.Title = Tab.MnImport->text();
    Request.InitialDir = KvPkgStartFolder(PkgStrings);
    Request.Filter = ExchangeFilter;
    Request.DefaultExt = QStringLiteral("txt");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    // Nothing changes unless the whole file is good; the rows are refilled before they are
    // drawn again, as the import replaces the items they show.
    try {
        KvStringsImport(Kind, PkgStrings, Request.FileName);
    } catch (const Exception& E) {
        KvShowError(E);
        return;
    }
    ItemsChanged();
    LoadStrings();
    UpdateInfo();
}

void TFrPkgStrings::ExportList(TKvStringsKind Kind)
{
    if (!PkgStrings)
        return;
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = TabOf(Kind).MnExport->text();
    Request.InitialDir = KvPkgStartFolder(PkgStrings);
    Request.Filter = ExchangeFilter;
    Request.DefaultExt = QStringLiteral("txt");
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        KvStringsExport(Kind, PkgStrings, Request.FileName);
    } catch (const Exception& E) {
        KvShowError(E);
    }
}

// The rows the active list shows, in its order and after its filter.
void TFrPkgStrings::Report()
{
    if (!PkgStrings)
        return;
    const TTab& Tab = Active();
    std::vector<const TKvPkgStringsItem*> Rows;
    Rows.reserve(size_t(Tab.Model->rowCount()));
    for (int Row = 0; Row < Tab.Model->rowCount(); ++Row)
        Rows.push_back(Tab.Model->Item(Row));
    const QStringList Lines = KvStringsReportLines(Tab.Kind, Rows);
    const QString Title = QStringLiteral("Package : ") + PkgStrings->PkgName();
    QPrinter Printer;
    // Painting runs inside the preview's event handling, where an exception must not pass.
    QString Failure;
    KvPrintPreviewDialog(
        Printer,
        [&](QPrinter& Target) {
            try {
                KvPrintStringsReport(Target, Title, Lines);
            } catch (const Exception& E) {
                Failure = E.Message;
            }
        },
        this);
    if (!Failure.isEmpty())
        KvMessage(KvMsgError, Failure, {KvBtnAccept}, KvBtnAccept);
}

void TFrPkgStrings::UpdateSystemStrings()
{
    // The strings live in a language package, which belongs to the application component.
    const TKvPkgLanguage* Lang = KvPkgStringsLanguage(PkgStrings);
    auto* App = Lang ? qobject_cast<TKvCApplication*>(Lang->Owner()) : nullptr;
    if (!App)
        return;
    TFrUpdateSystemStrings Dialog(this);
    Dialog.App = App;
    if (!Dialog.Execute())
        return;
    ChangeState();
    LoadStrings();
    UpdateInfo();
    Modified();
}

void TFrPkgStrings::Translator()
{
    if (!PkgStrings || !FUi->BtTranslator->isEnabled())
        return;
    TTab& Tab = Active();
    std::unique_ptr<TKvStringsTranslator> Window;
    switch (Tab.Kind) {
    case TKvStringsKind::Labels:
        Window = std::make_unique<TFrPkgStringsLabelsTranslator>(this);
        Window->setWindowTitle(QStringLiteral("Labels Translator"));
        break;
    case TKvStringsKind::Messages:
        Window = std::make_unique<TFrPkgStringsMessagesTranslator>(this);
        Window->setWindowTitle(QStringLiteral("Messages Translator"));
        break;
    case TKvStringsKind::Texts:
        Window = std::make_unique<TFrPkgStringsTextsTranslator>(this);
        Window->setWindowTitle(QStringLiteral("Texts Translator"));
        break;
    }
    Window->PkgStrings = PkgStrings;
    Window->FullPath = FPathTranslator;
    Window->Memory = Memory;
    const TKvStringsKind Kind = Tab.Kind;
    Window->DeleteInEditor = [this, Kind](int Id) { return DeleteId(Kind, Id); };
    Window->Execute();
    FPathTranslator = Window->FullPath;
    // The translator has told the designer itself.
    if (Window->IsModify) {
        FillList(Tab);
        UpdateInfo();
    }
}

bool TFrPkgStrings::DeleteId(TKvStringsKind Kind, int Id)
{
    TTab& Tab = TabOf(Kind);
    TKvPkgStringsItem* Item = KvStringsFindId(Kind, PkgStrings, Id);
    if (!Item)
        return false;
    Tab.EdId->setText(QString::number(Id));
    IdChange(Tab);
    int Row = Tab.Model->RowOf(Item);
    // Filtered out of the messages or texts list: shown again so that its row can go.
    if (Row < 0) {
        Tab.EdSearch->clear();
        FillList(Tab);
        Row = Tab.Model->RowOf(Item);
    }
    if (Row < 0 || KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 26, {KvBtnAccept, KvBtnCancel}, KvBtnAccept) != KvBtnAccept)
        return false;
    DeleteRow(Tab, Row);
    return true;
}

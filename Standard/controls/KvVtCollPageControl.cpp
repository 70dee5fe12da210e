#include "controls/KvVtCollPageControl.h"

#include "ui_KvVtCollPageControl.h"

#include "KvCollections.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "controls/KvCollectionEdit.h"

#include <QMenu>

namespace {

const QString None = QStringLiteral("<None>");

} // namespace

TFrCollPageControl::TFrCollPageControl(QWidget* Parent)
    : TKvCollectionWindow(Parent), ui(std::make_unique<Ui::TFrCollPageControl>()), FSheetPopup(new QMenu(this))
{
    ui->setupUi(this);
    Setup({ui->lb, ui->PnButtons, ui->BtAdd, ui->BtInsert, ui->BtDelete, ui->BtUp, ui->BtDown, ui->BtOwner});
    ui->lbts->setUniformItemSizes(true);
    ui->lbts->setContextMenuPolicy(Qt::CustomContextMenu);
    FSheetPopup->addAction(QStringLiteral("Add TabSheet"), this, &TFrCollPageControl::AddTabSheet);
    FSheetPopup->addAction(QStringLiteral("Remove TabSheet"), this, &TFrCollPageControl::RemoveTabSheet);
    connect(ui->lbts, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& Pos) { FSheetPopup->popup(ui->lbts->viewport()->mapToGlobal(Pos)); });
    connect(ui->lbts, &QListWidget::currentRowChanged, this, [this] {
        if (!FFollowing)
            SheetChosen();
    });
    connect(ui->CBTabSheet, &QComboBox::activated, this, [this](int Index) {
        ChooseTabSheet(Index == ui->CBTabSheet->count() - 1 ? -1 : Index);
    });
    connect(ui->CBTab, &QComboBox::activated, this,
            [this](int Index) { ChooseTab(Index == ui->CBTab->count() - 1 ? -1 : Index); });
}

TFrCollPageControl::~TFrCollPageControl() = default;

TKvCustomPageControl* TFrCollPageControl::PageControl() const
{
    return KvCollectionEdit::PageControlOf(Collection());
}

void TFrCollPageControl::SetCombo(QComboBox* Combo, int Index)
{
    const QSignalBlocker Block(Combo);
    Combo->setCurrentIndex(Index < 0 ? Combo->count() - 1 : Index);
}

void TFrCollPageControl::DisplayInfo(bool KeepSelection)
{
    if (FProcess)
        return;
    TKvCollectionWindow::DisplayInfo(KeepSelection);
    {
        const QSignalBlocker Block(ui->CBTab);
        ui->CBTab->clear();
        for (int I = 0; I < ui->lb->count(); ++I)
            ui->CBTab->addItem(ui->lb->item(I)->text());
        ui->CBTab->addItem(None);
    }
    DisplayTabSheets(KeepSelection);
    ShowSheetOfTab();
}

void TFrCollPageControl::DisplayTabSheets(bool KeepSelection)
{
    const bool Following = std::exchange(FFollowing, true);
    const QString Selected = ui->lbts->currentItem() ? ui->lbts->currentItem()->text() : QString();
    const QList<TKvTabSheet*> Sheets = PageControl() ? PageControl()->TabSheets() : QList<TKvTabSheet*>{};
    ui->lbts->clear();
    const QSignalBlocker Block(ui->CBTabSheet);
    ui->CBTabSheet->clear();
    int Row = -1;
    for (const TKvTabSheet* Sheet : Sheets) {
        ui->lbts->addItem(Sheet->GetName());
        ui->CBTabSheet->addItem(Sheet->GetName());
        if (Sheet->GetName() == Selected)
            Row = ui->lbts->count() - 1;
    }
    ui->CBTabSheet->addItem(None);
    ui->lbts->setCurrentRow(KeepSelection ? Row : -1);
    FFollowing = Following;
}

TKvTabSheet* TFrCollPageControl::SelectedSheet() const
{
    const int Row = ui->lbts->currentRow();
    const QList<TKvTabSheet*> Sheets = PageControl() ? PageControl()->TabSheets() : QList<TKvTabSheet*>{};
    return Row >= 0 && Row < Sheets.size() ? Sheets.at(Row) : nullptr;
}

void TFrCollPageControl::SelectSheetLine(int Index)
{
    const bool Following = std::exchange(FFollowing, true);
    ui->lbts->setCurrentRow(Index >= 0 && Index < ui->lbts->count() ? Index : -1);
    FFollowing = Following;
}

void TFrCollPageControl::ShowSheetOfTab()
{
    const int Tab = SelectedIndex();
    const TKvCustomPageControl* Control = PageControl();
    TKvTabSheet* Sheet = Control && Tab >= 0 ? Control->FindPageId(Control->Tabs()->Items(Tab)->PageId()) : nullptr;
    const int Row = Sheet ? int(Control->TabSheets().indexOf(Sheet)) : -1;
    SetCombo(ui->CBTabSheet, Row);
    if (Tab >= 0)
        SelectSheetLine(Row);
}

void TFrCollPageControl::ShowTabOfSheet()
{
    SetCombo(ui->CBTab, KvCollectionEdit::TabOf(PageControl(), SelectedSheet()));
}

void TFrCollPageControl::LineChosen()
{
    TKvCollectionWindow::LineChosen();
    ShowSheetOfTab();
    ShowTabOfSheet();
}

void TFrCollPageControl::SheetChosen()
{
    ShowTabOfSheet();
    if (TKvTabSheet* Sheet = SelectedSheet(); Sheet && Designer())
        SetSelection({Sheet});
}

void TFrCollPageControl::ChooseTabSheet(int Index)
{
    const int Tab = SelectedIndex();
    if (Tab < 0) {
        SetCombo(ui->CBTabSheet, -1);
        return;
    }
    const QList<TKvTabSheet*> Sheets = PageControl() ? PageControl()->TabSheets() : QList<TKvTabSheet*>{};
    Run([&] {
        KvCollectionEdit::LinkTab(Designer(), PageControl(), Tab, Index >= 0 && Index < Sheets.size() ? Sheets.at(Index) : nullptr);
        DisplayInfo(true);
    });
}

void TFrCollPageControl::ChooseTab(int Index)
{
    const TKvTabSheet* Sheet = SelectedSheet();
    if (!Sheet)
        return;
    Run([&] {
        if (Index >= 0) {
            KvCollectionEdit::LinkTab(Designer(), PageControl(), Index, Sheet);
            SelectLine(Index);
        } else {
            KvCollectionEdit::LinkTab(Designer(), PageControl(), KvCollectionEdit::TabOf(PageControl(), Sheet), nullptr);
        }
        const int SheetRow = ui->lbts->currentRow();
        DisplayInfo(true);
        SelectSheetLine(SheetRow);
        ShowTabOfSheet();
    });
}

void TFrCollPageControl::AddTabSheet()
{
    Run([this] {
        TKvTabSheet* Sheet = KvCollectionEdit::AddTabSheet(Designer(), PageControl());
        DisplayTabSheets(false);
        if (Sheet)
            SelectSheetLine(int(PageControl()->TabSheets().indexOf(Sheet)));
        ShowTabOfSheet();
        SetCombo(ui->CBTabSheet, -1);
    });
}

void TFrCollPageControl::RemoveTabSheet()
{
    TKvTabSheet* Sheet = SelectedSheet();
    if (!Sheet) {
        if (Designer())
            Designer()->Modified();
        return;
    }
    const int Row = ui->lbts->currentRow();
    Run([&] {
        KvCollectionEdit::RemoveTabSheet(Designer(), Sheet);
        DisplayInfo(true);
        SelectSheetLine(qMin(Row, ui->lbts->count() - 1));
        ShowTabOfSheet();
        ShowSheetOfTab();
    });
}

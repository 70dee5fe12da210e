#include "KvVtManager.h"
#include "ui_KvVtManager.h"

#include "KvApplication.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "SysUtils.h"
#include "images/KvVtMemoryImage.h"
#include "images/KvVtPkgImages.h"
#include "display/KvSetsWindow.h"
#include "manager/KvVtManagerPkgs.h"
#include "manager/KvVtManagerProgress.h"
#include "manager/KvVtManagerRepl.h"
#include "porting/KvPortDsgn.h"
#include "strings/KvVtMemoryLabel.h"
#include "strings/KvVtMemoryMessage.h"
#include "strings/KvVtMemoryText.h"
#include "strings/KvVtPkgStrings.h"

#include <QStandardItemModel>

#include <algorithm>

namespace {

constexpr int RecordRole = Qt::UserRole + 1;

QString Unquoted(const QString& Value)
{
    if (Value.size() >= 2 && Value.startsWith(QLatin1Char('\'')) && Value.endsWith(QLatin1Char('\'')))
        return Value.mid(1, Value.size() - 2);
    return Value;
}

} // namespace

TFrManager::TFrManager(QWidget* Owner) : QDialog(Owner), FUi(new Ui::TFrManager), FModel(new QStandardItemModel(this))
{
    FUi->setupUi(this);
    FUi->clb->setModel(FModel);
    connect(FUi->BtScan, &QPushButton::clicked, this, &TFrManager::BtScanClick);
    connect(FUi->BtCounter, &QPushButton::clicked, this, &TFrManager::BtCounterClick);
    connect(FUi->BtReplace, &QPushButton::clicked, this, &TFrManager::BtReplaceClick);
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrManager::BtClearClick);
    // Ok carries the cancel result.
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::reject);
    connect(FModel, &QStandardItemModel::itemChanged, this, [this] { UpdateInfo(); });
    connect(FUi->clb, &QAbstractItemView::clicked, this, [this](const QModelIndex& Index) { ItemClicked(Index.row()); });
    connect(FUi->EdPkg, &QComboBox::editTextChanged, this, &TFrManager::SearchChanged);
    connect(FUi->EdId, &QLineEdit::textChanged, this, &TFrManager::SearchChanged);
}

TFrManager::~TFrManager()
{
    KvSaveResizeInfoDesigner(this);
}

void TFrManager::Prepare(TKvDlgManager Kind, const QString& PkgName, const QString& Id)
{
    FModeScan = TKvModeScan::msnNone;
    FTypeDlg = Kind;
    setWindowTitle(QStringLiteral("Packages Manager (%1)").arg(KvDlgManagerName(Kind)));
    FDirectAssign = true;
    if (!KvIsPkgKind(Kind)) {
        FUi->Label4->hide();
        FUi->EdPkg->hide();
        if (Kind != TKvDlgManager::dlmPrivileges)
            FUi->Label1->setText(QStringLiteral("Name:"));
        FUi->Label1->move(4, FUi->Label4->y());
        FUi->EdId->move(FUi->Label1->geometry().right() + 1 + 2, FUi->EdPkg->y());
        const int height = 2 * FUi->EdId->y() + FUi->EdId->height();
        FUi->PnTop->setMinimumHeight(height);
        FUi->PnTop->setMaximumHeight(height);
    } else {
        QStringList names = Kind == TKvDlgManager::dlmImages ? KvPkgImagesActives() : KvPkgStringsActives();
        names.sort(Qt::CaseInsensitive);
        FUi->EdPkg->addItems(names);
    }
    FUi->EdPkg->setEditText(PkgName);
    FUi->EdId->setText(Id);
    FDirectAssign = false;
    AdjustComponents();
    UpdateInfo();
}

void TFrManager::Execute(TKvDlgManager Kind, const QString& PkgName, const QString& Id)
{
    Prepare(Kind, PkgName, Id);
    exec();
}

void TFrManager::showEvent(QShowEvent* Event)
{
    KvRestoreResizeInfoDesigner(this);
    QDialog::showEvent(Event);
}

void TFrManager::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    AdjustComponents();
}

// The id box reaches 4 pixels short of the top panel's right edge; the buttons stand on the
// bottom of their panel, Ok lowest, with gaps of a fifth or a half of a button's height.
void TFrManager::AdjustComponents()
{
    const int right = FUi->PnTop->width() - 4;
    FUi->EdId->resize(std::max(40, right - FUi->EdId->x()), FUi->EdId->height());
    FUi->EdPkg->resize(std::max(40, right - FUi->EdPkg->x()), FUi->EdPkg->height());
    const int h = FUi->BtOk->sizeHint().height();
    const int d = h / 5, e = h / 2;
    const int w = FUi->PnButtons->width();
    int y = FUi->PnButtons->height() - d - h;
    const auto place = [&](QPushButton* Button, int Gap) {
        Button->setGeometry(0, y, w, h);
        y -= Gap + h;
    };
    place(FUi->BtOk, e);
    place(FUi->BtClear, d);
    place(FUi->BtReplace, e);
    place(FUi->BtCounter, d);
    place(FUi->BtScan, 0);
}

void TFrManager::UpdateInfo()
{
    int checked = 0;
    for (int i = 0; i < FModel->rowCount(); ++i)
        checked += FModel->item(i)->checkState() == Qt::Checked;
    FUi->BtReplace->setEnabled(checked > 0 && FModeScan == TKvModeScan::msnScan);
    FUi->BtClear->setEnabled(checked >= 1);
    FUi->sb->showMessage(FModeScan == TKvModeScan::msnNone
                             ? QString()
                             : QStringLiteral("Found: %1 Selected: %2").arg(FModel->rowCount()).arg(checked));
}

void TFrManager::ClearListBox()
{
    FModel->clear();
    FScans.clear();
    FCounts.clear();
    FModeScan = TKvModeScan::msnNone;
}

// Any change of the search key empties the results, unless the window writes the key itself.
void TFrManager::SearchChanged()
{
    if (FDirectAssign)
        return;
    ClearListBox();
    UpdateInfo();
}

// After a count, a click puts the item into the search key, for a Scan of it.
void TFrManager::ItemClicked(int Row)
{
    if (FModeScan != TKvModeScan::msnCounter || Row < 0 || Row >= FModel->rowCount())
        return;
    const TKvTokenRec2& rec = FCounts[FModel->item(Row)->data(RecordRole).toInt()];
    FDirectAssign = true;
    if (KvIsPkgKind(FTypeDlg))
        FUi->EdPkg->setEditText(Unquoted(rec.PkgName));
    FUi->EdId->setText(KvIsSetKind(FTypeDlg) ? Unquoted(rec.NameId) : rec.NameId);
    FDirectAssign = false;
    UpdateInfo();
}

void TFrManager::Fill()
{
    FModel->clear();
    const auto add = [this](const QString& Text, int Record, bool Checked) {
        auto* item = new QStandardItem(Text);
        item->setCheckable(true);
        item->setEditable(false);
        item->setCheckState(Checked ? Qt::Checked : Qt::Unchecked);
        item->setData(Record, RecordRole);
        FModel->appendRow(item);
    };
    if (FModeScan == TKvModeScan::msnScan) {
        for (int i = 0; i < FScans.size(); ++i)
            add(KvLineString(FScans[i]), i, true);
        return;
    }
    // Sorted by text: every text starts with the zero-padded count, so the least used come first.
    QList<QPair<QString, int>> rows;
    for (int i = 0; i < FCounts.size(); ++i)
        rows.append({KvCounterString(FTypeDlg, FCounts[i]), i});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [text, i] : rows)
        add(text, i, FCounts[i].Counter == 0);
}

QString TFrManager::SearchPkg() const
{
    return KvIsPkgKind(FTypeDlg) ? FUi->EdPkg->currentText().trimmed() : QString();
}

QList<TKvTokenRec1> TFrManager::CheckedScans() const
{
    QList<TKvTokenRec1> records;
    for (int i = 0; i < FModel->rowCount(); ++i)
        if (FModel->item(i)->checkState() == Qt::Checked)
            records.append(FScans[FModel->item(i)->data(RecordRole).toInt()]);
    return records;
}

void TFrManager::BtScanClick()
{
    const QString id = FUi->EdId->text().trimmed();
    if (id.isEmpty())
        return;
    SetWindowProgress(this, true, QStringLiteral("Scanning"));
    ClearListBox();
    FModeScan = TKvModeScan::msnScan;
    FUi->sb->showMessage(QStringLiteral("Scanning"));
    try {
        QStringList files;
        KvGetFormNames(files);
        TKvManagerProgressFeedback feedback;
        TKvManagerScanner scanner(FTypeDlg);
        FScans = scanner.Scan(files, SearchPkg(), id, feedback);
    } catch (const Exception& e) {
        SetWindowProgress(this, false);
        Fill();
        UpdateInfo();
        KvMsg(KvMsgError, e.Message, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    SetWindowProgress(this, false);
    Fill();
    UpdateInfo();
}

void TFrManager::BtCounterClick()
{
    QStringList packages;
    if (KvIsPkgKind(FTypeDlg)) {
        TFrManagerPkgs select(this);
        select.SetPackages(FTypeDlg == TKvDlgManager::dlmImages ? KvPkgImagesActives() : KvPkgStringsActives());
        if (select.exec() != QDialog::Accepted)
            return;
        packages = select.Checked();
    }
    SetWindowProgress(this, true, QStringLiteral("Counting"));
    ClearListBox();
    FModeScan = TKvModeScan::msnCounter;
    FUi->sb->showMessage(QStringLiteral("Counting"));
    QString error;
    bool cancelled = false;
    try {
        QStringList files;
        KvGetFormNames(files);
        TKvManagerProgressFeedback feedback;
        TKvManagerScanner scanner(FTypeDlg);
        FCounts = scanner.Count(files, packages, feedback);
        cancelled = scanner.Cancelled();
    } catch (const Exception& e) {
        error = e.Message;
        cancelled = true;
    }
    SetWindowProgress(this, false);
    Fill();
    // After a cancelled count nothing is checked, so that a Clear never deletes an item in use.
    if (cancelled)
        for (int i = 0; i < FModel->rowCount(); ++i)
            FModel->item(i)->setCheckState(Qt::Unchecked);
    UpdateInfo();
    if (!error.isEmpty())
        KvMsg(KvMsgError, error, {KvBtnAccept}, KvBtnAccept);
}

void TFrManager::ReportNotChanged(int Count)
{
    if (Count > 0)
        KvMsgArgs(KvMsgNotice,
                  QStringLiteral("Unable to modified %s ") + (Count == 1 ? QStringLiteral("line") : QStringLiteral("lines")),
                  {QString::number(Count)}, {KvBtnAccept}, KvBtnAccept);
}

void TFrManager::BtReplaceClick()
{
    if (FModeScan != TKvModeScan::msnScan)
        return;
    TFrManagerRepl replace(this);
    replace.Prepare(KvIsPkgKind(FTypeDlg),
                    FTypeDlg == TKvDlgManager::dlmImages ? KvPkgImagesActives() : KvPkgStringsActives(),
                    FUi->EdPkg->currentText(), FUi->EdId->text());
    if (replace.exec() != QDialog::Accepted)
        return;
    try {
        if (!KvIsSetKind(FTypeDlg)) {
            bool ok = false;
            replace.Value().toInt(&ok);
            if (!ok)
                throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(replace.Value()));
        }
        SetWindowProgress(this, true, QStringLiteral("Replacing"));
        TKvManagerProgressFeedback feedback;
        TKvManagerScanner scanner(FTypeDlg);
        const int notChanged = scanner.Replace(CheckedScans(), replace.PkgName(), replace.Value(), feedback);
        SetWindowProgress(this, false);
        ReportNotChanged(notChanged);
    } catch (const Exception& e) {
        SetWindowProgress(this, false);
        KvMsg(KvMsgError, e.Message, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    ClearListBox();
    UpdateInfo();
}

void TFrManager::BtClearClick()
{
    if (KvMsg(KvMsgQuestion, QStringLiteral("\u00BFDo you wish to clear the definition of these elements?"),
              {KvBtnYes, KvBtnNo}, KvBtnYes)
        != KvBtnYes)
        return;
    if (FModeScan == TKvModeScan::msnScan) {
        if (FModel->rowCount() > 0) {
            SetWindowProgress(this, true, QStringLiteral("Cleaning"));
            int notChanged = 0;
            QString error;
            try {
                TKvManagerProgressFeedback feedback;
                TKvManagerScanner scanner(FTypeDlg);
                notChanged = scanner.Clear(CheckedScans(), feedback);
            } catch (const Exception& e) {
                error = e.Message;
            }
            SetWindowProgress(this, false);
            if (!error.isEmpty())
                KvMsg(KvMsgError, error, {KvBtnAccept}, KvBtnAccept);
            ReportNotChanged(notChanged);
        }
    } else {
        ClearLinesCounter();
    }
    ClearListBox();
    UpdateInfo();
}

// Deletes the checked items through the window that opened the manager, so that its list
// follows; an owner of the right class that edits another package has the item destroyed
// directly, an owner of another class leaves it alone.
void TFrManager::ClearLinesCounter()
{
    if (FModel->rowCount() == 0)
        return;
    SetWindowProgress(this, true, QStringLiteral("Cleaning"));
    TKvManagerProgressFeedback feedback;
    feedback.Start(FModel->rowCount());
    QObject* owner = parent();
    for (int row = 0; row < FModel->rowCount(); ++row) {
        if (FModel->item(row)->checkState() == Qt::Checked) {
            const TKvTokenRec2& rec = FCounts[FModel->item(row)->data(RecordRole).toInt()];
            const QString pkgName = Unquoted(rec.PkgName);
            bool ok = false;
            const int id = rec.NameId.toInt(&ok);
            if (FTypeDlg == TKvDlgManager::dlmImages && ok) {
                TKvPkgImages* pkg = KvFindPkgImages(pkgName);
                TKvPkgImagesImage* image = pkg ? pkg->Images()->FindId(id) : nullptr;
                const auto same = [&](TKvPkgImages* Edited) {
                    return Edited && Edited->PkgName().compare(pkgName, Qt::CaseInsensitive) == 0;
                };
                auto* editor = qobject_cast<TFrPkgImages*>(owner);
                auto* picker = qobject_cast<TFrMemoryImage*>(owner);
                if (image && editor && same(editor->PkgImages))
                    editor->DeleteItem(image);
                else if (image && picker && same(picker->Pkg()))
                    picker->DeleteItem(image);
                else if (image && (editor || picker))
                    pkg->Images()->Delete(pkg->Images()->IndexOf(image));
            } else if (KvIsPkgKind(FTypeDlg) && ok) {
                TKvPkgStrings* pkg = KvFindPkgStrings(pkgName);
                TKvPkgItems* list = !pkg ? nullptr
                    : FTypeDlg == TKvDlgManager::dlmLabels ? static_cast<TKvPkgItems*>(pkg->Labels())
                    : FTypeDlg == TKvDlgManager::dlmTexts  ? static_cast<TKvPkgItems*>(pkg->Texts())
                                                           : static_cast<TKvPkgItems*>(pkg->Messages());
                TKvPkgStringsItem* item = !pkg ? nullptr
                    : FTypeDlg == TKvDlgManager::dlmLabels ? static_cast<TKvPkgStringsItem*>(pkg->Labels()->FindId(id))
                    : FTypeDlg == TKvDlgManager::dlmTexts  ? static_cast<TKvPkgStringsItem*>(pkg->Texts()->FindId(id))
                                                           : static_cast<TKvPkgStringsItem*>(pkg->Messages()->FindId(id));
                const auto same = [&](TKvPkgStrings* Edited) {
                    return Edited && Edited->PkgName().compare(pkgName, Qt::CaseInsensitive) == 0;
                };
                auto* editor = qobject_cast<TFrPkgStrings*>(owner);
                // A picker of the kind counted.
                auto* picker = (FTypeDlg == TKvDlgManager::dlmLabels && qobject_cast<TFrMemoryLabel*>(owner))
                        || (FTypeDlg == TKvDlgManager::dlmTexts && qobject_cast<TFrMemoryText*>(owner))
                        || (FTypeDlg == TKvDlgManager::dlmMessages && qobject_cast<TFrMemoryMessage*>(owner))
                    ? static_cast<TKvStringsPicker*>(owner)
                    : nullptr;
                if (item && editor && same(editor->PkgStrings)) {
                    if (FTypeDlg == TKvDlgManager::dlmLabels)
                        editor->DeleteLabel(item);
                    else if (FTypeDlg == TKvDlgManager::dlmTexts)
                        editor->DeleteText(item);
                    else
                        editor->DeleteMessage(item);
                } else if (item && picker && same(picker->Pkg())) {
                    picker->DeleteItem(item);
                } else if (item && (editor || picker)) {
                    list->Delete(list->IndexOf(item));
                }
            } else if (FTypeDlg == TKvDlgManager::dlmPrivileges && ok) {
                auto* window = dynamic_cast<IKvPrivilegesOwner*>(owner);
                TKvCApplication* app = KvCApp();
                if (window && app)
                    if (TKvPkgPrivilegesItem* privilege = app->Privileges()->FindId(id))
                        window->DeleteItem(privilege);
            } else if (KvIsSetKind(FTypeDlg)) {
                // Sets are deleted only through a set window of the kind counted, so that its
                // list follows.
                auto* window = qobject_cast<TKvSetsWindow*>(owner);
                const TKvSetKind kind = FTypeDlg == TKvDlgManager::dlmSetsColor ? TKvSetKind::Color
                    : FTypeDlg == TKvDlgManager::dlmSetsFont                    ? TKvSetKind::Font
                                                                                : TKvSetKind::BackGround;
                if (window && window->Kind() == kind)
                    if (TKvDisplaySet* set = KvFindSet(kind, window->Pkg(), Unquoted(rec.NameId)))
                        window->DeleteItem(set);
            }
        }
        if (!feedback.Advance(1))
            break;
    }
    SetWindowProgress(this, false);
}

TKvDlgManager KvManagerKindOf(TKvStringsKind Kind)
{
    switch (Kind) {
    case TKvStringsKind::Messages:
        return TKvDlgManager::dlmMessages;
    case TKvStringsKind::Texts:
        return TKvDlgManager::dlmTexts;
    case TKvStringsKind::Labels:
        break;
    }
    return TKvDlgManager::dlmLabels;
}

void KvShowManager(QWidget* Owner, TKvDlgManager Kind, const QString& PkgName, const QString& Id)
{
    TFrManager manager(Owner);
    manager.Execute(Kind, PkgName, Id);
}

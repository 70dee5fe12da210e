#include "KvPrivilegesList.h"

#include "KvApplication.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgStrings.h"
#include "KvUtils.h"
#include "strings/KvStringsList.h"

#include <QPainter>

#include <algorithm>

QString KvPrivilegesStatus(int Count)
{
    return QString::number(Count) + (Count == 1 ? QStringLiteral(" Privilege") : QStringLiteral(" Privileges"));
}

QString KvPrivilegeDescription(const TKvPkgPrivilegesItem* Item)
{
    if (Item->DescriptionId() >= 0)
        if (const TKvPkgStrings* Pkg = KvFindPkgStrings(Item->DescriptionPkgName()))
            if (const TKvPkgStringsLabel* Label = Pkg->Labels()->FindId(Item->DescriptionId()))
                return Label->Text();
    return Item->Description();
}

QString KvPrivilegesFileFilter(const TKvPkgPrivileges* Pkg)
{
    const QString P = QLatin1Char('*') + KvAddPointExt(Pkg ? Pkg->DefaultExt() : QStringLiteral("kvacc"));
    return QStringLiteral("Package Privileges (") + P + QStringLiteral(")|") + P +
           QStringLiteral("|All files (*.*)|*.*");
}

QString KvPrivilegesTemplateFilter()
{
    return QStringLiteral("Files Privileges (*.pri)|*.pri|All files (*.*)|*.*");
}

TPersistent* KvPrivilegesModifiedTarget(TKvPkgPrivileges* Pkg)
{
    if (!Pkg)
        return nullptr;
    if (auto* App = qobject_cast<TKvCApplication*>(Pkg->Owner()))
        return App;
    return Pkg;
}

TKvPkgPrivilegesItem* KvStorePrivilege(TKvPkgPrivileges* Pkg, bool Modify, const QString& IdOld, const QString& IdText,
                                       const QString& Description, const QString& LabelPkgName, int LabelId,
                                       int Access, bool Visible)
{
    if (!Pkg)
        KvExcept(QStringLiteral("No privileges package"));
    TKvScreenUpdate Busy;
    // An id kept as it was may lie above what can be typed.
    bool Kept = false;
    int Id = Modify && IdText.trimmed() == IdOld.trimmed() ? IdOld.toInt(&Kept) : 0;
    if (!Kept)
        Id = KvStrToId(IdText.trimmed());
    TKvPkgPrivilegesItem* Item = nullptr;
    if (Modify) {
        bool Ok = false;
        const int Old = IdOld.toInt(&Ok);
        Item = Ok ? Pkg->FindId(Old) : nullptr;
        if (!Item)
            throw EKvPkgError(QStringLiteral("Privilege %1 not found").arg(IdOld));
    }
    Pkg->Items()->CheckId(Id, Item);
    if (Access < TKvPkgPrivilegesItem::AccessNone || Access > TKvPkgPrivilegesItem::AccessReadWrite)
        throw EKvPkgError(QStringLiteral("Access %1 is not valid").arg(Access));
    const int StoredLabel = std::max(LabelId, -1);
    if (Item)
        Item->SetId(Id);
    else
        Item = Pkg->Add(Id);
    if (LabelId < 0)
        Item->SetDescription(Description);
    Item->SetDescriptionId(StoredLabel < 0 ? QString() : LabelPkgName, StoredLabel);
    Item->SetAccess(Access);
    Item->SetVisible(Visible);
    return Item;
}

// ---------------------------------------------------------------------------------------------

void TKvPrivilegesModel::Fill(const TKvPkgPrivileges* Pkg, const QString& Filter)
{
    beginResetModel();
    FRows.clear();
    if (Pkg) {
        const QString Text = Filter.trimmed();
        FRows.reserve(size_t(Pkg->Count()));
        for (int I = 0; I < Pkg->Count(); ++I) {
            TKvPkgPrivilegesItem* Item = Pkg->GetItems(I);
            if (Text.isEmpty() || KvPrivilegeDescription(Item).contains(Text, Qt::CaseInsensitive))
                FRows.push_back(Item);
        }
        std::sort(FRows.begin(), FRows.end(),
                  [](const TKvPkgPrivilegesItem* A, const TKvPkgPrivilegesItem* B) { return A->Id() < B->Id(); });
    }
    endResetModel();
}

void TKvPrivilegesModel::Clear()
{
    Fill(nullptr, QString());
}

TKvPkgPrivilegesItem* TKvPrivilegesModel::Item(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FRows[size_t(Row)] : nullptr;
}

int TKvPrivilegesModel::RowOf(const TKvPkgPrivilegesItem* Item) const
{
    const auto It = std::find(FRows.begin(), FRows.end(), Item);
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

void TKvPrivilegesModel::Remove(int Row)
{
    if (!Item(Row))
        return;
    beginRemoveRows({}, Row, Row);
    FRows.erase(FRows.begin() + Row);
    endRemoveRows();
}

void TKvPrivilegesModel::RowChanged(int Row)
{
    if (Item(Row))
        emit dataChanged(index(Row), index(Row));
}

int TKvPrivilegesModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FRows.size());
}

QVariant TKvPrivilegesModel::data(const QModelIndex& Index, int Role) const
{
    TKvPkgPrivilegesItem* Row = Item(Index.row());
    if (!Row)
        return {};
    if (Role == ItemRole)
        return QVariant::fromValue(static_cast<void*>(Row));
    if (Role == Qt::DisplayRole)
        return QString::number(Row->Id()) + QLatin1Char(' ') + KvPrivilegeDescription(Row);
    return {};
}

// ---------------------------------------------------------------------------------------------

int TKvPrivilegesDelegate::DescriptionX(const QFontMetrics& Fm)
{
    return Fm.horizontalAdvance(QStringLiteral("9999")) + 2 * Fm.horizontalAdvance(QLatin1Char('9')) + 2;
}

int TKvPrivilegesDelegate::AccessX(const QFontMetrics& Fm, int Width)
{
    return Width - Fm.horizontalAdvance(QStringLiteral("Read/Write")) - Fm.horizontalAdvance(QLatin1Char('V')) -
           Fm.horizontalAdvance(QStringLiteral("99999")) - 4;
}

int TKvPrivilegesDelegate::VisibleX(const QFontMetrics& Fm, int Width)
{
    return Width - Fm.horizontalAdvance(QLatin1Char('V')) - 4;
}

void TKvPrivilegesDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    auto* Item = static_cast<TKvPkgPrivilegesItem*>(Index.data(TKvPrivilegesModel::ItemRole).value<void*>());
    if (!Item)
        return;
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Pal = Option.palette;
    const QColor Normal = Selected ? Pal.color(QPalette::HighlightedText) : Pal.color(QPalette::Text);
    Painter->save();
    const QRect R = Option.rect;
    Painter->fillRect(R, Selected ? Pal.color(QPalette::Highlight) : Pal.color(QPalette::Base));
    Painter->setFont(Option.font);
    Painter->setPen(Normal);
    const QFontMetrics& Fm = Option.fontMetrics;
    const int Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const int Width = R.width();
    const int DescX = R.left() + DescriptionX(Fm);
    const int AccX = R.left() + AccessX(Fm, Width);
    const int VisX = R.left() + VisibleX(Fm, Width);
    Painter->drawText(QRect(R.left() + 2, R.top(), DescX - R.left() - 2, R.height()), Flags,
                      QString::number(Item->Id()));
    Painter->drawText(QRect(DescX, R.top(), std::max(0, AccX - DescX - 2), R.height()), Flags,
                      KvPrivilegeDescription(Item));

    static const QColor AccessColors[] = {Qt::red, Qt::darkCyan, Qt::blue};
    const int Access = std::clamp(Item->Access(), 0, 2);
    Painter->setPen(Selected ? Normal : AccessColors[Access]);
    Painter->drawText(QRect(AccX + 4, R.top(), std::max(0, VisX - AccX - 4), R.height()), Flags, KvAccessText(Access));
    if (Item->Visible()) {
        Painter->setPen(Selected ? Normal : QColor(Qt::blue));
        Painter->drawText(QRect(VisX + 2, R.top(), R.right() - VisX - 1, R.height()), Flags, QStringLiteral("V"));
    }
    Painter->restore();
}

// ---------------------------------------------------------------------------------------------

TKvPrivilegesListView::TKvPrivilegesListView(QWidget* Parent)
    : TKvRowListView(Parent), FDelegate(new TKvPrivilegesDelegate(this))
{
    SetRowDelegate(FDelegate);
}

void TKvPrivilegesListView::paintEvent(QPaintEvent* Event)
{
    QListView::paintEvent(Event);
    QPainter Painter(viewport());
    const QFontMetrics Fm(font());
    const int Width = viewport()->width();
    const int Height = viewport()->height();
    KvDrawListRule(Painter, palette(), TKvPrivilegesDelegate::DescriptionX(Fm) - 4, Height);
    KvDrawListRule(Painter, palette(), TKvPrivilegesDelegate::AccessX(Fm, Width), Height);
    KvDrawListRule(Painter, palette(), TKvPrivilegesDelegate::VisibleX(Fm, Width), Height);
}

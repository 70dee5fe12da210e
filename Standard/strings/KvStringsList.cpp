#include "KvStringsList.h"

#include "KvPkgStrings.h"

#include <QCollator>
#include <QPainter>

#include <algorithm>

namespace {

const QCollator& TextCollator()
{
    static const QCollator Collator = [] {
        QCollator C;
        C.setCaseSensitivity(Qt::CaseInsensitive);
        return C;
    }();
    return Collator;
}

template <class TList>
void CollectItems(const TList* List, std::vector<TKvPkgStringsItem*>& Rows, const QString& Filter)
{
    const bool All = Filter.trimmed().isEmpty();
    const int Count = List->Count();
    Rows.reserve(size_t(Count));
    for (int I = 0; I < Count; ++I) {
        auto* Item = List->GetItems(I);
        if (All || Item->Text().contains(Filter, Qt::CaseInsensitive))
            Rows.push_back(Item);
    }
}

void SortById(std::vector<TKvPkgStringsItem*>& Rows)
{
    std::sort(Rows.begin(), Rows.end(),
              [](const TKvPkgStringsItem* A, const TKvPkgStringsItem* B) { return A->Id() < B->Id(); });
}

} // namespace

QString KvStringsNoun(TKvStringsKind Kind, int Count)
{
    static const char* const Nouns[3][2] = {{"Label", "Labels"}, {"Message", "Messages"}, {"Text", "Texts"}};
    return QString::fromLatin1(Nouns[int(Kind)][Count == 1 ? 0 : 1]);
}

int KvStringsCount(TKvStringsKind Kind, const TKvPkgStrings* Pkg)
{
    if (!Pkg)
        return 0;
    switch (Kind) {
    case TKvStringsKind::Labels: return Pkg->Labels()->Count();
    case TKvStringsKind::Messages: return Pkg->Messages()->Count();
    case TKvStringsKind::Texts: return Pkg->Texts()->Count();
    }
    return 0;
}

QString KvStringsStatus(TKvStringsKind Kind, const TKvPkgStrings* Pkg)
{
    if (!Pkg)
        return QStringLiteral("Package Unknown");
    const int Count = KvStringsCount(Kind, Pkg);
    return QString::number(Count) + QLatin1Char(' ') + KvStringsNoun(Kind, Count);
}

TKvPkgStringsItem* KvStringsFindId(TKvStringsKind Kind, const TKvPkgStrings* Pkg, int Id)
{
    if (!Pkg)
        return nullptr;
    switch (Kind) {
    case TKvStringsKind::Labels: return Pkg->Labels()->FindId(Id);
    case TKvStringsKind::Messages: return Pkg->Messages()->FindId(Id);
    case TKvStringsKind::Texts: return Pkg->Texts()->FindId(Id);
    }
    return nullptr;
}

bool KvIsSystemPkgName(const QString& Name)
{
    return Name.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0;
}

int KvStringsProtectAll(TKvStringsKind Kind, TKvPkgStrings* Pkg, bool Value)
{
    if (!Pkg)
        return 0;
    auto Apply = [Value](auto* List) {
        int Changed = 0;
        for (int I = 0; I < List->Count(); ++I) {
            auto* Item = List->GetItems(I);
            if (Item->Protected() != Value) {
                Item->SetProtected(Value);
                ++Changed;
            }
        }
        return Changed;
    };
    switch (Kind) {
    case TKvStringsKind::Labels: return Apply(Pkg->Labels());
    case TKvStringsKind::Messages: return Apply(Pkg->Messages());
    case TKvStringsKind::Texts: return Apply(Pkg->Texts());
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------

TKvStringsModel::TKvStringsModel(TKvStringsKind Kind, QObject* Parent) : QAbstractListModel(Parent), FKind(Kind) {}

QCollatorSortKey TKvStringsModel::KeyOf(const QString& Text) const
{
    // Folded first: without a locale the collator may fall back to a case-sensitive order.
    return TextCollator().sortKey(Text.toCaseFolded());
}

void TKvStringsModel::Fill(const TKvPkgStrings* Pkg, bool ByText, const QString& Filter)
{
    beginResetModel();
    FRows.clear();
    FKeys.clear();
    FByText = FKind == TKvStringsKind::Labels && ByText;
    if (Pkg) {
        switch (FKind) {
        case TKvStringsKind::Labels: CollectItems(Pkg->Labels(), FRows, QString()); break;
        case TKvStringsKind::Messages: CollectItems(Pkg->Messages(), FRows, Filter); break;
        case TKvStringsKind::Texts: CollectItems(Pkg->Texts(), FRows, Filter); break;
        }
        if (FByText) {
            std::vector<std::pair<QCollatorSortKey, TKvPkgStringsItem*>> Keyed;
            Keyed.reserve(FRows.size());
            for (TKvPkgStringsItem* Item : FRows)
                Keyed.emplace_back(KeyOf(Item->Text()), Item);
            std::stable_sort(Keyed.begin(), Keyed.end(),
                             [](const auto& A, const auto& B) { return A.first.compare(B.first) < 0; });
            FRows.clear();
            FKeys.reserve(Keyed.size());
            for (auto& [Key, Item] : Keyed) {
                FRows.push_back(Item);
                FKeys.push_back(std::move(Key));
            }
        } else {
            SortById(FRows);
        }
    }
    endResetModel();
}

void TKvStringsModel::Clear()
{
    beginResetModel();
    FRows.clear();
    FKeys.clear();
    endResetModel();
}

int TKvStringsModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FRows.size());
}

QVariant TKvStringsModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= int(FRows.size()))
        return QVariant();
    const TKvPkgStringsItem* Item = FRows[size_t(Index.row())];
    switch (Role) {
    case Qt::DisplayRole: return Item->Text();
    case ItemRole: return QVariant::fromValue(static_cast<void*>(const_cast<TKvPkgStringsItem*>(Item)));
    default: return QVariant();
    }
}

TKvPkgStringsItem* TKvStringsModel::Item(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FRows[size_t(Row)] : nullptr;
}

int TKvStringsModel::RowOf(const TKvPkgStringsItem* Item) const
{
    const auto It = std::find(FRows.begin(), FRows.end(), Item);
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

int TKvStringsModel::Insert(TKvPkgStringsItem* Item)
{
    int Row = int(FRows.size());
    QCollatorSortKey Key = KeyOf(FByText ? Item->Text() : QString());
    if (FByText)
        Row = int(std::upper_bound(FKeys.begin(), FKeys.end(), Key,
                                   [](const QCollatorSortKey& A, const QCollatorSortKey& B) {
                                       return A.compare(B) < 0;
                                   }) -
                  FKeys.begin());
    beginInsertRows(QModelIndex(), Row, Row);
    FRows.insert(FRows.begin() + Row, Item);
    if (FByText)
        FKeys.insert(FKeys.begin() + Row, std::move(Key));
    endInsertRows();
    return Row;
}

void TKvStringsModel::Remove(int Row)
{
    if (Row < 0 || Row >= int(FRows.size()))
        return;
    beginRemoveRows(QModelIndex(), Row, Row);
    FRows.erase(FRows.begin() + Row);
    if (FByText)
        FKeys.erase(FKeys.begin() + Row);
    endRemoveRows();
}

int TKvStringsModel::Update(int Row)
{
    if (Row < 0 || Row >= int(FRows.size()))
        return -1;
    if (!FByText) {
        emit dataChanged(index(Row), index(Row));
        return Row;
    }
    TKvPkgStringsItem* Item = FRows[size_t(Row)];
    Remove(Row);
    return Insert(Item);
}

std::optional<int> TKvStringsModel::SearchLabel(const QString& Text) const
{
    if (FByText) {
        const QCollatorSortKey Key = KeyOf(Text);
        const auto It = std::lower_bound(FKeys.begin(), FKeys.end(), Key,
                                         [](const QCollatorSortKey& A, const QCollatorSortKey& B) {
                                             return A.compare(B) < 0;
                                         });
        if (It == FKeys.end())
            return std::nullopt;
        return int(It - FKeys.begin());
    }
    for (size_t I = 0; I < FRows.size(); ++I)
        if (FRows[I]->Text().startsWith(Text, Qt::CaseInsensitive))
            return int(I);
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------

void TKvStringsDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    auto* Item = static_cast<TKvPkgStringsItem*>(Index.data(TKvStringsModel::ItemRole).value<void*>());
    if (!Item)
        return;
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Pal = Option.palette;
    Painter->save();
    Painter->fillRect(Option.rect, Selected ? Pal.color(QPalette::Highlight) : Pal.color(QPalette::Base));
    Painter->setPen(Selected ? Pal.color(QPalette::HighlightedText) : Pal.color(QPalette::Text));
    Painter->setFont(Option.font);
    const QFontMetrics& Fm = Option.fontMetrics;
    QRect R = Option.rect;
    const int Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    Painter->setClipRect(R);
    int X = R.left() + 2;
    Painter->drawText(QRect(X, R.top(), R.right() - X, R.height()), Flags, QString::number(Item->Id()));
    X += Fm.horizontalAdvance(QStringLiteral("9999")) + Fm.horizontalAdvance(QStringLiteral("99"));
    if (FSystem) {
        if (Item->Protected())
            Painter->drawText(QRect(X, R.top(), R.right() - X, R.height()), Flags, QStringLiteral("P"));
        X += Fm.horizontalAdvance(QStringLiteral("P")) + Fm.horizontalAdvance(QStringLiteral("99"));
    }
    // A multi-line message or text shows on one line.
    QString Text = Item->Text();
    Text.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    Painter->drawText(QRect(X, R.top(), R.right() - X, R.height()), Flags, Text);
    Painter->restore();
}

// ---------------------------------------------------------------------------------------------

TKvStringsListView::TKvStringsListView(QWidget* Parent) : TKvRowListView(Parent), FDelegate(new TKvStringsDelegate(this))
{
    SetRowDelegate(FDelegate);
}

void TKvStringsListView::SetSystem(bool Value)
{
    FDelegate->SetSystem(Value);
    viewport()->update();
}

void TKvStringsListView::paintEvent(QPaintEvent* Event)
{
    QListView::paintEvent(Event);
    QPainter Painter(viewport());
    const QFontMetrics Fm(font());
    const int Height = viewport()->height();
    const int X = Fm.horizontalAdvance(QStringLiteral("99999")) + 2;
    KvDrawListRule(Painter, palette(), X, Height);
    if (FDelegate->System())
        KvDrawListRule(Painter, palette(), X + Fm.horizontalAdvance(QStringLiteral("9P9")), Height);
}

#include "KvSetsList.h"
#include "strings/KvStringsList.h"

#include "Colors.h"
#include "KvGraphics.h"
#include "KvPkgDisplay.h"
#include "KvReferences.h"

#include <QCollator>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Folded first: the C locale's collator compares code points and ignores the case setting.
QCollatorSortKey NameKey(const QString& Name)
{
    static const QCollator Collator = [] {
        QCollator C;
        C.setCaseSensitivity(Qt::CaseInsensitive);
        return C;
    }();
    return Collator.sortKey(Name.toCaseFolded());
}

QString OrDots(const QString& Text)
{
    return Text.trimmed().isEmpty() ? QStringLiteral("......") : Text;
}

QColor Rgb(TColor Color)
{
    return QColor::fromRgb(ColorToRGB(Color.Value));
}

// Two one-pixel 3-D frames, raised then sunken; gives the rect inside them.
QRect DrawSwatchFrame(QPainter& P, QRect R, const QPalette& Palette)
{
    const QColor Face = Palette.color(QPalette::Button);
    const QColor Shadow = Palette.color(QPalette::Dark);
    const auto Frame = [&](const QColor& TopLeft, const QColor& BottomRight) {
        P.fillRect(QRect(R.left(), R.top(), R.width(), 1), TopLeft);
        P.fillRect(QRect(R.left(), R.top(), 1, R.height()), TopLeft);
        P.fillRect(QRect(R.left(), R.bottom(), R.width(), 1), BottomRight);
        P.fillRect(QRect(R.right(), R.top(), 1, R.height()), BottomRight);
        R.adjust(1, 1, -1, -1);
    };
    Frame(Face, Shadow);
    Frame(Shadow, Face);
    return R;
}

} // namespace

QImage KvSetImage(const TKvSetBackGroundItem* Set)
{
    if (Set->ImageId() < 0)
        return {};
    TKvMemoryImage Ref;
    Ref.PkgId(Set->ImagePkgName(), Set->ImageId());
    return Ref.Graphic();
}

TKvDisplaySets* KvSetList(TKvSetKind Kind, const TKvPkgDisplay* Pkg)
{
    if (!Pkg)
        return nullptr;
    switch (Kind) {
    case TKvSetKind::Color: return Pkg->SetsColor();
    case TKvSetKind::Font: return Pkg->SetsFont();
    case TKvSetKind::BackGround: return Pkg->SetsBackGround();
    }
    return nullptr;
}

TKvDisplaySet* KvSetAt(TKvSetKind Kind, const TKvPkgDisplay* Pkg, int Index)
{
    switch (Kind) {
    case TKvSetKind::Color: return Pkg->SetsColor()->GetItems(Index);
    case TKvSetKind::Font: return Pkg->SetsFont()->GetItems(Index);
    case TKvSetKind::BackGround: return Pkg->SetsBackGround()->GetItems(Index);
    }
    return nullptr;
}

TKvDisplaySet* KvFindSet(TKvSetKind Kind, const TKvPkgDisplay* Pkg, const QString& Name)
{
    if (!Pkg)
        return nullptr;
    switch (Kind) {
    case TKvSetKind::Color: return Pkg->SetsColor()->Find(Name);
    case TKvSetKind::Font: return Pkg->SetsFont()->Find(Name);
    case TKvSetKind::BackGround: return Pkg->SetsBackGround()->Find(Name);
    }
    return nullptr;
}

TKvDisplaySet* KvAddSet(TKvSetKind Kind, TKvPkgDisplay* Pkg, const QString& Name)
{
    switch (Kind) {
    case TKvSetKind::Color: return Pkg->SetsColor()->Add(Name);
    case TKvSetKind::Font: return Pkg->SetsFont()->Add(Name);
    case TKvSetKind::BackGround: return Pkg->SetsBackGround()->Add(Name);
    }
    return nullptr;
}

QString KvUniqueSetName(TKvSetKind Kind, const TKvPkgDisplay* Pkg)
{
    static const char* const Prefixes[] = {"sc", "sf", "sb"};
    const QString Prefix = QString::fromLatin1(Prefixes[int(Kind)]);
    // The numbers taken, so that a package of many sets is not searched once per candidate.
    std::vector<bool> Taken;
    if (const TKvDisplaySets* List = KvSetList(Kind, Pkg)) {
        Taken.resize(size_t(List->Count()) + 2);
        for (int I = 0; I < List->Count(); ++I) {
            const QString& Name = KvSetAt(Kind, Pkg, I)->Name();
            if (!Name.startsWith(Prefix, Qt::CaseInsensitive))
                continue;
            bool Ok = false;
            const QStringView Digits = QStringView(Name).mid(Prefix.size());
            const qlonglong N = Digits.toLongLong(&Ok);
            // "sc01" is not "sc1": only the number as it would be written counts.
            if (Ok && N > 0 && N < qlonglong(Taken.size()) && Digits == QString::number(N))
                Taken[size_t(N)] = true;
        }
    }
    int N = 1;
    while (size_t(N) < Taken.size() && Taken[size_t(N)])
        ++N;
    return Prefix + QString::number(N);
}

QString KvSetKindName(TKvSetKind Kind)
{
    static const char* const Names[] = {"Color", "Font", "BackGround"};
    return QString::fromLatin1(Names[int(Kind)]);
}

QString KvSetsStatus(TKvSetKind Kind, int Count)
{
    return QString::number(Count) + (Count == 1 ? QStringLiteral(" Set") : QStringLiteral(" Sets"))
        + KvSetKindName(Kind);
}

QString KvSetFirstLine(TKvSetKind Kind, const TKvDisplaySet* Set)
{
    const QString Name = OrDots(Set->Name());
    switch (Kind) {
    case TKvSetKind::Color: {
        const QColor C = Rgb(static_cast<const TKvSetColorItem*>(Set)->Color());
        return Name + QStringLiteral(" (RGB:%1,%2,%3)").arg(C.red()).arg(C.green()).arg(C.blue());
    }
    case TKvSetKind::Font:
        return Name + QStringLiteral(" (Size : %1)").arg(static_cast<const TKvSetFontItem*>(Set)->Font().pointSize());
    case TKvSetKind::BackGround: {
        const int Style = static_cast<const TKvSetBackGroundItem*>(Set)->Style();
        const QString Style3 = KvBackGroundStyleNames().value(Style).mid(3, 50);
        return Name + QStringLiteral(" (") + Style3 + QLatin1Char(')');
    }
    }
    return Name;
}

QString KvSetText(TKvSetKind Kind, const TKvDisplaySet* Set)
{
    return KvSetFirstLine(Kind, Set) + QLatin1Char('\n') + OrDots(Set->Description());
}

int KvFitFontHeight(QFont Font, const QString& Text, int Width, int Height)
{
    for (int H = Height; H > 1; --H) {
        Font.setPixelSize(H);
        if (QFontMetrics(Font).horizontalAdvance(Text) < Width)
            return H;
    }
    return 1;
}

void KvPaintSetSwatch(TKvSetKind Kind, QPainter& P, const QRect& Rect, const TKvDisplaySet* Set,
                      const QPalette& Palette)
{
    const QRect Inside = DrawSwatchFrame(P, Rect, Palette).adjusted(1, 1, -1, -1);
    if (Inside.isEmpty())
        return;
    switch (Kind) {
    case TKvSetKind::Color:
        P.fillRect(Inside, Rgb(static_cast<const TKvSetColorItem*>(Set)->Color()));
        break;
    case TKvSetKind::Font: {
        P.fillRect(Inside, Qt::white);
        QFont Font = static_cast<const TKvSetFontItem*>(Set)->Font();
        const QString Sample = QStringLiteral("Abc");
        Font.setPixelSize(KvFitFontHeight(Font, Sample, Inside.width(), Inside.height()));
        P.save();
        P.setClipRect(Inside);
        P.setFont(Font);
        P.setPen(Qt::black);
        P.drawText(Inside, Qt::AlignCenter | Qt::TextSingleLine, Sample);
        P.restore();
        break;
    }
    case TKvSetKind::BackGround: {
        const auto* B = static_cast<const TKvSetBackGroundItem*>(Set);
        int Style = B->Style();
        // A swatch is too small to place an image: every image style shows it whole.
        if (Style >= bgsImageQuarters && Style <= bgsImageBottomRight)
            Style = bgsImage;
        KvDrawGradient(P, Inside, Style, Rgb(B->StartGraColor()), Rgb(B->EndGraColor()), Rgb(B->SolidColor()),
                       KvSetImage(B), B->Transparent());
        break;
    }
    }
}

// ---------------------------------------------------------------------------------------------

TKvSetsModel::TKvSetsModel(TKvSetKind Kind, QObject* Parent) : QAbstractListModel(Parent), FKind(Kind) {}

void TKvSetsModel::Fill(const TKvPkgDisplay* Pkg)
{
    beginResetModel();
    FRows.clear();
    if (const TKvDisplaySets* List = KvSetList(FKind, Pkg)) {
        FRows.reserve(size_t(List->Count()));
        for (int I = 0; I < List->Count(); ++I) {
            TKvDisplaySet* Set = KvSetAt(FKind, Pkg, I);
            FRows.push_back({Set, NameKey(Set->Name())});
        }
        std::sort(FRows.begin(), FRows.end(), [](const TRow& A, const TRow& B) {
            const int C = A.Key.compare(B.Key);
            return C != 0 ? C < 0 : A.Set->Name() < B.Set->Name();
        });
    }
    endResetModel();
}

void TKvSetsModel::Clear()
{
    beginResetModel();
    FRows.clear();
    endResetModel();
}

int TKvSetsModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FRows.size());
}

QVariant TKvSetsModel::data(const QModelIndex& Index, int Role) const
{
    const TKvDisplaySet* S = Set(Index.row());
    if (!S)
        return {};
    if (Role == Qt::DisplayRole || Role == Qt::AccessibleTextRole)
        return KvSetText(FKind, S);
    if (Role == SetRole)
        return QVariant::fromValue(static_cast<void*>(const_cast<TKvDisplaySet*>(S)));
    return {};
}

TKvDisplaySet* TKvSetsModel::Set(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FRows[size_t(Row)].Set : nullptr;
}

int TKvSetsModel::RowOf(const TKvDisplaySet* Set) const
{
    const auto It = std::find_if(FRows.begin(), FRows.end(), [Set](const TRow& R) { return R.Set == Set; });
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

void TKvSetsModel::Remove(int Row)
{
    if (Row < 0 || Row >= int(FRows.size()))
        return;
    beginRemoveRows(QModelIndex(), Row, Row);
    FRows.erase(FRows.begin() + Row);
    endRemoveRows();
}

void TKvSetsModel::Changed(int Row)
{
    if (Row >= 0 && Row < int(FRows.size()))
        emit dataChanged(index(Row), index(Row));
}

std::optional<int> TKvSetsModel::Search(const QString& Text) const
{
    const QCollatorSortKey Key = NameKey(Text);
    const auto It = std::lower_bound(FRows.begin(), FRows.end(), Key,
                                     [](const TRow& R, const QCollatorSortKey& K) { return R.Key.compare(K) < 0; });
    if (It == FRows.end())
        return std::nullopt;
    return int(It - FRows.begin());
}

// ---------------------------------------------------------------------------------------------

void TKvSetsDelegate::paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    const auto* Set = static_cast<const TKvDisplaySet*>(Index.data(TKvSetsModel::SetRole).value<void*>());
    if (!Set)
        return;
    const QRect R = Option.rect;
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Pal = Option.palette;
    P->save();
    P->fillRect(R, Selected ? Pal.color(QPalette::Highlight) : Pal.color(QPalette::Base));
    const QRect Swatch(R.left(), R.top(), SwatchWidth, R.height());
    KvPaintSetSwatch(FKind, *P, Swatch.adjusted(1, 2, -1, -2), Set, Pal);
    const QRect TextArea(R.left() + SwatchWidth, R.top(), R.width() - SwatchWidth, R.height());
    P->setFont(Option.font);
    P->setPen(Selected ? Pal.color(QPalette::HighlightedText) : Pal.color(QPalette::Text));
    P->setClipRect(TextArea);
    P->drawText(TextArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, KvSetText(FKind, Set));
    P->restore();
}

QSize TKvSetsDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const
{
    return QSize(Option.rect.width(), FRowHeight);
}

TKvSetsListView::TKvSetsListView(QWidget* Parent) : QListView(Parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TKvSetsListView::SetKind(TKvSetKind Kind)
{
    FDelegate = new TKvSetsDelegate(Kind, this);
    setItemDelegate(FDelegate);
}

void TKvSetsListView::CheckItemHeight()
{
    const int Wanted = QFontMetrics(font()).boundingRect(QRect(0, 0, 1000, 1000), 0, QStringLiteral("A\nA")).height();
    if (FDelegate && Wanted > FDelegate->RowHeight()) {
        FDelegate->SetRowHeight(Wanted);
        doItemsLayout();
    }
}

int TKvSetsListView::CurrentRow() const
{
    return KvListViewCurrentRow(this);
}

void TKvSetsListView::SelectRow(int Row)
{
    KvListViewSelectRow(this, Row);
}

// A click below the last row keeps the current set, as the name box still names it.
void TKvSetsListView::mousePressEvent(QMouseEvent* Event)
{
    if (!indexAt(Event->position().toPoint()).isValid()) {
        Event->accept();
        return;
    }
    QListView::mousePressEvent(Event);
}

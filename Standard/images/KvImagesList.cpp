#include "KvImagesList.h"

#include "KvApplication.h"
#include "KvGraphics.h"
#include "KvPkgImages.h"
#include "KvUtils.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

const QColor Teal(0, 128, 128);

} // namespace

QString KvImagesSizeText(qint64 Bytes)
{
    const double N = double(Bytes);
    double Value = N;
    const char* Unit = " Bytes";
    if (N / 1024 >= 1) {
        Value = N / 1024;
        Unit = " KB";
        if (N / 1048576 >= 1) {
            Value = N / 1048576;
            Unit = " MB";
        }
    }
    QString Text = QString::number(std::round(Value * 10) / 10, 'f', 1);
    if (Text.endsWith(QLatin1String(".0")))
        Text.chop(2);
    return QLatin1Char('(') + Text + QLatin1String(Unit) + QLatin1Char(')');
}

QString KvImagesStatus(const TKvPkgImages* Pkg)
{
    if (!Pkg)
        return QStringLiteral("Package Unknown");
    const TKvPkgImagesImages* Images = Pkg->Images();
    qint64 Bytes = 0;
    for (int I = 0; I < Images->Count(); ++I)
        Bytes += Images->GetItems(I)->GetSize();
    const int Count = Images->Count();
    return QString::number(Count) + (Count == 1 ? QStringLiteral(" Image ") : QStringLiteral(" Images ")) +
           KvImagesSizeText(Bytes) + QLatin1Char(' ');
}

bool KvIsSystemImagesName(const QString& Name)
{
    return Name.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0;
}

bool KvImagesValidPkg(const QString& Name)
{
    const TKvCApplication* App = KvCApp();
    if (!App || App->EditSystem())
        return true;
    return !KvIsSystemImagesName(Name);
}

bool KvImagesIsFilePkg(const TKvPkgImages* Pkg)
{
    // A package held by a display package answers with the display package's mode and file.
    return Pkg && Pkg->IsFileBacked();
}

QString KvImagesFileFilter(const TKvPkgImages* Pkg)
{
    const QString P = QLatin1Char('*') + KvAddPointExt(Pkg ? Pkg->DefaultExt() : QStringLiteral("kvimg"));
    return QStringLiteral("Package Images (") + P + QStringLiteral(")|") + P + QStringLiteral("|All files (*.*)|*.*");
}

int KvImagesProtectAll(TKvPkgImages* Pkg, bool Value)
{
    if (!Pkg)
        return 0;
    int Changed = 0;
    for (int I = 0; I < Pkg->Images()->Count(); ++I) {
        TKvPkgImagesImage* Image = Pkg->Images()->GetItems(I);
        if (Image->Protected() != Value) {
            Image->SetProtected(Value);
            ++Changed;
        }
    }
    return Changed;
}

bool KvImagesHasOutline(const TKvPkgImagesImage* Image)
{
    return Image->GetExternalMask() || Image->GetInternalMask();
}

QString KvImagesCellText(const TKvPkgImagesImage* Image, TKvImagesShow Show)
{
    const bool Outline = KvImagesHasOutline(Image);
    const QString Description =
        Image->Empty() ? QStringLiteral("None") : KvFindGraphicDescription(QString::fromLatin1(Image->Format()));
    QString Text = QString::number(Image->Id()) + QLatin1Char('\r') + (Outline ? QLatin1Char('<') : QLatin1Char('(')) +
                   Description + (Outline ? QLatin1Char('>') : QLatin1Char(')'));
    if (Image->Empty())
        return Text;
    Text += QLatin1Char('\r');
    switch (Show) {
    case TKvImagesShow::WidthHeight:
        Text += QStringLiteral("(%1x%2)").arg(Image->Width()).arg(Image->Height());
        break;
    case TKvImagesShow::Size: Text += KvImagesSizeText(Image->GetSize()); break;
    case TKvImagesShow::Protected:
        Text += Image->Protected() ? QStringLiteral("(Protected)") : QStringLiteral("-");
        break;
    }
    return Text;
}

// ---------------------------------------------------------------------------------------------

void TKvImagesModel::Fill(const TKvPkgImages* Pkg)
{
    beginResetModel();
    FRows.clear();
    if (Pkg) {
        const TKvPkgImagesImages* Images = Pkg->Images();
        FRows.reserve(size_t(Images->Count()));
        for (int I = 0; I < Images->Count(); ++I)
            FRows.push_back(Images->GetItems(I));
        std::sort(FRows.begin(), FRows.end(),
                  [](const TKvPkgImagesImage* A, const TKvPkgImagesImage* B) { return A->Id() < B->Id(); });
    }
    endResetModel();
}

void TKvImagesModel::Clear()
{
    beginResetModel();
    FRows.clear();
    endResetModel();
}

int TKvImagesModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : int(FRows.size()); }

QVariant TKvImagesModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= int(FRows.size()))
        return QVariant();
    TKvPkgImagesImage* Image = FRows[size_t(Index.row())];
    switch (Role) {
    case Qt::DisplayRole: return QStringLiteral("*");
    case ItemRole: return QVariant::fromValue(static_cast<void*>(Image));
    default: return QVariant();
    }
}

TKvPkgImagesImage* TKvImagesModel::Item(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FRows[size_t(Row)] : nullptr;
}

int TKvImagesModel::RowOf(const TKvPkgImagesImage* Item) const
{
    const auto It = std::find(FRows.begin(), FRows.end(), Item);
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

void TKvImagesModel::Remove(int Row)
{
    if (Row < 0 || Row >= int(FRows.size()))
        return;
    beginRemoveRows(QModelIndex(), Row, Row);
    FRows.erase(FRows.begin() + Row);
    endRemoveRows();
}

void TKvImagesModel::Refresh(int Row)
{
    if (Row >= 0 && Row < int(FRows.size()))
        emit dataChanged(index(Row), index(Row));
}

// ---------------------------------------------------------------------------------------------

QImage TKvImagesDelegate::Thumbnail(const TKvPkgImagesImage* Image, const QSize& Room) const
{
    TThumb* Thumb = FCache.object(Image);
    if (Thumb && Thumb->Room == Room && Thumb->Data.isSharedWith(Image->Data()))
        return Thumb->Picture;
    QImage Picture = Image->Graphic();
    // Shrunk without smoothing, so that the see-through colour stays exact.
    if (Picture.width() > Room.width() || Picture.height() > Room.height())
        Picture = Picture.scaled(Room, Qt::KeepAspectRatio, Qt::FastTransformation);
    FCache.insert(Image, new TThumb{Image->Data(), Room, Picture});
    return Picture;
}

void TKvImagesDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    auto* Image = static_cast<TKvPkgImagesImage*>(Index.data(TKvImagesModel::ItemRole).value<void*>());
    if (!Image)
        return;
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Pal = Option.palette;
    const QRect R = Option.rect;
    Painter->save();
    Painter->setClipRect(R);
    Painter->fillRect(R, Selected ? Pal.color(QPalette::Highlight) : Pal.color(QPalette::Base));

    // The 3-D frame: light on the top and left, shadow on the bottom and right.
    Painter->setPen(Pal.color(QPalette::Light));
    Painter->drawLine(R.topLeft(), R.topRight());
    Painter->drawLine(R.topLeft(), R.bottomLeft());
    Painter->setPen(Pal.color(QPalette::Dark));
    Painter->drawLine(R.bottomLeft(), R.bottomRight());
    Painter->drawLine(R.topRight(), R.bottomRight());

    QColor TextColor = Selected ? Pal.color(QPalette::HighlightedText) : Pal.color(QPalette::Text);
    if (!Selected && KvImagesHasOutline(Image))
        TextColor = Teal;
    Painter->setPen(TextColor);
    // A smaller font, and at least a quarter of the cell kept for the picture: the description
    // of a format can take several lines of a cell only 64 pixels wide.
    QFont Font = Option.font;
    if (Font.pointSizeF() > 0)
        Font.setPointSizeF(std::max(6.0, Font.pointSizeF() * 0.8));
    Painter->setFont(Font);
    const QString Text = KvImagesCellText(Image, FShow).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const int Flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const int MinPicture = Image->Empty() ? 0 : R.height() / 4;
    const QRect TextRoom = R.adjusted(2, 2, -2, -2 - MinPicture);
    const QRect Measured = Painter->fontMetrics().boundingRect(TextRoom, Flags, Text);
    const int TextBottom = std::min(Measured.bottom(), TextRoom.bottom());
    Painter->save();
    Painter->setClipRect(TextRoom);
    Painter->drawText(TextRoom, Flags, Text);
    Painter->restore();

    if (!Image->Empty()) {
        const QRect PictureRoom(R.left() + 3, TextBottom + 2, R.width() - 6, R.bottom() - TextBottom - 4);
        if (PictureRoom.width() > 0 && PictureRoom.height() > 0)
            KvDrawImage(*Painter, PictureRoom, Thumbnail(Image, PictureRoom.size()), FTransparent, FStretch);
    }
    Painter->restore();
}

QSize TKvImagesDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(FCellWidth, CellHeight);
}

// ---------------------------------------------------------------------------------------------

TKvImagesListView::TKvImagesListView(QWidget* Parent) : TKvPkgListView(Parent), FDelegate(new TKvImagesDelegate(this))
{
    setItemDelegate(FDelegate);
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::Batched);
    setBatchSize(500);
    setSpacing(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int TKvImagesListView::Columns() const
{
    return std::max(1, viewport()->width() / TKvImagesDelegate::MinCellWidth);
}

void TKvImagesListView::AdjustCells()
{
    const int Width = std::max(TKvImagesDelegate::MinCellWidth, viewport()->width() / Columns());
    FDelegate->SetCellWidth(Width);
    setGridSize(QSize(Width, TKvImagesDelegate::CellHeight));
}

void TKvImagesListView::resizeEvent(QResizeEvent* Event)
{
    AdjustCells();
    QListView::resizeEvent(Event);
}

QList<int> TKvImagesListView::SelectedRows() const
{
    QList<int> Rows;
    if (selectionModel())
        for (const QModelIndex& Index : selectionModel()->selectedIndexes())
            Rows << Index.row();
    std::sort(Rows.begin(), Rows.end());
    return Rows;
}

// ---------------------------------------------------------------------------------------------

TKvImagesMenu::TKvImagesMenu(QWidget* Owner, TEntries Entries) : QObject(Owner), FMenu(new QMenu(Owner))
{
    FMenu->setToolTipsVisible(true);
    auto Add = [this](const char* Name, const char* Text) {
        QAction* Action = FMenu->addAction(QString::fromLatin1(Text));
        Action->setObjectName(QLatin1String(Name));
        return Action;
    };
    MnTransparent = Add("MnTransparent", "Transparent");
    MnStretch = Add("MnStretch", "Stretch");
    FMenu->addSeparator();
    MnWH = Add("MnWH", "Show Width/Height");
    MnSize = Add("MnSize", "Show Size (KB)");
    auto* Show = new QActionGroup(this);
    for (QAction* Radio : {MnWH, MnSize})
        Show->addAction(Radio);
    if (Entries != ViewOnly) {
        FSystemOnly << FMenu->addSeparator(); // N3
        MnProtected = Add("MnProtected", "Show Protected");
        Show->addAction(MnProtected);
        FSystemOnly << MnProtected;
        FMenu->addSeparator();
        MnImport = Add("MnImport", "Import Images");
        if (Entries == WithSystemUpdate) {
            FSystemOnly << FMenu->addSeparator(); // N4
            MnUpdateSystemImages = Add("MnUpdateSystemImages", "Update System Images");
            FSystemOnly << MnUpdateSystemImages;
        }
        FSystemOnly << FMenu->addSeparator();
        MnProtectAllImages = Add("MnProtectAllImages", "Protect All Images");
        MnUnprotectAllImages = Add("MnUnprotectAllImages", "Unprotect All Images");
        FSystemOnly << MnProtectAllImages << MnUnprotectAllImages;
    }
    for (QAction* Check : Show->actions())
        Check->setCheckable(true);
    MnTransparent->setCheckable(true);
    MnStretch->setCheckable(true);
    MnWH->setChecked(true);
    connect(MnTransparent, &QAction::toggled, this, &TKvImagesMenu::ViewChanged);
    connect(MnStretch, &QAction::toggled, this, &TKvImagesMenu::ViewChanged);
    connect(Show, &QActionGroup::triggered, this, &TKvImagesMenu::ViewChanged);
}

void TKvImagesMenu::SetPackage(const QString& PkgName)
{
    const bool System = KvIsSystemImagesName(PkgName);
    const TKvCApplication* App = KvCApp();
    const bool SystemEditing = App && App->EditSystem();
    for (QAction* Entry : std::as_const(FSystemOnly))
        Entry->setVisible(System);
    if (MnUpdateSystemImages)
        MnUpdateSystemImages->setEnabled(SystemEditing);
    if (MnProtectAllImages) {
        MnProtectAllImages->setEnabled(SystemEditing);
        MnUnprotectAllImages->setEnabled(SystemEditing);
    }
    if (MnImport)
        MnImport->setEnabled(!System || SystemEditing);
    if (MnProtected && !System && MnProtected->isChecked()) {
        MnWH->setChecked(true);
        emit ViewChanged();
    }
}

void TKvImagesMenu::ApplyTo(TKvImagesListView* List) const
{
    TKvImagesDelegate* Delegate = List->Delegate();
    Delegate->SetTransparent(MnTransparent->isChecked());
    Delegate->SetStretch(MnStretch->isChecked());
    Delegate->SetShow(MnSize->isChecked()                      ? TKvImagesShow::Size
                      : MnProtected && MnProtected->isChecked() ? TKvImagesShow::Protected
                                                                : TKvImagesShow::WidthHeight);
    List->viewport()->update();
}

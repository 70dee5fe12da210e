#pragma once

#include "common/KvPkgListView.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QStyledItemDelegate>

class QAction;
class QMenu;

#include <vector>

class TKvPkgImages;
class TKvPkgImagesImage;

// What the images windows (package editor, picker, import) share: texts, the cell list and
// its drawing.

// "(1023 Bytes)", "(1.5 KB)", "(1 MB)": one decimal at most, "." as decimal point.
QString KvImagesSizeText(qint64 Bytes);
// "3 Images (12.5 KB) "; "Package Unknown" without a package.
QString KvImagesStatus(const TKvPkgImages* Pkg);
// A "System" package may be changed only with the application's system-editing switch on; any
// other package, and every package when there is no application, may be changed.
bool KvImagesValidPkg(const QString& Name);
bool KvIsSystemImagesName(const QString& Name);
// File-backed: init mode FILE with a file name, the display package's when it holds Pkg.
bool KvImagesIsFilePkg(const TKvPkgImages* Pkg);
// The file dialogs' filter: "Package Images (*.kvimg)|*.kvimg|All files (*.*)|*.*".
QString KvImagesFileFilter(const TKvPkgImages* Pkg);
// Sets or clears the protected flag of every image; the number of flags changed.
int KvImagesProtectAll(TKvPkgImages* Pkg, bool Value);

// What the third line of a cell shows.
enum class TKvImagesShow { WidthHeight, Size, Protected };

// The lines of a cell: the id, the description between "<" ">" (with an outline) or "(" ")",
// and, for an image with a picture, its size, bytes or protection.
QString KvImagesCellText(const TKvPkgImagesImage* Image, TKvImagesShow Show);
// A cell's text is teal when the image has an outline.
bool KvImagesHasOutline(const TKvPkgImagesImage* Image);

// The images of a package as rows, by ascending id.
class TKvImagesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { ItemRole = Qt::UserRole + 1 };
    using QAbstractListModel::QAbstractListModel;

    void Fill(const TKvPkgImages* Pkg);
    void Clear();
    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    TKvPkgImagesImage* Item(int Row) const;
    int RowOf(const TKvPkgImagesImage* Item) const;
    void Remove(int Row);
    // Repaints the row after its image changed.
    void Refresh(int Row);

private:
    std::vector<TKvPkgImagesImage*> FRows;
};

// Draws a cell: its text centred at the top and the picture below, in a 3-D frame. Pictures
// are decoded the first time a cell shows and kept, shrunk to the cell, while their data stays
// the same.
class TKvImagesDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int CellHeight = 88;
    static constexpr int MinCellWidth = 64;

    using QStyledItemDelegate::QStyledItemDelegate;

    TKvImagesShow Show() const { return FShow; }
    void SetShow(TKvImagesShow Value) { FShow = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }
    void SetCellWidth(int Value) { FCellWidth = Value; }
    // The decoded pictures held; for tests and the benchmark.
    int CachedCount() const { return FCache.count(); }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    struct TThumb
    {
        QByteArray Data; // shared with the image: the same bytes mean the same picture
        QSize Room;
        QImage Picture;
    };
    QImage Thumbnail(const TKvPkgImagesImage* Image, const QSize& Room) const;

    TKvImagesShow FShow = TKvImagesShow::WidthHeight;
    bool FTransparent = false;
    bool FStretch = false;
    int FCellWidth = MinCellWidth;
    mutable QCache<const TKvPkgImagesImage*, TThumb> FCache{4096};
};

// The cell list: ClientWidth div 64 columns of cells 88 pixels high, filled row by row.
class TKvImagesListView : public TKvPkgListView
{
    Q_OBJECT

public:
    explicit TKvImagesListView(QWidget* Parent = nullptr);

    TKvImagesDelegate* Delegate() const { return FDelegate; }
    int Columns() const;
    // Rows selected, ascending.
    QList<int> SelectedRows() const;

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void AdjustCells();
    TKvImagesDelegate* FDelegate;
};

// The pop-up menu of a cell list: the view options, and, where the window offers them, import
// and the protection entries, which only the "System" package shows.
class TKvImagesMenu : public QObject
{
    Q_OBJECT

public:
    enum TEntries { ViewOnly, WithPackage, WithSystemUpdate };
    TKvImagesMenu(QWidget* Owner, TEntries Entries);

    QMenu* Menu() const { return FMenu; }
    // Shows and enables the entries for a package of that name; "Show Protected" falls back to
    // "Show Width/Height" where it is hidden.
    void SetPackage(const QString& PkgName);
    // Applies the view options to a list and redraws it.
    void ApplyTo(TKvImagesListView* List) const;

    QAction* MnTransparent = nullptr;
    QAction* MnStretch = nullptr;
    QAction* MnWH = nullptr;
    QAction* MnSize = nullptr;
    QAction* MnProtected = nullptr;
    QAction* MnImport = nullptr;
    QAction* MnUpdateSystemImages = nullptr;
    QAction* MnProtectAllImages = nullptr;
    QAction* MnUnprotectAllImages = nullptr;

signals:
    void ViewChanged();

private:
    QMenu* FMenu;
    QList<QAction*> FSystemOnly;
};

#pragma once

#include "common/KvPkgListView.h"

#include <QAbstractListModel>

#include <vector>

class TKvPkgPrivileges;
class TKvPkgPrivilegesItem;
class TPersistent;

// What the privileges editor and the privilege picker decide without a window.

// "1 Privilege", "3 Privileges".
QString KvPrivilegesStatus(int Count);
// What a row shows and the search looks at: the text of the describing label when the privilege
// has one and it is found, else its own description.
QString KvPrivilegeDescription(const TKvPkgPrivilegesItem* Item);
// "Package Privileges (*.kvacc)|*.kvacc|All files (*.*)|*.*".
QString KvPrivilegesFileFilter(const TKvPkgPrivileges* Pkg);
// The templates' filter, "Files Privileges (*.pri)|*.pri|All files (*.*)|*.*".
QString KvPrivilegesTemplateFilter();
// The object the designer is told about: the application when it owns the package.
TPersistent* KvPrivilegesModifiedTarget(TKvPkgPrivileges* Pkg);

// Writes one privilege, the only place where the item dialog's fields are stored. Modify finds
// the privilege of IdOld; otherwise a new one is added. The typed description is stored only
// without a describing label (LabelId below 0). Every check comes before the first change, so
// a refused privilege leaves the package as it was. Raises what the runtime library raises.
TKvPkgPrivilegesItem* KvStorePrivilege(TKvPkgPrivileges* Pkg, bool Modify, const QString& IdOld, const QString& IdText,
                                       const QString& Description, const QString& LabelPkgName, int LabelId,
                                       int Access, bool Visible);

// The rows of the privileges list: those whose description contains the filter (without regard
// to case; all when it is blank), by ascending id.
class TKvPrivilegesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { ItemRole = Qt::UserRole + 1 };

    using QAbstractListModel::QAbstractListModel;

    void Fill(const TKvPkgPrivileges* Pkg, const QString& Filter);
    void Clear();
    TKvPkgPrivilegesItem* Item(int Row) const;
    int RowOf(const TKvPkgPrivilegesItem* Item) const;
    void Remove(int Row);
    void RowChanged(int Row);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;

private:
    std::vector<TKvPkgPrivilegesItem*> FRows;
};

// A row: the id, the description clipped before the access column, the access ("None" red,
// "Read" teal, "Read/Write" blue) and "V" at the right edge for a visible privilege.
class TKvPrivilegesDelegate : public TKvRowDelegate
{
    Q_OBJECT

public:
    using TKvRowDelegate::TKvRowDelegate;

    // Where the description, access and visible columns begin in a row of Width.
    static int DescriptionX(const QFontMetrics& Fm);
    static int AccessX(const QFontMetrics& Fm, int Width);
    static int VisibleX(const QFontMetrics& Fm, int Width);

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
};

// Fixed-height rows with the vertical 3-D rules between the columns.
class TKvPrivilegesListView : public TKvRowListView
{
    Q_OBJECT

public:
    explicit TKvPrivilegesListView(QWidget* Parent = nullptr);

    TKvPrivilegesDelegate* Delegate() const { return FDelegate; }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TKvPrivilegesDelegate* FDelegate;
};

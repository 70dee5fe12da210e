#pragma once

#include "DesignWindows.h"

#include <QAbstractListModel>
#include <QMetaObject>
#include <QPointer>
#include <QSet>
#include <QStyledItemDelegate>

#include <memory>

class TComponent;

namespace Ui {
class TFrPkgActive;
}

enum TKvComponentType { ctPkgStrings, ctPkgImages, ctPkgVars, ctApplications };

// The kind of window a component asks for; false when it is none of the four.
bool KvComponentTypeOf(const TComponent* Component, TKvComponentType& Type);

struct TKvPkgActiveEntry
{
    // The name with its index in the enumeration appended, so that equal names stay distinct
    // and keep their order when sorted.
    QString Key;
    QPointer<TComponent> Object;
};

// The live components of a kind in the order the window lists them: enumeration order, sorted
// by key for the package kinds.
QList<TKvPkgActiveEntry> KvPkgActiveEntries(TKvComponentType Type);
// The line drawn for a component: "Name (Form.Component)" for a package, "Component (Form)"
// for an application; "nil" stands for an owner that is not a form.
QString KvPkgActiveItemText(TKvComponentType Type, const TComponent* Object);

class TKvPkgActiveModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { ObjectRole = Qt::UserRole + 1, ActiveRole };
    using QAbstractListModel::QAbstractListModel;

    void SetEntries(TKvComponentType Type, QList<TKvPkgActiveEntry> Entries);
    TComponent* Object(int Row) const;
    int RowOf(const TComponent* Object) const;

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;

private:
    TKvComponentType FType = ctPkgStrings;
    QList<TKvPkgActiveEntry> FEntries;
    QSet<QString> FShared; // package names listed more than once
};

// Rows of one fixed height, the line 2 pixels from the left edge.
class TKvPkgActiveDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
};

// Lists every package of one kind (or every application component) in the open forms and makes
// the chosen one active. Lives beside the form designer until closed.
class TFrPkgActive : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TFrPkgActive(QWidget* parent = nullptr);
    ~TFrPkgActive() override;

    void Execute(TComponent* Component);
    void UpdateListBox(TComponent* Selected);
    void UpdateInfo();
    void ItemsModified(IDesigner* ADesigner) override;
    void ItemDeleted(IDesigner* ADesigner, TPersistent* Item) override;

    TKvComponentType FType = ctPkgStrings;
    TComponent* Current() const;

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void Activate();
    void MasterMessage(int Code, QObject* Data);

    std::unique_ptr<Ui::TFrPkgActive> ui;
    TKvPkgActiveModel* FModel;
    bool FPlaced = false;
    // Stands for the replaced window procedure: the master message reaches the window while it
    // lives.
    QMetaObject::Connection FWndProcOld;
};

// Shows the single window of Component's kind, creating it when none is open.
TFrPkgActive* KvShowPkgActive(TComponent* Component);

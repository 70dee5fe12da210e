#pragma once

#include "KvPackages.h"

#include <QHash>
#include <QList>

#include <memory>

// Variables packages: a tree of folders and typed variables, each known by its path, the idents
// of its folders joined with "\" (Colors\Dark\Back).

enum TKvPkgVarsItemType { vtBoolean = 0, vtInteger = 1, vtFloat = 2, vtString = 3, vtFolder = 4 };

class TKvPkgVars;

// A folder or a variable. A folder owns its children; destroying an item takes it, with its
// children, out of its folder. Idents are unique (case-insensitive) within a folder.
class TKvPkgVarsItem
{
public:
    ~TKvPkgVarsItem();
    TKvPkgVarsItem(const TKvPkgVarsItem&) = delete;
    TKvPkgVarsItem& operator=(const TKvPkgVarsItem&) = delete;

    const QString& Ident() const { return FIdent; }
    // Raises for an empty ident, one holding "\" and one a sibling already has.
    void SetIdent(const QString& Value);
    TKvPkgVarsItemType GetItemType() const { return FType; }
    // The value restarts as its type's empty value. A folder that holds items stays a folder
    // (raises).
    void SetItemType(TKvPkgVarsItemType Value);
    bool IsFolder() const { return FType == vtFolder; }

    // Each accessor raises when the item is of another type.
    bool GetVBoolean() const;
    void SetVBoolean(bool Value);
    qint32 GetVInteger() const;
    void SetVInteger(qint32 Value);
    double GetVFloat() const;
    // Raises for infinity and NaN.
    void SetVFloat(double Value);
    QString GetVString() const;
    void SetVString(const QString& Value);

    // The value as text: "True" or "False", decimal digits, KvCNumericToStr with Separator, the
    // string itself; empty for a folder. SetValueText takes exactly what ValueText gives, a
    // Boolean in any case, an Integer with a "+" as well; anything else raises EConvertError
    // and leaves the value as it was.
    QString ValueText(QChar Separator = u'.') const;
    void SetValueText(const QString& Text, QChar Separator = u'.');

    TKvPkgVarsItem* Parent() const { return FParent; }
    int Count() const { return int(FItems.size()); }
    TKvPkgVarsItem* Items(int Index) const;
    TKvPkgVarsItem* FirstChild() const { return FItems.isEmpty() ? nullptr : FItems.first(); }
    TKvPkgVarsItem* Next() const;
    // Ident of a child (case-insensitive), or none.
    TKvPkgVarsItem* FindChild(const QString& Ident) const;
    // Its path from the package's top level.
    QString Path() const;
    TKvPkgVars* Pkg() const;

private:
    friend class TKvPkgVars;
    TKvPkgVarsItem(TKvPkgVarsItem* Parent, const QString& Ident, TKvPkgVarsItemType Type);
    void CheckType(TKvPkgVarsItemType Type) const;
    void Changed();
    void AppendChild(TKvPkgVarsItem* Item);
    void DeleteChildren();

    TKvPkgVarsItem* FParent;
    TKvPkgVars* FPkg = nullptr; // the top-level folder's only
    QString FIdent;
    TKvPkgVarsItemType FType;
    bool FBoolean = false;
    qint32 FInteger = 0;
    double FFloat = 0;
    QString FString;
    QList<TKvPkgVarsItem*> FItems;
    // Children by case-folded ident, so that folders of many items load and look up in
    // constant time.
    QHash<QString, TKvPkgVarsItem*> FIndex;
    // Its place among its siblings when last known; Next checks it before trusting it.
    mutable qsizetype FIndexHint = 0;
};

class TKvPkgVars : public TKvPkgInfo
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvPkgVars(TComponent* AOwner = nullptr);
    ~TKvPkgVars() override;

    // The folder of the top level; it has no ident and is not part of any path.
    TKvPkgVarsItem* Root() const { return FRoot.get(); }
    TKvPkgVarsItem* FirstItem() const { return FRoot->FirstChild(); }
    // The item at Path, or none.
    TKvPkgVarsItem* Find(const QString& Path) const;
    // A new item at Path; missing folders on the way are created. Raises when the path is
    // taken, passes through a variable or holds an empty ident.
    TKvPkgVarsItem* Add(const QString& Path, TKvPkgVarsItemType Type);

    QString DefaultExt() const override { return QStringLiteral("kvvar"); }
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("VARS"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    friend class TKvPkgVarsItem;
    std::unique_ptr<TKvPkgVarsItem> FRoot;
};

QString KvReadPkgVarsDescription(const QString& FileName);

// The active variables package of a name (an empty name means "User"), or none.
TKvPkgVars* KvFindPkgVars(const QString& PkgName);
QList<TKvPkgVars*> KvPkgVarsAll();

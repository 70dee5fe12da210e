#pragma once

#include "KvPackages.h"

// Privileges packages: privileges known by id, each with the access it grants, a description
// and a label that describes it.

class TKvPkgPrivilegesItem : public TKvPkgItem
{
public:
    enum { AccessNone = 0, AccessRead = 1, AccessReadWrite = 2 };

    int Access() const { return FAccess; }
    // 0 none, 1 read, 2 read/write; anything else raises.
    void SetAccess(int Value);
    const QString& Description() const { return FDescription; }
    void SetDescription(const QString& Value);
    // The describing label of a strings package; id -1 when none.
    const QString& DescriptionPkgName() const { return FDescriptionPkgName; }
    int DescriptionId() const { return FDescriptionId; }
    // Raises for an id below -1.
    void SetDescriptionId(const QString& PkgName, int Id);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

private:
    friend class TKvPkgPrivilegesItems;
    TKvPkgPrivilegesItem(TKvPkgItems* List, int Id) : TKvPkgItem(List, Id) {}

    int FAccess = AccessReadWrite;
    QString FDescription;
    QString FDescriptionPkgName;
    int FDescriptionId = -1;
    bool FVisible = true;
};

class TKvPkgPrivilegesItems : public TKvPkgItemList<TKvPkgPrivilegesItem>
{
public:
    explicit TKvPkgPrivilegesItems(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Privilege")) {}
    // A new privilege with read/write access.
    TKvPkgPrivilegesItem* Add(int Id);
};

class TKvPkgPrivileges : public TKvPkgInfo
{
    Q_OBJECT

public:
    // The access a privilege grants, as the privilege items hold it.
    enum TKvAccess { acNone = TKvPkgPrivilegesItem::AccessNone, acRead, acReadWrite };
    Q_ENUM(TKvAccess)

    Q_INVOKABLE explicit TKvPkgPrivileges(TComponent* AOwner = nullptr);
    ~TKvPkgPrivileges() override;

    TKvPkgPrivilegesItems* Items() const { return FItems.get(); }
    int Count() const { return FItems->Count(); }
    TKvPkgPrivilegesItem* GetItems(int Index) const { return FItems->GetItems(Index); }
    TKvPkgPrivilegesItem* FindId(int Id) const { return FItems->FindId(Id); }
    int UniqueId() const { return FItems->UniqueId(); }
    TKvPkgPrivilegesItem* Add(int Id) { return FItems->Add(Id); }

    // The key that the running program checks the access files against.
    QString Key() const { return FKey; }
    void SetKey(const QString& Value);
    // Whether a control the user may only read is disabled (rather than read-only).
    bool ReadStateDisableControl() const { return FReadStateDisableControl; }
    void SetReadStateDisableControl(bool Value);

    QString DefaultExt() const override { return QStringLiteral("kvacc"); }
    // Empties the privileges; the key and the read-state switch stay.
    void Clear() override;

    // A template (".pri") carries the privileges alone, without the key and the read-state
    // switch, from one package to another. Loading one replaces the privileges, or nothing when
    // the file is refused, and marks the package modified.
    void LoadTemplateFromFile(const QString& FileName);
    void SaveTemplateToFile(const QString& FileName) const;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("PRIV"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    std::unique_ptr<TKvPkgPrivilegesItems> FItems;
    QString FKey;
    bool FReadStateDisableControl = false;
};

QString KvReadPkgAccessDescription(const QString& FileName);

// The names of the access values as their type declares them ("acNone", "acRead",
// "acReadWrite"), in value order, and the text lists show for one ("None", "Read",
// "Read/Write"); raises for a value out of range.
QStringList KvAccessNames();
QString KvAccessText(int Access);

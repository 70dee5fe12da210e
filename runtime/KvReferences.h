#pragma once

#include "Classes.h"

#include <QImage>

#include <functional>
#include <optional>

// References from a component's properties into packages. They are sub-objects owned by their
// component and stream as its sub-properties ("Caption.PkgName", then "Caption.Id").

class TKvPkgImagesImage;
class TKvPkgStringsLabel;
class TKvPkgStringsMessage;
class TKvPkgStringsText;

// A package name and an item id. Id -1 refers to nothing, -2 to the reference's default item
// (its default package and id, when it has them); any other negative id to nothing either.
class TKvMemoryReference : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)
    Q_PROPERTY(int Id READ Id WRITE SetId)

public:
    static constexpr int IdNone = -1;
    static constexpr int IdDefault = -2;

    // Refers to nothing and has no default.
    explicit TKvMemoryReference(QObject* Owner = nullptr);
    // Has a default and starts referring to it.
    TKvMemoryReference(QObject* Owner, const QString& DefaultPkgName, int DefaultId);

    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value);
    int Id() const { return FId; }
    void SetId(int Value);
    void PkgId(const QString& PkgName, int Id);

    bool HasDefault() const { return FHasDefault; }
    QString DefaultPkgName() const { return FDefaultPkgName; }
    int DefaultId() const { return FDefaultId; }

    // What the reference stands for once -2 is replaced by the default: the package name and
    // an id that is -1 when the reference refers to nothing.
    QString TargetPkgName() const;
    int TargetId() const;

    // Takes package name and id from a reference of the same class; the default stays, as it
    // belongs to the property that owns this reference.
    void Assign(TPersistent* Source) override;

signals:
    void Changed();

private:
    QString FPkgName;
    int FId = IdNone;
    bool FHasDefault = false;
    QString FDefaultPkgName;
    int FDefaultId = IdNone;
};

// Text and hint of a label of a strings package.
class TKvMemoryLabel : public TKvMemoryReference
{
    Q_OBJECT

public:
    using TKvMemoryReference::TKvMemoryReference;
    // The label found through the active strings package of the name, or none.
    TKvPkgStringsLabel* Label() const;
    // Empty when the label is not found.
    QString Text() const;
    QString Hint() const;
};

class TKvMemoryMessage : public TKvMemoryReference
{
    Q_OBJECT

public:
    using TKvMemoryReference::TKvMemoryReference;
    TKvPkgStringsMessage* Message() const;
    QString Text() const;
};

class TKvMemoryText : public TKvMemoryReference
{
    Q_OBJECT

public:
    using TKvMemoryReference::TKvMemoryReference;
    TKvPkgStringsText* Item() const;
    QString Text() const;
};

class TKvMemoryImage : public TKvMemoryReference
{
    Q_OBJECT

public:
    using TKvMemoryReference::TKvMemoryReference;
    TKvPkgImagesImage* Image() const;
    // A null image when the image is not found or holds no picture.
    QImage Graphic() const;
};

// The name of a set of the display package: "<Default>" the default set, empty none. Any
// name is accepted; whether the display package has such a set is looked up when it is used.
// The default set is named by the component that owns the reference, after its kind ("Ed" +
// "BackGround" for an edit); it is not stored with the form, as it belongs to the class.
class TKvSetReference : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)

public:
    static QString DefaultSetName() { return QStringLiteral("<Default>"); }

    explicit TKvSetReference(QObject* Owner = nullptr, const QString& Name = DefaultSetName());

    QString Name() const { return FName; }
    void SetName(const QString& Value);
    // Exactly "<Default>": a set cannot be named so in any case, but only this spelling is the
    // default's.
    bool IsDefault() const { return FName == DefaultSetName(); }
    bool IsNone() const { return FName.isEmpty(); }

    // The set "<Default>" stands for; empty when the component names none.
    QString DefaultSet() const { return DefaultApplies() ? FDefaultSet : QString(); }
    void SetDefaultSet(const QString& Value) { FDefaultSet = Value; }
    virtual bool DefaultApplies() const { return true; }
    // The name of the set to draw with: the default set for "<Default>", else the own name.
    // A set of the display package named like the default set is the one used for "<Default>";
    // without one the drawing falls back to the component's own colour or font.
    QString TargetName() const { return IsDefault() ? DefaultSet() : FName; }

    // Takes the name only; the default stays, as it belongs to the component.
    void Assign(TPersistent* Source) override;

signals:
    void Changed();

private:
    QString FName;
    QString FDefaultSet;
};

class TKvSetColor : public TKvSetReference
{
    Q_OBJECT

public:
    using TKvSetReference::TKvSetReference;
};

// A font reference may have no default: a control whose font is its container's turns it off;
// "<Default>" then stands for no set, and the picker shows and stores it as written.
class TKvSetFont : public TKvSetReference
{
    Q_OBJECT

public:
    using TKvSetReference::TKvSetReference;
    bool DefaultApplies() const override { return FDefaultApplies; }
    void SetDefaultApplies(bool Value) { FDefaultApplies = Value; }

private:
    bool FDefaultApplies = true;
};

class TKvSetBackGround : public TKvSetReference
{
    Q_OBJECT

public:
    using TKvSetReference::TKvSetReference;
};

// Names a component's default sets Prefix + "Color", "Font" and "BackGround"; any may be null.
void KvNameDefaultSets(const QString& Prefix, TKvSetColor* Color, TKvSetFont* Font, TKvSetBackGround* BackGround);

// A privilege's entry in the application's privileges package.
struct TKvPrivilegeInfo
{
    int Id = -1;
    int Access = 2;
    QString Description;
};

// The privileges package answers Info through this lookup; until one is installed every
// privilege has no entry.
using TKvPrivilegeLookup = std::function<std::optional<TKvPrivilegeInfo>(int Id)>;
void KvSetPrivilegeLookup(TKvPrivilegeLookup Lookup);

// A privilege id (negative: none) and the access the component asks for.
class TKvPrivilege : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Id READ Id WRITE SetId)
    Q_PROPERTY(int Access READ Access WRITE SetAccess)

public:
    enum { AccessNone = 0, AccessRead = 1, AccessReadWrite = 2 };

    explicit TKvPrivilege(QObject* Owner = nullptr);

    int Id() const { return FId; }
    void SetId(int Value);
    int Access() const { return FAccess; }
    // 0 none, 1 read, 2 read/write; anything else raises.
    void SetAccess(int Value);
    std::optional<TKvPrivilegeInfo> Info() const;

    void Assign(TPersistent* Source) override;

signals:
    void Changed();

private:
    int FId = -1;
    quint8 FAccess = AccessReadWrite;
};

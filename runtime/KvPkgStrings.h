#pragma once

#include "KvPackages.h"

// Strings packages: labels (text and hint), messages and texts, each known by its id.
// Items are plain objects owned by their list, so that a package of 100,000 items loads fast.

class TKvPkgStringsLabels;
class TKvPkgStringsMessages;
class TKvPkgStringsTexts;

// Id, text and protected flag; a message or a text as it is, the base of a label.
class TKvPkgStringsItem : public TKvPkgItem
{
public:
    const QString& Text() const { return FText; }
    void SetText(const QString& Value);

protected:
    TKvPkgStringsItem(TKvPkgItems* List, int Id, const QString& Text) : TKvPkgItem(List, Id), FText(Text) {}

private:
    QString FText;
};

class TKvPkgStringsLabel : public TKvPkgStringsItem
{
public:
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& Value);

private:
    friend class TKvPkgStringsLabels;
    TKvPkgStringsLabel(TKvPkgItems* List, int Id, const QString& Text, const QString& Hint)
        : TKvPkgStringsItem(List, Id, Text), FHint(Hint)
    {
    }
    QString FHint;
};

class TKvPkgStringsMessage : public TKvPkgStringsItem
{
    friend class TKvPkgStringsMessages;
    using TKvPkgStringsItem::TKvPkgStringsItem;
};

// A text may hold several lines.
class TKvPkgStringsText : public TKvPkgStringsItem
{
    friend class TKvPkgStringsTexts;
    using TKvPkgStringsItem::TKvPkgStringsItem;
};

class TKvPkgStringsLabels : public TKvPkgItemList<TKvPkgStringsLabel>
{
public:
    explicit TKvPkgStringsLabels(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Label")) {}
    TKvPkgStringsLabel* Add(int Id, const QString& Text = QString(), const QString& Hint = QString());
};

class TKvPkgStringsMessages : public TKvPkgItemList<TKvPkgStringsMessage>
{
public:
    explicit TKvPkgStringsMessages(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Message")) {}
    TKvPkgStringsMessage* Add(int Id, const QString& Text = QString());
};

class TKvPkgStringsTexts : public TKvPkgItemList<TKvPkgStringsText>
{
public:
    explicit TKvPkgStringsTexts(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Text")) {}
    TKvPkgStringsText* Add(int Id, const QString& Text = QString());
};

class TKvPkgStrings : public TKvPkgInfo
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvPkgStrings(TComponent* AOwner = nullptr);
    ~TKvPkgStrings() override;

    TKvPkgStringsLabels* Labels() const { return FLabels.get(); }
    TKvPkgStringsMessages* Messages() const { return FMessages.get(); }
    TKvPkgStringsTexts* Texts() const { return FTexts.get(); }

    QString DefaultExt() const override { return QStringLiteral("kvstr"); }
    // Empties labels, messages and texts.
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("STRS"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    std::unique_ptr<TKvPkgStringsLabels> FLabels;
    std::unique_ptr<TKvPkgStringsMessages> FMessages;
    std::unique_ptr<TKvPkgStringsTexts> FTexts;
};

QString KvReadPkgStringsDescription(const QString& FileName);

// The active strings package of a name (an empty name means "User"), or none.
TKvPkgStrings* KvFindPkgStrings(const QString& PkgName);
// The names of the live strings packages, one per name.
QStringList KvPkgStringsActives();
// Every live strings package, in creation order; several may share a name.
QList<TKvPkgStrings*> KvPkgStringsAll();

#include "KvPkgPrivileges.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every field of every privilege, in package order.
QStringList Snapshot(const TKvPkgPrivileges& P)
{
    QStringList rows;
    for (int i = 0; i < P.Count(); ++i) {
        const TKvPkgPrivilegesItem* t = P.GetItems(i);
        rows << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                    .arg(t->Id())
                    .arg(t->Access())
                    .arg(t->Description(), t->DescriptionPkgName())
                    .arg(t->DescriptionId())
                    .arg(t->Visible())
                    .arg(t->Protected());
    }
    return rows;
}

QByteArray ReadAll(const QString& Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& Path, const QByteArray& Data)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Data);
}

} // namespace

TEST(PrivilegeTemplates, CarryThePrivilegesAloneToAnotherPackage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base.pri"));
    TKvPkgPrivileges from;
    from.SetKey(QStringLiteral("secret"));
    from.SetReadStateDisableControl(true);
    TKvPkgPrivilegesItem* a = from.Add(9999);
    a->SetAccess(TKvPkgPrivileges::acNone);
    a->SetDescription(QStringLiteral("Invoices \"all\""));
    a->SetDescriptionId(QStringLiteral("Main"), 12);
    a->SetVisible(false);
    from.Add(0)->SetProtected(true);
    from.Add(41)->SetAccess(TKvPkgPrivileges::acRead);
    from.SaveTemplateToFile(path);

    TKvPkgPrivileges to;
    to.SetKey(QStringLiteral("own"));
    to.Add(5);
    to.SetModified(false);
    to.LoadTemplateFromFile(path);
    EXPECT_EQ(Snapshot(to), Snapshot(from));
    EXPECT_EQ(to.Key(), QStringLiteral("own"));
    EXPECT_FALSE(to.ReadStateDisableControl());
    EXPECT_TRUE(to.Modified());
    EXPECT_EQ(to.FindId(41)->Access(), TKvPkgPrivileges::acRead);
    EXPECT_THROW(to.Add(9999), EKvPkgError); // the id index came along with the items
    EXPECT_EQ(to.UniqueId(), 1);

    // Templates and access files are not taken for one another.
    const QString access = dir.filePath(QStringLiteral("app.kvacc"));
    from.SaveToFile(access);
    EXPECT_THROW(to.LoadTemplateFromFile(access), EKvPkgFileError);
    EXPECT_THROW(to.LoadFromFile(path), EKvPkgFileError);
}

TEST(PrivilegeTemplates, DamagedTemplateLeavesThePackageAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.pri"));
    TKvPkgPrivileges from;
    for (int id = 0; id < 50; ++id)
        from.Add(id)->SetDescription(QStringLiteral("P%1").arg(id));
    from.SaveTemplateToFile(path);
    const QByteArray good = ReadAll(path);
    ASSERT_FALSE(good.isEmpty());

    TKvPkgPrivileges to;
    to.Add(3)->SetDescription(QStringLiteral("kept"));
    to.SetModified(false);
    const QStringList before = Snapshot(to);
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped.at(good.size() / 2) ^ 0x20);
    for (const QByteArray& bad : {good.left(good.size() - 3), good.left(10), flipped, QByteArray()}) {
        WriteAll(path, bad);
        EXPECT_THROW(to.LoadTemplateFromFile(path), EKvPkgFileError);
        EXPECT_EQ(Snapshot(to), before);
        EXPECT_FALSE(to.Modified());
    }
    EXPECT_THROW(to.LoadTemplateFromFile(dir.filePath(QStringLiteral("missing.pri"))), EKvPkgFileError);
    EXPECT_EQ(Snapshot(to), before);
}

TEST(PrivilegeTemplates, AccessNames)
{
    EXPECT_EQ(KvAccessNames(), (QStringList{QStringLiteral("acNone"), QStringLiteral("acRead"),
                                            QStringLiteral("acReadWrite")}));
    EXPECT_EQ(KvAccessText(TKvPkgPrivileges::acNone), QStringLiteral("None"));
    EXPECT_EQ(KvAccessText(TKvPkgPrivileges::acRead), QStringLiteral("Read"));
    EXPECT_EQ(KvAccessText(TKvPkgPrivileges::acReadWrite), QStringLiteral("Read/Write"));
    EXPECT_THROW(KvAccessText(3), EKvPkgError);
    EXPECT_THROW(KvAccessText(-1), EKvPkgError);
}

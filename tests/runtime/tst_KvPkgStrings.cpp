#include "Filer.h"
#include "KvPkgStrings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Everything a strings package holds, in package order, for comparisons.
QStringList Dump(const TKvPkgStrings& Pkg)
{
    QStringList out{Pkg.Description()};
    const TKvEditorBounds b = Pkg.EditorBounds();
    out << QStringLiteral("bounds %1 %2 %3 %4 %5").arg(b.Left).arg(b.Top).arg(b.Width).arg(b.Height).arg(b.WindowState);
    for (int i = 0; i < Pkg.Labels()->Count(); ++i) {
        const TKvPkgStringsLabel* l = Pkg.Labels()->GetItems(i);
        out << QStringLiteral("L%1 %2 [%3] [%4]").arg(l->Id()).arg(l->Protected()).arg(l->Text(), l->Hint());
    }
    for (int i = 0; i < Pkg.Messages()->Count(); ++i) {
        const TKvPkgStringsMessage* m = Pkg.Messages()->GetItems(i);
        out << QStringLiteral("M%1 %2 [%3]").arg(m->Id()).arg(m->Protected()).arg(m->Text());
    }
    for (int i = 0; i < Pkg.Texts()->Count(); ++i) {
        const TKvPkgStringsText* t = Pkg.Texts()->GetItems(i);
        out << QStringLiteral("T%1 %2 [%3]").arg(t->Id()).arg(t->Protected()).arg(t->Text());
    }
    return out;
}

void Fill(TKvPkgStrings& Pkg)
{
    Pkg.SetDescription(QStringLiteral("Main strings — äöü"));
    Pkg.SetEditorBounds({10, 20, 640, 480, KvWindowStateMaximized});
    Pkg.Labels()->Add(12, QStringLiteral("Accept"), QStringLiteral("Accepts the data"));
    Pkg.Labels()->Add(3, QStringLiteral("Two\r\nlines"))->SetProtected(true);
    Pkg.Labels()->Add(7);
    Pkg.Messages()->Add(26, QStringLiteral("Delete the item?"));
    Pkg.Texts()->Add(1, QStringLiteral("First line\nsecond line\n\n日本語"))->SetProtected(true);
}

void WriteFile(const QString& Path, const QByteArray& Data)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Data);
}

} // namespace

TEST(PkgStringsLists, SettersRefuseBadIdsAndLeaveTheItemUnchanged)
{
    TKvPkgStrings pkg;
    TKvPkgStringsLabel* a = pkg.Labels()->Add(1, QStringLiteral("A"));
    pkg.Labels()->Add(2, QStringLiteral("B"));

    EXPECT_THROW(pkg.Labels()->Add(2, QStringLiteral("again")), EKvPkgError);
    EXPECT_THROW(pkg.Labels()->Add(-1), EKvPkgError);
    EXPECT_EQ(pkg.Labels()->Count(), 2);

    EXPECT_THROW(a->SetId(2), EKvPkgError);
    EXPECT_THROW(a->SetId(-5), EKvPkgError);
    EXPECT_EQ(a->Id(), 1);
    EXPECT_EQ(pkg.Labels()->FindId(1), a);
    EXPECT_EQ(pkg.Labels()->FindId(2)->Text(), QStringLiteral("B"));

    // The lists are separate: a message may share a label's id.
    EXPECT_NO_THROW(pkg.Messages()->Add(1));
}

TEST(PkgStringsLists, FindIdFollowsIdChangesAndDeletions)
{
    TKvPkgStrings pkg;
    TKvPkgStringsMessage* m = pkg.Messages()->Add(5, QStringLiteral("five"));
    pkg.Messages()->Add(6, QStringLiteral("six"));
    pkg.Messages()->Add(7, QStringLiteral("seven"));

    m->SetId(50);
    EXPECT_EQ(pkg.Messages()->FindId(5), nullptr);
    EXPECT_EQ(pkg.Messages()->FindId(50), m);
    pkg.Messages()->Add(5, QStringLiteral("new five")); // the old id is free again

    delete pkg.Messages()->FindId(6);
    EXPECT_EQ(pkg.Messages()->FindId(6), nullptr);
    pkg.Messages()->Delete(pkg.Messages()->IndexOf(m));
    EXPECT_EQ(pkg.Messages()->FindId(50), nullptr);
    ASSERT_EQ(pkg.Messages()->Count(), 2);
    EXPECT_EQ(pkg.Messages()->GetItems(0)->Text(), QStringLiteral("seven"));
    EXPECT_EQ(pkg.Messages()->GetItems(1)->Text(), QStringLiteral("new five"));

    pkg.Clear();
    EXPECT_EQ(pkg.Messages()->Count(), 0);
    EXPECT_EQ(pkg.Messages()->FindId(7), nullptr);
}

TEST(PkgStringsLists, UniqueIdProposesAFreeTypeableId)
{
    TKvPkgStrings pkg;
    TKvPkgStringsTexts* texts = pkg.Texts();
    EXPECT_EQ(texts->UniqueId(), 0);
    texts->Add(0);
    texts->Add(5);
    EXPECT_EQ(texts->UniqueId(), 6);

    // Past the highest there is no four-digit id left: the lowest free one.
    texts->Add(KvMaxTypedId);
    EXPECT_EQ(texts->UniqueId(), 1);

    for (int id = 0; id <= KvMaxTypedId; ++id)
        if (!texts->FindId(id))
            texts->Add(id);
    EXPECT_EQ(texts->UniqueId(), KvMaxTypedId + 1);
}

TEST(PkgStringsLists, TypedIdsHaveAtMostFourDigits)
{
    EXPECT_EQ(KvStrToId(QStringLiteral("0")), 0);
    EXPECT_EQ(KvStrToId(QStringLiteral("9999")), 9999);
    for (const char* bad : {"10000", "-1", "", "12a", "1.5"})
        EXPECT_THROW(KvStrToId(QString::fromLatin1(bad)), EConvertError) << bad;
}

TEST(PkgStringsFiles, RoundTripKeepsEveryFieldAndTheOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Main.kvstr"));
    TKvPkgStrings source;
    Fill(source);
    source.SaveToFile(path);

    TKvPkgStrings target;
    target.Labels()->Add(99, QStringLiteral("replaced"));
    target.LoadFromFile(path);
    EXPECT_EQ(Dump(target), Dump(source));
    EXPECT_EQ(target.Labels()->FindId(99), nullptr);
    EXPECT_EQ(KvReadPkgStringsDescription(path), source.Description());
}

TEST(PkgStringsFiles, EveryTruncationOrDamagedByteIsRefusedAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bad.kvstr"));
    TKvPkgStrings source;
    Fill(source);
    const QByteArray good = source.SaveToBytes();

    TKvPkgStrings target;
    target.Labels()->Add(1, QStringLiteral("kept"));
    target.SetDescription(QStringLiteral("before"));
    const QStringList before = Dump(target);

    auto expectRefused = [&](const QByteArray& data, const QString& what) {
        WriteFile(path, data);
        try {
            target.LoadFromFile(path);
            ADD_FAILURE() << qPrintable(what) << " was accepted";
        } catch (const EKvPkgFileError& e) {
            EXPECT_EQ(e.FileName, path) << qPrintable(what);
            EXPECT_TRUE(e.Message.contains(path)) << qPrintable(what);
            EXPECT_GE(e.Offset, 0) << qPrintable(what);
        }
        EXPECT_EQ(Dump(target), before) << qPrintable(what);
    };
    for (qsizetype n = 0; n < good.size(); ++n)
        expectRefused(good.left(n), QStringLiteral("truncation to %1 bytes").arg(n));
    for (qsizetype i = 0; i < good.size(); ++i) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0x20);
        expectRefused(bad, QStringLiteral("damaged byte %1").arg(i));
    }
    expectRefused(good + "x", QStringLiteral("trailing byte"));

    EXPECT_THROW(target.LoadFromFile(dir.filePath(QStringLiteral("missing.kvstr"))), EKvPkgFileError);
    EXPECT_EQ(Dump(target), before);
}

// A writer of well-formed files with content the lists would refuse.
class TForgedStrings : public TKvPkgStrings
{
public:
    QList<int> LabelIds;

protected:
    void WriteContent(TKvPkgWriter& W) const override
    {
        W.WriteU32(quint32(LabelIds.size()));
        for (int id : LabelIds) {
            W.WriteI32(id);
            W.WriteU8(0);
            W.WriteString(QString());
            W.WriteString(QString());
        }
        W.WriteU32(0);
        W.WriteU32(0);
    }
};

TEST(PkgStringsFiles, ContentTheListsWouldRefuseIsCorrupt)
{
    TKvPkgStrings target;
    for (const QList<int>& ids : {QList<int>{1, 2, 1}, QList<int>{-3}}) {
        TForgedStrings forged;
        forged.LabelIds = ids;
        try {
            target.LoadFromBytes(forged.SaveToBytes(), QStringLiteral("forged"));
            ADD_FAILURE() << "ids " << ids.size() << " accepted";
        } catch (const EKvPkgFileError& e) {
            EXPECT_TRUE(e.Reason.contains(QString::number(ids.last()))) << qPrintable(e.Message);
        }
        EXPECT_EQ(target.Labels()->Count(), 0);
    }
    TForgedStrings fine;
    fine.LabelIds = {4, 2};
    target.LoadFromBytes(fine.SaveToBytes(), QStringLiteral("fine"));
    EXPECT_EQ(target.Labels()->Count(), 2);
}

// A package in init mode DFM travels inside the form; in mode FILE only its file name does.
TEST(PkgStringsForms, PackageTravelsInsideTheFormOrByItsFileName)
{
    RegisterClass<TKvPkgStrings>();
    QTemporaryDir dir;
    KvSetAppPath(dir.path());

    TComponent form;
    form.SetName(QStringLiteral("Form1"));
    auto* inForm = new TKvPkgStrings(&form);
    inForm->SetName(QStringLiteral("PkgStrings1"));
    inForm->SetPkgName(QStringLiteral("Main"));
    Fill(*inForm);
    auto* inFile = new TKvPkgStrings(&form);
    inFile->SetName(QStringLiteral("PkgStrings2"));
    inFile->SetPkgName(QStringLiteral("Other"));
    inFile->Labels()->Add(4, QStringLiteral("from the file"));
    inFile->SaveFileEx(QStringLiteral("Other"), TKvPkgInfo::imFILE);

    const QByteArray text = WriteComponentText(&form);
    const QString s = QString::fromUtf8(text);
    const qsizetype second = s.indexOf(QStringLiteral("PkgStrings2"));
    EXPECT_TRUE(s.indexOf(QStringLiteral("Data = {")) > 0 && s.indexOf(QStringLiteral("Data = {")) < second);
    EXPECT_EQ(s.indexOf(QStringLiteral("Data = {"), second), -1);
    EXPECT_TRUE(s.contains(QStringLiteral("FileName = 'Other.kvstr'")));

    inFile->Labels()->Add(5, QStringLiteral("only in memory")); // not in the file: lost on reading
    TComponent copy;
    ReadComponentStream(text, &copy);
    auto* readForm = qobject_cast<TKvPkgStrings*>(copy.FindComponent(QStringLiteral("PkgStrings1")));
    auto* readFile = qobject_cast<TKvPkgStrings*>(copy.FindComponent(QStringLiteral("PkgStrings2")));
    ASSERT_TRUE(readForm && readFile);
    EXPECT_EQ(readForm->PkgName(), QStringLiteral("Main"));
    EXPECT_EQ(Dump(*readForm), Dump(*inForm));
    EXPECT_EQ(readFile->InitMode(), TKvPkgInfo::imFILE);
    EXPECT_EQ(readFile->Labels()->Count(), 1);
    EXPECT_EQ(readFile->Labels()->FindId(4)->Text(), QStringLiteral("from the file"));
    EXPECT_FALSE(readFile->FileModified());

    // A damaged package file does not keep the form from opening; the package stays unread
    // and the next LoadFile reports the damage.
    WriteFile(dir.filePath(QStringLiteral("Other.kvstr")), QByteArray("KVPKSTRS\x01"));
    TComponent damaged;
    ReadComponentStream(text, &damaged);
    auto* unread = qobject_cast<TKvPkgStrings*>(damaged.FindComponent(QStringLiteral("PkgStrings2")));
    ASSERT_TRUE(unread);
    EXPECT_EQ(unread->Labels()->Count(), 0);
    EXPECT_TRUE(unread->FileModified());
    EXPECT_THROW(unread->LoadFile(), EKvPkgFileError);

    // Mode FILE without a file name would store the content nowhere: it stays in the form.
    inFile->SetFileName(QString());
    EXPECT_TRUE(QString::fromUtf8(WriteComponentText(&form)).indexOf(QStringLiteral("Data = {"), second) > second);
    KvSetAppPath(QString());
}

TEST(PkgStringsForms, CorruptFormDataFailsTheRead)
{
    RegisterClass<TKvPkgStrings>();
    TComponent form;
    form.SetName(QStringLiteral("Form1"));
    auto* pkg = new TKvPkgStrings(&form);
    pkg->SetName(QStringLiteral("PkgStrings1"));
    pkg->Labels()->Add(1, QStringLiteral("x"));
    QByteArray binary = WriteComponentStream(&form);
    binary[binary.size() - 12] = char(binary[binary.size() - 12] ^ 1); // inside the package's data

    TComponent copy;
    try {
        ReadComponentStream(binary, &copy);
        ADD_FAILURE() << "damaged form data was accepted";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("PkgStrings1"))) << qPrintable(e.Message);
    }
    EXPECT_EQ(copy.ComponentCount(), 0);
}

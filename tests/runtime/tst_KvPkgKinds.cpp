#include "KvApplication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Makes the trailing checksum match a package image edited in place.
void FixChecksum(QByteArray& Data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < Data.size() - 4; ++i) {
        crc ^= quint8(Data.at(i));
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    qToLittleEndian(crc ^ 0xFFFFFFFFu, Data.data() + Data.size() - 4);
}

// Takes Size bytes out of a package image's body, keeping its length field right.
void RemoveFromBody(QByteArray& Data, qsizetype At, qsizetype Size)
{
    Data.remove(At, Size);
    const qsizetype lengthAt = 12 + qFromLittleEndian<quint16>(Data.constData() + 10);
    qToLittleEndian(qFromLittleEndian<quint32>(Data.constData() + lengthAt) - quint32(Size), Data.data() + lengthAt);
}

QByteArray I32(qint32 V)
{
    char b[4];
    qToLittleEndian(V, b);
    return QByteArray(b, 4);
}

// The metrics block of a display file as a new package writes it.
QByteArray DefaultMetricsBytes()
{
    QByteArray bytes;
    auto add = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        bytes.append(b, 4);
    };
    for (int v : KvDefaultCWMetrics)
        add(quint32(v));
    bytes.append('\0');
    for (int v : KvDefaultHiMetrics)
        add(quint32(v));
    bytes.append('\0');
    return bytes;
}

void FillPrivileges(TKvPkgPrivileges& P)
{
    P.SetKey(QStringLiteral("k-123"));
    P.SetReadStateDisableControl(true);
    TKvPkgPrivilegesItem* a = P.Add(7);
    a->SetAccess(1);
    a->SetDescription(QStringLiteral("Invoices"));
    a->SetDescriptionId(QStringLiteral("Main"), 12);
    a->SetVisible(false);
    P.Add(3)->SetProtected(true);
}

void FillVars(TKvPkgVars& V)
{
    V.Add(QStringLiteral("Colors\\Dark\\Back"), vtInteger)->SetVInteger(-42);
    V.Add(QStringLiteral("Colors\\Ratio"), vtFloat)->SetVFloat(0.125);
    V.Add(QStringLiteral("Title"), vtString)->SetVString(QStringLiteral("Tüx \"q\""));
    V.Add(QStringLiteral("Flags\\On"), vtBoolean)->SetVBoolean(true);
    V.Add(QStringLiteral("Empty"), vtFolder);
}

void FillSetup(TKvPkgSetup& S)
{
    TKvPkgSetupKeys k = S.Keys();
    k.DeleteType = 3;
    k.InsertMode = false;
    S.SetKeys(k);
    S.SetShortCut(skBtnCustom2, 0x4041);
    TKvPkgSetupDataBase d;
    d.DataBaseEngine = 2;
    d.DateSeparator = u'-';
    d.SyntaxText = QStringLiteral("LIMIT 100");
    S.SetDataBase(d);
}

void FillLanguage(TKvPkgLanguage& L)
{
    TKvPkgLanguageLocale l = L.Locale();
    l.DateFormat = 2;
    l.NumericDecimalSeparator = u',';
    l.NumericThousandSeparator = u'.';
    l.MonthShortNames[0] = QStringLiteral("Ene");
    L.SetLocale(l);
    L.PkgSystem()->Messages()->Add(2, QStringLiteral("No more"));
    L.PkgUser()->Labels()->Add(5, QStringLiteral("Name"), QStringLiteral("Your name"));
    L.PkgUser()->SetDescription(QStringLiteral("user strings"));
    L.SetLastUpdateFile(QStringLiteral("Standard.lan"));
    L.SetUpdateDateTime(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC));
}

void FillDisplay(TKvPkgDisplay& D)
{
    D.SetsColor()->Add(QStringLiteral("Paper"))->SetColor(TColor{0x1E140A});
    D.SetsColor()->Add(QStringLiteral("Face"))->SetColor(TColor{KvColors::clBtnFace});
    QFont f(QStringLiteral("Serif"), 14);
    f.setItalic(true);
    D.SetsFont()->Add(QStringLiteral("Body"))->SetFont(f);
    TKvSetBackGroundItem* b = D.SetsBackGround()->Add(QStringLiteral("Sky"));
    b->SetStyle(20);
    b->SetImage(QStringLiteral("User"), 4);
    b->SetDescriptionId(QStringLiteral("Main"), 9);
    D.SetUserColors({0xFF112233, 0xFF445566});
    D.SetCWTitleHeight(30);
    D.SetCWWinRgn(true);
    D.SetHiMarginLeft(7);
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(Qt::red);
    D.PkgUser()->Images()->Add(4)->SetGraphic(img);
}

// One kind of package: how to make one, fill it and tell two apart.
struct TKind
{
    const char* Name;
    std::function<std::unique_ptr<TKvPkgInfo>()> Make;
    std::function<void(TKvPkgInfo&)> Fill;
};

template <class T>
TKind Kind(const char* Name, void (*Fill)(T&))
{
    return {Name, [] { return std::unique_ptr<TKvPkgInfo>(new T); },
            [Fill](TKvPkgInfo& P) { Fill(static_cast<T&>(P)); }};
}

const QList<TKind>& Kinds()
{
    static const QList<TKind> kinds{Kind<TKvPkgPrivileges>("privileges", FillPrivileges),
                                    Kind<TKvPkgVars>("variables", FillVars), Kind<TKvPkgSetup>("setup", FillSetup),
                                    Kind<TKvPkgLanguage>("language", FillLanguage),
                                    Kind<TKvPkgDisplay>("display", FillDisplay)};
    return kinds;
}

} // namespace

TEST(PkgKinds, EveryKindSurvivesItsOwnFileAndRefusesDamagedOnes)
{
    QTemporaryDir dir;
    for (qsizetype k = 0; k < Kinds().size(); ++k) {
        const TKind& kind = Kinds().at(k);
        SCOPED_TRACE(kind.Name);
        const QString path = QDir(dir.path()).filePath(QString::fromLatin1(kind.Name));
        auto source = kind.Make();
        kind.Fill(*source);
        source->SetDescription(QStringLiteral("described"));
        source->SaveToFile(path);
        EXPECT_EQ(KvReadPkgDescription(path, source->SaveToBytes().mid(4, 4)), QStringLiteral("described"));

        auto copy = kind.Make();
        copy->LoadFromFile(path);
        EXPECT_EQ(copy->SaveToBytes(), source->SaveToBytes());

        // A package that holds something else keeps it when a damaged file is refused.
        auto other = kind.Make();
        other->SetDescription(QStringLiteral("untouched"));
        const QByteArray before = other->SaveToBytes();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        file.close();
        QByteArray flipped = good;
        flipped[good.size() - 12] = char(flipped.at(good.size() - 12) ^ 0x55);
        const QList<QByteArray> damaged{good.left(good.size() - 9), good.left(good.size() / 2), flipped};
        for (const QByteArray& bad : damaged) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bad);
            file.close();
            try {
                other->LoadFromFile(path);
                ADD_FAILURE() << "a damaged file was read";
            } catch (const EKvPkgFileError& e) {
                EXPECT_TRUE(e.Message.contains(path)) << e.Message.toStdString();
            }
            EXPECT_EQ(other->SaveToBytes(), before);
        }
        // Another kind's file is refused as well.
        auto foreign = Kinds().at((k + 1) % Kinds().size()).Make();
        foreign->SaveToFile(path);
        EXPECT_THROW(other->LoadFromFile(path), EKvPkgFileError);
    }
}

TEST(PkgKinds, SettersRefuseBadValuesAndChangeNothing)
{
    TKvPkgPrivileges priv;
    TKvPkgPrivilegesItem* item = priv.Add(1);
    EXPECT_THROW(item->SetAccess(3), EKvPkgError);
    EXPECT_THROW(item->SetDescriptionId(QStringLiteral("Main"), -2), EKvPkgError);
    EXPECT_THROW(priv.Add(1), EKvPkgError);
    EXPECT_EQ(item->Access(), 2);
    EXPECT_EQ(priv.UniqueId(), 2);
    delete item;
    EXPECT_EQ(priv.Count(), 0);

    TKvPkgDisplay display;
    display.SetsColor()->Add(QStringLiteral("Paper"));
    EXPECT_THROW(display.SetsColor()->Add(QStringLiteral("PAPER")), EKvPkgError);
    EXPECT_THROW(display.SetsColor()->Add(QStringLiteral("<Default>")), EKvPkgError);
    TKvSetColorItem* ink = display.SetsColor()->Add(QStringLiteral("Ink"));
    EXPECT_THROW(ink->SetName(QStringLiteral("paper")), EKvPkgError);
    EXPECT_THROW(display.SetsBackGround()->Add(QStringLiteral("B"))->SetStyle(21), EKvPkgError);
    // Only plain $00BBGGRR colours and named ones: 0x7F... is nothing a colour box can show.
    EXPECT_THROW(ink->SetColor(TColor{0x7F000000}), EKvPkgError);
    EXPECT_THROW(ink->SetColor(TColor{qint32(0xFF000040)}), EKvPkgError);
    ink->SetColor(TColor{KvColors::clNone});
    EXPECT_EQ(ink->Color().Value, KvColors::clNone);
    EXPECT_EQ(ink->Name(), QStringLiteral("Ink"));
    delete ink;
    EXPECT_EQ(display.SetsColor()->Find(QStringLiteral("ink")), nullptr);

    TKvPkgLanguage language;
    TKvPkgLanguageLocale l = language.Locale();
    l.NumericThousandSeparator = l.NumericDecimalSeparator;
    EXPECT_THROW(language.SetLocale(l), EKvPkgError);
    l = language.Locale();
    l.DayLongNames.removeLast();
    EXPECT_THROW(language.SetLocale(l), EKvPkgError);
    EXPECT_EQ(language.Locale(), TKvPkgLanguageLocale::Default());

    TKvPkgSetup setup;
    TKvPkgSetupDataBase d;
    d.DateFormat = 3;
    EXPECT_THROW(setup.SetDataBase(d), EKvPkgError);
    EXPECT_EQ(setup.DataBase(), TKvPkgSetupDataBase());
}

TEST(PkgKinds, VariablesAreATreeFoundByPath)
{
    TKvPkgVars vars;
    FillVars(vars);
    TKvPkgVarsItem* back = vars.Find(QStringLiteral("colors\\DARK\\back"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Path(), QStringLiteral("Colors\\Dark\\Back"));
    EXPECT_EQ(back->GetVInteger(), -42);
    EXPECT_THROW(back->GetVString(), EKvPkgError);
    EXPECT_THROW(vars.Add(QStringLiteral("Colors\\Dark\\Back\\Deeper"), vtString), EKvPkgError);
    EXPECT_THROW(vars.Add(QStringLiteral("Colors\\Ratio"), vtString), EKvPkgError);
    EXPECT_THROW(vars.Add(QStringLiteral("Colors\\\\X"), vtString), EKvPkgError);
    EXPECT_EQ(vars.Find(QStringLiteral("Colors"))->Count(), 2); // nothing half-made

    TKvPkgVarsItem* colors = vars.Find(QStringLiteral("Colors"));
    EXPECT_THROW(colors->SetItemType(vtString), EKvPkgError);
    EXPECT_THROW(vars.Find(QStringLiteral("Colors\\Ratio"))->SetIdent(QStringLiteral("dark")), EKvPkgError);
    EXPECT_EQ(vars.FirstItem(), colors);
    EXPECT_EQ(colors->Next(), vars.Find(QStringLiteral("Title")));

    vars.SetModified(false);
    delete vars.Find(QStringLiteral("Colors\\Dark"));
    EXPECT_TRUE(vars.Modified());
    EXPECT_EQ(vars.Find(QStringLiteral("Colors\\Dark\\Back")), nullptr);
    EXPECT_EQ(colors->Count(), 1);
}

TEST(PkgKinds, ContainedPackagesAreStoredWithTheirContainer)
{
    QTemporaryDir dir;
    KvSetAppPath(dir.path());
    TKvPkgLanguage language;
    TKvPkgStrings* user = language.PkgUser();
    EXPECT_FALSE(user->IsFileBacked());
    language.SaveFileEx(QStringLiteral("Es"), TKvPkgInfo::imFILE);
    EXPECT_TRUE(user->IsFileBacked());
    EXPECT_EQ(user->FileName(), QStringLiteral("Es.lan"));

    user->Texts()->Add(1, QStringLiteral("Hola"));
    EXPECT_TRUE(language.Modified());
    user->SaveFile(); // writes the language file
    EXPECT_FALSE(language.Modified());
    EXPECT_FALSE(user->Modified());
    TKvPkgLanguage check;
    check.LoadFromFile(QDir(dir.path()).filePath(QStringLiteral("Es.lan")));
    ASSERT_TRUE(check.PkgUser()->Texts()->FindId(1));
    EXPECT_EQ(check.PkgUser()->Texts()->FindId(1)->Text(), QStringLiteral("Hola"));
    KvSetAppPath(QString());
}

// A damaged package inside another one is reported against the outer file, offsets from its start.
TEST(PkgKinds, ErrorsInsideContainedPackagesNameTheFile)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Es.lan"));
    TKvPkgLanguage language;
    language.PkgSystem()->Texts()->Add(1, QStringLiteral("Hola"));
    QByteArray data = language.SaveToBytes();
    const qsizetype inner = data.indexOf("KVPK", 4);
    ASSERT_GT(inner, 0);
    data.replace(inner + 4, 4, "ZZZZ");
    // The outer checksum is made right, so that only the contained package is wrong.
    FixChecksum(data);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    try {
        TKvPkgLanguage check;
        check.LoadFromFile(path);
        FAIL() << "the damaged contained package was read";
    } catch (const EKvPkgFileError& e) {
        EXPECT_EQ(e.Offset, inner + 4);
        EXPECT_TRUE(e.Message.startsWith(path + QStringLiteral(" (System strings): a package of kind 'ZZZZ'")))
            << e.Message.toStdString();
        EXPECT_TRUE(e.Message.endsWith(QStringLiteral("(at offset %1)").arg(inner + 4))) << e.Message.toStdString();
    }
}

TEST(PkgKinds, DisplayColoursReadFromTheOldFormatAndBadOnesAreRefused)
{
    // Distinct byte patterns, so that each colour can be found in the file image.
    TKvPkgDisplay display;
    display.SetsColor()->Add(QStringLiteral("Paper"))->SetColor(TColor{0x030201});
    TKvSetBackGroundItem* back = display.SetsBackGround()->Add(QStringLiteral("Sky"));
    back->SetStartGraColor(TColor{0x131211});
    back->SetEndGraColor(TColor{0x232221});
    back->SetSolidColor(TColor{0x333231});
    const QByteArray current = display.SaveToBytes();

    // The same package as the first version wrote it: ARGB colours and no metrics.
    QByteArray old = current;
    qToLittleEndian(quint16(1), old.data() + 8);
    const qsizetype metrics = old.indexOf(DefaultMetricsBytes());
    ASSERT_GT(metrics, 0);
    RemoveFromBody(old, metrics, DefaultMetricsBytes().size());
    for (quint32 c : {0x030201u, 0x131211u, 0x232221u, 0x333231u}) {
        char bgr[4], argb[4];
        qToLittleEndian(c, bgr);
        qToLittleEndian(0x80000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16), argb);
        const qsizetype at = old.indexOf(QByteArray(bgr, 4));
        ASSERT_GT(at, 0);
        old.replace(at, 4, QByteArray(argb, 4));
    }
    FixChecksum(old);
    TKvPkgDisplay read;
    read.LoadFromBytes(old, QStringLiteral("old.dis"));
    EXPECT_EQ(read.SaveToBytes(), current);

    // A colour value no name or $00BBGGRR stands for: refused, at its place, nothing changed.
    QByteArray bad = current;
    char paper[4];
    qToLittleEndian(0x030201u, paper);
    const qsizetype at = bad.indexOf(QByteArray(paper, 4));
    qToLittleEndian(0x7F030201u, bad.data() + at);
    FixChecksum(bad);
    try {
        read.LoadFromBytes(bad, QStringLiteral("bad.dis"));
        FAIL() << "a bad colour was read";
    } catch (const EKvPkgFileError& e) {
        EXPECT_EQ(e.Offset, at);
        EXPECT_TRUE(e.Message.contains(QStringLiteral("$7F030201 is not a colour"))) << e.Message.toStdString();
    }
    EXPECT_EQ(read.SaveToBytes(), current);
}

TEST(KvDisplayMetrics, FilesKeepTheMetricsAndOlderOnesReadWithTheDefaults)
{
    TKvPkgDisplay pkg;
    const int cw[KvCWMetricCount] = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110};
    for (int i = 0; i < KvCWMetricCount; ++i)
        pkg.SetCWMetric(TKvCWMetric(i), cw[i]);
    for (int i = 0; i < KvHiMetricCount; ++i)
        pkg.SetHiMetric(TKvHiMetric(i), 201 + i);
    pkg.SetCWWinRgn(true);
    pkg.SetsColor()->Add(QStringLiteral("Ink"))->SetColor(TColor{0x010203});
    const QByteArray current = pkg.SaveToBytes();

    TKvPkgDisplay read;
    read.LoadFromBytes(current, QStringLiteral("m.dis"));
    EXPECT_EQ(read.SaveToBytes(), current);
    EXPECT_EQ(read.CWMetric(cwMarginBottom), 110);
    EXPECT_EQ(read.HiMetric(hiMarginBottom), 204);
    EXPECT_TRUE(read.CWWinRgn());
    EXPECT_FALSE(read.HiWinRgn());

    // Version 2 wrote no metrics: they read as a new package has them.
    QByteArray old = current;
    qToLittleEndian(quint16(2), old.data() + 8);
    const qsizetype at = old.indexOf(I32(101));
    ASSERT_GT(at, 0);
    RemoveFromBody(old, at, KvCWMetricCount * 4 + 1 + KvHiMetricCount * 4 + 1);
    FixChecksum(old);
    read.LoadFromBytes(old, QStringLiteral("old.dis"));
    EXPECT_EQ(read.CWMetric(cwMarginLeft), KvDefaultCWMetrics[cwMarginLeft]);
    EXPECT_EQ(read.HiMetric(hiMarginRight), KvDefaultHiMetrics[hiMarginRight]);
    EXPECT_FALSE(read.CWWinRgn());
    ASSERT_TRUE(read.SetsColor()->Find(QStringLiteral("Ink")));

    // A metric out of range is refused at its place and the package stays as it was.
    TKvPkgDisplay kept;
    kept.SetCWTitleHeight(9);
    const QByteArray before = kept.SaveToBytes();
    QByteArray bad = current;
    const qsizetype badAt = bad.indexOf(I32(203));
    bad.replace(badAt, 4, I32(KvMaxDisplayMetric + 1));
    FixChecksum(bad);
    try {
        kept.LoadFromBytes(bad, QStringLiteral("bad.dis"));
        FAIL() << "a metric out of range was read";
    } catch (const EKvPkgFileError& e) {
        EXPECT_EQ(e.Offset, badAt);
        EXPECT_TRUE(e.Message.contains(QStringLiteral("bad.dis"))) << e.Message.toStdString();
    }
    EXPECT_EQ(kept.SaveToBytes(), before);
}

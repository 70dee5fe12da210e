#include "Filer.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"

#include <gtest/gtest.h>

// A component with a caption that defaults to label 12 of "System".
class TRefButton : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryLabel* Caption READ Caption)
    Q_PROPERTY(TKvMemoryImage* Glyph READ Glyph)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)
    Q_PROPERTY(TKvPrivilege* Privilege READ Privilege)

public:
    Q_INVOKABLE explicit TRefButton(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    TKvMemoryLabel* Caption() const { return FCaption; }
    TKvMemoryImage* Glyph() const { return FGlyph; }
    TKvSetFont* SetFont() const { return FSetFont; }
    TKvPrivilege* Privilege() const { return FPrivilege; }

private:
    TKvMemoryLabel* FCaption = new TKvMemoryLabel(this, QStringLiteral("System"), 12);
    TKvMemoryImage* FGlyph = new TKvMemoryImage(this);
    TKvSetFont* FSetFont = new TKvSetFont(this);
    TKvPrivilege* FPrivilege = new TKvPrivilege(this);
};

class References : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FSystem.SetPkgName(QStringLiteral("System"));
        FSystem.Labels()->Add(12, QStringLiteral("Accept"), QStringLiteral("Accepts the data"));
        FMain.SetPkgName(QStringLiteral("Main"));
        FMain.Labels()->Add(5, QStringLiteral("Customer"), QStringLiteral("Who buys"));
        FMain.Messages()->Add(5, QStringLiteral("Saved."));
        FMain.Texts()->Add(5, QStringLiteral("Line 1\nLine 2"));
        FImages.SetPkgName(QStringLiteral("Main"));
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::green);
        FImages.Images()->Add(5)->SetGraphic(picture);
    }

    TKvPkgStrings FSystem;
    TKvPkgStrings FMain;
    TKvPkgImages FImages;
};

TEST_F(References, TextAndHintComeFromTheNamedPackage)
{
    TKvMemoryLabel label;
    label.PkgId(QStringLiteral("main"), 5);
    EXPECT_EQ(label.Text(), QStringLiteral("Customer"));
    EXPECT_EQ(label.Hint(), QStringLiteral("Who buys"));

    FMain.Labels()->FindId(5)->SetText(QStringLiteral("Client"));
    EXPECT_EQ(label.Text(), QStringLiteral("Client"));

    TKvMemoryMessage message;
    message.PkgId(QStringLiteral("Main"), 5);
    EXPECT_EQ(message.Text(), QStringLiteral("Saved."));
    TKvMemoryText text;
    text.PkgId(QStringLiteral("Main"), 5);
    EXPECT_EQ(text.Text(), QStringLiteral("Line 1\nLine 2"));
    TKvMemoryImage image;
    image.PkgId(QStringLiteral("Main"), 5);
    EXPECT_EQ(image.Graphic().pixel(1, 1), QColor(Qt::green).rgb());

    label.SetId(6); // no such label
    EXPECT_EQ(label.Text(), QString());
    label.PkgId(QStringLiteral("Nowhere"), 5);
    EXPECT_EQ(label.Text(), QString());

    // A second package of the same name answers once it is made active.
    TKvPkgStrings copy;
    copy.SetPkgName(QStringLiteral("Main"));
    copy.Labels()->Add(5, QStringLiteral("From the copy"));
    label.PkgId(QStringLiteral("Main"), 5);
    EXPECT_EQ(label.Text(), QStringLiteral("Client"));
    copy.SetActive(true);
    EXPECT_EQ(label.Text(), QStringLiteral("From the copy"));
}

TEST_F(References, MinusTwoIsTheDefaultAndOtherNegativesAreNone)
{
    TKvMemoryLabel withDefault(nullptr, QStringLiteral("System"), 12);
    EXPECT_EQ(withDefault.Id(), TKvMemoryReference::IdDefault);
    EXPECT_EQ(withDefault.Text(), QStringLiteral("Accept"));
    withDefault.SetPkgName(QStringLiteral("Main")); // the own package does not matter for -2
    EXPECT_EQ(withDefault.Text(), QStringLiteral("Accept"));
    withDefault.SetId(TKvMemoryReference::IdNone);
    EXPECT_EQ(withDefault.Text(), QString());
    withDefault.SetId(-7);
    EXPECT_EQ(withDefault.TargetId(), TKvMemoryReference::IdNone);

    TKvMemoryLabel noDefault;
    EXPECT_FALSE(noDefault.HasDefault());
    noDefault.PkgId(QStringLiteral("System"), TKvMemoryReference::IdDefault);
    EXPECT_EQ(noDefault.Text(), QString());
    EXPECT_EQ(noDefault.TargetId(), TKvMemoryReference::IdNone);
}

TEST_F(References, AssignTakesTheTargetButKeepsTheOwnDefault)
{
    TKvMemoryLabel source;
    source.PkgId(QStringLiteral("Main"), 5);
    TKvMemoryLabel target(nullptr, QStringLiteral("System"), 12);
    int changes = 0;
    QObject::connect(&target, &TKvMemoryReference::Changed, [&] { ++changes; });
    target.Assign(&source);
    EXPECT_EQ(target.PkgName(), QStringLiteral("Main"));
    EXPECT_EQ(target.Id(), 5);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(target.HasDefault());
    EXPECT_EQ(target.DefaultId(), 12);

    TKvMemoryImage image;
    EXPECT_THROW(image.Assign(&source), EConvertError);

    TKvSetFont font;
    EXPECT_TRUE(font.IsDefault());
    TKvSetFont other(nullptr, QStringLiteral("Big Titles"));
    font.Assign(&other);
    EXPECT_EQ(font.Name(), QStringLiteral("Big Titles"));
    font.SetName(QString());
    EXPECT_TRUE(font.IsNone());
    TKvSetColor colour;
    EXPECT_THROW(colour.Assign(&font), EConvertError);
}

TEST_F(References, PrivilegesRefuseUnknownAccessAndAskThePackageForTheirEntry)
{
    TKvPrivilege p;
    p.SetId(3);
    EXPECT_THROW(p.SetAccess(3), EConvertError);
    EXPECT_EQ(p.Access(), TKvPrivilege::AccessReadWrite);
    EXPECT_FALSE(p.Info());

    KvSetPrivilegeLookup([](int Id) -> std::optional<TKvPrivilegeInfo> {
        if (Id == 3)
            return TKvPrivilegeInfo{3, 2, QStringLiteral("Delete customers")};
        return std::nullopt;
    });
    ASSERT_TRUE(p.Info());
    EXPECT_EQ(p.Info()->Description, QStringLiteral("Delete customers"));
    p.SetId(-1);
    EXPECT_FALSE(p.Info());
    KvSetPrivilegeLookup(nullptr);
}

TEST_F(References, StreamAsSubPropertiesPackageNameFirst)
{
    RegisterClass<TRefButton>();
    TComponent form;
    form.SetName(QStringLiteral("Form1"));
    auto* button = new TRefButton(&form);
    button->SetName(QStringLiteral("Button1"));
    auto* plain = new TRefButton(&form);
    plain->SetName(QStringLiteral("Button2"));
    button->Caption()->PkgId(QStringLiteral("Main"), 5);
    button->Glyph()->PkgId(QStringLiteral("Main"), 5);
    button->SetFont()->SetName(QStringLiteral("Titles"));
    button->Privilege()->SetId(4);
    button->Privilege()->SetAccess(TKvPrivilege::AccessRead);

    const QString text = QString::fromUtf8(WriteComponentText(&form));
    const qsizetype pkgAt = text.indexOf(QStringLiteral("Caption.PkgName = 'Main'"));
    EXPECT_GT(pkgAt, 0) << qPrintable(text);
    EXPECT_GT(text.indexOf(QStringLiteral("Caption.Id = 5")), pkgAt);
    // Button2 keeps every default: nothing of it is written but its header.
    EXPECT_EQ(text.count(QStringLiteral("Caption.")), 2);

    TComponent copy;
    ReadComponentStream(text.toUtf8(), &copy);
    auto* read = qobject_cast<TRefButton*>(copy.FindComponent(QStringLiteral("Button1")));
    auto* readPlain = qobject_cast<TRefButton*>(copy.FindComponent(QStringLiteral("Button2")));
    ASSERT_TRUE(read && readPlain);
    EXPECT_EQ(read->Caption()->Text(), QStringLiteral("Customer"));
    EXPECT_EQ(read->Glyph()->Id(), 5);
    EXPECT_EQ(read->SetFont()->Name(), QStringLiteral("Titles"));
    EXPECT_EQ(read->Privilege()->Id(), 4);
    EXPECT_EQ(read->Privilege()->Access(), TKvPrivilege::AccessRead);
    EXPECT_EQ(readPlain->Caption()->Id(), TKvMemoryReference::IdDefault);
    EXPECT_EQ(readPlain->Caption()->Text(), QStringLiteral("Accept"));
    EXPECT_TRUE(readPlain->SetFont()->IsDefault());
}

#include "tst_KvReferences.moc"

#include "KvApplication.h"
#include "Colors.h"
#include "KvMessages.h"
#include "KvReferences.h"

#include "Filer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A form holding one application; the form is the root the streams read and write.
std::unique_ptr<TComponent> MakeForm(TKvCApplication*& App)
{
    KvRegisterPackageClasses();
    auto form = std::make_unique<TComponent>();
    form->SetName(QStringLiteral("Form1"));
    App = new TKvCApplication(form.get());
    App->SetName(QStringLiteral("KvCApplication1"));
    return form;
}

TKvCApplication* AppOf(TComponent* Form)
{
    return qobject_cast<TKvCApplication*>(Form->FindComponent(QStringLiteral("KvCApplication1")));
}

void Fill(TKvCApplication* App)
{
    App->SetEditSystem(true);
    App->SetPath(QStringLiteral("data"));
    App->PkgLanguage()->PkgUser()->Messages()->Add(3, QStringLiteral("Saved"));
    App->PkgDisplay()->SetsColor()->Add(QStringLiteral("Paper"))->SetColor(TColor{StringToColor(u"clYellow")});
    App->PkgSetup()->SetShortCut(skRefresh, 0x74);
    App->PkgVars()->Add(QStringLiteral("Db\\Port"), vtInteger)->SetVInteger(5432);
    App->Privileges()->Add(9)->SetAccess(1);
    App->CWSkin()->Image()->PkgId(QStringLiteral("System"), 50);
    App->CWSkin()->SetBorderWidth(6);
    App->HiSkin()->SetTransparent(true);
    App->HiBackGround()->SetName(QStringLiteral("Tip"));
}

void ExpectFilled(TKvCApplication* App)
{
    ASSERT_TRUE(App);
    EXPECT_TRUE(App->EditSystem());
    EXPECT_EQ(App->Path(), QStringLiteral("data"));
    ASSERT_TRUE(App->PkgLanguage()->PkgUser()->Messages()->FindId(3));
    EXPECT_EQ(App->PkgLanguage()->PkgUser()->Messages()->FindId(3)->Text(), QStringLiteral("Saved"));
    ASSERT_TRUE(App->PkgDisplay()->SetsColor()->Find(QStringLiteral("Paper")));
    EXPECT_EQ(App->PkgSetup()->ShortCut(skRefresh), 0x74);
    ASSERT_TRUE(App->PkgVars()->Find(QStringLiteral("Db\\Port")));
    EXPECT_EQ(App->PkgVars()->Find(QStringLiteral("Db\\Port"))->GetVInteger(), 5432);
    ASSERT_TRUE(App->Privileges()->FindId(9));
    EXPECT_EQ(App->Privileges()->FindId(9)->Access(), 1);
    EXPECT_EQ(App->CWSkin()->Image()->PkgName(), QStringLiteral("System"));
    EXPECT_EQ(App->CWSkin()->Image()->Id(), 50);
    EXPECT_EQ(App->CWSkin()->BorderWidth(), 6);
    EXPECT_TRUE(App->HiSkin()->Transparent());
    EXPECT_EQ(App->HiBackGround()->Name(), QStringLiteral("Tip"));
}

QList<TKvPkgInfo*> PackagesOf(TKvCApplication* App)
{
    return {App->PkgDisplay(), App->PkgLanguage(), App->PkgSetup(), App->PkgVars(), App->Privileges()};
}

// The install folder for one test, filled from the library's own base content.
class BaseFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KV_INSTALL_PACKAGES", FDir.path().toUtf8());
        TKvPkgLanguage language;
        KvBuildBaseLanguage(&language);
        language.SaveToFile(QDir(FDir.path()).filePath(QString::fromLatin1(KvBaseLanguageFile)));
        TKvPkgDisplay display;
        KvBuildBaseDisplay(&display);
        display.SaveToFile(QDir(FDir.path()).filePath(QString::fromLatin1(KvBaseDisplayFile)));
    }
    void TearDown() override { qunsetenv("KV_INSTALL_PACKAGES"); }
    QTemporaryDir FDir;
};

} // namespace

TEST(KvApplicationStreaming, PackagesInTheFormTravelAsData)
{
    TKvCApplication* app = nullptr;
    const auto form = MakeForm(app);
    Fill(app);
    const QString text = QString::fromUtf8(WriteComponentText(form.get(), TLineBreak::LF));
    for (const char* name : {"PkgDisplay", "PkgLanguage", "PkgSetup", "PkgVars", "Privileges"}) {
        EXPECT_TRUE(text.contains(QStringLiteral("%1.Data = {").arg(QLatin1String(name)))) << name;
        EXPECT_FALSE(text.contains(QStringLiteral("%1 = ").arg(QLatin1String(name)))) << name;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("object PkgDisplay")));

    const std::unique_ptr<TComponent> copy(ReadComponentStream(text.toUtf8()));
    ExpectFilled(AppOf(copy.get()));
    EXPECT_EQ(WriteComponentText(copy.get(), TLineBreak::LF), text.toUtf8());
}

TEST(KvApplicationStreaming, FileBackedPackagesLeaveOnlyTheirFileNamesInTheForm)
{
    QTemporaryDir dir;
    KvSetAppPath(dir.path());
    TKvCApplication* app = nullptr;
    const auto form = MakeForm(app);
    Fill(app);
    for (TKvPkgInfo* pkg : PackagesOf(app))
        pkg->SaveFileEx(QStringLiteral("App"), TKvPkgInfo::imFILE);
    const QString text = QString::fromUtf8(WriteComponentText(form.get(), TLineBreak::LF));
    EXPECT_FALSE(text.contains(QStringLiteral(".Data")));
    EXPECT_TRUE(text.contains(QStringLiteral("PkgLanguage.InitMode = imFILE")));
    EXPECT_TRUE(text.contains(QStringLiteral("PkgLanguage.FileName = 'App.lan'")));

    const std::unique_ptr<TComponent> copy(ReadComponentStream(text.toUtf8()));
    TKvCApplication* read = AppOf(copy.get());
    ExpectFilled(read);
    for (TKvPkgInfo* pkg : PackagesOf(read)) {
        EXPECT_TRUE(pkg->IsFileBacked()) << pkg->GetName().toStdString();
        EXPECT_FALSE(pkg->FileModified()) << pkg->GetName().toStdString();
    }
    KvSetAppPath(QString());
}

TEST(KvApplicationActive, KvCAppFollowsActivationDesignAndDestruction)
{
    EXPECT_EQ(KvCApp(), nullptr);
    EXPECT_TRUE(KvCApplicationsAll().isEmpty());

    TComponent runForm;
    auto* running = new TKvCApplication(&runForm);
    EXPECT_EQ(KvCApp(), running);

    TComponent designForm;
    designForm.SetDesigning(true);
    auto* designed = new TKvCApplication(&designForm);
    EXPECT_EQ(KvCApp(), designed); // the open project's
    ASSERT_EQ(KvCApplicationsAll().size(), 2);
    EXPECT_EQ(KvCApplicationsAll().at(0).Owner, &runForm);

    running->SetActive();
    EXPECT_EQ(KvCApp(), running);
    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("System")), running->PkgLanguage()->PkgSystem());
    EXPECT_EQ(KvFindPkgVars(QStringLiteral("Application")), running->PkgVars());
    EXPECT_EQ(KvPkgVarsActives(), QStringList{QStringLiteral("Application")});

    delete running;
    EXPECT_EQ(KvCApp(), designed);
    delete designed;
    EXPECT_EQ(KvCApp(), nullptr);
}

TEST(KvApplicationActive, PrivilegeReferencesReadTheActiveApplication)
{
    TKvCApplication app;
    app.Privileges()->Add(4)->SetDescription(QStringLiteral("Reports"));
    TKvPrivilege ref;
    ref.SetId(4);
    ASSERT_TRUE(ref.Info().has_value());
    EXPECT_EQ(ref.Info()->Description, QStringLiteral("Reports"));
    ref.SetId(5);
    EXPECT_FALSE(ref.Info().has_value());
}

TEST_F(BaseFiles, UpdateReplacesSystemItemsAndKeepsTheOthers)
{
    TKvCApplication app;
    TKvPkgStrings* sys = app.PkgLanguage()->PkgSystem();
    sys->Messages()->Add(2, QStringLiteral("edited"));
    sys->Messages()->Add(900, QStringLiteral("added by the developer"));
    app.PkgLanguage()->PkgUser()->Messages()->Add(2, QStringLiteral("user two"));
    QImage red(4, 4, QImage::Format_ARGB32);
    red.fill(Qt::red);
    app.PkgDisplay()->PkgSystem()->Images()->Add(48)->SetGraphic(red);
    app.PkgDisplay()->PkgUser()->Images()->Add(48)->SetGraphic(red);
    app.PkgDisplay()->SetsColor()->Add(QStringLiteral("Window"))->SetColor(TColor{StringToColor(u"clLime")});

    app.UpdateSystemPkgs(false);

    EXPECT_EQ(sys->Messages()->FindId(2)->Text(), KvSystemMessageText(2));
    EXPECT_TRUE(sys->Messages()->FindId(2)->Protected());
    EXPECT_EQ(sys->Messages()->FindId(900)->Text(), QStringLiteral("added by the developer"));
    for (int id : KvSystemMessageIds())
        EXPECT_TRUE(sys->Messages()->FindId(id)) << id;
    EXPECT_EQ(app.PkgLanguage()->PkgUser()->Messages()->FindId(2)->Text(), QStringLiteral("user two"));
    EXPECT_EQ(app.PkgLanguage()->LastUpdateFile(), QString::fromLatin1(KvBaseLanguageFile));

    TKvPkgImagesImages* images = app.PkgDisplay()->PkgSystem()->Images();
    for (int id = 48; id <= 57; ++id)
        ASSERT_TRUE(images->FindId(id)) << id;
    EXPECT_NE(images->FindId(48)->Graphic().pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(app.PkgDisplay()->PkgUser()->Images()->FindId(48)->Graphic().pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(app.PkgDisplay()->SetsColor()->Find(QStringLiteral("Window"))->Color().Value, StringToColor(u"clLime"));
    EXPECT_TRUE(app.PkgDisplay()->SetsFont()->Find(QStringLiteral("Normal")));
    EXPECT_TRUE(app.PkgDisplay()->Modified());
}

TEST_F(BaseFiles, MissingOrDamagedBaseFilesChangeNothing)
{
    TKvCApplication app;
    EXPECT_FALSE(app.UpdateSystemPkgLanguage(QStringLiteral("None.lan"), true));
    EXPECT_THROW(app.UpdateSystemPkgLanguage(QStringLiteral("None.lan"), false), EKvError);
    QFile file(QDir(FDir.path()).filePath(QString::fromLatin1(KvBaseDisplayFile)));
    ASSERT_TRUE(file.resize(file.size() - 5));
    EXPECT_THROW(app.UpdateSystemPkgDisplay(QString::fromLatin1(KvBaseDisplayFile), false), EKvPkgFileError);
    EXPECT_EQ(app.PkgDisplay()->PkgSystem()->Images()->Count(), 0);
    EXPECT_TRUE(app.PkgDisplay()->LastUpdateFile().isEmpty());
}

TEST_F(BaseFiles, MessagesResolveThroughTheActiveApplicationsLanguage)
{
    TKvMessageRecorder recorder;
    KvMsgPkg(KvMsgNotice, QStringLiteral("System"), 49, {KvBtnAccept}, KvBtnAccept);
    EXPECT_EQ(recorder.Last().Text, KvSystemMessageText(49)); // no application: the built-in text

    TKvCApplication first;
    TKvCApplication second;
    first.UpdateSystemPkgs(false);
    second.PkgLanguage()->PkgSystem()->Messages()->Add(49, QStringLiteral("Second's file '%s' is gone."));
    second.PkgLanguage()->PkgUser()->Messages()->Add(7, QStringLiteral("Second's own"));
    first.PkgLanguage()->PkgSystem()->Messages()->FindId(49)->SetText(QStringLiteral("First's '%s' is gone."));

    first.SetActive();
    KvMsgPkgArgs(KvMsgNotice, QStringLiteral("system"), 49, {QStringLiteral("a.lan")}, {KvBtnAccept}, KvBtnAccept);
    EXPECT_EQ(recorder.Last().Text, QStringLiteral("First's 'a.lan' is gone."));
    second.SetActive();
    KvMsgPkgArgs(KvMsgNotice, QStringLiteral("System"), 49, {QStringLiteral("a.lan")}, {KvBtnAccept}, KvBtnAccept);
    EXPECT_EQ(recorder.Last().Text, QStringLiteral("Second's file 'a.lan' is gone."));
    EXPECT_EQ(KvPkgMessageText(QStringLiteral("User"), 7), QStringLiteral("Second's own"));
}

// The shipped base files hold exactly what the library builds; KV_WRITE_INSTALL_PACKAGES=1
// rewrites them after a change of the built-in texts or pictures.
TEST(KvInstallPackages, ShippedBaseFilesMatchTheLibrarysOwnContent)
{
    const QString folder = KvGetInstallPackagesExists();
    ASSERT_FALSE(folder.isEmpty());
    const QString lanPath = QDir(folder).filePath(QString::fromLatin1(KvBaseLanguageFile));
    const QString disPath = QDir(folder).filePath(QString::fromLatin1(KvBaseDisplayFile));
    TKvPkgLanguage builtLanguage;
    KvBuildBaseLanguage(&builtLanguage);
    TKvPkgDisplay builtDisplay;
    KvBuildBaseDisplay(&builtDisplay);
    if (qEnvironmentVariableIntValue("KV_WRITE_INSTALL_PACKAGES") == 1) {
        builtLanguage.SaveToFile(lanPath);
        builtDisplay.SaveToFile(disPath);
    }

    TKvPkgLanguage shippedLanguage;
    shippedLanguage.LoadFromFile(lanPath);
    const TKvPkgStringsMessages* messages = shippedLanguage.PkgSystem()->Messages();
    EXPECT_EQ(messages->Count(), KvSystemMessageIds().size());
    for (int id : KvSystemMessageIds()) {
        ASSERT_TRUE(messages->FindId(id)) << id;
        EXPECT_EQ(messages->FindId(id)->Text(), KvSystemMessageText(id)) << id;
    }
    EXPECT_EQ(shippedLanguage.PkgSystem()->Labels()->Count(), builtLanguage.PkgSystem()->Labels()->Count());

    TKvPkgDisplay shippedDisplay;
    shippedDisplay.LoadFromFile(disPath);
    const TKvPkgImagesImages* shipped = shippedDisplay.PkgSystem()->Images();
    const TKvPkgImagesImages* built = builtDisplay.PkgSystem()->Images();
    ASSERT_EQ(shipped->Count(), built->Count());
    for (int i = 0; i < built->Count(); ++i) {
        const TKvPkgImagesImage* image = built->GetItems(i);
        ASSERT_TRUE(shipped->FindId(image->Id())) << image->Id();
        EXPECT_EQ(shipped->FindId(image->Id())->Graphic().convertToFormat(QImage::Format_ARGB32),
                  image->Graphic().convertToFormat(QImage::Format_ARGB32))
            << image->Id();
    }
    EXPECT_EQ(shippedDisplay.SetsColor()->Count(), builtDisplay.SetsColor()->Count());
    EXPECT_EQ(shippedDisplay.SetsBackGround()->Count(), builtDisplay.SetsBackGround()->Count());
    // Written in the current format: read and written again, the bytes are the file's.
    QFile file(disPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(shippedDisplay.SaveToBytes(), file.readAll());
}

#include "porting/KvPortDsgn.h"

#include "KvHostServices.h"

#include "Classes.h"
#include "DesignIntf.h"
#include "Filer.h"
#include "SysUtils.h"
#include "ToolsAPI.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// A scripted host: modules with the editors a test gives them.
namespace {

class FakeDesigner : public IDesigner
{
public:
    TComponent* Root = nullptr;
    void Modified() override {}
    TMethod CreateMethod(const QString& Name, const QString&) override { return TMethod{Name}; }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return {}; }
    void SetSelections(const TDesignerSelectionList&) override {}
    void SelectComponent(TPersistent*) override {}
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString& Name) const override { return Root->FindComponent(Name); }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString& BaseName) const override
    {
        for (int n = 1;; ++n) {
            const QString name = BaseName.mid(1) + QString::number(n);
            if (!Root->FindComponent(name))
                return name;
        }
    }
    TComponent* GetRoot() const override { return Root; }
};

class FakeFormEditor : public IOTAFormEditor
{
public:
    QString File;
    IOTAModule* Owner = nullptr;
    TComponent* Root = nullptr;
    FakeDesigner Designer;
    QString FileName() const override { return File; }
    IOTAModule* Module() const override { return Owner; }
    TComponent* GetRootComponent() const override { return Root; }
    IDesigner* GetDesigner() const override { return const_cast<FakeDesigner*>(&Designer); }
    bool IsModified() const override { return true; }
    QByteArray GetFormStream() override { return WriteComponentStream(Root); }
};

class FakeSourceEditor : public IOTASourceEditor
{
public:
    QString File;
    IOTAModule* Owner = nullptr;
    QString FileName() const override { return File; }
    IOTAModule* Module() const override { return Owner; }
    QString Text() const override { return QString(); }
};

class FakeServices;

class FakeModule : public IOTAModule
{
public:
    QString File;
    QList<IOTAEditor*> Editors;
    FakeServices* Services = nullptr;
    bool AllowClose = true;
    QString FileName() const override { return File; }
    int GetModuleFileCount() const override { return int(Editors.size()); }
    IOTAEditor* GetModuleFileEditor(int Index) const override { return Editors.at(Index); }
    bool CloseModule(bool ForceClosed) override;
};

class FakeModuleInfo : public IOTAModuleInfo
{
public:
    QString Unit, File, Form;
    QString Name() const override { return Unit; }
    QString FileName() const override { return File; }
    QString FormName() const override { return Form; }
};

class FakeProject : public IOTAProject
{
public:
    QString File;
    std::vector<std::unique_ptr<FakeModuleInfo>> Infos;
    QString FileName() const override { return File; }
    int GetModuleFileCount() const override { return 0; }
    IOTAEditor* GetModuleFileEditor(int) const override { return nullptr; }
    bool CloseModule(bool) override { return false; }
    int GetModuleCount() const override { return int(Infos.size()); }
    IOTAModuleInfo* GetModule(int Index) const override { return Infos.at(Index).get(); }
};

class FakeGroup : public IOTAProjectGroup
{
public:
    IOTAProject* Project = nullptr;
    QString FileName() const override { return QStringLiteral("ProjectGroup1.groupproj"); }
    int GetModuleFileCount() const override { return 0; }
    IOTAEditor* GetModuleFileEditor(int) const override { return nullptr; }
    bool CloseModule(bool) override { return false; }
    IOTAProject* ActiveProject() const override { return Project; }
};

class FakeServices : public IBorlandIDEServices, public IOTAModuleServices
{
public:
    QList<IOTAModule*> Modules_;
    bool HasModuleServices = true;
    IOTAModuleServices* ModuleServices() const override
    {
        return HasModuleServices ? const_cast<FakeServices*>(this) : nullptr;
    }
    int ModuleCount() const override { return int(Modules_.size()); }
    IOTAModule* Modules(int Index) const override { return Modules_.at(Index); }
    IOTAModule* FindModule(const QString& FileName) const override
    {
        for (IOTAModule* m : Modules_)
            if (m->FileName().compare(FileName, Qt::CaseInsensitive) == 0)
                return m;
        return nullptr;
    }
};

bool FakeModule::CloseModule(bool)
{
    if (!AllowClose)
        return false;
    Services->Modules_.removeAll(this);
    return true;
}

class PortingTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    FakeServices Services;

    void SetUp() override { BorlandIDEServices = &Services; }
    void TearDown() override { BorlandIDEServices = nullptr; }

    QString Path(const QString& name) const { return Dir.filePath(name); }

    void Write(const QString& name, const QByteArray& data) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    QByteArray Read(const QString& name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QByteArray TextForm = "object Form1: TComponent\r\n  Tag = 3\r\n  object Timer1: TComponent\r\n  end\r\nend\r\n";

} // namespace

TEST_F(PortingTest, ClosedFormsAreReadFromDiskInTheirFormat)
{
    QStringList lines;
    TStreamOriginalFormat format = TStreamOriginalFormat::sofText;
    EXPECT_FALSE(KvDelphiFormToFormText(Path("Missing.pas"), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofUnknown);

    Write("Text.dfm", TextForm);
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Text.pas"), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofText);
    EXPECT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.at(1), QStringLiteral("  Tag = 3"));

    Write("Bin.dfm", ObjectTextToResource(TextForm));
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Bin.dfm"), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofBinary);
    EXPECT_EQ(lines.join("\r\n") + "\r\n", QString::fromLatin1(TextForm));

    // A text file is returned as it is, even where it is not canonical.
    Write("Odd.dfm", "object  A: TComponent\n  Tag = $10\nend");
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Odd.pas"), lines, format));
    EXPECT_EQ(lines, QStringList({"object  A: TComponent", "  Tag = $10", "end"}));

    Write("Short.dfm", "ob");
    EXPECT_THROW(KvDelphiFormToFormText(Path("Short.pas"), lines, format), EReadError);
    Write("Broken.dfm", ObjectTextToResource(TextForm).left(20));
    EXPECT_THROW(KvDelphiFormToFormText(Path("Broken.pas"), lines, format), EReadError);
}

TEST_F(PortingTest, WritingKeepsTheFormatAndRefusesBrokenText)
{
    Write("Text.dfm", TextForm);
    QStringList lines;
    TStreamOriginalFormat format;
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Text.pas"), lines, format));
    ASSERT_TRUE(KvDelphiFormTextToForm(lines, Path("Text.pas"), format));
    EXPECT_EQ(Read("Text.dfm"), TextForm);

    Write("Lf.dfm", QByteArray(TextForm).replace("\r\n", "\n"));
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Lf.pas"), lines, format));
    lines[1] = QStringLiteral("  Tag = 4");
    ASSERT_TRUE(KvDelphiFormTextToForm(lines, Path("Lf.pas"), format));
    EXPECT_EQ(Read("Lf.dfm"), QByteArray(TextForm).replace("\r\n", "\n").replace("Tag = 3", "Tag = 4"));

    Write("Bin.dfm", ObjectTextToResource(TextForm));
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Bin.pas"), lines, format));
    ASSERT_TRUE(KvDelphiFormTextToForm(lines, Path("Bin.pas"), format));
    EXPECT_EQ(Read("Bin.dfm"), ObjectTextToResource(TextForm));

    lines[1] = QStringLiteral("  Tag = ");
    EXPECT_THROW(KvDelphiFormTextToForm(lines, Path("Bin.pas"), format), EParserError);
    EXPECT_EQ(Read("Bin.dfm"), ObjectTextToResource(TextForm));
}

TEST_F(PortingTest, LinksOutOfTheProjectFolderAreNeitherReadNorWritten)
{
    FakeProject project;
    project.File = Path("P.dpr");
    FakeGroup group;
    group.Project = &project;
    Services.Modules_ << &group;
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("Victim.dfm"));
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TextForm);
    }
    ASSERT_TRUE(QFile::link(victim, Path("Linked.dfm")));
    ASSERT_TRUE(QFile::link(outside.path(), Path("lnk")));
    const QStringList lines = QString::fromLatin1(TextForm).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (const QString& unit : {Path("Linked.pas"), Path("lnk/Victim.pas")}) {
        SCOPED_TRACE(unit.toStdString());
        QStringList read;
        TStreamOriginalFormat format;
        EXPECT_THROW(KvDelphiFormToFormText(unit, read, format), EFilerError);
        EXPECT_THROW(KvDelphiFormTextToForm(QStringList(lines).replaceInStrings("Tag = 3", "Tag = 9"), unit,
                                            TStreamOriginalFormat::sofText),
                     EFilerError);
    }
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), TextForm);
}

TEST_F(PortingTest, OpenFormIsReadFromItsDesigner)
{
    Write("Main.dfm", TextForm);
    std::unique_ptr<TComponent> root(ReadComponentStream(TextForm));
    auto* unnamed = new TComponent(root.get());
    root->SetTag(9); // not saved yet
    FakeModule module;
    module.File = Path("Main.pas");
    module.Services = &Services;
    FakeFormEditor form;
    form.File = Path("Main.dfm");
    form.Owner = &module;
    form.Root = root.get();
    form.Designer.Root = root.get();
    module.Editors << &form;
    Services.Modules_ << &module;

    EXPECT_EQ(KvDelphiDesignForm(Path("Main.dfm")), root.get());
    EXPECT_EQ(KvDelphiDesignForm(Path("Other.dfm")), nullptr);
    QStringList lines;
    TStreamOriginalFormat format;
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Main.dfm"), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofBinary);
    EXPECT_TRUE(lines.contains(QStringLiteral("  Tag = 9")));
    EXPECT_EQ(unnamed->GetName(), QStringLiteral("Component1"));
    EXPECT_TRUE(lines.contains(QStringLiteral("  object Component1: TComponent")));

    // A module whose form is not loaded and that has only its unit open gives nothing.
    FakeSourceEditor unit;
    unit.File = Path("Main.pas");
    module.Editors = {&unit};
    EXPECT_FALSE(KvDelphiFormToFormText(Path("Main.dfm"), lines, format));
}

TEST_F(PortingTest, FormOpenAsTextIsClosedAndReadFromDisk)
{
    Write("Main.dfm", TextForm);
    FakeModule module;
    module.File = Path("Main.pas");
    module.Services = &Services;
    FakeSourceEditor unit, text;
    unit.File = Path("Main.pas");
    text.File = Path("Main.DFM");
    module.Editors << &unit << &text;
    Services.Modules_ << &module;
    module.AllowClose = false;
    QStringList lines;
    TStreamOriginalFormat format;
    EXPECT_THROW(KvDelphiFormToFormText(Path("Main.pas"), lines, format), EFilerError);
    module.AllowClose = true;
    ASSERT_TRUE(KvDelphiFormToFormText(Path("Main.pas"), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofText);
    EXPECT_TRUE(Services.Modules_.isEmpty());
}

TEST_F(PortingTest, AssertionsNameTheUnitAndLine)
{
    auto expectAssertion = [](const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "no assertion";
        } catch (const EAssertionFailed& e) {
            EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Assertion failure (KvPortDsgn.cpp, line "))) << e.what();
        }
    };
    QStringList lines;
    TStreamOriginalFormat format;
    Services.HasModuleServices = false;
    expectAssertion([&] { KvDelphiFormToFormText(Path("Main.pas"), lines, format); });
    expectAssertion([&] { KvDelphiDesignForm(Path("Main.pas")); });
    expectAssertion([&] { KvGetFormCount(); });
    Services.HasModuleServices = true;

    FakeModule module;
    module.File = Path("Main.pas");
    module.Services = &Services;
    FakeFormEditor a, b;
    module.Editors << &a << &b;
    Services.Modules_ << &module;
    expectAssertion([&] { KvDelphiDesignForm(Path("Main.pas")); });
    module.Editors = {};
    expectAssertion([&] { KvDelphiFormToFormText(Path("Main.pas"), lines, format); }); // no source editor
}

TEST_F(PortingTest, ProjectQueries)
{
    QStringList names{QStringLiteral("kept")};
    EXPECT_EQ(KvGetProjectName(), QString());
    EXPECT_EQ(KvGetModuleCount(), 0);
    KvGetFormNames(names);
    EXPECT_EQ(names, QStringList{QStringLiteral("kept")});

    FakeProject project;
    project.File = Path("Demo.dpr");
    for (auto [unit, form] : {std::pair{"Main", "FrmMain"}, {"Tools", ""}, {"Second", "FrmSecond"}}) {
        auto info = std::make_unique<FakeModuleInfo>();
        info->Unit = QString::fromLatin1(unit);
        info->File = Path(QString::fromLatin1(unit) + ".pas");
        info->Form = QString::fromLatin1(form);
        project.Infos.push_back(std::move(info));
    }
    FakeGroup group;
    group.Project = &project;
    FakeModule other;
    other.File = Path("Other.pas");
    Services.Modules_ << &other << &group;
    EXPECT_EQ(KvGetProjectName(), Path("Demo.dpr"));
    EXPECT_EQ(KvGetModuleCount(), 3);
    EXPECT_EQ(KvGetFormCount(), 2);
    KvGetFormNames(names);
    EXPECT_EQ(names, QStringList({QStringLiteral("kept"), Path("Main.dfm"), Path("Second.dfm")}));
}

// The same functions over the in-process host and a project of three forms: one open and
// modified, one closed text form, one closed binary form.
TEST(PortingWithHost, ReadsOpenAndClosedFormsAndWritesThemBack)
{
    QTemporaryDir dir;
    const QString source = QStringLiteral(KV_TEST_DATA "/projects/Sample");
    for (const QString& name : QDir(source).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(source + '/' + name, dir.filePath(name)));
    QDir(dir.path()).mkdir(QStringLiteral("Utils"));
    ASSERT_TRUE(QFile::copy(source + "/Utils/Tools.pas", dir.filePath("Utils/Tools.pas")));
    auto readFile = [&](const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    TKvHostServices host;
    host.OpenProject(dir.filePath("Sample.dpr"));
    EXPECT_EQ(KvGetProjectName(), dir.filePath("Sample.dpr"));
    EXPECT_EQ(KvGetModuleCount(), 4);
    EXPECT_EQ(KvGetFormCount(), 3);
    QStringList forms;
    KvGetFormNames(forms);
    ASSERT_EQ(forms, QStringList({dir.filePath("Main.dfm"), dir.filePath("Second.dfm"), dir.filePath("Third.dfm")}));

    TKvFormEditor* editor = host.OpenForm(dir.filePath("Main.pas"));
    TComponent* root = editor->GetRootComponent();
    root->setProperty("Caption", QStringLiteral("Changed, not saved"));
    editor->GetDesigner()->Modified();
    EXPECT_EQ(KvDelphiDesignForm(forms.at(0)), root);
    EXPECT_EQ(KvDelphiDesignForm(forms.at(1)), nullptr);

    const QByteArray mainOnDisk = readFile("Main.dfm");
    QStringList lines;
    TStreamOriginalFormat format;
    ASSERT_TRUE(KvDelphiFormToFormText(forms.at(0), lines, format));
    EXPECT_TRUE(lines.contains(QStringLiteral("  Caption = 'Changed, not saved'")));
    EXPECT_EQ(readFile("Main.dfm"), mainOnDisk);

    const QByteArray second = readFile("Second.dfm"), third = readFile("Third.dfm");
    ASSERT_TRUE(KvDelphiFormToFormText(forms.at(1), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofText);
    ASSERT_TRUE(KvDelphiFormTextToForm(lines, forms.at(1), format));
    EXPECT_EQ(readFile("Second.dfm"), second);
    ASSERT_TRUE(KvDelphiFormToFormText(forms.at(2), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofBinary);
    ASSERT_TRUE(KvDelphiFormTextToForm(lines, forms.at(2), format));
    EXPECT_EQ(readFile("Third.dfm"), third);

    // A form open as text is closed and read from disk.
    host.OpenFormAsText(forms.at(1));
    ASSERT_TRUE(KvDelphiFormToFormText(forms.at(1), lines, format));
    EXPECT_EQ(format, TStreamOriginalFormat::sofText);
    EXPECT_EQ(host.FindUnitModule(forms.at(1)), nullptr);
}

#include "Classes.h"
#include "Controls.h"
#include "DB.h"
#include "Filer.h"
#include "KvFiles.h"
#include "KvFormDesigner.h"
#include "KvHostServices.h"
#include "KvProject.h"
#include "SysUtils.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The sample project copied into Dir, so that tests may write to it; returns its project file.
QString CopySampleProject(const QString& Dir)
{
    const QDir source(QStringLiteral(KV_TEST_DATA "/projects/Sample"));
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = Dir + u'/' + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
    return Dir + QStringLiteral("/Sample.dpr");
}

namespace {

QByteArray FileBytes(const QString& Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SetFileBytes(const QString& Path, const QByteArray& Data)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Data);
}

// ---------------------------------------------------------------------------------------------
// Project files

TEST(KvProjectFile, ReadsUnitsAndFormsInProjectOrder)
{
    QTemporaryDir dir;
    TKvProject project;
    project.LoadFromFile(CopySampleProject(dir.path()));

    EXPECT_EQ(project.ProjectName(), "Sample");
    EXPECT_EQ(project.Kind(), TKvProjectKind::Program);
    EXPECT_EQ(project.LibraryUnits(), QStringList{"Forms"});
    ASSERT_EQ(project.GetModuleCount(), 4);
    const QStringList names = {"Main", "Second", "Third", "Tools"};
    const QStringList forms = {"FormMain", "FormSecond", "DataModuleThird", ""};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(project.GetModule(i)->Name(), names[i]);
        EXPECT_EQ(project.GetModule(i)->FormName(), forms[i]);
    }
    EXPECT_EQ(project.GetModule(0)->FileName(), dir.path() + "/Main.pas");
    EXPECT_EQ(project.GetModule(3)->FileName(), dir.path() + "/Utils/Tools.pas"); // written with a backslash
    EXPECT_EQ(project.FindModuleInfo("third")->FormType(), "TDataModule");
    EXPECT_EQ(project.FindModuleInfo(dir.path() + "/MAIN.DFM")->Name(), "Main");
    EXPECT_TRUE(project.FindModuleInfo("Tools")->FormFileName().isEmpty());
}

TEST(KvProjectFile, ToleratesCommentsCaseAndLayout)
{
    TKvProject project;
    project.Load("/p/Lib.dpr",
                 "LIBRARY Lib (* a {library} *);\n"
                 "// uses nothing yet\n"
                 "Uses { first } Vcl.Forms ,\n"
                 "  A IN 'a.pas'{FormA}, B\n in\n 'sub/B.pas' { no form here } ,\n"
                 "  C in 'C.pas' (* {NotAForm} *), D in 'D.pas'   {DataD : TDataModule};\n"
                 "begin end.");
    EXPECT_EQ(project.Kind(), TKvProjectKind::Library);
    EXPECT_EQ(project.LibraryUnits(), QStringList{"Vcl.Forms"});
    ASSERT_EQ(project.GetModuleCount(), 4);
    EXPECT_EQ(project.GetModule(0)->FormName(), "FormA");
    EXPECT_EQ(project.GetModule(1)->FileName(), "/p/sub/B.pas");
    EXPECT_EQ(project.GetModule(1)->FormName(), "");
    EXPECT_EQ(project.GetModule(2)->FormName(), "");
    EXPECT_EQ(project.GetModule(3)->FormName(), "DataD");
    EXPECT_EQ(project.FindModuleInfo("D")->FormType(), "TDataModule");
}

TEST(KvProjectFile, ErrorsNameTheFileAndLineAndKeepTheProject)
{
    const struct
    {
        const char* Source;
        int Line;
        const char* Reason;
    } cases[] = {
        {"unit X;", 1, "'program' or 'library' expected but identifier 'unit' found"},
        {"program P\nuses A;", 2, "';' expected but identifier 'uses' found"},
        {"program P;\nuses\n  A in 'A.pas' {FormA}\n  B in 'B.pas';", 4, "',' or ';' expected but identifier 'B' found"},
        {"program P;\nuses A in;", 2, "File name expected but ';' found"},
        {"program P;\nuses A in 'A.pas;", 2, "Unterminated string"},
        {"program P;\n{ open\nuses A;", 2, "Unterminated comment"},
        {"program P;\nuses A in 'A.pas',\n  a;", 3, "Unit a is listed twice"},
        {"program P;\nuses\n  X in '..\\Other\\X.pas';", 3, "Unit X: '..\\Other\\X.pas' is outside the project folder"},
        {"program P;\nuses X in 'sub\\..\\..\\X.pas';", 2, "Unit X: 'sub\\..\\..\\X.pas' is outside the project folder"},
        {"program P;\nuses X in 'C:\\X.pas';", 2, "Unit X: 'C:\\X.pas' is outside the project folder"},
        {"program P;\nuses X in '/etc/X.pas';", 2, "Unit X: '/etc/X.pas' is outside the project folder"},
    };
    TKvProject project;
    project.Load("/p/Good.dpr", "program Good; uses U in 'U.pas';");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Source);
        try {
            project.Load("/p/P.dpr", QString::fromLatin1(c.Source));
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Line, c.Line);
            EXPECT_TRUE(e.Message.startsWith(QStringLiteral("/p/P.dpr:%1: %2").arg(c.Line).arg(c.Reason))) << e.what();
        }
    }
    EXPECT_EQ(project.FileName(), "/p/Good.dpr");
    EXPECT_EQ(project.GetModuleCount(), 1);
}

// ---------------------------------------------------------------------------------------------
// Module services

class KvHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        ProjectFile = CopySampleProject(Dir.path());
        Host.OpenProject(ProjectFile);
    }
    QString File(const QString& Name) const { return Dir.path() + u'/' + Name; }

    QTemporaryDir Dir;
    QString ProjectFile;
    TKvHostServices Host;
};

TEST_F(KvHostTest, OpenModulesAreTheGroupTheProjectThenUnits)
{
    ASSERT_EQ(BorlandIDEServices, &Host);
    IOTAModuleServices* services = BorlandIDEServices->ModuleServices();
    ASSERT_EQ(services->ModuleCount(), 2);
    auto* group = Supports<IOTAProjectGroup>(services->Modules(0));
    ASSERT_TRUE(group);
    EXPECT_EQ(group->ActiveProject(), Host.ActiveProject());
    EXPECT_EQ(services->Modules(1), Host.ActiveProject());
    EXPECT_EQ(services->FindModule(ProjectFile), Host.ActiveProject());

    TKvUnitModule* tools = Host.OpenModule(File("utils/tools.pas"));
    EXPECT_EQ(services->ModuleCount(), 3);
    EXPECT_EQ(services->Modules(2), tools);
    EXPECT_EQ(tools->FileName(), File("Utils/Tools.pas"));
    EXPECT_EQ(Host.OpenModule(File("Utils/Tools.pas")), tools);

    EXPECT_TRUE(Host.ActiveProject()->CloseModule(false));
    EXPECT_EQ(services->ModuleCount(), 0);
    {
        TKvHostServices inner;
        EXPECT_EQ(BorlandIDEServices, &inner);
    }
    EXPECT_EQ(BorlandIDEServices, nullptr);
}

TEST_F(KvHostTest, FindModuleByUnitOrFormFileAndFormEditorWhileOpen)
{
    EXPECT_EQ(Host.FindModule(File("Main.pas")), nullptr);
    TKvFormEditor* form = Host.OpenForm(File("Main.pas"));
    IOTAModule* module = Host.FindModule(File("MAIN.DFM"));
    ASSERT_TRUE(module);
    EXPECT_EQ(Host.FindModule(File("main.pas")), module);
    ASSERT_EQ(module->GetModuleFileCount(), 2);
    EXPECT_EQ(Supports<IOTASourceEditor>(module->GetModuleFileEditor(0))->FileName(), File("Main.pas"));
    auto* formEditor = Supports<IOTAFormEditor>(module->GetModuleFileEditor(1));
    ASSERT_EQ(formEditor, form);
    TComponent* root = formEditor->GetRootComponent();
    EXPECT_EQ(root->GetName(), "FormMain");
    EXPECT_EQ(root->ClassName(), "TFormMain");
    EXPECT_TRUE(qobject_cast<TForm*>(root));
    EXPECT_TRUE(root->FindComponent("EdName")->ComponentState() & csDesigning);
    EXPECT_EQ(static_cast<TForm*>(root)->GetActiveControl(), root->FindComponent("EdName"));
    EXPECT_EQ(formEditor->GetDesigner()->GetRoot(), root);

    static_cast<TKvUnitModule*>(module)->CloseForm();
    EXPECT_EQ(module->GetModuleFileCount(), 1);
    EXPECT_FALSE(static_cast<TKvUnitModule*>(module)->FormEditor());
}

TEST_F(KvHostTest, FormAsTextIsASecondSourceEditorAndSwitchesBack)
{
    TKvSourceEditor* text = Host.OpenFormAsText(File("Third.pas")); // a binary form
    IOTAModule* module = Host.FindModule(File("Third.pas"));
    ASSERT_EQ(module->GetModuleFileCount(), 2);
    EXPECT_EQ(module->GetModuleFileEditor(1), text);
    EXPECT_FALSE(Supports<IOTAFormEditor>(module->GetModuleFileEditor(1)));
    EXPECT_TRUE(text->FileName().endsWith("/Third.dfm"));
    EXPECT_TRUE(text->Text().startsWith("object DataModuleThird: TDataModuleThird\r\n"));

    text->SetText(QString(text->Text()).replace("Tag = 42", "Tag = 43"));
    TKvFormEditor* form = Host.OpenForm(File("Third.dfm"));
    ASSERT_EQ(module->GetModuleFileCount(), 2);
    EXPECT_EQ(module->GetModuleFileEditor(1), form);
    EXPECT_TRUE(qobject_cast<TDataModule*>(form->GetRootComponent())); // from `class(TDataModule)`
    EXPECT_EQ(form->GetRootComponent()->FindComponent("Store")->GetTag(), 43);
    EXPECT_TRUE(form->IsModified()); // the text's change carries over

    form->GetRootComponent()->FindComponent("Store")->SetTag(44);
    text = Host.OpenFormAsText(File("Third.pas"));
    EXPECT_TRUE(text->Text().contains("Tag = 44"));
    EXPECT_TRUE(text->IsModified());
}

TEST_F(KvHostTest, SavingKeepsTheFormatAndAnUnchangedTextFormByteForByte)
{
    const QByteArray mainText = FileBytes(File("Main.dfm"));
    const QByteArray thirdBinary = FileBytes(File("Third.dfm"));

    auto* main = static_cast<TForm*>(Host.OpenForm(File("Main.pas"))->GetRootComponent());
    main->SetCaption("Changed");
    main->FindComponent("Data")->SetTag(8);
    Host.OpenForm(File("Main.pas"))->GetDesigner()->Modified();
    Host.SaveAll();
    QByteArray saved = FileBytes(File("Main.dfm"));
    EXPECT_EQ(saved, QByteArray(mainText).replace("'Sample'", "'Changed'").replace("Tag = 7", "Tag = 8"));

    main->SetCaption("Sample");
    main->FindComponent("Data")->SetTag(7);
    Host.OpenForm(File("Main.pas"))->GetDesigner()->Modified();
    Host.FindUnitModule(File("Main.pas"))->Save();
    EXPECT_EQ(FileBytes(File("Main.dfm")), mainText);

    TKvFormEditor* third = Host.OpenForm(File("Third.pas"));
    third->GetRootComponent()->FindComponent("Store")->SetTag(5);
    third->GetDesigner()->Modified();
    Host.SaveModule(third->Module());
    saved = FileBytes(File("Third.dfm"));
    EXPECT_EQ(TestStreamFormat(saved), TStreamOriginalFormat::sofBinary);
    EXPECT_TRUE(ObjectResourceToText(saved).contains("Tag = 5"));
    EXPECT_FALSE(third->IsModified());

    // Edited as text, still written as a resource.
    TKvSourceEditor* text = Host.OpenFormAsText(File("Third.pas"));
    text->SetText(QString(text->Text()).replace("Tag = 5", "Tag = 42"));
    Host.SaveAll();
    EXPECT_EQ(FileBytes(File("Third.dfm")), thirdBinary);
}

TEST_F(KvHostTest, ModifiedModulesCloseOnlyWhenForced)
{
    const QByteArray before = FileBytes(File("Second.dfm"));
    TKvFormEditor* form = Host.OpenForm(File("Second.pas"));
    form->GetDesigner()->Modified(); // nothing changed: nothing to save
    EXPECT_FALSE(form->IsModified());
    form->GetRootComponent()->SetTag(3);
    form->GetDesigner()->Modified();
    IOTAModule* module = form->Module();
    EXPECT_FALSE(module->CloseModule(false));
    EXPECT_FALSE(Host.CloseProject());
    EXPECT_EQ(Host.FindModule(File("Second.pas")), module);
    EXPECT_THROW(Host.OpenProject(ProjectFile), EInvalidOperation);
    EXPECT_TRUE(module->CloseModule(true));
    EXPECT_EQ(Host.FindModule(File("Second.pas")), nullptr);
    EXPECT_EQ(FileBytes(File("Second.dfm")), before);
}

TEST_F(KvHostTest, FormReadErrorsNameTheFileAndLeaveNothingOpen)
{
    const QString second = File("Second.dfm");
    SetFileBytes(second, "object FormSecond: TFormSecond\r\n  Caption = 'open\r\nend\r\n");
    try {
        Host.OpenForm(File("Second.pas"));
        ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
        EXPECT_TRUE(e.Message.startsWith(second + ":2:")) << e.what();
    }
    EXPECT_EQ(Host.FindModule(File("Second.pas")), nullptr);

    SetFileBytes(second, "object FormSecond: TFormSecond\r\n  object X: TNoSuchControl\r\n  end\r\n"
                         "  object x: TNoSuchControl\r\n  end\r\nend\r\n");
    try {
        Host.OpenForm(File("Second.pas"));
        ADD_FAILURE() << "no error";
    } catch (const EFilerError& e) {
        // Found reading the components, placed on the text's line and column all the same.
        EXPECT_TRUE(e.Message.startsWith(second + ":4:3: Error creating x: ")) << e.what();
    }

    // A second form of the same name would make references ambiguous.
    SetFileBytes(second, "object FormMain: TFormSecond\r\nend\r\n");
    Host.OpenForm(File("Main.pas"));
    EXPECT_THROW(Host.OpenForm(File("Second.pas")), EComponentError);
    EXPECT_EQ(Host.ModuleCount(), 3);
}

// A link inside the project folder must not lead a read or a save outside it.
TEST_F(KvHostTest, LinksOutOfTheProjectFolderAreRefused)
{
    QTemporaryDir outside;
    const QString victimPas = outside.filePath(QStringLiteral("Victim.pas"));
    const QString victimDfm = outside.filePath(QStringLiteral("Victim.dfm"));
    SetFileBytes(victimPas, "unit Victim;\r\ninterface\r\nimplementation\r\nend.\r\n");
    SetFileBytes(victimDfm, "object FormVictim: TForm\r\nend\r\n");

    // Named by the project through a linked folder or as a linked file: the project does not open.
    ASSERT_TRUE(QFile::link(outside.path(), File("lnk")));
    ASSERT_TRUE(QFile::link(victimPas, File("Linked.pas")));
    for (const char* unit : {"lnk/Victim.pas", "Linked.pas"}) {
        const QString dpr = File("Escape.dpr");
        SetFileBytes(dpr, "program Escape;\r\nuses\r\n  Victim in '" + QByteArray(unit) + "' {FormVictim};\r\nbegin\r\nend.\r\n");
        try {
            Host.OpenProject(dpr);
            ADD_FAILURE() << unit << " opened";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Line, 3);
            EXPECT_TRUE(e.Message.contains("leads outside the project folder")) << e.what();
        }
    }

    // A form replaced by a link after the project opened is neither read nor saved through it.
    const QByteArray victim = FileBytes(victimDfm);
    TKvFormEditor* form = Host.OpenForm(File("Second.pas"));
    form->GetRootComponent()->SetTag(3);
    form->GetDesigner()->Modified();
    ASSERT_TRUE(QFile::remove(File("Second.dfm")));
    ASSERT_TRUE(QFile::link(victimDfm, File("Second.dfm")));
    EXPECT_THROW(Host.SaveAll(), EFilerError);
    ASSERT_TRUE(QFile::remove(File("Main.dfm")));
    ASSERT_TRUE(QFile::link(victimDfm, File("Main.dfm")));
    EXPECT_THROW(Host.OpenForm(File("Main.pas")), EFilerError);
    EXPECT_EQ(FileBytes(victimDfm), victim);
}

} // namespace

// Forms open as their users wrote them: an inherited form on its ancestor's form, found among
// the units beside it; without it, as it is, with a warning.
TEST(KvHostForms, InheritedFormOpensOnItsAncestorOrWithAWarning)
{
    QTemporaryDir dir;
    const QDir legacy(QStringLiteral(KV_TEST_DATA "/projects/Legacy"));
    for (const QString& name : legacy.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(legacy.filePath(name), dir.filePath(name)));
    {
        TKvHostServices host;
        host.OpenProject(dir.filePath(QStringLiteral("Legacy.dpr")));
        TKvFormEditor* form = host.OpenForm(dir.filePath(QStringLiteral("UChild.pas")));
        TComponent* root = form->GetRootComponent();
        EXPECT_TRUE(form->UnitModule()->LoadWarning().isEmpty()) << form->UnitModule()->LoadWarning().toStdString();
        ASSERT_TRUE(root->FindComponent(QStringLiteral("BtCancel"))); // only in the ancestor
        EXPECT_EQ(root->FindComponent(QStringLiteral("FrAddress1"))->FindComponent(QStringLiteral("EdStreet"))->ClassName(),
                  QStringLiteral("TEdit"));
        EXPECT_EQ(form->GetFormStream(), FormFileToBinary(ReadFileBytes(dir.filePath(QStringLiteral("UChild.dfm")))));
    }
    // An error is placed in the form it is in, the ancestor's or the form's own.
    const QByteArray base = ReadFileBytes(dir.filePath(QStringLiteral("UBase.dfm")));
    const QByteArray child = ReadFileBytes(dir.filePath(QStringLiteral("UChild.dfm")));
    const struct
    {
        const char* File;
        QByteArray Bytes;
        const char* Place;
    } broken[] = {
        {"UBase.dfm", QByteArray(base).replace("  object LbTitle:", "  object lbtitle: TLabel\r\n  end\r\n  object LbTitle:"),
         "UBase.dfm:20:3: Error creating LbTitle: "},
        {"UChild.dfm", QByteArray(child).replace("  object EdName:", "  object edname: TEdit\r\n  end\r\n  object EdName:"),
         "UChild.dfm:17:3: Error creating EdName: "},
    };
    auto restore = [&] {
        KvWriteFile(dir.filePath(QStringLiteral("UBase.dfm")), base);
        KvWriteFile(dir.filePath(QStringLiteral("UChild.dfm")), child);
    };
    for (const auto& b : broken) {
        restore();
        KvWriteFile(dir.filePath(QString::fromLatin1(b.File)), b.Bytes);
        TKvHostServices host;
        host.OpenProject(dir.filePath(QStringLiteral("Legacy.dpr")));
        try {
            host.OpenForm(dir.filePath(QStringLiteral("UChild.pas")));
            ADD_FAILURE() << b.File;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message.contains(QString::fromLatin1(b.Place))) << e.what();
        }
    }
    restore();

    QFile::remove(dir.filePath(QStringLiteral("UBase.pas")));
    TKvHostServices host;
    host.OpenProject(dir.filePath(QStringLiteral("Legacy.dpr")));
    TKvFormEditor* form = host.OpenForm(dir.filePath(QStringLiteral("UChild.pas")));
    EXPECT_TRUE(form->UnitModule()->LoadWarning().contains(QStringLiteral("TFrmBase"))) << form->UnitModule()->LoadWarning().toStdString();
    EXPECT_FALSE(form->GetRootComponent()->FindComponent(QStringLiteral("BtCancel")));
    EXPECT_EQ(form->GetFormStream(), FormFileToBinary(ReadFileBytes(dir.filePath(QStringLiteral("UChild.dfm")))));
}

// A form's root is made of the kind its unit's class descends from, found through its ancestors'
// forms, or named by the project or by a library's module or frame nobody registered; never of a
// registered class that only shares the form's class name.
TEST(KvHostForms, TheRootIsOfTheKindItsUnitDeclares)
{
    RegisterDBClasses(); // TTable, named like the web module below
    QTemporaryDir dir;
    auto unit = [&](const char* name, const char* cls, const char* ancestor, const char* object, int height) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        SetFileBytes(file + QStringLiteral(".pas"), QByteArray("unit ") + name + ";\n\ninterface\n\ntype\n  " + cls +
                                                        " = class(" + ancestor +
                                                        ")\n  end;\n\nimplementation\n\n{$R *.dfm}\n\nend.\n");
        SetFileBytes(file + QStringLiteral(".dfm"),
                     QByteArray(object) + ": " + cls + "\n  Height = " + QByteArray::number(height) + "\nend\n");
    };
    unit("table_dm", "Ttable", "TWebModule", "object table", 296);
    unit("UBaseDm", "TDmBase", "TDataModule", "object DmBase", 200);
    unit("UDm", "TDm", "TDmBase", "inherited Dm", 300);
    unit("UFr", "TFrLink", "TToolFrame", "object FrLink", 120);
    unit("UDmMain", "TDmMain", "TDmGone", "inherited DmMain", 100); // its ancestor's unit is gone
    SetFileBytes(dir.filePath(QStringLiteral("Kinds.dpr")),
                 "program Kinds;\n\nuses\n  UDmMain in 'UDmMain.pas' {DmMain: TDataModule};\n\nbegin\nend.\n");
    const std::pair<const char*, const QMetaObject*> cases[] = {{"table_dm.pas", &TDataModule::staticMetaObject},
                                                                {"UDm.pas", &TDataModule::staticMetaObject},
                                                                {"UFr.pas", &TFrame::staticMetaObject},
                                                                {"UDmMain.pas", &TDataModule::staticMetaObject}};
    for (const auto& [unitFile, kind] : cases) {
        SCOPED_TRACE(unitFile);
        TKvHostServices host;
        host.OpenProject(dir.filePath(QStringLiteral("Kinds.dpr")));
        const QString file = dir.filePath(QString::fromLatin1(unitFile));
        TKvFormEditor* form = host.OpenForm(file);
        ASSERT_TRUE(form);
        EXPECT_STREQ(form->GetRootComponent()->metaObject()->className(), kind->className());
        const QString dfm = file.chopped(4) + QStringLiteral(".dfm");
        EXPECT_EQ(form->GetFormStream(), FormFileToBinary(ReadFileBytes(dfm)));
    }
}

// Older forms hold raw 8-bit strings in their project's code page, which the project's options
// name; the designer's option overrides it.
TEST(KvHostForms, RawStringsDecodeWithTheProjectsCodePageUnlessTheOptionSaysOtherwise)
{
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("Gbk.dpr", "program Gbk;\n\nuses\n  Forms,\n  UGbk in 'UGbk.pas' {FrmGbk};\n\nbegin\nend.\n");
    write("UGbk.pas", "unit UGbk;\n\ninterface\n\nuses Forms;\n\ntype\n  TFrmGbk = class(TForm)\n  end;\n\n"
                      "implementation\n\n{$R *.dfm}\n\nend.\n");
    write("UGbk.dfm", "object FrmGbk: TFrmGbk\n  Caption = '\xD6\xD0\xCE\xC4'\nend\n");
    write("Gbk.dproj", "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n"
                       "  <PropertyGroup Condition=\"'$(Base)'!=''\">\n    <DCC_CodePage>936</DCC_CodePage>\n"
                       "  </PropertyGroup>\n</Project>\n");
    const QByteArray binary = FormFileToBinary(ReadFileBytes(dir.filePath(QStringLiteral("UGbk.dfm"))));
    auto caption = [&](std::shared_ptr<const TCodePage> option) {
        TKvHostServices host;
        host.SetCodePage(std::move(option));
        host.OpenProject(dir.filePath(QStringLiteral("Gbk.dpr")));
        TKvFormEditor* form = host.OpenForm(dir.filePath(QStringLiteral("UGbk.pas")));
        auto* root = qobject_cast<TCustomForm*>(form->GetRootComponent());
        const QString read = root->GetCaption();
        EXPECT_EQ(form->GetFormStream(), binary); // the same bytes back
        // An edited string is written in the same code page, raw as it was.
        root->SetCaption(read + read.left(1));
        EXPECT_TRUE(ObjectBinaryToText(form->GetFormStream()).contains("Caption = '\xD6\xD0\xCE\xC4\xD6"));
        return read;
    };
    EXPECT_EQ(caption(nullptr), QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87"));
    EXPECT_EQ(caption(std::make_shared<const TCodePage>(QStringLiteral("windows-1252"))),
              QString::fromLatin1("\xD6\xD0\xCE\xC4"));
}
